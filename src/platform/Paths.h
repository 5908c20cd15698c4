#pragma once
// Folder and file-name services: the user's documents folder and
// case-insensitive lookup of the program's files in a folder.

#include <QString>

namespace zq {

// The per-user documents folder (XDG), created when missing.  Tests point it
// elsewhere with setDocumentsFolderOverride.
QString documentsFolder();
void setDocumentsFolderOverride(const QString& path); // "" restores the real one

// The path of the file `name` in `folder`, matched without regard to case
// ("CW.txt" finds "cw.txt").  When no entry matches, folder/name as given,
// so a file written there is created with the program's own spelling.
QString fileIn(const QString& folder, const QString& name);

// True when `name` exists in `folder` as a file (case-insensitive match).
bool fileExistsIn(const QString& folder, const QString& name);

// "\" of a Windows-style relative path becomes "/".
QString nativeSeparators(const QString& path);

} // namespace zq
