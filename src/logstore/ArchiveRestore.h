#pragma once
// The log window's commands around the log file that need no window: the
// archive and restore commands of the File menu, the text that the contact
// list puts on the clipboard, and the order in which a column click sorts
// the list.

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace zq {

class CommonDialog;

// Program-wide values of the contact list's commands.
struct ContactListState {
    // The contact handed to the edit dialogs (a "Rec#", 1..ContactCount).
    float EditRecordNumber = 0;

    static ContactListState& instance();
};

// <userDirectory>/BACKUP/<CallFileStem(ownCall)><yyyy-mm-dd>.log
QString defaultArchivePath(const QString& userDirectory, const QString& ownCall,
                           const QDate& localDate);

enum class LogFileCommandResult {
    Done,      // the file was copied
    Cancelled, // Cancel in the file dialog: nothing changed, nothing said
    Declined,  // No to the restore question: nothing changed
    Failed     // reported to the operator; log.txt is as it was
};

// "Archive Current Log": tells what an archive is, proposes the default
// name in BACKUP through `dialog`, and copies log.txt byte for byte to the
// chosen file (replacing it as a whole).  A failure is reported with its
// reason under "Error Archiving Log".  The log in memory is not touched.
LogFileCommandResult ArchiveCurrentLog(CommonDialog& dialog);

// "Restore from Archive or Backup": tells what a restore does, asks before
// replacing a log that holds contacts, and lets the operator choose a file
// in BACKUP.  The chosen file must read as a log; otherwise it is refused
// and log.txt stays as it was.  A non-empty log.txt is first copied into
// BACKUP (never over a different file), then replaced atomically by the
// chosen file's bytes.  Done means log.txt now holds the chosen log and the
// caller reloads it; failures are reported under "Error Restoring Log".
LogFileCommandResult RestoreLogFromArchive(CommonDialog& dialog);

// The contact list as clipboard text: the headers joined by TAB and ended
// by CR LF, then the rows from the bottom row up to the top row, each with
// one cell per header (missing cells empty) joined by TAB and ended by
// CR LF.  `rows` are given top to bottom, as the list shows them.
QString contactListClipboardText(const QStringList& headers,
                                 const std::vector<QStringList>& rows);

// True when cell `a` sorts before cell `b` in `column`: the contact
// number column (0) compares as numbers (cells that are no number after
// those that are), every other column compares as text without regard to
// case.
bool contactListCellLess(int column, const QString& a, const QString& b);

// The order of `rows` (top to bottom) sorted by `column`, ascending and
// stable: the result lists row indexes.
std::vector<int> contactListSortOrder(const std::vector<QStringList>& rows, int column);

} // namespace zq
