#pragma once
// The per-user settings store: values that outlive a log (the operator's
// address, keyer choices), kept with QSettings under the organisation
// "Brelvox_Software", group "Settings".  An absent key reads as "".

#include <QString>

namespace zq {

QString GetSetting(const QString& key);
// False when the store could not be written.
bool SaveSetting(const QString& key, const QString& value);

} // namespace zq
