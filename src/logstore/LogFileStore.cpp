#include "logstore/LogFileStore.h"

#include "platform/Folders.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/QuotedText.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace zq {

namespace {

const QString kLogName = QStringLiteral("log.txt");
const QString kFileErrorTitle = QStringLiteral("File Error");

void reportWriteFailure(const QString& what, const QString& reason)
{
    prompt().message(QStringLiteral("Unable to write %1: %2").arg(what, reason), kFileErrorTitle,
                     MsgButtons::Ok, MsgIcon::Critical);
}

// Names the file and the reason (the first line that cannot be read) so
// that the operator can find and mend it.
void reportLoadFailure(const QString& path, const QString& why)
{
    prompt().message(QStringLiteral("Error opening file.\n\n%1\n%2")
                         .arg(QDir::toNativeSeparators(path), why),
                     kFileErrorTitle, MsgButtons::Ok, MsgIcon::Critical);
}

// Puts the records into slots 1..n and empties every slot above n, so a
// contact stored later in a free slot starts from empty fields.
void fillContactLog(std::vector<ContactRecord>&& records)
{
    ContactLog& log = ContactLog::instance();
    const int n = static_cast<int>(records.size());
    for (int i = 0; i < n; ++i)
        log[i + 1] = std::move(records[static_cast<size_t>(i)]);
    log.emptyAbove(n);
    log.ContactCount = n;
}

// Reads log.txt into ContactLog without touching totals or
// LoadedContactCount (used after a failed rewrite so memory equals disk).
bool readContactsBack()
{
    auto content = readWholeFile(logFilePath(), nullptr, kMaxLogFileBytes);
    if (!content)
        return false;
    auto records = parseLogContent(*content);
    if (!records)
        return false;
    fillContactLog(std::move(*records));
    return true;
}

// Where a new record goes in the log file at `path`.  An edited file may
// end without a line end, or with blank lines that the reader passes over
// at the end of the file but not between records (by the reader's own rule,
// endOfLastLine): the record then follows the last line that is not blank
// (what is after it is cut off), with a line end of its own before it.
struct AppendPoint {
    qint64 keep = -1; // bytes of the file kept; -1 keeps it whole
    QByteArray lead;  // written before the record
};

// True when the file ends with a line end after a line that holds a
// character other than white space in any encoding (a printable ASCII
// byte): the usual case, seen from the file's last bytes alone.
bool endsWithWholeRecordLine(const QString& path)
{
    QFile f;
    if (!openRegularFile(f, path))
        return false;
    const qint64 size = f.size();
    const qint64 from = std::max<qint64>(0, size - 4096);
    if (!f.seek(from))
        return false;
    const QByteArray tail = f.read(size - from);
    if (tail.size() != size - from || !tail.endsWith('\n'))
        return false;
    for (qsizetype i = tail.size() - 2; i >= 0 && tail[i] != '\n'; --i) {
        const auto c = static_cast<unsigned char>(tail[i]);
        if (c < 0x80 && !isWhiteSpaceByte(char(c)))
            return true;
    }
    return false;
}

AppendPoint appendPoint(const QString& path)
{
    if (endsWithWholeRecordLine(path))
        return {}; // the usual case: the last record ends its line
    const std::optional<QByteArray> content = readWholeFile(path, nullptr, kMaxLogFileBytes);
    if (!content)
        return {};
    const qint64 size = content->size();
    qint64 end = endOfLastLine(*content); // just after the last byte that is not white space
    while (end > 0 && isWhiteSpaceByte(content->at(end - 1)))
        --end;
    const QByteArray lead = end > 0 ? QByteArrayLiteral("\r\n") : QByteArray();
    if (end == size)
        return {-1, lead};
    if (end > 0) {
        const QByteArray tail = content->mid(end, 3);
        if (tail == "\r\n" || tail == "\n")
            return {}; // the usual case: the last record ends its line
    }
    return {end, lead};
}

QString backupFolder()
{
    const QString user = Folders::instance().UserDirectory;
    const QString found = fileIn(user, QStringLiteral("BACKUP"));
    if (QFileInfo(found).isDir())
        return found;
    const QString made = user + QStringLiteral("/BACKUP");
    QDir().mkpath(made);
    return made;
}

// Copies the bytes of log.txt into BACKUP.  False with the reason on failure.
bool copyLogToBackup(QString* error)
{
    auto content = readWholeFile(logFilePath(), error, kMaxLogFileBytes);
    return content && keepCopyInBackup(*content, error);
}

} // namespace

