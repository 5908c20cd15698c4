#include "logstore/LogvaneExport.h"

#include "common/ProgramEnd.h"
#include "platform/Folders.h"
#include "logstore/StationSettings.h"
#include "platform/Prompt.h"
#include "platform/QuotedText.h"
#include "platform/SafeFile.h"

#include <QDir>

namespace zq {

namespace {
const QString kExportFile = QStringLiteral("LogExp.txt");
} // namespace

LogvaneContactValues logvaneContactValues(const ContactRecord& c, const QString& homeStateCode)
{
    LogvaneContactValues v;
    const qsizetype spcLength = c.LogSpc.size();
    if (spcLength == 2) {
        const QChar first = c.LogCall.isEmpty() ? QChar() : c.LogCall[0];
        if (first == u'A' || first == u'K' || first == u'N' || first == u'W') {
            v.state = c.LogSpc;
            v.country = QStringLiteral("USA");
        } else {
            v.country = QStringLiteral("Canada");
        }
    }
    if (spcLength > 2)
        v.country = c.LogSpc;
    if (spcLength == 0)
        v.state = homeStateCode;
    if (!c.LogField6.isEmpty())
        v.state = c.LogField6;

    v.mode = QStringLiteral("SSB");
    if (c.LogMode == u"CW")
        v.mode = QStringLiteral("CW");
    else if (c.LogMode == u"DG")
        v.mode = QStringLiteral("DG");

    if (v.state == u"AK")
        v.country = QStringLiteral("Alaska");
    else if (v.state == u"HI")
        v.country = QStringLiteral("Hawaii");
    return v;
}

QByteArray formatLogvaneLine(const ContactRecord& c, const QString& power,
                             const QString& homeStateCode)
{
    const LogvaneContactValues v = logvaneContactValues(c, homeStateCode);
    const QString none; // an empty value is written as nothing between its commas
    return recordLine({
        quotedText(c.LogCall),
        quotedText(c.LogDate),
        quotedText(c.LogBand),
        quotedText(v.mode),
        quotedText(power),
        quotedText(c.LogTime),
        quotedText(c.LogRstSent),
        quotedText(c.LogRstReceived),
        none,
        quotedText(v.country),
        quotedText(v.state),
        quotedText(c.LogCounty),
        none,
        none,
        none,
        quotedText(QStringLiteral("QSO Party Contest")),
    });
}

QByteArray formatLogvaneFile(const ContactLog& log, int count, const QString& power,
                             const QString& homeStateCode)
{
    QByteArray out;
    for (int i = 1; i <= count && i <= ContactLog::Capacity; ++i)
        out += formatLogvaneLine(log[i], power, homeStateCode);
    return out;
}

void ExportLogvaneFile()
{
    Folders::makeWorkingFolderCurrent();
    const QString power =
        prompt().input(QStringLiteral("Please enter the power value you would like to record."),
                       QStringLiteral("Please enter the power value"));
    // The question was left because the program ends: nothing is exported.
    if (programEnded())
        return;

    const Folders& folders = Folders::instance();
    const ContactLog& log = ContactLog::instance();
    const QByteArray data =
        formatLogvaneFile(log, log.ContactCount, power, StationSettings::instance().HomeStateCode);

    // Written whole or not at all: a failed write leaves any earlier file as it was.
    const QString path = Folders::workingFile(kExportFile);
    QString error;
    const bool written = writeFileAtomically(path, data, &error);
    Folders::makeWorkingFolderCurrent();
    prompt().beep();
    if (!written) {
        prompt().message(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), error),
                         QStringLiteral("Unable to write file."), MsgButtons::Ok);
        return;
    }
    prompt().message(QStringLiteral("LogExp.txt has been written to this program's working "
                                    "directory ")
                         + QDir::toNativeSeparators(folders.WorkingDirectory)
                         + QStringLiteral(".  Import these contacts into the Logvane program by "
                                          "clicking File, Import, and navigating to this "
                                          "directory from the Logvane program."),
                     QStringLiteral("Export Successful!"), MsgButtons::Ok);
}

} // namespace zq
