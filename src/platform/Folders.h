#pragma once
// The folders and version recorded at start-up.  None ends with "/".

#include <QString>

namespace zq {

struct Folders {
    QString WorkingDirectory; // current folder at program start; data files live here
    QString WorkingDrive;     // kept for the file formats that name it; "/" here
    QString UserDirectory;    // <documents>/Brelvox Software/Carvonia
    QString SharedDirectory;  // <documents>/Brelvox Software/Shared
    QString ProgramVersion;   // "2.1", set by the start-up dialog's Continue

    static Folders& instance();
    // A file of the working folder, matched without regard to case.
    static QString workingFile(const QString& name);
    // A data file shared with other programs: the first of the shared, the
    // user and the working folder that holds `name` (any case); "" when
    // none does.
    static QString findDataFile(const QString& name);
    // Makes the working folder the current folder again (a file dialog may
    // have moved it).
    static void makeWorkingFolderCurrent();
};

} // namespace zq
