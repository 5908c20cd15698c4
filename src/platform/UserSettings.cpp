#include "platform/UserSettings.h"

#include <QSettings>

namespace zq {

namespace {

QSettings& store(QSettings& s)
{
    s.beginGroup(QStringLiteral("Settings"));
    return s;
}

} // namespace

QString GetSetting(const QString& key, const QString& defaultValue)
{
    QSettings s(QStringLiteral("Brelvox_Software"), QStringLiteral("Brelvox_Software"));
    return store(s).value(key, defaultValue).toString();
}

bool SaveSetting(const QString& key, const QString& value, QString* error)
{
    QSettings s(QStringLiteral("Brelvox_Software"), QStringLiteral("Brelvox_Software"));
    store(s).setValue(key, value);
    s.sync();
    if (s.status() == QSettings::NoError)
        return true;
    if (error)
        *error = QStringLiteral("The settings store could not be written.");
    return false;
}

} // namespace zq
