#pragma once
// The rig types the rig interface serves, the settings each brings, the
// record of serial settings and poll strings (`RigSettings`) and the
// settings file RigCntrl.txt that keeps them between runs.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace zq {

// The 19 types in the order the rig list shows them.
const QStringList& rigTypeNames();

// A type's defaults; an empty baud, data, stop or parity leaves that
// setting as it is.
struct RigTypeDefaults {
    QString name;
    QString baud;
    QString dataBits;
    QString stopBits;
    QString parity;
    QString freqPoll;
    QString modePoll;
    int convertToHex = 0;
    bool icomNote = false;
};
// The defaults of a type (exact name); nullopt for "None", "Ten Tec
// Pegasus" and names not in the list, which bring no settings.
std::optional<RigTypeDefaults> rigTypeDefaults(const QString& name);

// The Yaesu types that take five-byte commands (the name begins "Yaesu",
// but not "Yaesu FTdx9000"); they get opening and closing bytes.
bool isYaesuFiveByte(const QString& rigType);
// "None", or empty: no radio.
bool isNoRig(const QString& rigType);

// The record, in the order of RigCntrl.txt.  It starts at the dialog's own
// defaults, so a file written before any Test is whole.
struct RigSettings {
    QString BaudRate = QStringLiteral("56000"); // 5 characters, blanks on the right
    QString Parity = QStringLiteral("N");       // 1 character
    QString DataBits = QStringLiteral("8");     // 1 character
    QString StopBits = QStringLiteral("1");     // 1 character
    QString ModePoll;
    QString FreqPoll;
    QString PortSettings = QStringLiteral("56000,N,8,1");
    uint8_t PortNumber = 1;
    QString PowerLine = QStringLiteral("N"); // N none, R raise RTS, D raise DTR
    QString PollRate = QStringLiteral("M");  // F, M, S, R
};

// A text padded with blanks or cut to `width` characters.
QString fixedWidth(const QString& text, int width);
// "4800 " -> "4800,N,8,2" with the other fields.
QString portSettingsOf(const RigSettings& s);

// RigCntrl.txt: 14 values, one per line.
namespace rigline {
constexpr int RigType = 11, ConvToHex = 12, UseFrequency = 13, ModeBy = 14, Count = 14;
}

struct RigCntrlRead {
    RigSettings settings; // the start record with the values read put in
    QString RigType;
    int ConvToHex = 0;
    int UseFrequency = 1;
    int ModeBy = 1;
    int valuesRead = 0; // values 1..valuesRead were read
    bool complete() const { return valuesRead == rigline::Count; }
};

// Reads the values in file order into a copy of `start` (and `rigType`),
// stopping at the first value that is missing or cannot be read as its
// type (a port number that is not a whole number 0-255, a check box or
// "Mode by:" value that is not a whole number).
RigCntrlRead parseRigCntrl(const QByteArray& content, const RigSettings& start,
                           const QString& rigType);
QByteArray formatRigCntrl(const RigSettings& s, const QString& rigType, int convToHex,
                          int useFrequency, int modeBy);

} // namespace zq
