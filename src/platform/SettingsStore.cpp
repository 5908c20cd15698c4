#include "platform/SettingsStore.h"

#include <QSettings>

namespace zq {

namespace {
const QString kGroup = QStringLiteral("Settings");

QString groupKey(const QString& key)
{
    return kGroup + QLatin1Char('/') + key;
}
} // namespace

QString GetSetting(const QString& key)
{
    return QSettings().value(groupKey(key)).toString();
}

bool SaveSetting(const QString& key, const QString& value)
{
    QSettings settings;
    settings.setValue(groupKey(key), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace zq
