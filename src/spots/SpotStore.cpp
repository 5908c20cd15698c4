#include "spots/SpotStore.h"

#include "spots/SpotIntake.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace zq {

namespace {

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// An optional sign, digits and at most one point, with at least one digit.
std::optional<double> plainNumberText(const QString& t)
{
    if (t.isEmpty() || t.size() > 400)
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (t[0] == u'+' || t[0] == u'-') {
        negative = t[0] == u'-';
        i = 1;
    }
    QByteArray digits;
    digits.reserve(t.size());
    bool digit = false;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (isDigit(c)) {
            digit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
        digits.append(static_cast<char>(c.unicode()));
    }
    if (!digit)
        return std::nullopt;
    double value = 0;
    const auto r = std::from_chars(digits.constData(), digits.constData() + digits.size(), value,
                                   std::chars_format::fixed);
    if (r.ec != std::errc() && r.ec != std::errc::result_out_of_range)
        return std::nullopt;
    if (r.ec == std::errc::result_out_of_range)
        value = std::numeric_limits<double>::infinity();
    return negative ? -value : value;
}

} // namespace

std::optional<double> spotNumberValue(const QString& text)
{
    return plainNumberText(text);
}

QDateTime zeroSpotTime()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
}

SpotStore::SpotStore()
{
    clear();
}

void SpotStore::clear()
{
    for (int i = 0; i < Slots; ++i) {
        SpotCall[i].clear();
        SpotFrequency[i] = 0;
        SpotTime[i] = zeroSpotTime();
        SpotPrefix[i].clear();
        SpotSerial[i] = 0;
    }
}

int SpotStore::slotOf(quint64 serial) const
{
    if (serial == 0)
        return -1;
    for (int i = Newest; i >= 0; --i)
        if (SpotSerial[static_cast<size_t>(i)] == serial)
            return i;
    return -1;
}

ShownSpot shownSpotOf(const SpotStore& store, int slot)
{
    if (slot < 0 || slot > SpotStore::Newest)
        return {};
    const auto i = static_cast<size_t>(slot);
    return {store.SpotSerial[i], store.SpotCall[i], store.SpotFrequency[i]};
}

SpotStore& SpotStore::instance()
{
    static SpotStore s;
    return s;
}

void SpotStore::addSpot(const QString& call, float frequencyMHz, const QDateTime& arrival)
{
    // The prefix follows the call it belongs to, so it moves with it.
    for (int i = 1; i <= Newest; ++i) {
        SpotCall[i - 1] = std::move(SpotCall[i]);
        SpotFrequency[i - 1] = SpotFrequency[i];
        SpotTime[i - 1] = std::move(SpotTime[i]);
        SpotPrefix[i - 1] = std::move(SpotPrefix[i]);
        SpotSerial[i - 1] = SpotSerial[i];
    }
    SpotCall[Newest] = call;
    SpotFrequency[Newest] = frequencyMHz;
    SpotTime[Newest] = arrival;
    SpotPrefix[Newest] = CallPrefix(call);
    SpotSerial[Newest] = ++lastSerial_;
    for (int i = Newest - 1; i >= 1; --i) {
        if (QString::compare(SpotCall[i], call, Qt::CaseInsensitive) == 0) {
            SpotFrequency[i] = 0;
            break;
        }
    }
}

std::optional<double> spotFrequencyMHz(const QString& kHzText)
{
    const std::optional<double> kHz = plainNumberText(kHzText);
    if (!kHz)
        return std::nullopt;
    const double mhz = *kHz / 1000;
    if (!std::isfinite(mhz) || std::fabs(mhz) > std::numeric_limits<float>::max())
        return std::nullopt;
    return mhz;
}

QString spotNumberText(double value)
{
    return QString::number(value, 'g', 15);
}

QString CallPrefix(const QString& call)
{
    const qsizetype n = call.size();
    if (n < 3)
        return QString();
    qsizetype d = 0; // 1-based position of the last digit
    qsizetype s = 0; // 1-based position of the last "/"
    for (qsizetype i = 0; i < n; ++i) {
        if (isDigit(call[i]))
            d = i + 1;
        else if (call[i] == u'/')
            s = i + 1;
    }
    const qsizetype e = d == 0 ? n : d;
    if (s == 0)
        return call.left(e);
    if (static_cast<double>(s) < static_cast<double>(n) / 2 + 1)
        return call.left(s - 1);
    const QString after = call.mid(s, e);
    if (!plainNumberText(after))
        return after;
    qsizetype f = 0; // 1-based position of the first digit
    while (f < n && !isDigit(call[f]))
        ++f;
    return call.left(f) + after;
}

QString spotRecordBeforeLineEnd(const QString& record)
{
    for (qsizetype i = 0; i < record.size(); ++i)
        if (record[i] == u'\r' || record[i] == u'\n')
            return record.left(i);
    return record;
}

QString recordColumns(const QString& text, int first, int last)
{
    if (first < 1 || last < first || first > text.size())
        return QString();
    return text.mid(first - 1, last - first + 1);
}

QStringList spotListCells(const QString& call, const QString& frequencyText,
                          const QString& country, const QString& record)
{
    // Each column cut as received, then cleaned.
    const auto cell = [&record](int first, int last) {
        return cleanSpotField(recordColumns(record, first, last));
    };
    return {call,
            frequencyText,
            country,
            QString(),
            trimBlanks(cell(1, 11)) + QStringLiteral("  ") + trimBlanks(cell(35, 59)),
            trimBlanks(cell(62, 66)),
            cell(68, 71),
            trimBlanks(cell(73, 76))};
}

} // namespace zq
