#pragma once
// The spotting window's settings file `PackSpot.txt` and its help text.
//
// PackSpot.txt holds 14 values, one a line, CR LF each: baud rate, parity,
// data bits, stop bits (texts), comm port (number), power line, source
// (texts), convert-to-hex flag, handshaking, list-DX-only flag (numbers),
// list display (#TRUE# for the list, #FALSE# for the band map), command
// character, Telnet port and Telnet host (texts).

#include <QByteArray>
#include <QString>
#include <optional>

namespace zq {

// The TNC link's serial settings, members of the spotting window.
struct TncSettings {
    QString BaudRateText;   // "1200" ... "19200"
    QString ParityLetter;   // "O", "N", "E"
    QString DataBitsText;   // "7", "8"
    QString StopBitsText;   // "1", "2"
    quint8 CommPortNumber = 0; // 1 to 10; 0 until collected
    QString PowerLine;      // "N", "R" (RTS), "D" (DTR)
    quint8 HandshakeMode = 0;  // 1 none, 2 Xon/Xoff, 3 RTS, 4 RTS and Xon/Xoff; 0 until collected

    // "9600,N,8,1": the baud rate without trailing blanks and the rest,
    // joined by commas.
    QString SerialSettings() const;
};

// Every value of the file, in file order.
struct PackSpotValues {
    TncSettings tnc;           // lines 1-6 and 9
    QString SpotSource;        // line 7
    int ConvertToHex = 0;      // line 8
    int ListDxOnly = 0;        // line 10 (read, never applied)
    bool ListDisplay = false;  // line 11
    QString CommandCharacter;  // line 12
    QString TelnetPort;        // line 13
    QString TelnetHost;        // line 14
};

// The largest PackSpot.txt read; anything larger is no settings file.
constexpr qint64 MaxPackSpotBytes = 64 * 1024;

// Reads the values in file order into `out`; returns how many were read
// before the first that is missing or cannot be read as its type (14 for a
// whole file).  Values past that one keep what `out` held.
int parsePackSpot(const QByteArray& content, PackSpotValues& out);

// The file's 14 lines.
QByteArray formatPackSpot(const PackSpotValues& v);

// The guide shown in the receive pane at every source selection: the
// paragraphs for `listText` ("None", "TNC", "Telnet", "AGW Packet Engine"),
// each followed by two CR LF pairs; empty for anything else.
QString spottingHelpText(const QString& listText);

} // namespace zq
