#pragma once
// QSOpref.txt: the 25 StationSettings values, one per line, in file order.

#include <QByteArray>

namespace zq {

enum class PrefReadResult {
    Ok,      // all 25 values read
    Missing, // no file: every value keeps its default
    Failed,  // ended early or held a bad value: the values before it were taken
};

// Reads QSOpref.txt from the working folder into StationSettings.
PrefReadResult ReadPrefFile();
// Writes StationSettings to QSOpref.txt atomically; a failure is reported
// in a "File Error" box, the old file stays whole, and false is returned.
bool WritePrefFile();

// The file content for the current settings (for tests and the writer).
QByteArray formatPrefFile();

} // namespace zq
