#pragma once
// SharedUserPreferences.xml in the shared folder: a declaration line and one
// element per line, published for other programs; written only.

#include <QString>
#include <cstdint>

namespace zq {

struct SharedPrefs {
    QString SharedPrefsText; // whole content without the final line end
    QString SharedPrefsPath;
    static SharedPrefs& instance();
};

void LoadSharedPrefs(const QString& path);
// Upper-cases key in place; replaces or appends its element; with
// saveFlag 1 writes the file.  False (reported) when the write failed.
bool SetSharedPref(QString& key, const QString& value, uint8_t saveFlag);
bool SaveSharedPrefs(const QString& path);

} // namespace zq
