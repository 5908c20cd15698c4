#include "entry/EntryChecks.h"

#include "entry/TextCompare.h"
#include "logstore/ContactLog.h"
#include "logstore/CountyTable.h"

#include <QDate>
#include <QTime>

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

// Hours of one or two digits, then two-digit minutes (and seconds).
bool readClockTime(const QString& s, bool withSeconds, QTime* out)
{
    const QStringList parts = s.split(QLatin1Char(':'));
    if (parts.size() != (withSeconds ? 3 : 2) || parts[0].size() < 1 || parts[0].size() > 2)
        return false;
    for (int i = 0; i < parts.size(); ++i)
        if (!allDigits(parts[i]) || (i > 0 && parts[i].size() != 2))
            return false;
    const QTime t(parts[0].toInt(), parts[1].toInt(), withSeconds ? parts[2].toInt() : 0);
    if (!t.isValid())
        return false;
    *out = t;
    return true;
}

} // namespace

QString normalizedLogDate(const QString& s)
{
    const QStringList parts = s.split(QLatin1Char('/'));
    if (parts.size() != 3 || parts[0].size() != 4 || parts[1].size() < 1 || parts[1].size() > 2
        || parts[2].size() < 1 || parts[2].size() > 2)
        return QString();
    for (const QString& p : parts)
        if (!allDigits(p))
            return QString();
    const QDate d(parts[0].toInt(), parts[1].toInt(), parts[2].toInt());
    return d.isValid() ? d.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

QString normalizedLogTime(const QString& s)
{
    QTime t;
    if (readClockTime(s, true, &t))
        return t.toString(QStringLiteral("HH:mm:ss"));
    if (readClockTime(s, false, &t))
        return t.toString(QStringLiteral("HH:mm"));
    return QString();
}

PostContestResult checkPostContest(const QString& date, const QString& time)
{
    PostContestResult res;
    res.date = date;
    res.time = time;
    const QString d = normalizedLogDate(date);
    if (d.isNull()) {
        res.message = QStringLiteral("Invalid date format!");
        return res;
    }
    res.date = d;
    res.dateChanged = res.date != date;
    QString t = time;
    if ((t.size() == 3 || t.size() == 4) && allDigits(t))
        t.insert(t.size() - 2, QLatin1Char(':'));
    QTime hm;
    if (!readClockTime(t, false, &hm)) {
        res.time = t;
        res.timeChanged = t != time;
        res.message = QStringLiteral("Invalid time format!");
        return res;
    }
    res.time = hm.toString(QStringLiteral("HH:mm"));
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
