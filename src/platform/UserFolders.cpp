#include "platform/UserFolders.h"

#include "platform/Paths.h"
#include "platform/Prompt.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace zq {

namespace {

// "\Brelvox Software" -> "/Brelvox Software"
QString subFolder(const QString& name)
{
    QString n = nativeSeparators(name);
    if (!n.startsWith(QLatin1Char('/')))
        n.prepend(QLatin1Char('/'));
    while (n.size() > 1 && n.endsWith(QLatin1Char('/')))
        n.chop(1);
    return n;
}

} // namespace

void GetUserDirectory(QString& result, const QString& companyFolder, const QString& programFolder)
{
    const QString base = documentsFolder();
    if (!QFileInfo(base).isDir()) {
        prompt().message(QStringLiteral("Path not found: ") + base,
                         QStringLiteral("User Access Directory Error"), MsgButtons::Ok,
                         MsgIcon::Critical);
    }
    const QString company = base + subFolder(companyFolder);
    MakeDirectory(company, 1);
    MakeDirectory(company + subFolder(programFolder), 1);
    result = company;
}

bool MakeDirectory(const QString& path, uint8_t reportFlag)
{
    if (path.isEmpty()) {
        prompt().message(QStringLiteral("Invalid Path"), QStringLiteral("Unable to Create Directory"),
                         MsgButtons::Ok);
        return false;
    }
    QString p = nativeSeparators(path);
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    if (QFileInfo(p).isDir())
        return true;
    // Only the last level is made: its parent must exist.
    if (::mkdir(QFile::encodeName(p).constData(), 0777) == 0)
        return true;
    const QString reason = QString::fromLocal8Bit(std::strerror(errno));
    if (reportFlag == 1) {
        prompt().message(reason + QStringLiteral("  ") + p,
                         QStringLiteral("Unable to create directory."), MsgButtons::Ok,
                         MsgIcon::Warning);
    }
    return false;
}

QString CallFileStem(const QString& call)
{
    qsizetype n = 0;
    while (n < call.size()) {
        const char16_t c = call[n].unicode();
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z')))
            break;
        ++n;
    }
    return n == 0 ? QStringLiteral("YourCall") : call.left(n);
}

} // namespace zq
