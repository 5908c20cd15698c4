#include "platform/SettingsStore.h"

#include "platform/Prompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <sys/stat.h>

namespace zq {

namespace {
const QString kGroup = QStringLiteral("Settings");

QString groupKey(const QString& key)
{
    return kGroup + QLatin1Char('/') + key;
}

// Why the store cannot be used now, or "" when it can.  Looked at before
// QSettings opens anything: the file is followed through links as
// QSettings reads it; the lock file is made by QLockFile with O_EXCL,
// which never goes through a link, so a link there is never a lock that
// goes away.
QString whyStoreUnusable(const QString& file)
{
    const QString lock = file + QStringLiteral(".lock");
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return QDir::toNativeSeparators(file);
    if (::lstat(QFile::encodeName(lock).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return QDir::toNativeSeparators(lock);
    return QString();
}

// Whether the store may be opened; when not, the operator is told once
// while it stays so.
bool storeUsable(const QString& file)
{
    static QString said;
    const QString refused = whyStoreUnusable(file);
    if (refused.isEmpty()) {
        said.clear();
        return true;
    }
    if (refused != said) {
        said = refused;
        prompt().message(QStringLiteral("The settings file %1 is not a regular file, so it is not "
                                        "opened.  The remembered settings (the CW timing, the "
                                        "address for the submission file) read as empty and are "
                                        "not saved until it is removed or replaced by a regular "
                                        "file.")
                             .arg(refused),
                         QStringLiteral("Settings Not Used"), MsgButtons::Ok, MsgIcon::Warning);
    }
    return false;
}

QString settingsStoreFile()
{
    // As QSettings names an application's per-user file.
    QString organisation = QCoreApplication::organizationName();
    if (organisation.isEmpty())
        organisation = QStringLiteral("Unknown Organization");
    const QString application = QCoreApplication::applicationName();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QLatin1Char('/') + organisation
        + (application.isEmpty() ? QString() : QLatin1Char('/') + application)
        + QStringLiteral(".conf");
}
} // namespace

QString GetSetting(const QString& key)
{
    const QString file = settingsStoreFile();
    if (!storeUsable(file))
        return QString();
    return QSettings(file, QSettings::IniFormat).value(groupKey(key)).toString();
}

bool SaveSetting(const QString& key, const QString& value)
{
    const QString file = settingsStoreFile();
    if (!storeUsable(file))
        return false;
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(groupKey(key), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace zq
