#include "rig/RigCommands.h"

#include "rig/RigConversions.h"
#include "rig/RigPoll.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace zq {

namespace {

const QStringList& reversedYaesu()
{
    static const QStringList names{
        QStringLiteral("Yaesu 757 GX II"), QStringLiteral("Yaesu 890"),
        QStringLiteral("Yaesu 920"),       QStringLiteral("Yaesu 990"),
        QStringLiteral("Yaesu 1000 D"),    QStringLiteral("Yaesu 1000")};
    return names;
}

bool isKenwoodText(const QString& t)
{
    return t == QLatin1String("Kenwood") || t == QLatin1String("Kenwood 2")
        || t == QLatin1String("Elecraft");
}

bool isIcomModeFamily(const QString& t)
{
    return t == QLatin1String("Icom") || t == QLatin1String("Ten Tec Omni VI");
}

// The pairs of a digit field in reverse pair order ("01425000" ->
// "00504201"); an odd field keeps its lone first digit last.
QString reversedPairs(const QString& digits)
{
    QString out;
    qsizetype end = digits.size();
    while (end > 0) {
        const qsizetype start = std::max<qsizetype>(0, end - 2);
        out += digits.mid(start, end - start);
        end = start;
    }
    return out;
}

// "14.2500" -> "14.25", "14.000" -> "14"; a text without a point is kept.
void dropTrailingZeros(QString& text)
{
    if (!text.contains(QLatin1Char('.')))
        return;
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
}

bool isHex(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
}

// A byte command from its hex text, refused when it is not whole bytes.
RigCommand bytesCommand(const QString& hex, const QString& what)
{
    RigCommand c;
    c.form = CommandForm::Bytes;
    if (hex.size() % 2 != 0) {
        c.error = QStringLiteral("The %1 does not fit the radio's command: it would not be whole "
                                 "bytes (%2).")
                      .arg(what, hex);
        return c;
    }
    for (QChar ch : hex) {
        if (!isHex(ch)) {
            c.error = QStringLiteral("The %1 is not hexadecimal (%2).").arg(what, hex);
            return c;
        }
    }
    c.bytes = HexToBytes(hex);
    return c;
}

// A text command; refused when a character is not one byte.
RigCommand textCommand(const QString& text)
{
    RigCommand c;
    c.form = CommandForm::Text;
    for (QChar ch : text) {
        if (ch.unicode() > 0xFF) {
            c.error = QStringLiteral("The command \"%1\" holds a character that cannot be sent.")
                          .arg(text);
            return c;
        }
    }
    c.bytes = text.toLatin1();
    return c;
}

// The Icom address: characters 7 and 8 of the frequency-poll string.
std::optional<QString> icomAddress(const QString& freqPoll, QString* error)
{
    const QString a = freqPoll.mid(6, 2);
    if (a.size() == 2 && isHex(a[0]) && isHex(a[1]))
        return a;
    *error = QStringLiteral("The radio's address \"%1\" (characters 7 and 8 of the frequency "
                            "poll string) is not two hexadecimal digits.")
                 .arg(a);
    return std::nullopt;
}

} // namespace

QString frequencyDigits(float mhz, int unitHz, int width)
{
    const double scale = unitHz == 10 ? 100000.0 : 1000000.0;
    const double units = std::nearbyint(static_cast<double>(mhz) * scale); // ties to even
    QString digits = QString::number(units, 'f', 0);
    if (digits.startsWith(QLatin1Char('-')))
        return digits; // a negative value is refused by the caller
    if (digits.size() < width)
        digits.prepend(QString(width - digits.size(), QLatin1Char('0')));
    return digits;
}

QString singleText(float value)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        return QStringLiteral("0");
    const double v = static_cast<double>(value);
    // Seven significant digits, then as few as give back the same Single.
    int decimals = 0;
    const int intDigits = static_cast<int>(std::floor(std::log10(std::fabs(v)))) + 1;
    const int maxDecimals = std::max(0, 7 - intDigits);
    QString text;
    for (decimals = 0; decimals <= maxDecimals; ++decimals) {
        text = QString::number(v, 'f', decimals);
        if (static_cast<float>(text.toDouble()) == value)
            break;
    }
    if (decimals > maxDecimals)
        text = QString::number(v, 'f', maxDecimals);
    dropTrailingZeros(text);
    return text;
}

