#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zq {

namespace {
QString& documentsOverride()
{
    static QString path;
    return path;
}

QString matchInFolder(const QString& folder, const QString& name, bool* found)
{
    QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    *found = false;
    if (QFileInfo::exists(dir.filePath(name))) {
        *found = true;
        return dir.filePath(name);
    }
    const QStringList entries = dir.entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System
                                              | QDir::NoDotAndDotDot);
    for (const QString& e : entries) {
        if (e.compare(name, Qt::CaseInsensitive) == 0) {
            *found = true;
            return dir.filePath(e);
        }
    }
    return dir.filePath(name);
}
} // namespace

QString documentsFolder()
{
    QString path = documentsOverride();
    if (path.isEmpty())
        path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (path.isEmpty())
        path = QDir::homePath() + QStringLiteral("/Documents");
    QDir().mkpath(path);
    return path;
}

void setDocumentsFolderOverride(const QString& path)
{
    documentsOverride() = path;
}

QString fileIn(const QString& folder, const QString& name)
{
    bool found = false;
    return matchInFolder(folder, name, &found);
}

bool fileExistsIn(const QString& folder, const QString& name)
{
    bool found = false;
    QString path = matchInFolder(folder, name, &found);
    return found && QFileInfo(path).isFile();
}

QString nativeSeparators(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

} // namespace zq
