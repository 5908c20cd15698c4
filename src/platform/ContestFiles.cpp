#include "platform/ContestFiles.h"

#include "platform/Folders.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <initializer_list>
#include <utility>
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

// Of those, the files that the program writes by whole-file writes, which
// leave their temporary files when they are killed.
constexpr std::initializer_list<const char*> kWrittenWorkingFolderFiles = {
    "log.txt", "QSOpref.txt", "CW.txt", "wave2.txt", "RigCntrl.txt", "PackSpot.txt", "LogExp.txt"};

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

// The folder and the last name of an absolute path.
std::pair<QString, QString> folderAndName(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return {slash > 0 ? path.left(slash) : QStringLiteral("/"), path.mid(slash + 1)};
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
    const auto [dir, name] = folderAndName(target);
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

int removeStaleTemporaryFilesOfContestFiles(const QString& workingFolder)
{
    // Folder by folder, the names whose temporary files go.
    QMap<QString, QStringList> names;
    for (const char* name : kWrittenWorkingFolderFiles) {
        const QString file = fileIn(workingFolder, QLatin1String(name));
        names[workingFolder] << folderAndName(file).second;
        const auto [dir, targetName] = folderAndName(resolvedWriteTarget(file));
        names[dir] << targetName;
    }
    int removed = 0;
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        removed += removeStaleTemporaryFiles(it.key(), it.value());
    return removed;
}

QString linkedLogLockFile(const QString& workingFolder, QString* log)
{
    const QString target = resolvedWriteTarget(fileIn(workingFolder, QStringLiteral("log.txt")));
    const auto [dir, name] = folderAndName(target);
    const bool folderLog = name.compare(QLatin1String("log.txt"), Qt::CaseInsensitive) == 0;
    if (folderLog && sameFolder(dir, workingFolder))
        return QString();
    if (log)
        *log = target;
    return dir + QLatin1Char('/')
        + (folderLog ? QStringLiteral("zqlog.lock") : name + QStringLiteral(".zqlock"));
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
