#include "logstore/AdifExport.h"

#include "common/ProgramEnd.h"
#include "platform/Folders.h"
#include "logstore/StationSettings.h"
#include "platform/Clock.h"
#include "platform/ContestFiles.h"
#include "platform/Prompt.h"
#include "platform/QuotedText.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace zq {

namespace {

const QString kCountryFile = QStringLiteral("ADIFCnt.txt");
const QString kFailureTitle = QStringLiteral("Unable to write file.");
const QLatin1String kLineEnd("\r\n");

QString rightTrimmed(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    return s.left(n);
}

// A call from the United States begins with A, K, N or W.
bool usCall(const QString& call)
{
    if (call.isEmpty())
        return false;
    const QChar c = call[0];
    return c == u'A' || c == u'K' || c == u'N' || c == u'W';
}

void reportFailure(const QString& description)
{
    Folders::makeWorkingFolderCurrent();
    prompt().beep();
    prompt().message(description, kFailureTitle, MsgButtons::Ok);
}

} // namespace

void AdifCountryTable::add(const QString& name, int dxcc)
{
    rows.append({name, dxcc});
    if (!first_.contains(name))
        first_.insert(name, dxcc);
}

int AdifCountryTable::dxccOf(const QString& country) const
{
    return first_.value(country.trimmed(), 0);
}

std::optional<AdifCountryTable> parseAdifCountryTable(const QByteArray& content, QString* error)
{
    AdifCountryTable table;
    QuotedValueStream in(content);
    int row = 0;
    while (!in.atEnd()) {
        ++row;
        if (row > AdifCountryTable::Capacity) {
            if (error)
                *error = QStringLiteral("%1 holds more than %2 rows; the export was stopped.")
                             .arg(kCountryFile)
                             .arg(AdifCountryTable::Capacity);
            return std::nullopt;
        }
        QuotedValue name;
        QuotedValue number;
        double value = 0;
        if (!in.next(&name) || !in.next(&number) || !parseNumber(number, &value)
            || value != std::floor(value) || value < std::numeric_limits<int16_t>::min()
            || value > std::numeric_limits<int16_t>::max()) {
            if (error)
                *error = QStringLiteral("%1: row %2 cannot be read.").arg(kCountryFile).arg(row);
            return std::nullopt;
        }
        table.add(name.text, static_cast<int>(value));
    }
    return table;
}

AdifContactValues adifContactValues(const ContactRecord& c, const QString& homeStateCode,
                                    const AdifCountryTable& table)
{
    AdifContactValues v;
    const qsizetype spcLength = c.LogSpc.size();
    if (spcLength == 2) {
        if (usCall(c.LogCall)) {
            v.country = QStringLiteral("USA");
            v.continent = QStringLiteral("NA");
            v.state = c.LogSpc;
            if (v.state == u"HI")
                v.country = QStringLiteral("Hawaii");
            else if (v.state == u"AK")
                v.country = QStringLiteral("Alaska");
        } else {
            v.country = QStringLiteral("Canada");
        }
    }
    if (spcLength > 2)
        v.country = c.LogSpc;
    if (spcLength < 2)
        v.state = homeStateCode;
    if (v.state.size() > 2)
        v.state = v.state.left(2);
    if (!c.LogCounty.isEmpty()) {
        v.country = QStringLiteral("USA");
        v.continent = QStringLiteral("NA");
    }
    v.dxcc = table.dxccOf(v.country);
    return v;
}

QString adifDateText(const QString& logDate)
{
    const QString t = logDate.trimmed();
    for (const char* format : {"yyyy/M/d", "yyyy-M-d"}) {
        const QDate d = QDate::fromString(t, QString::fromLatin1(format));
        if (d.isValid())
            return d.toString(QStringLiteral("yyyyMMdd"));
    }
    return QString();
}

QString adifTimeText(const QString& logTime)
{
    QString t = logTime.trimmed();
    const qsizetype colon = t.indexOf(u':');
    if (colon >= 0)
        t = t.left(colon) + t.mid(colon + 1, 2);
    t = t.left(4);
    while (t.size() < 4)
        t.prepend(u'0');
    return t;
}

QString adifItem(const QString& name, const QString& value, const QString& type)
{
    QString item = QLatin1Char('<') + name + QLatin1Char(':') + QString::number(value.size());
    if (!type.isEmpty())
        item += QLatin1Char(':') + type;
    return item + QLatin1Char('>') + value;
}

QByteArray formatAdifHeader(const AdifExportOptions& o)
{
    QString h;
    h += QStringLiteral("Exported from Brelvox's ") + o.homeStateCode
         + QStringLiteral(" State QSO Party Logging Program ") + o.programVersion + kLineEnd;
    h += QStringLiteral("Log exported on: ") + o.exportedOn + kLineEnd;
    h += kLineEnd;
    h += QStringLiteral("<EOH>") + kLineEnd;
    h += kLineEnd;
    // One byte per character, so every item's length is also its byte count.
    return h.toLatin1();
}

