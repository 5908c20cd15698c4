#include "platform/ContestFiles.h"

#include "platform/Folders.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <initializer_list>
#include <sys/stat.h>

namespace zq {

namespace {

struct OwnFolder {
    QString path;
    std::initializer_list<const char*> names;
};

// The contest's own files in the working folder.
constexpr std::initializer_list<const char*> kWorkingFolderFiles = {
    "log.txt",     "QSOpref.txt",  "zqlog.lock",   "county2.txt",  "arrlpre2.txt",
    "states.txt",  "ADIFCnt.txt",  "BandPlan.txt", "ReadSQSO.txt", "ComPorts.txt",
    "CW.txt",      "wave2.txt",    "RigCntrl.txt", "PackSpot.txt", "LogExp.txt"};

// Folders are compared as the file system knows them (device and inode),
// so any spelling of a folder, through links or not, is the same folder.
bool sameFolder(const QString& a, const QString& b)
{
    struct stat sa {}, sb {};
    return !a.isEmpty() && !b.isEmpty()
        && ::stat(QFile::encodeName(a).constData(), &sa) == 0
        && ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev
        && sa.st_ino == sb.st_ino;
}

} // namespace

bool isContestFile(const QString& path)
{
    const Folders& folders = Folders::instance();
    const QString working =
        folders.WorkingDirectory.isEmpty() ? QDir::currentPath() : folders.WorkingDirectory;
    const OwnFolder own[] = {
        {working, kWorkingFolderFiles},
        {folders.UserDirectory, {"WK.txt", "arrlpre2.txt", "ADIFCnt.txt"}},
        {folders.SharedDirectory, {"SharedUserPreferences.xml", "arrlpre2.txt", "ADIFCnt.txt"}},
    };

    const QString target = resolvedWriteTarget(path);
    const qsizetype slash = target.lastIndexOf(QLatin1Char('/'));
    const QString dir = slash > 0 ? target.left(slash) : QStringLiteral("/");
    const QString name = target.mid(slash + 1);
    for (const OwnFolder& folder : own) {
        bool named = false;
        for (const char* n : folder.names)
            named = named || name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0;
        if (named && sameFolder(dir, folder.path))
            return true;
    }
    // A contest file that is a link into another folder is written at the
    // end of its chain, under whatever name it has there: that file is the
    // contest's own file too.
    struct stat chosen {};
    if (::stat(QFile::encodeName(target).constData(), &chosen) != 0)
        return false;
    for (const OwnFolder& folder : own) {
        if (folder.path.isEmpty())
            continue;
        for (const char* n : folder.names) {
            struct stat file {};
            if (::stat(QFile::encodeName(fileIn(folder.path, QLatin1String(n))).constData(), &file) == 0
                && file.st_dev == chosen.st_dev && file.st_ino == chosen.st_ino)
                return true;
        }
    }
    return false;
}

QStringList contestFileFolders(const QString& workingFolder)
{
    QStringList folders{workingFolder};
    for (const char* name : kWorkingFolderFiles) {
        const QString file = fileIn(workingFolder, QLatin1String(name));
        const QString target = resolvedWriteTarget(file);
        const qsizetype slash = target.lastIndexOf(QLatin1Char('/'));
        const QString dir = slash > 0 ? target.left(slash) : QStringLiteral("/");
        bool known = false;
        for (const QString& f : folders)
            known = known || sameFolder(f, dir);
        if (!known && QFileInfo(dir).isDir())
            folders << dir;
    }
    return folders;
}

QString chooseFileToWrite(const QString& title, const QString& initialPath,
                          const QString& filter, bool confirmOverwrite)
{
    const QString chosen = prompt().saveFile(title, initialPath, filter, confirmOverwrite);
    if (chosen.isEmpty() || !isContestFile(chosen))
        return chosen;
    Folders::makeWorkingFolderCurrent();
    prompt().beep();
    prompt().message(QDir::toNativeSeparators(chosen)
                         + QStringLiteral(": this is one of the contest's own files (the log, the "
                                          "station preferences or a settings or data file of "
                                          "the program) and is never replaced by an export, an "
                                          "archive or the submission file.  Nothing was "
                                          "written.  Please choose another name."),
                     QStringLiteral("Unable to write file."), MsgButtons::Ok);
    return QString();
}

} // namespace zq
