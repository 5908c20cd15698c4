#include "logstore/ArchiveRestore.h"

#include "platform/Folders.h"
#include "logstore/ContactLog.h"
#include "logstore/LogFileStore.h"
#include "logstore/StationSettings.h"
#include "common/CommonDialog.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "platform/QuotedText.h"
#include "platform/SafeFile.h"
#include "platform/UserFolders.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <numeric>

namespace zq {

namespace {

const QString kFilter = QStringLiteral("Log Files (*.log) | *.log");
const QString kArchiveErrorTitle = QStringLiteral("Error Archiving Log");
const QString kRestoreErrorTitle = QStringLiteral("Error Restoring Log");

QString backupFolderPath()
{
    return Folders::instance().UserDirectory + QStringLiteral("/BACKUP");
}

LogFileCommandResult fail(const QString& reason, const QString& title)
{
    Folders::makeWorkingFolderCurrent();
    prompt().message(reason, title, MsgButtons::Ok);
    return LogFileCommandResult::Failed;
}

} // namespace

ContactListState& ContactListState::instance()
{
    static ContactListState s;
    return s;
}

QString defaultArchivePath(const QString& userDirectory, const QString& ownCall,
                           const QDate& localDate)
{
    return userDirectory + QStringLiteral("/BACKUP/") + CallFileStem(ownCall)
        + localDate.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".log");
}

LogFileCommandResult ArchiveCurrentLog(CommonDialog& dialog)
{
    prompt().message(
        QStringLiteral("This function is used to create a permanent copy of your currently open "
                       "log file.  To open your log file at a later date, click File > Restore "
                       "from Archive or Backup."),
        QStringLiteral("Archive Information"), MsgButtons::Ok);
    Folders::makeWorkingFolderCurrent();
    const Folders& folders = Folders::instance();
    dialog.InitDir = backupFolderPath();
    dialog.FileName = defaultArchivePath(folders.UserDirectory, StationSettings::instance().OwnCall,
                                         clock().now().local.date());
    dialog.Filter = kFilter;
    dialog.Flags = CommonDialog::OverwritePrompt;
    if (!dialog.ShowSave())
        return LogFileCommandResult::Cancelled;
    const QString target = QFileInfo(dialog.FileName).absoluteFilePath();

    QString why;
    if (!copyFileAtomically(logFilePath(), target, &why))
        return fail(why, kArchiveErrorTitle);
    Folders::makeWorkingFolderCurrent();
    return LogFileCommandResult::Done;
}

LogFileCommandResult RestoreLogFromArchive(CommonDialog& dialog)
{
    prompt().message(
        QStringLiteral("This action will open an archived log or backup file and creates a working "
                       "file called log.txt.  If you make any changes to your archived data that "
                       "you would like to permanently save, before you click File > New to start a "
                       "new contest, be sure to click File > Archive to save your changes."),
        QStringLiteral("Opening Archived Data Information"), MsgButtons::Ok);
    if (ContactLog::instance().ContactCount > 0) {
        const MsgAnswer a = prompt().message(
            QStringLiteral("Are you sure that you want to open an archived log?  This action will "
                           "clear and replace existing QSO data."),
            QStringLiteral("Are your sure?"), MsgButtons::YesNo, MsgIcon::None);
        if (a != MsgAnswer::Yes)
            return LogFileCommandResult::Declined;
    }

    dialog.FileName.clear();
    Folders::makeWorkingFolderCurrent();
    dialog.InitDir = backupFolderPath();
    dialog.Filter = kFilter;
    if (!dialog.ShowOpen())
        return LogFileCommandResult::Cancelled;
    const QString chosen = QFileInfo(dialog.FileName).absoluteFilePath();

    // The chosen file replaces the log only when it reads as one.
    QString why;
    const auto content = readWholeFile(chosen, &why, kMaxLogFileBytes);
    if (!content)
        return fail(why, kRestoreErrorTitle);
    if (!parseLogContent(*content, &why)) {
        return fail(QStringLiteral("%1 is not a readable log (%2).  log.txt was not changed.")
                        .arg(QDir::toNativeSeparators(chosen), why),
                    kRestoreErrorTitle);
    }

    const QString logPath = logFilePath();
    const auto current = readWholeFile(logPath, nullptr, kMaxLogFileBytes);
    if (current && !current->isEmpty() && !keepCopyInBackup(*current, &why)) {
        return fail(QStringLiteral("Unable to keep a copy of log.txt in BACKUP: %1.  log.txt was "
                                   "not changed.")
                        .arg(why),
                    kRestoreErrorTitle);
    }
    if (!writeFileAtomically(logPath, *content, &why))
        return fail(why, kRestoreErrorTitle);
    Folders::makeWorkingFolderCurrent();
    return LogFileCommandResult::Done;
}

QString contactListClipboardText(const QStringList& headers, const std::vector<QStringList>& rows)
{
    const QString tab = QStringLiteral("\t");
    const QString lineEnd = QStringLiteral("\r\n");
    QString text = headers.join(tab) + lineEnd;
    const qsizetype n = std::max<qsizetype>(headers.size(), 1);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        QStringList cells = it->mid(0, n);
        while (cells.size() < n)
            cells << QString();
        text += cells.join(tab) + lineEnd;
    }
    return text;
}

bool contactListCellLess(int column, const QString& a, const QString& b)
{
    if (column == 0) {
        bool aNumber = false, bNumber = false;
        const double x = a.trimmed().toDouble(&aNumber);
        const double y = b.trimmed().toDouble(&bNumber);
        if (aNumber && bNumber)
            return x < y;
        if (aNumber != bNumber)
            return aNumber;
    }
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

std::vector<int> contactListSortOrder(const std::vector<QStringList>& rows, int column)
{
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    auto cell = [&](int row) {
        const QStringList& r = rows[static_cast<size_t>(row)];
        return column >= 0 && column < r.size() ? r[column] : QString();
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](int x, int y) { return contactListCellLess(column, cell(x), cell(y)); });
    return order;
}

} // namespace zq
