#pragma once
// The contest's own files, and the save dialog that keeps every file the
// operator names for writing (an export, the submission file, an archive)
// off them.

#include <QString>
#include <QStringList>

namespace zq {

// True when a write to `path` would replace or make one of the contest's
// own files: the log, the station preferences, the folder's lock and the
// settings and data files that the program keeps in its working folder,
// and the data and settings files it keeps in the user and shared folders.
// A link is followed to the file at the end of its chain; names match in
// any letter case, as the program finds its files.
bool isContestFile(const QString& path);

// Removes the temporary files that killed whole-file writes of the
// contest's own files of `workingFolder` left behind: of the files that the
// program writes (the log, the station preferences, its settings files and
// the Logvane export), in the working folder and, for each of them that is
// a link, beside the file at the end of its chain of links, whatever its
// name there.  The temporary file of any other file stays, in whatever
// folder.  Returns how many were removed.
int removeStaleTemporaryFilesOfContestFiles(const QString& workingFolder);

// The lock file that keeps a second writer off the log of `workingFolder`
// where the working folder's own lock does not: "" when log.txt of the
// folder is no link out of it (the log is the folder's own file, locked
// with it).  Otherwise the log is the file at the end of the chain of
// links (*log, when asked), and its lock file is beside it: zqlog.lock
// when that file is the log.txt of its own folder, so the same lock as a
// copy started in that folder takes, else the file's name followed by
// ".zqlock".  Every copy whose log ends at one file finds one lock file.
QString linkedLogLockFile(const QString& workingFolder, QString* log = nullptr);

// The save dialog, through the prompt layer, for a file that the operator
// names to be written.  Returns the chosen path, or "" when the dialog is
// cancelled or the choice is one of the contest's own files: that choice
// is refused with a beep and a message naming it, and the caller writes
// nothing.
QString chooseFileToWrite(const QString& title, const QString& initialPath,
                          const QString& filter, bool confirmOverwrite = true);

} // namespace zq
