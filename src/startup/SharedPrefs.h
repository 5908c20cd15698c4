#pragma once
// SharedUserPreferences.xml in the shared folder: a declaration line and one
// element per line, published for other programs; written only.

#include <QString>
#include <cstdint>

namespace zq {

struct SharedPrefs {
    QString SharedPrefsText; // whole content without the final line end
    QString SharedPrefsPath;
    // The file read was not valid UTF-8 and was read as Latin-1: it is
    // written back in Latin-1, byte for byte, while every character fits.
    bool Latin1File = false;
    static SharedPrefs& instance();
};

// A file that cannot be read, or is larger than any settings file
// (kMaxSettingsFileBytes), is not read: the text starts afresh.
void LoadSharedPrefs(const QString& path);
// Upper-cases key in place; replaces or appends its element, the value
// with "&", "<" and ">" escaped so the file stays well-formed XML; with
// saveFlag 1 writes the file.  False (reported) when the write failed.
bool SetSharedPref(QString& key, const QString& value, uint8_t saveFlag);
bool SaveSharedPrefs(const QString& path);

} // namespace zq
