#include "output/CabrilloFile.h"

#include <QDate>

#include <algorithm>

namespace zq {

namespace {

const QLatin1String kLineEnd("\r\n");

// Appends `value` starting at the 1-based `column`, or one blank after
// what the line holds when that reaches the column already.
void putField(QString& line, qsizetype column, const QString& value)
{
    const qsizetype start = std::max(column - 1, line.size() + 1);
    line.resize(start, u' ');
    if (value.contains(u'\r') || value.contains(u'\n'))
        line.append(oneLineText(value));
    else
        line.append(value);
}

// A run of 1 to `maxDigits` ASCII digits as a number; -1 otherwise.
int digitsValue(QStringView s, qsizetype minDigits, qsizetype maxDigits)
{
    if (s.size() < minDigits || s.size() > maxDigits)
        return -1;
    int v = 0;
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

QString twoDigits(int v)
{
    return QString::number(v).rightJustified(2, u'0');
}

QString groupedWithCommas(qlonglong value)
{
    const bool negative = value < 0;
    QString digits = QString::number(negative ? -value : value);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return negative ? u'-' + digits : digits;
}

} // namespace

QString trimBlanks(const QString& s)
{
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && s[from] == u' ')
        ++from;
    while (to > from && s[to - 1] == u' ')
        --to;
    return from == 0 && to == s.size() ? s : s.mid(from, to - from);
}

QString oneLineText(QString s)
{
    if (s.contains(u'\r') || s.contains(u'\n')) {
        s.replace(u'\r', u' ');
        s.replace(u'\n', u' ');
    }
    return s;
}

QString cabrilloCategory(CabrilloLocation location, CabrilloCategory category, CabrilloPower power)
{
    QString value;
    switch (location) {
    case CabrilloLocation::Carvonia: value = QStringLiteral("CARVONIA "); break;
    case CabrilloLocation::World: value = QStringLiteral("WORLD "); break;
    case CabrilloLocation::None: break;
    }
    switch (category) {
    case CabrilloCategory::SingleOp: value += QStringLiteral("SINGLE-OP"); break;
    case CabrilloCategory::MultiOne: value += QStringLiteral("MULTI-ONE"); break;
    case CabrilloCategory::MultiMulti: value += QStringLiteral("MULTI-MULTI"); break;
    case CabrilloCategory::Rover: value += QStringLiteral("ROVER"); break;
    case CabrilloCategory::Qrp: value += QStringLiteral("QRP"); break;
    case CabrilloCategory::None: break;
    }
    if (category == CabrilloCategory::SingleOp) {
        switch (power) {
        case CabrilloPower::High: value += QStringLiteral(" HIGH"); break;
        case CabrilloPower::Low: value += QStringLiteral(" LOW"); break;
        case CabrilloPower::None: break;
        }
    }
    return value;
}

QString cabrilloScoreText(const QString& labelText, const QLocale& labelLocale)
{
    bool ok = false;
    const qlonglong value = labelLocale.toLongLong(labelText.trimmed(), &ok);
    return ok ? groupedWithCommas(value) : labelText;
}

QString cabrilloDate(const QString& logDate)
{
    const QStringView d(logDate);
    if (d.size() >= 8 && d.size() <= 10) {
        const qsizetype s1 = d.indexOf(u'/');
        const qsizetype s2 = s1 < 0 ? -1 : d.indexOf(u'/', s1 + 1);
        if (s1 == 4 && s2 > s1) {
            const int y = digitsValue(d.left(4), 4, 4);
            const int m = digitsValue(d.mid(s1 + 1, s2 - s1 - 1), 1, 2);
            const int day = digitsValue(d.mid(s2 + 1), 1, 2);
            if (y >= 0 && m >= 0 && day >= 0 && QDate::isValid(y, m, day)) {
                if (d.size() == 10) { // already two-digit month and day
                    QString out = logDate;
                    out[4] = u'-';
                    out[7] = u'-';
                    return out;
                }
                return logDate.left(4) + u'-' + twoDigits(m) + u'-' + twoDigits(day);
            }
        }
    }
    QString out = logDate;
    return out.replace(u'/', u'-');
}

QString cabrilloTime(const QString& logTime)
{
    return logTime.left(2) + logTime.mid(3, 2);
}

QString cabrilloFrequency(const QString& logBand)
{
    static const struct {
        QLatin1String band;
        QLatin1String frequency;
    } kTable[] = {
        {QLatin1String("160"), QLatin1String(" 1800")}, {QLatin1String("80"), QLatin1String(" 3500")},
        {QLatin1String("40"), QLatin1String(" 7000")},  {QLatin1String("20"), QLatin1String("14000")},
        {QLatin1String("15"), QLatin1String("21000")},  {QLatin1String("10"), QLatin1String("28000")},
        {QLatin1String("6"), QLatin1String("   50")},
    };
    for (const auto& row : kTable)
        if (logBand == row.band)
            return row.frequency;
    return QString();
}

QString cabrilloQsoLine(const ContactRecord& c, const CabrilloStation& station)
{
    const QString& sentSource = station.outOfState ? station.ownSpc : c.LogCountySent;
    QString received;
    if (!c.LogCounty.isEmpty())
        received = c.LogCounty;
    else if (c.LogSpc.size() > 2)
        received = QStringLiteral("DX");
    else
        received = c.LogSpc;

    QString line;
    line.reserve(96);
    line = QStringLiteral("QSO:");
    putField(line, 6, cabrilloFrequency(c.LogBand));
    putField(line, 12, c.LogMode);
    putField(line, 15, cabrilloDate(c.LogDate));
    putField(line, 26, cabrilloTime(c.LogTime));
    putField(line, 31, station.ownCall.left(9));
    putField(line, 42, c.LogRstSent);
    putField(line, 46, trimBlanks(sentSource.left(9)));
    putField(line, 56, c.LogCall.left(9));
    putField(line, 67, c.LogRstReceived);
    putField(line, 71, trimBlanks(received));
    return line;
}

QByteArray formatCabrillo(const CabrilloHeader& h, const CabrilloStation& station,
                          const ContactLog& log, int count)
{
    QString text;
    text.reserve(600 + qsizetype(count) * 90);
    auto tag = [&text](const char* tagText, const QString& value) {
        text += QLatin1String(tagText);
        text += oneLineText(value);
        text += kLineEnd;
    };
    text += QLatin1String("START-OF-LOG: 2.0") + kLineEnd;
    tag("CREATED-BY: Brelvox's ZQ State QSO Party Program ", h.programVersion);
    tag("CALLSIGN: ", h.ownCall);
    tag("ARRL-SECTION: ", h.ownArrlSection);
    tag("CONTEST: ", QStringLiteral("State QSO Party - ") + h.homeStateCode);
    tag("CATEGORY: ", h.category);
    tag("OPERATORS: ", h.operators.isEmpty() ? h.ownCall : h.operators);
    tag("CLAIMED-SCORE: ", h.claimedScore);
    tag("NAME: ", h.name);
    tag("ADDRESS: ", h.addressLine1);
    tag("ADDRESS: ", h.addressLine2);
    tag("ADDRESS: (e-mail) ", h.email);
    tag("SOAPBOX: ", h.soapbox);
    count = std::clamp(count, 0, ContactLog::Capacity);
    for (int i = 1; i <= count; ++i) {
        text += cabrilloQsoLine(log[i], station);
        text += kLineEnd;
    }
    text += QLatin1String("END-OF-LOG:") + kLineEnd;
    return text.toUtf8();
}

} // namespace zq