bool keepCopyInBackup(const QByteArray& content, QString* error)
{
    const QString folder = backupFolder();
    if (!QFileInfo(folder).isDir()) {
        if (error)
            *error = QStringLiteral("cannot create the folder %1").arg(folder);
        return false;
    }
    const QString stamp = clock().now().local.toString(QStringLiteral("yyyyMMddHHmm"));
    const QString target = uniqueBackupPath(folder + QLatin1Char('/') + stamp + QStringLiteral(".log"),
                                            content);
    return writeFileAtomically(target, content, error);
}

QString logFilePath()
{
    return Folders::workingFile(kLogName);
}

QByteArray formatContactLine(const ContactRecord& r)
{
    QByteArray line;
    line.reserve(128);
    for (const QString* text : {&r.LogCall, &r.LogRstSent, &r.LogRstReceived, &r.LogSpc,
                                &r.LogCounty, &r.LogField6, &r.LogCountySent, &r.LogField8,
                                &r.LogField9, &r.LogField10, &r.LogField11, &r.LogDate,
                                &r.LogTime, &r.LogMode, &r.LogBand}) {
        appendQuotedText(line, *text);
        line += ',';
    }
    line += bareNumber(r.LogField16).toLatin1();
    for (const QString* text : {&r.LogField17, &r.LogField18, &r.LogField19, &r.LogFrequency}) {
        line += ',';
        appendQuotedText(line, *text);
    }
    line += "\r\n";
    return line;
}

std::optional<std::vector<ContactRecord>> parseLogContent(const QByteArray& content, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    std::vector<ContactRecord> records;
    QuotedLineReader reader(content);
    QList<QuotedValue> values;
    values.reserve(20);
    bool ok = true;
    while (reader.next(&values, &ok)) {
        const int lineNo = reader.lineNumber();
        if (lineNo > ContactLog::Capacity)
            return fail(QStringLiteral("more than %1 records").arg(ContactLog::Capacity));
        if (!ok)
            return fail(QStringLiteral("line %1: %2").arg(lineNo).arg(reader.fault()));
        if (values.size() != 20)
            return fail(QStringLiteral("line %1: %2 values instead of 20").arg(lineNo).arg(values.size()));
        QList<QuotedValue>& v = values;
        ContactRecord r;
        if (!parseNumber(v[15], &r.LogField16))
            return fail(QStringLiteral("line %1: value 16 is not a number").arg(lineNo));
        r.LogCall = std::move(v[0].text);
        r.LogRstSent = std::move(v[1].text);
        r.LogRstReceived = std::move(v[2].text);
        r.LogSpc = std::move(v[3].text);
        r.LogCounty = std::move(v[4].text);
        r.LogField6 = std::move(v[5].text);
        r.LogCountySent = std::move(v[6].text);
        r.LogField8 = std::move(v[7].text);
        r.LogField9 = std::move(v[8].text);
        r.LogField10 = std::move(v[9].text);
        r.LogField11 = std::move(v[10].text);
        r.LogDate = std::move(v[11].text);
        r.LogTime = std::move(v[12].text);
        r.LogMode = std::move(v[13].text);
        r.LogBand = std::move(v[14].text);
        r.LogField17 = std::move(v[16].text);
        r.LogField18 = std::move(v[17].text);
        r.LogField19 = std::move(v[18].text);
        r.LogFrequency = std::move(v[19].text);
        records.push_back(std::move(r));
    }
    return records;
}

namespace {

std::vector<std::function<void()>>& logLoadResets()
{
    static std::vector<std::function<void()>> resets;
    return resets;
}

std::vector<std::function<void()>>& newLogResets()
{
    static std::vector<std::function<void()>> resets;
    return resets;
}

} // namespace

void addLogLoadReset(std::function<void()> reset)
{
    logLoadResets().push_back(std::move(reset));
}

void addNewLogReset(std::function<void()> reset)
{
    newLogResets().push_back(std::move(reset));
}

