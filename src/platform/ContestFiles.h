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

// The folders that the contest's own files of `workingFolder` are written
// in: the working folder first, then the folder at the end of the chain of
// links of each of those files that is a link into another folder, each
// folder once (however it is spelt).
QStringList contestFileFolders(const QString& workingFolder);

// The save dialog, through the prompt layer, for a file that the operator
// names to be written.  Returns the chosen path, or "" when the dialog is
// cancelled or the choice is one of the contest's own files: that choice
// is refused with a beep and a message naming it, and the caller writes
// nothing.
QString chooseFileToWrite(const QString& title, const QString& initialPath,
                          const QString& filter, bool confirmOverwrite = true);

} // namespace zq