QByteArray formatAdifRecord(const ContactRecord& c, const AdifExportOptions& o,
                            const AdifCountryTable& table)
{
    const AdifContactValues v = adifContactValues(c, o.homeStateCode, table);
    const QString blank = QStringLiteral(" ");
    QString r;

    if (!c.LogCall.isEmpty())
        r += adifItem(QStringLiteral("Call"), c.LogCall) + blank;
    const QString date = adifDateText(c.LogDate);
    if (!date.isEmpty())
        r += adifItem(QStringLiteral("Qso_Date"), date, QStringLiteral("d")) + blank;
    if (!c.LogBand.isEmpty())
        r += adifItem(QStringLiteral("Band"), c.LogBand + QLatin1Char('M')) + blank;
    if (!c.LogMode.isEmpty()) {
        QString mode = c.LogMode.toUpper();
        if (mode == u"PH")
            mode = QStringLiteral("SSB");
        r += adifItem(QStringLiteral("Mode"), mode) + kLineEnd;
    }

    if (!o.power.isEmpty())
        r += adifItem(QStringLiteral("Tx_Pwr"), rightTrimmed(o.power)) + blank;
    if (!c.LogFrequency.isEmpty())
        r += adifItem(QStringLiteral("Freq"), c.LogFrequency.trimmed()) + blank;
    const QString time = adifTimeText(c.LogTime);
    if (time.compare(QLatin1String("0000")) >= 0)
        r += adifItem(QStringLiteral("Time_On"), time) + blank;
    if (v.dxcc > 0)
        r += adifItem(QStringLiteral("DXCC"), QString::number(v.dxcc)) + blank;
    if (!v.state.isEmpty())
        r += adifItem(QStringLiteral("State"), v.state) + blank;
    if (!c.LogCounty.isEmpty())
        r += adifItem(QStringLiteral("Cnty"), v.state + QLatin1Char(',') + c.LogCounty) + blank;
    if (!v.continent.isEmpty())
        r += adifItem(QStringLiteral("Cont"), v.continent) + blank;
    if (!c.LogRstReceived.isEmpty())
        r += adifItem(QStringLiteral("RST_Rcvd"), rightTrimmed(c.LogRstReceived)) + blank;
    if (!c.LogRstSent.isEmpty())
        r += adifItem(QStringLiteral("RST_Sent"), rightTrimmed(c.LogRstSent)) + blank;
    if (!o.comment.isEmpty())
        r += adifItem(QStringLiteral("Comment"), o.comment) + kLineEnd;

    r += QStringLiteral("<eor>") + kLineEnd + kLineEnd;
    return r.toLatin1();
}

QByteArray formatAdif(const ContactLog& log, int count, const AdifExportOptions& options,
                      const AdifCountryTable& table)
{
    QByteArray out = formatAdifHeader(options);
    for (int i = 1; i <= count && i <= ContactLog::Capacity; ++i)
        out += formatAdifRecord(log[i], options, table);
    return out;
}

QString generalDateText(const QDateTime& local)
{
    const QLocale locale = QLocale::system();
    // The long time form without its time-zone name.
    static const QRegularExpression zone(QStringLiteral("\\s*(?<![A-Za-z])t+(?![A-Za-z])"));
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(zone);
    return locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + locale.toString(local.time(), timeFormat.trimmed());
}

QString findAdifCountryFile()
{
    return Folders::findDataFile(kCountryFile);
}

void ExportADIF()
{
    const StationSettings& s = StationSettings::instance();
    const Folders& folders = Folders::instance();

    AdifExportOptions options;
    options.homeStateCode = s.HomeStateCode;
    options.programVersion = folders.ProgramVersion;
    options.power = prompt().input(
        QStringLiteral("Please enter the power value that you would like to record.  This is an "
                       "optional value that will be included in each QSO record and displayed "
                       "in Logvane's power output column."),
        QStringLiteral("Please enter your transmitter output power."), QStringLiteral("100"));
    options.comment = prompt().input(
        QStringLiteral("Please enter a comment that you would like to appear on each QSO record.  "
                       "This is an optional description that will be displayed in Logvane's "
                       "Comments column."),
        QStringLiteral("Please enter a comment."),
        s.HomeStateCode + QStringLiteral(" State QSO Party Contest"));
    // A question left because the program ends: nothing is exported.
    if (programEnded())
        return;

    Folders::makeWorkingFolderCurrent();
    const QString tablePath = findAdifCountryFile();
    if (tablePath.isEmpty()) {
        reportFailure(QStringLiteral("File not found: %1").arg(kCountryFile));
        return;
    }
    QString error;
    const auto content = readWholeFile(tablePath, &error);
    if (!content) {
        reportFailure(QStringLiteral("%1: %2").arg(kCountryFile, error));
        return;
    }
    const auto table = parseAdifCountryTable(*content, &error);
    if (!table) {
        reportFailure(error);
        return;
    }

    const QString proposed =
        folders.UserDirectory + QLatin1Char('/') + s.HomeStateCode + QStringLiteral(".adi");
    const QString chosen =
        chooseFileToWrite(QString(), proposed, QStringLiteral("ADIF Files (*.adi)"));
    if (chosen.isEmpty()) { // Cancel ends the export silently; a refused file has been said
        Folders::makeWorkingFolderCurrent();
        return;
    }

    Folders::makeWorkingFolderCurrent();
    const QString path = QFileInfo(chosen).absoluteFilePath();
    options.exportedOn = generalDateText(clock().now().local);
    const QByteArray data =
        formatAdif(ContactLog::instance(), ContactLog::instance().ContactCount, options, *table);
    if (!writeFileAtomically(path, data, &error)) {
        reportFailure(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), error));
        return;
    }

    Folders::makeWorkingFolderCurrent();
    prompt().message(QStringLiteral("The file was successfully written to the directory:\n\n")
                         + QDir::toNativeSeparators(path) + QLatin1Char('.'),
                     QStringLiteral("File Written Successfully."), MsgButtons::Ok);
}

} // namespace zq