bool LoadLogFile()
{
    ContactLog& log = ContactLog::instance();
    log.ContactCount = 0;
    for (const auto& reset : logLoadResets())
        reset();

    const QString path = logFilePath();
    if (!QFileInfo::exists(path)) {
        // A first run has no log yet: an empty log, and an empty file so
        // that the folder shows where the log will be.
        QString why;
        if (!writeFileAtomically(path, QByteArray(), &why))
            reportWriteFailure(kLogName, why);
        fillContactLog({});
        return true;
    }

    QString why;
    auto content = readWholeFile(path, &why, kMaxLogFileBytes);
    std::optional<std::vector<ContactRecord>> records;
    if (content)
        records = parseLogContent(*content, &why);
    if (!records) {
        fillContactLog({});
        reportLoadFailure(path, why);
        return false;
    }
    fillContactLog(std::move(*records));
    if (log.LoadedContactCount == 0)
        log.LoadedContactCount = static_cast<float>(log.ContactCount);
    return true;
}

bool ContactLogHasRoom()
{
    if (!ContactLog::instance().isFull())
        return true;
    prompt().message(QStringLiteral("The log is full: it holds %1 contacts.  No further contact "
                                    "can be logged.")
                         .arg(ContactLog::Capacity),
                     QStringLiteral("Log Full"), MsgButtons::Ok, MsgIcon::Warning);
    return false;
}

bool AppendLogFile()
{
    const ContactLog& log = ContactLog::instance();
    const int n = log.ContactCount;
    if (n < 1 || n > ContactLog::Capacity)
        return false;
    const QString path = logFilePath();
    const AppendPoint at = appendPoint(path);
    QString why;
    if (!appendAndSync(path, at.lead + formatContactLine(log[n]), &why, at.keep)) {
        reportWriteFailure(kLogName, why);
        return false;
    }
    return true;
}

bool RewriteLogFile()
{
    const ContactLog& log = ContactLog::instance();
    QByteArray content;
    content.reserve(static_cast<qsizetype>(log.ContactCount) * 96);
    for (int i = 1; i <= log.ContactCount; ++i)
        content += formatContactLine(log[i]);
    QString why;
    if (writeFileAtomically(logFilePath(), content, &why))
        return true;
    reportWriteFailure(kLogName, why);
    readContactsBack();
    return false;
}

bool DeleteContact(int n)
{
    ContactLog& log = ContactLog::instance();
    if (n < 1 || n > log.ContactCount)
        return false;
    for (int i = n; i < log.ContactCount; ++i)
        log[i] = std::move(log[i + 1]);
    log[log.ContactCount] = ContactRecord{};
    log.ContactCount -= 1;
    return RewriteLogFile();
}

bool NewLogFile()
{
    const QString answer = prompt().input(
        QStringLiteral("Are you sure that you want to start a new log file?  This function will "
                       "ERASE the existing log file!\n\nTo verify that you want to start a new log "
                       "file, please type: YES"),
        QStringLiteral("WARNING - Your existing log file will be ERASED!"), QString());
    if (answer.toUpper() != QStringLiteral("YES"))
        return false;

    // Whatever the counts, a log with contacts is kept in BACKUP before it
    // is erased; without that copy nothing is erased.
    const QString path = logFilePath();
    if (QFileInfo(path).size() > 0) {
        QString why;
        if (!copyLogToBackup(&why)) {
            prompt().message(QStringLiteral("Unable to back up log.txt: %1\nThe log was not erased.")
                                 .arg(why),
                             kFileErrorTitle, MsgButtons::Ok, MsgIcon::Critical);
            return false;
        }
    }

    QString why;
    if (!writeFileAtomically(path, QByteArray(), &why)) {
        reportWriteFailure(kLogName, why);
        return false;
    }
    for (const auto& reset : newLogResets())
        reset();
    StationSettings::instance().AccumulatedOperatingSeconds = 0;
    ContactLog::instance().ContactCount = 0;
    WritePrefFile();
    return LoadLogFile();
}

void BackupLogFile()
{
    const ContactLog& log = ContactLog::instance();
    if (log.ContactCount <= 0 || static_cast<float>(log.ContactCount) == log.LoadedContactCount)
        return;
    QString ignored;
    copyLogToBackup(&ignored);
}

} // namespace zq
