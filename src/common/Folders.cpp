#include "common/Folders.h"

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

} // namespace zq
