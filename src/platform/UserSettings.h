#pragma once
// The per-user settings store: keys of the application "Brelvox_Software",
// section "Settings", kept by QSettings.  An absent key reads as the given
// default.

#include <QString>

namespace zq {

QString GetSetting(const QString& key, const QString& defaultValue = QString());
// False (with the reason) when the store could not be written.
bool SaveSetting(const QString& key, const QString& value, QString* error = nullptr);

} // namespace zq
