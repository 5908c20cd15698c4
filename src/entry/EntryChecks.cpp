#include "entry/EntryChecks.h"

#include "entry/TextCompare.h"
#include "logstore/ContactLog.h"
#include "logstore/CountyTable.h"

#include <QDate>

namespace zq {

namespace {

bool allDigits(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// "yyyy/m/d" or "yyyy/mm/dd" as a real date.
bool readPostContestDate(const QString& s, QDate* out)
{
    const QStringList parts = s.split(QLatin1Char('/'));
    if (parts.size() != 3 || parts[0].size() != 4 || parts[1].size() < 1 || parts[1].size() > 2
        || parts[2].size() < 1 || parts[2].size() > 2)
        return false;
    for (const QString& p : parts)
        if (!allDigits(p))
            return false;
    const QDate d(parts[0].toInt(), parts[1].toInt(), parts[2].toInt());
    if (!d.isValid())
        return false;
    *out = d;
    return true;
}

// "h:mm" or "hh:mm", 00:00 to 23:59.
bool readPostContestTime(const QString& s, int* hour, int* minute)
{
    const QStringList parts = s.split(QLatin1Char(':'));
    if (parts.size() != 2 || parts[0].size() < 1 || parts[0].size() > 2 || parts[1].size() != 2
        || !allDigits(parts[0]) || !allDigits(parts[1]))
        return false;
    *hour = parts[0].toInt();
    *minute = parts[1].toInt();
    return *hour <= 23 && *minute <= 59;
}

} // namespace

PostContestResult checkPostContest(const QString& date, const QString& time)
{
    PostContestResult res;
    res.date = date;
    res.time = time;
    QDate d;
    if (!readPostContestDate(date, &d)) {
        res.message = QStringLiteral("Invalid date format!");
        return res;
    }
    res.date = d.toString(QStringLiteral("yyyy/MM/dd"));
    res.dateChanged = res.date != date;
    QString t = time;
    if ((t.size() == 3 || t.size() == 4) && allDigits(t))
        t.insert(t.size() - 2, QLatin1Char(':'));
    int hour = 0;
    int minute = 0;
    if (!readPostContestTime(t, &hour, &minute)) {
        res.time = t;
        res.timeChanged = t != time;
        res.message = QStringLiteral("Invalid time format!");
        return res;
    }
    res.time = QStringLiteral("%1:%2").arg(hour, 2, 10, QLatin1Char('0')).arg(minute, 2, 10, QLatin1Char('0'));
    res.timeChanged = res.time != time;
    res.ok = true;
    return res;
}

std::vector<EntryFailure> requiredFieldFailures(const EntryTexts& e, bool inState,
                                                const QString& homeState)
{
    std::vector<EntryFailure> out;
    if (e.sec.isEmpty() && (!inState || sameText(e.cntry, homeState)))
        out.push_back({QStringLiteral("Need County!"), EntryField::Sec});
    if (e.rstR.isEmpty())
        out.push_back({QStringLiteral("Need Serial!"), EntryField::RstR});
    if (e.call.size() < 3)
        out.push_back({QStringLiteral("Need Call Sign!"), EntryField::Call});
    if (inState && e.cntry.isEmpty())
        out.push_back({needCountryMessage(), EntryField::Cntry});
    return out;
}

QString tableCountyName(const QString& text)
{
    const CountyTable& t = CountyTable::instance();
    const int n = std::min(t.count(), CountyTable::Capacity);
    for (int i = 1; i <= n; ++i)
        if (sameText(t.CountyName[static_cast<size_t>(i)], text))
            return t.CountyName[static_cast<size_t>(i)];
    return QString();
}

bool isTableCounty(const QString& text)
{
    return !tableCountyName(text).isNull();
}

QString invalidCountyMessage(const QString& text)
{
    return text + QStringLiteral(" is not a valid county!");
}

int sectionIndex(const QString& code, const std::vector<QString>& codes)
{
    const int n = std::min<int>(59, static_cast<int>(codes.size()) - 1);
    for (int i = 1; i <= n; ++i)
        if (!codes[static_cast<size_t>(i)].isEmpty() && sameText(codes[static_cast<size_t>(i)], code))
            return i;
    return 0;
}

QString invalidSectionMessage()
{
    return QStringLiteral("Invald Section!");
}

bool isUnusableExchange(const QString& cntry)
{
    return cntry.size() == 1 || sameText(cntry, QStringLiteral("Not Found"));
}

QString needCountryMessage()
{
    return QStringLiteral("Need Country!");
}

QString logFullMessage()
{
    return QStringLiteral("Log full: %1 contacts. Nothing logged!").arg(ContactLog::Capacity);
}

} // namespace zq
