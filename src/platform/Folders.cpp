#include "platform/Folders.h"

#include "platform/Paths.h"

#include <QDir>

namespace zq {

Folders& Folders::instance()
{
    static Folders f;
    return f;
}

QString Folders::workingFile(const QString& name)
{
    QString dir = instance().WorkingDirectory;
    if (dir.isEmpty())
        dir = QDir::currentPath();
    return fileIn(dir, name);
}

QString Folders::findDataFile(const QString& name)
{
    const Folders& f = instance();
    for (const QString& folder : {f.SharedDirectory, f.UserDirectory, f.WorkingDirectory}) {
        if (!folder.isEmpty() && fileExistsIn(folder, name))
            return fileIn(folder, name);
    }
    return QString();
}

void Folders::makeWorkingFolderCurrent()
{
    const QString dir = instance().WorkingDirectory;
    if (!dir.isEmpty())
        QDir::setCurrent(dir);
}

} // namespace zq
