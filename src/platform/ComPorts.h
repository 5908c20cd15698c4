#pragma once
// Port numbers to Linux devices, one reader for every port user (rig, TNC,
// WinKeyer, CW and PTT key lines).
//
// `ComPorts.txt` in the working folder (any letter case) holds lines
//     n=DEVICE            serial port n, e.g. 1=/dev/ttyUSB0
//     LPT<address>=DEVICE parallel port at an address, decimal or "&H" hex,
//                         e.g. LPT&H378=/dev/parport0
// Blank lines and lines it does not know are ignored.  The file is read at
// every call, so a change takes effect at the next opening.

#include <QString>
#include <optional>

namespace zq {

// The device of serial port `n`: the file's line when it names one, else
// /dev/ttyS<n-1>.  "" for n < 1.
QString serialPortDevice(int n);

// The device of the parallel port at `address` (decimal or "&H" hex text):
// the file's LPT line whose address equals it as a number, else the
// /dev/parport<N> whose /proc/sys/dev/parport/parport<N>/base-addr starts
// with that address; "" when none.
QString parallelPortDevice(const QString& address);

// "&H378" -> 0x378, "888" -> 888; nullopt for anything else.
std::optional<long> parsePortAddress(const QString& text);

// Tests: read `ComPorts.txt` from this folder instead of the working folder,
// and the parport tree from this root instead of /proc/sys/dev/parport
// ("" restores the real ones).
void setComPortsFolderOverride(const QString& folder);
void setParportProcRootOverride(const QString& root);

} // namespace zq
