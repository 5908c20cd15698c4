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

QString BcdDigitsToMHz(const QString& digits)
{
    const QString d = digits.left(8);
    auto at = [&](int i) { return i < d.size() ? QString(d[i]) : QString(); };
    QString out;
    if (at(0) != QLatin1String("0"))
        out += at(0);
    if (d.left(2) != QLatin1String("00"))
        out += at(1);
    out += at(2) + QLatin1Char('.') + d.mid(3, 5);
    return out;
}

QString IcomDigitsToMHz(const QString& digits)
{
    const QString d = digits.left(10);
    auto at = [&](int i) { return i < d.size() ? QString(d[i]) : QString(); };
    QString out;
    if (at(0) != QLatin1String("0"))
        out += at(0);
    if (d.left(2) != QLatin1String("00"))
        out += at(1);
    if (d.left(3) != QLatin1String("000"))
        out += at(2);
    out += at(3) + QLatin1Char('.') + d.mid(4, 6);
    return out;
}

} // namespace zq
