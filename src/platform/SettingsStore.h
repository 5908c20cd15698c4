#pragma once
// The per-user settings store: values that outlive a log (the operator's
// address, keyer choices), kept with QSettings under the organisation
// "Brelvox_Software", group "Settings", in the application's own file
// <config>/<organisation>/<application>.conf (<config> is the XDG
// configuration folder).  An absent key reads as "".
//
// The file, and the lock file that a save makes beside it, are used only
// while each is absent or a regular file: a pipe, a device or a folder in
// their place (or a link in place of the lock file) would hold QSettings
// in its open for good.  Then every key reads as "", nothing is saved, and
// the operator is told once, with the file and the reason, until the file
// can be used again.

#include <QString>

namespace zq {

QString GetSetting(const QString& key);
// False when the store could not be written.
bool SaveSetting(const QString& key, const QString& value);

} // namespace zq
