#include "common/CommonDialog.h"

#include "platform/ContestFiles.h"
#include "platform/Prompt.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace zq {

QString CommonDialog::qtFilter() const
{
    const QStringList parts = Filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString name = parts[i];
        out << (name.contains(QLatin1Char('(')) ? name : name + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return out.join(QStringLiteral(";;"));
}

QString CommonDialog::initialPath() const
{
    if (FileName.isEmpty())
        return InitDir;
    if (QFileInfo(FileName).isAbsolute() || InitDir.isEmpty())
        return FileName;
    return QDir(InitDir).filePath(FileName);
}

bool CommonDialog::ShowSave()
{
    const QString chosen = chooseFileToWrite(DialogTitle, initialPath(), qtFilter(),
                                             (Flags & OverwritePrompt) != 0);
    if (chosen.isEmpty())
        return false;
    FileName = chosen;
    return true;
}

bool CommonDialog::ShowOpen()
{
    const QString chosen = prompt().openFile(DialogTitle, initialPath(), qtFilter());
    if (chosen.isEmpty())
        return false;
    FileName = chosen;
    return true;
}

} // namespace zq