RigCommand buildFrequencyCommand(const RigCommandContext& ctx, float mhz)
{
    const QString& t = ctx.rigType;
    RigCommand c;
    if (!(mhz > 0) || !std::isfinite(mhz)) {
        c.error = QStringLiteral("The frequency is not a number above 0.");
        return c;
    }
    if (t == QLatin1String("Kenwood") || t == QLatin1String("Yaesu FTdx9000")) {
        const int width = t == QLatin1String("Kenwood") ? 11 : 8;
        c = textCommand(ctx.freqBox.left(2) + frequencyDigits(mhz, 1, width) + QLatin1Char(';'));
        c.pausesMs = {205};
    } else if (t == QLatin1String("Kenwood 2") || t == QLatin1String("Elecraft")) {
        const QString head = t == QLatin1String("Kenwood 2") && ctx.kenwoodVfo == 1
                                 ? QStringLiteral("FB")
                                 : QStringLiteral("FA");
        c = textCommand(head + frequencyDigits(mhz, 1, 11) + QLatin1Char(';'));
        c.pausesMs = t == QLatin1String("Elecraft") ? QList<int>{205, 0, 1000} : QList<int>{205};
    } else if (t == QLatin1String("Icom") || t == QLatin1String("Icom 735")
               || t == QLatin1String("Ten Tec Omni VI")) {
        QString error;
        const std::optional<QString> address = icomAddress(ctx.freqPoll, &error);
        if (!address) {
            c.form = CommandForm::Bytes;
            c.error = error;
        } else {
            c = bytesCommand(QStringLiteral("FEFE") + *address + QStringLiteral("E005")
                                 + reversedPairs(frequencyDigits(mhz, 1, 10)) + QStringLiteral("FD"),
                             QStringLiteral("frequency %1 MHz").arg(singleText(mhz)));
        }
        c.pausesMs = t == QLatin1String("Ten Tec Omni VI") ? QList<int>{140, 220} : QList<int>{140};
    } else if (t == QLatin1String("Ten Tec Fnt Pnl")) {
        // The hertz value is held in single precision.
        const float hz = static_cast<float>(static_cast<double>(mhz) * 1000000.0);
        const double whole = std::nearbyint(static_cast<double>(hz));
        if (whole > 2147483647.0) {
            c.form = CommandForm::Bytes;
            c.error = QStringLiteral("The frequency %1 MHz does not fit the radio's command.")
                          .arg(singleText(mhz));
            c.pausesMs = {205};
            return c;
        }
        QString hex = QString::number(static_cast<qulonglong>(whole), 16).toUpper();
        if (hex.size() < 8)
            hex.prepend(QString(8 - hex.size(), QLatin1Char('0')));
        c = bytesCommand(QStringLiteral("2A41") + hex + QStringLiteral("0D"),
                         QStringLiteral("frequency %1 MHz").arg(singleText(mhz)));
        c.pausesMs = {205};
    } else if (t == QLatin1String("Ten Tec Orion")) {
        c = textCommand(QStringLiteral("*AF") + singleText(mhz) + QLatin1Char('\r'));
        c.pausesMs = {205};
    } else if (t == QLatin1String("Ten Tec Pegasus")) {
        c.form = CommandForm::PegasusFile;
        c.pausesMs = {205};
    } else if (t == QLatin1String("Yaesu")) {
        c = bytesCommand(frequencyDigits(mhz, 10, 8) + QStringLiteral("01"),
                         QStringLiteral("frequency %1 MHz").arg(singleText(mhz)));
        c.pausesMs = {205};
    } else if (reversedYaesu().contains(t)) {
        c = bytesCommand(reversedPairs(frequencyDigits(mhz, 10, 8)) + QStringLiteral("0A"),
                         QStringLiteral("frequency %1 MHz").arg(singleText(mhz)));
        c.pausesMs = t == QLatin1String("Yaesu 1000") ? QList<int>{10} : QList<int>{205};
    }
    return c;
}

