#pragma once
// Moves contacts between ContactLog and log.txt in the working folder.
// log.txt holds exactly contacts 1..ContactCount after every operation.
// Whole-file writes replace the file atomically; an append is synced before
// the contact counts.  Failures are reported to the operator (Prompt, title
// "File Error") and the functions return false.

#include "logstore/ContactLog.h"

#include <functional>
#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace zq {

// The largest log.txt read: a full log of records far longer than an
// operator types (4 KB each).  A larger file is refused unread.
inline constexpr qint64 kMaxLogFileBytes = qint64(ContactLog::Capacity) * 4096;

// The record line of one contact: 20 values joined by commas, texts quoted
// (a '"', CR or LF in a text is dropped), field 16 bare, ended by CR LF.
QByteArray formatContactLine(const ContactRecord& r);
// Parses a whole log file's content; nullopt (with a reason naming the
// line) when any line is not exactly one record of 20 values, field 16 is
// not a number, or there are more than ContactLog::Capacity records.  CR LF
// and LF line ends are accepted, and so are blank lines at the end.
std::optional<std::vector<ContactRecord>> parseLogContent(const QByteArray& content,
                                                         QString* error = nullptr);

// Program state kept above the store that loading a log or starting a new
// one resets (the points, the multiplier marks, the operating time).  Its
// owner hands the store the reset when that state is created: state never
// created still holds its starting values and needs none.
//   addLogLoadReset: run by LoadLogFile before the file is read.
//   addNewLogReset: run by NewLogFile after the erase, before the
//   preferences are saved.
void addLogLoadReset(std::function<void()> reset);
void addNewLogReset(std::function<void()> reset);

// Resets ContactCount and the state handed over by addLogLoadReset (the
// points and the multiplier marks), then reads
// log.txt into ContactLog (slots above the count are emptied) and sets
// LoadedContactCount when it is still 0.  A damaged, unreadable or
// oversized file shows "Error opening file." (title "File Error", one OK
// button) followed by the file name and the first line that cannot be
// read with the reason (or why the file could not be read), and returns
// false with ContactCount 0; the caller ends the program.  The file
// is never modified.  A missing file is created empty and loads as an
// empty log.
bool LoadLogFile();

// True when the log has room for one more contact.  When it already holds
// ContactLog::Capacity contacts, tells the operator that the log is full
// and returns false; the logging step then stores nothing.
bool ContactLogHasRoom();

// Appends contact ContactCount as one line, flushed and synced, on a line
// of its own after the last record (blank lines that an edited file ends
// with are cut off first, so the file still loads).  On failure
// nothing of the line stays in the file, the failure is reported and false
// is returned: the caller then takes the contact back (lowers ContactCount,
// empties the slot and takes back its points) so memory equals the file.
bool AppendLogFile();
// Writes contacts 1..ContactCount over log.txt (atomically).  On failure
// the old file stays whole, the failure is reported, ContactLog is read
// back from the file (so memory equals the file; totals are left to the
// caller's reload) and false is returned.
bool RewriteLogFile();
// Removes contact n and rewrites the file.  n outside 1..ContactCount does
// nothing and returns false.  A failed rewrite behaves as RewriteLogFile's.
bool DeleteContact(int n);
// Asks the operator to type YES; on that answer copies a non-empty log.txt
// into BACKUP, empties log.txt, clears the operating time and the count,
// saves the preferences and reloads.  Returns false when the operator
// declined or the backup or the erase failed (both reported; nothing is
// erased then).
bool NewLogFile();
// Copies log.txt into <UserDirectory>/BACKUP/<yyyymmddhhnn>.log (local
// time) when ContactCount is above 0 and differs from LoadedContactCount.
// A backup never replaces a different file of the same name: the next free
// "<stamp>-2.log", ... is used.  Failures are silent.
void BackupLogFile();

// The path of log.txt in the working folder (found without regard to case).
QString logFilePath();

// Keeps `content` (a log about to be replaced) in <UserDirectory>/BACKUP
// under the local <yyyymmddhhnn>.log stamp, never over a different file.
// False with the reason on failure.
bool keepCopyInBackup(const QByteArray& content, QString* error);

} // namespace zq
