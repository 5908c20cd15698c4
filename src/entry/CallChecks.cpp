#include "entry/CallChecks.h"

#include <array>

namespace zq {

namespace {

struct ProvincePrefix {
    const char* prefix;
    const char* code;
};

// Tested in this order.
constexpr std::array<ProvincePrefix, 13> kProvinces{{
    {"VE9", "MR"}, {"VE1", "MR"}, {"VE2", "QC"}, {"VE3", "ON"}, {"VE4", "MB"},
    {"VE5", "SK"}, {"VE6", "AB"}, {"VE7", "BC"}, {"VE8", "NT"}, {"VY1", "NT"},
    {"VO1", "NL"}, {"VO2", "NL"}, {"VY2", "MR"},
}};

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

KeyHandOver& KeyHandOver::instance()
{
    static KeyHandOver k;
    return k;
}

QString defaultReport(const QString& mode)
{
    if (QString::compare(mode, QLatin1String("PH"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("59");
    return QStringLiteral("599");
}

QString canadianProvince(const QString& call)
{
    if (call.size() <= 2)
        return QString();
    const QString first = call.left(3);
    for (const ProvincePrefix& p : kProvinces)
        if (QString::compare(first, QLatin1String(p.prefix), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(p.code);
    return QString();
}

bool digitTypesThrough(const QString& call, int caret, int key)
{
    if (key < '0' || key > '9' || call.size() <= 2 || caret != call.size())
        return false;
    int digits = 0;
    qsizetype lastDigit = -1;
    for (qsizetype i = 1; i < call.size(); ++i) {
        const QChar c = call.at(i);
        if (c < u'0')
            return false;
        if (isDigit(c)) {
            ++digits;
            lastDigit = i;
        }
    }
    return digits > 0 && lastDigit != call.size() - 1;
}

bool callHasDistrictFive(const QString& call)
{
    return call.contains(u'5');
}

void CallCharacter(int& keyAscii)
{
    if (keyAscii == '"' || keyAscii == '\'' || QChar(keyAscii).isSpace())
        keyAscii = 0;
}

} // namespace zq
