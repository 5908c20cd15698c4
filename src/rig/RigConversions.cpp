#include "rig/RigConversions.h"

namespace zq {

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// Pairs starting every `step` characters; empty when a pair is not hex.
QByteArray pairsToBytes(const QString& text, int step)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); i += step) {
        const int hi = hexDigit(text[i]);
        if (hi < 0)
            return {};
        int value = hi;
        if (i + 1 < text.size()) {
            const int lo = hexDigit(text[i + 1]);
            if (lo < 0)
                return {};
            value = hi * 16 + lo;
        }
        out.append(static_cast<char>(value));
    }
    return out;
}

QString pair(uchar b)
{
    return NibbleToHex(b / 16) + NibbleToHex(b % 16);
}

} // namespace

QString NibbleToHex(int value)
{
    if (value >= 10 && value <= 15)
        return QString(QChar(u'A' + (value - 10)));
    if (value >= 0 && value < 10)
        return QString(QChar(u'0' + value));
    return {};
}

QString BytesToHex(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes)
        out += pair(static_cast<uchar>(c));
    return out;
}

QString BytesToSpacedHex(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size() * 3);
    for (char c : bytes) {
        out += pair(static_cast<uchar>(c));
        out += QLatin1Char(' ');
    }
    return out;
}

QByteArray SpacedHexToBytes(const QString& text)
{
    return pairsToBytes(text, 3);
}

QByteArray HexToBytes(const QString& text)
{
    return pairsToBytes(text, 2);
}

namespace {

// The first `count` digits with the point after digit `units`; the digits
// before the units digit are written from the first one that is not a
// leading zero.
QString digitsToMHz(const QString& digits, int count, int units)
{
    const QString d = digits.left(count);
    QString out;
    for (int i = 0; i < units - 1; ++i) {
        const QString lead = d.left(i + 1);
        if (lead != QString(lead.size(), QLatin1Char('0')) || lead.size() < i + 1)
            out += d.mid(i, 1);
    }
    return out + d.mid(units - 1, 1) + QLatin1Char('.') + d.mid(units, count - units);
}

} // namespace

QString BcdDigitsToMHz(const QString& digits)
{
    return digitsToMHz(digits, 8, 3);
}

QString IcomDigitsToMHz(const QString& digits)
{
    return digitsToMHz(digits, 10, 4);
}

} // namespace zq