RigCommand buildModeCommand(const RigCommandContext& ctx, const QString& mode)
{
    const QString& t = ctx.rigType;
    if (isKenwoodText(t)) {
        static const QHash<QString, QString> table{
            {QStringLiteral("CW"), QStringLiteral("MD3;")},  {QStringLiteral("LSB"), QStringLiteral("MD1;")},
            {QStringLiteral("USB"), QStringLiteral("MD2;")}, {QStringLiteral("AM"), QStringLiteral("MD5;")},
            {QStringLiteral("FM"), QStringLiteral("MD4;")},  {QStringLiteral("RTTY"), QStringLiteral("MD6;")},
            {QStringLiteral("FSK"), QStringLiteral("MD6;")}};
        return textCommand(table.value(mode));
    }
    if (isIcomModeFamily(t)) {
        static const QHash<QString, QString> table{
            {QStringLiteral("CW"), QStringLiteral("E00603FD")},
            {QStringLiteral("LSB"), QStringLiteral("E00600FD")},
            {QStringLiteral("USB"), QStringLiteral("E00601FD")},
            {QStringLiteral("AM"), QStringLiteral("E00602FD")},
            {QStringLiteral("RTTY"), QStringLiteral("E00604FD")},
            {QStringLiteral("FM"), QStringLiteral("E00605FD")},
            {QStringLiteral("CW-R"), QStringLiteral("E00607FD")},
            {QStringLiteral("RTTY-R"), QStringLiteral("E00608FD")}};
        QString error;
        const std::optional<QString> address = icomAddress(ctx.freqPoll, &error);
        if (!address) {
            RigCommand c;
            c.form = CommandForm::Bytes;
            c.error = error;
            return c;
        }
        const QString body = table.value(mode);
        if (body.isEmpty()) {
            RigCommand c;
            c.form = CommandForm::Bytes;
            return c;
        }
        return bytesCommand(QStringLiteral("FEFE") + *address + body, QStringLiteral("mode command"));
    }
    if (t == QLatin1String("Yaesu")) {
        static const QHash<QString, QString> table{
            {QStringLiteral("CW"), QStringLiteral("0200000007")},
            {QStringLiteral("LSB"), QStringLiteral("0000000007")},
            {QStringLiteral("USB"), QStringLiteral("0100000007")},
            {QStringLiteral("AM"), QStringLiteral("0400000007")},
            {QStringLiteral("DIG"), QStringLiteral("0A00000007")},
            {QStringLiteral("RTTY"), QStringLiteral("0A00000007")},
            {QStringLiteral("FM"), QStringLiteral("0800000007")},
            {QStringLiteral("PKT"), QStringLiteral("0C00000007")}};
        return bytesCommand(table.value(mode), QStringLiteral("mode command"));
    }
    if (reversedYaesu().contains(t)) {
        static const QHash<QString, QString> table{
            {QStringLiteral("CW"), QStringLiteral("000000020C")},
            {QStringLiteral("CW-R"), QStringLiteral("000000030C")},
            {QStringLiteral("LSB"), QStringLiteral("000000000C")},
            {QStringLiteral("USB"), QStringLiteral("000000010C")},
            {QStringLiteral("AM"), QStringLiteral("000000040C")},
            {QStringLiteral("RTTY"), QStringLiteral("000000080C")},
            {QStringLiteral("FM"), QStringLiteral("000000060C")},
            {QStringLiteral("PKT"), QStringLiteral("0000000A0C")}};
        return bytesCommand(table.value(mode), QStringLiteral("mode command"));
    }
    if (t == QLatin1String("Yaesu FTdx9000")) {
        static const QHash<QString, QString> table{
            {QStringLiteral("CW"), QStringLiteral("3")},  {QStringLiteral("LSB"), QStringLiteral("1")},
            {QStringLiteral("USB"), QStringLiteral("2")}, {QStringLiteral("FM"), QStringLiteral("4")},
            {QStringLiteral("AM"), QStringLiteral("5")},  {QStringLiteral("RTTY"), QStringLiteral("6")},
            {QStringLiteral("CW-R"), QStringLiteral("7")}};
        const QString digit = table.value(mode);
        return textCommand(digit.isEmpty() ? QString()
                                           : ctx.modeBox.left(3) + digit + QLatin1Char(';'));
    }
    return {};
}

QByteArray pegasusInContent(float mhz, const QString& rigMode)
{
    return (singleText(mhz) + QStringLiteral("\r\n") + rigMode.trimmed() + QStringLiteral("\r\n"))
        .toUtf8();
}

std::optional<double> readDecimal(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    // Digits with at most one point, an optional sign in front; no group
    // separators, no exponent.
    qsizetype i = 0;
    if (t[0] == QLatin1Char('+') || t[0] == QLatin1Char('-'))
        ++i;
    bool digit = false, point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = true;
        else if (c == QLatin1Char('.') && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digit)
        return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok); // always the C locale: a point separates
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString decimalText(double value, int significant)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        return QStringLiteral("0");
    const int intDigits = static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
    QString text = QString::number(value, 'f', std::clamp(significant - intDigits, 0, 300));
    dropTrailingZeros(text);
    return text;
}

QString scanFrequencyText(float mhz)
{
    if (!std::isfinite(mhz))
        return {};
    QString text = formatRigFrequency(mhz); // five decimals, no zero before the point
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return text;
}

} // namespace zq
