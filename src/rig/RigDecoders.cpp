#include "rig/RigDecoders.h"

#include "platform/Paths.h"
#include "platform/QuotedText.h"
#include "platform/SafeFile.h"
#include "rig/RigConversions.h"

#include <QDir>
#include <QFile>
#include <cmath>

namespace zq {

void RigReading::merge(const RigReading& later)
{
    if (later.frequency)
        frequency = later.frequency;
    if (later.mode)
        mode = later.mode;
    if (later.vfo)
        vfo = later.vfo;
}

namespace {

const QString PH = QStringLiteral("PH");
const QString CW = QStringLiteral("CW");

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The most digits of hertz an Orion answer may hold.
constexpr qsizetype MaxOrionDigits = 11;

// A run of decimal digits as a number; nullopt when empty or not all digits.
std::optional<double> digitsValue(QByteArrayView s)
{
    if (s.isEmpty())
        return std::nullopt;
    double v = 0;
    for (char c : s) {
        if (!isDigit(c))
            return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::optional<double> digitsValue(const QString& s)
{
    return digitsValue(QByteArrayView(s.toLatin1()));
}

// Rounded to five decimals, ties to even, then held in single precision.
float round5(double mhz)
{
    return static_cast<float>(std::nearbyint(mhz * 100000.0) / 100000.0);
}

std::optional<uint64_t> hexRun(const QString& hex, qsizetype from, qsizetype count)
{
    if (from < 0 || from + count > hex.size())
        return std::nullopt;
    bool ok = false;
    const uint64_t v = hex.mid(from, count).toULongLong(&ok, 16);
    if (!ok)
        return std::nullopt;
    return v;
}

QByteArray latin1Marker(const QString& poll, qsizetype n)
{
    if (poll.size() < n)
        return {};
    return poll.left(n).toLatin1();
}

// Kenwood's 11 digits of hertz at `from`, read as the single-precision
// value the radio's number becomes.
std::optional<float> kenwoodHz(QByteArrayView reply, qsizetype from)
{
    const std::optional<double> hz = digitsValue(reply.sliced(from, 11));
    if (!hz)
        return std::nullopt;
    return round5(static_cast<float>(*hz) / 1e6);
}

// The mode digit of the Yaesu status blocks (hex digit 16, the low half of
// byte 8): 0, 1 and 3-7 phone, 2 CW; others none.
std::optional<QString> yaesuStatusMode(QByteArrayView reply)
{
    if (reply.size() < 8)
        return std::nullopt;
    const int d = static_cast<uchar>(reply[7]) % 16;
    if (d == 2)
        return CW;
    if (d <= 7)
        return PH;
    return std::nullopt;
}

RigReading yaesuStatus(QByteArrayView reply, qsizetype hexFrom, qsizetype hexCount, double divisor)
{
    RigReading r;
    if (reply.size() < 5)
        return r;
    const QString hex = BytesToHex(reply.first(std::min<qsizetype>(reply.size(), 8)));
    if (const auto v = hexRun(hex, hexFrom, hexCount))
        r.frequency = round5(static_cast<double>(*v) / divisor);
    r.mode = yaesuStatusMode(reply);
    return r;
}

} // namespace

RigReading DecodeKenwoodFrequency(QByteArrayView reply, const QString& freqPoll)
{
    RigReading r;
    if (freqPoll.size() < 3)
        return r;
    const QByteArray marker = latin1Marker(freqPoll, 2);
    const qsizetype p = reply.indexOf(marker);
    if (p < 0 || reply.size() <= p + 13)
        return r;
    r.frequency = kenwoodHz(reply, p + 2);
    return r;
}

RigReading DecodeKenwoodMode(QByteArrayView reply)
{
    RigReading r;
    const qsizetype p = reply.indexOf(QByteArrayView("MD"));
    if (p < 0 || reply.size() <= p + 2)
        return r;
    const char c = reply[p + 2];
    r.mode = (c == '3' || c == '7') ? CW : PH;
    return r;
}

RigReading DecodeKenwoodIF(QByteArrayView reply)
{
    RigReading r;
    const qsizetype p = reply.indexOf(QByteArrayView("IF"));
    if (p < 0 || reply.size() <= p + 13)
        return r;
    r.frequency = kenwoodHz(reply, p + 2);
    if (!r.frequency || reply.size() <= p + 29)
        return r;
    const char mode = reply[p + 29];
    r.mode = mode == '3' ? CW : PH;
    if (!isDigit(mode) || reply.size() <= p + 30 || !isDigit(reply[p + 30]))
        return r;
    r.vfo = static_cast<uint8_t>(reply[p + 30] - '0');
    return r;
}

RigReading DecodeFTdx9000Reply(QByteArrayView reply, const QString& freqPoll,
                               const QString& modePoll)
{
    RigReading r;
    const QByteArray fMarker = latin1Marker(freqPoll, 2);
    if (!fMarker.isEmpty()) {
        const qsizetype p = reply.indexOf(fMarker);
        if (p >= 0 && reply.size() > p + 8) {
            const qsizetype n = std::min<qsizetype>(8, reply.size() - (p + 2));
            if (const auto hz = digitsValue(reply.sliced(p + 2, n)))
                r.frequency = round5(*hz / 1e6);
        }
    }
    const QByteArray mMarker = latin1Marker(modePoll, 3);
    if (!mMarker.isEmpty()) {
        const qsizetype p = reply.indexOf(mMarker);
        if (p >= 0 && reply.size() > p + 3)
            r.mode = reply[p + 3] == '3' ? CW : PH;
    }
    return r;
}

RigReading DecodeOrionFrequency(QByteArrayView reply)
{
    RigReading r;
    const qsizetype p = reply.indexOf(QByteArrayView("@AF"));
    if (p < 0)
        return r;
    const qsizetype cr = reply.indexOf('\r', p + 3);
    // At most the 11 digits of hertz a Kenwood answer holds: a longer run
    // is no frequency (and would not fit a single-precision value).
    if (cr < 0 || cr - (p + 3) > MaxOrionDigits)
        return r;
    if (const auto hz = digitsValue(reply.sliced(p + 3, cr - (p + 3))))
        r.frequency = round5(*hz / 1e6);
    return r;
}

RigReading DecodeOrionMode(QByteArrayView reply)
{
    RigReading r;
    const qsizetype p = reply.indexOf(QByteArrayView("@RMM"));
    if (p < 0 || reply.size() <= p + 4 || !isDigit(reply[p + 4]))
        return r;
    const char c = reply[p + 4];
    r.mode = (c == '2' || c == '3') ? CW : PH;
    return r;
}

namespace {

// Scans CI-V frames for the awaited command.  Frequency: each complete
// frame's data bytes, least significant first, become digits most
// significant first, in front of those already collected.  Mode: the first
// data byte's two digits.
struct CivScan {
    QString digits;
    std::optional<QString> modeCode;
};

CivScan scanCiv(QByteArrayView reply, uchar command, bool modeOnly)
{
    enum class St { Empty, GotFirstFE, GotSecondFE, WaitForFD };
    CivScan out;
    QString frame; // digits of the frame being read
    St st = St::Empty;
    for (qsizetype i = 0; i < reply.size(); ++i) {
        const uchar b = static_cast<uchar>(reply[i]);
        switch (st) {
        case St::Empty:
            if (b == 0xFE)
                st = St::GotFirstFE;
            break;
        case St::GotFirstFE:
            if (b == 0xFE) {
                if (i + 2 >= reply.size())
                    return out; // the addresses are not there
                i += 2;
                st = St::GotSecondFE;
            } else {
                st = St::Empty;
            }
            break;
        case St::GotSecondFE:
            if (b == command) {
                frame.clear();
                st = St::WaitForFD;
            } else {
                st = St::Empty;
            }
            break;
        case St::WaitForFD:
            if (b == 0xFD) {
                out.digits = frame + out.digits;
                st = St::Empty;
            } else if (modeOnly) {
                out.modeCode = BytesToHex(reply.sliced(i, 1));
                return out;
            } else {
                frame = BytesToHex(reply.sliced(i, 1)) + frame;
            }
            break;
        }
    }
    return out;
}

} // namespace

RigReading DecodeIcomFrequency(QByteArrayView reply, bool fourByteFrequency)
{
    RigReading r;
    const CivScan scan = scanCiv(reply, 0x03, false);
    // Five data bytes (four for the four-byte reading), all decimal.
    const qsizetype need = fourByteFrequency ? 8 : 10;
    if (scan.digits.size() < need || !digitsValue(scan.digits.left(10)))
        return r;
    bool ok = false;
    double mhz = IcomDigitsToMHz(scan.digits).toDouble(&ok);
    if (!ok)
        return r;
    if (fourByteFrequency)
        mhz /= 100;
    r.frequency = static_cast<float>(mhz);
    return r;
}

RigReading DecodeIcomMode(QByteArrayView reply)
{
    RigReading r;
    const CivScan scan = scanCiv(reply, 0x04, true);
    if (scan.modeCode)
        r.mode = *scan.modeCode == QLatin1String("03") ? CW : PH;
    return r;
}

RigReading DecodeYaesuFrequencyMode(QByteArrayView reply)
{
    RigReading r;
    if (reply.size() < 5)
        return r;
    const std::optional<double> m = digitsValue(BytesToHex(reply.sliced(4, 1)));
    if (!m)
        return r;
    const QString digits = BytesToHex(reply.first(4));
    if (!digitsValue(digits))
        return r;
    r.frequency = static_cast<float>(BcdDigitsToMHz(digits).toDouble());
    const int mode = static_cast<int>(*m);
    if (mode == 0 || mode == 1 || mode == 4 || mode == 8 || mode == 84 || mode == 88)
        r.mode = PH;
    else if (mode == 2 || mode == 3 || mode == 82 || mode == 83)
        r.mode = CW;
    return r;
}

RigReading DecodeYaesu757Status(QByteArrayView reply)
{
    RigReading r;
    if (reply.size() < 10)
        return r;
    const QString digits = BytesToHex(reply.sliced(8, 1)) + BytesToHex(reply.sliced(7, 1))
                           + BytesToHex(reply.sliced(6, 1)) + BytesToHex(reply.sliced(5, 1));
    const std::optional<double> v = digitsValue(digits);
    if (!v)
        return r;
    r.frequency = round5(*v / 100000.0);
    // The mode pair read as a number from its start: a letter ends it.
    const QString pair = BytesToHex(reply.sliced(9, 1));
    int code = 0;
    for (QChar c : pair) {
        if (!c.isDigit())
            break;
        code = code * 10 + c.digitValue();
    }
    switch (code) {
    case 0:
    case 1: r.mode = PH; break;
    case 2:
    case 3: r.mode = CW; break;
    case 4: r.mode = QStringLiteral("AM"); break;
    case 5: r.mode = QStringLiteral("FM"); break;
    default: break;
    }
    return r;
}

RigReading DecodeYaesu890Status(QByteArrayView reply)
{
    return yaesuStatus(reply, 4, 6, 100000.0);
}

RigReading DecodeYaesu1000Status(QByteArrayView reply)
{
    return yaesuStatus(reply, 3, 6, 100000.0);
}

RigReading DecodeYaesu990Status(QByteArrayView reply)
{
    return yaesuStatus(reply, 2, 6, 100000.0);
}

RigReading DecodeYaesu920Status(QByteArrayView reply)
{
    RigReading r = yaesuStatus(reply, 2, 8, 1000000.0);
    r.mode.reset();
    if (reply.size() >= 8)
        r.mode = static_cast<uchar>(reply[7]) % 16 == 1 ? CW : PH;
    return r;
}

RigReading DecodeTenTecPanelFrequency(QByteArrayView reply)
{
    RigReading r;
    if (reply.size() < 5)
        return r;
    uint64_t hz = 0;
    for (qsizetype i = 1; i <= 4; ++i)
        hz = hz * 256 + static_cast<uchar>(reply[i]);
    r.frequency = round5(static_cast<double>(hz) / 1e6);
    return r;
}

RigReading DecodeTenTecPanelMode(QByteArrayView reply)
{
    RigReading r;
    if (reply.size() < 3)
        return r;
    const int d = static_cast<uchar>(reply[1]) % 16;
    if (d == 3)
        r.mode = CW;
    else if (d <= 4)
        r.mode = PH;
    return r;
}

RigReading decodeReply(const QString& t, QByteArrayView reply, bool afterFrequencyQuery,
                       const QString& freqPoll, const QString& modePoll)
{
    auto is = [&t](const char* name) { return t == QLatin1String(name); };
    RigReading r;
    if (is("Kenwood") || is("Elecraft")) {
        r = DecodeKenwoodFrequency(reply, freqPoll);
        r.merge(DecodeKenwoodMode(reply));
    } else if (is("Kenwood 2")) {
        r = DecodeKenwoodIF(reply);
    } else if (is("Icom") || is("Icom 735") || is("Ten Tec Omni VI")) {
        r = afterFrequencyQuery ? DecodeIcomFrequency(reply, is("Icom 735")) : DecodeIcomMode(reply);
    } else if (is("Yaesu")) {
        r = DecodeYaesuFrequencyMode(reply);
    } else if (is("Yaesu 757 GX II")) {
        r = DecodeYaesu757Status(reply);
    } else if (is("Yaesu 890")) {
        r = DecodeYaesu890Status(reply);
    } else if (is("Yaesu 920")) {
        r = DecodeYaesu920Status(reply);
    } else if (is("Yaesu 990") || is("Yaesu 1000 D")) {
        r = DecodeYaesu990Status(reply);
    } else if (is("Yaesu 1000")) {
        r = DecodeYaesu1000Status(reply);
    } else if (is("Yaesu FTdx9000")) {
        r = DecodeFTdx9000Reply(reply, freqPoll, modePoll);
    } else if (is("Ten Tec Fnt Pnl")) {
        r = afterFrequencyQuery ? DecodeTenTecPanelFrequency(reply) : DecodeTenTecPanelMode(reply);
    } else if (is("Ten Tec Orion")) {
        r = DecodeOrionFrequency(reply);
        r.merge(DecodeOrionMode(reply));
    }
    return r;
}

namespace {

// One field of a sequential file: blanks skipped, a quoted text to its
// closing quote, else up to the next comma or line break; the separator
// taken.  False at the end of the data.
bool nextField(QByteArrayView in, qsizetype& pos, QByteArray* field, bool* quoted)
{
    while (pos < in.size() && (in[pos] == ' ' || in[pos] == '\t'))
        ++pos;
    // A line break before anything else of a field separates nothing.
    while (pos < in.size() && (in[pos] == '\r' || in[pos] == '\n'))
        ++pos;
    while (pos < in.size() && (in[pos] == ' ' || in[pos] == '\t'))
        ++pos;
    if (pos >= in.size())
        return false;
    field->clear();
    *quoted = in[pos] == '"';
    if (*quoted) {
        const qsizetype close = in.indexOf('"', pos + 1);
        const qsizetype end = close < 0 ? in.size() : close;
        *field = in.sliced(pos + 1, end - pos - 1).toByteArray();
        pos = close < 0 ? in.size() : close + 1;
        while (pos < in.size() && in[pos] != ',' && in[pos] != '\r' && in[pos] != '\n')
            ++pos;
    } else {
        qsizetype end = pos;
        while (end < in.size() && in[end] != ',' && in[end] != '\r' && in[end] != '\n')
            ++end;
        *field = in.sliced(pos, end - pos).toByteArray().trimmed();
        pos = end;
    }
    if (pos < in.size() && in[pos] == ',')
        ++pos;
    else if (pos < in.size() && in[pos] == '\r') {
        ++pos;
        if (pos < in.size() && in[pos] == '\n')
            ++pos;
    } else if (pos < in.size() && in[pos] == '\n')
        ++pos;
    return true;
}

} // namespace

RigReading parsePegasusOut(QByteArrayView content)
{
    RigReading r;
    const QByteArrayView in = content.first(std::min(content.size(), MaxPegasusFile));
    qsizetype pos = 0;
    QByteArray field;
    bool quoted = false;
    if (!nextField(in, pos, &field, &quoted))
        return r;
    float mhz = 0;
    if (!parseSingle(QuotedValue{QString::fromLatin1(field), false}, &mhz) || !std::isfinite(mhz))
        return r;
    r.frequency = mhz;
    if (!nextField(in, pos, &field, &quoted))
        return r;
    QString mode = QString::fromLatin1(field);
    if (!mode.isEmpty() && mode != CW)
        mode = PH;
    r.mode = mode;
    return r;
}

QString pegasusFolder()
{
    return QDir::homePath() + QStringLiteral("/Pegasus");
}

RigReading ReadPegasusFile()
{
    QFile f;
    if (!openRegularFile(f, fileIn(pegasusFolder(), QStringLiteral("PEGASUS.OUT"))))
        return {};
    return parsePegasusOut(f.read(MaxPegasusFile));
}

} // namespace zq
