#pragma once
// The user's folders under the documents folder, and the file stem made
// from the own call.
//
//   <documents>/Brelvox Software/Carvonia   backups, archives, exports
//   <documents>/Brelvox Software/Shared     shared preferences, shared data

#include <QString>
#include <cstdint>

namespace zq {

// Sets `result` to <documents> + companyFolder and creates <documents>,
// <documents> + companyFolder and <documents> + companyFolder +
// programFolder where they are missing.  Folder names are given with a
// leading "\" or "/" ("\Brelvox Software", "\Carvonia").  Failures are
// reported and the next step goes on.
void GetUserDirectory(QString& result, const QString& companyFolder, const QString& programFolder);

// Creates the folder `path` (its last level only) unless it exists.  An
// empty path is reported; a failure to create is reported when reportFlag
// is 1.  True when the folder exists afterwards.
bool MakeDirectory(const QString& path, uint8_t reportFlag);

// The leading run of "0"-"9" and "A"-"Z" of the call; "YourCall" when empty.
QString CallFileStem(const QString& call);

} // namespace zq
