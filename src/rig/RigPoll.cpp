#include "rig/RigPoll.h"

#include "rig/RigConversions.h"

#include <cmath>

namespace zq {

QByteArray pollBytes(const QString& poll, int n, int minChars)
{
    if (poll.size() < minChars)
        return {};
    return SpacedHexToBytes(poll.left(3 * n - 1));
}

PollQuery buildQuery(const QString& t, const RigSettings& s, uint8_t alternateQuery,
                     bool convertToHex)
{
    auto is = [&t](const char* name) { return t == QLatin1String(name); };
    auto text = [](const QString& x) { return x.toLatin1(); };
    PollQuery q;
    const bool freqTurn = alternateQuery == 0;
    if (is("Kenwood") || is("Kenwood 2") || is("Elecraft")) {
        if (!s.FreqPoll.isEmpty())
            q.writes << text(s.FreqPoll);
        if (!s.ModePoll.isEmpty())
            q.writes << text(s.ModePoll);
    } else if (is("Icom") || is("Icom 735") || is("Ten Tec Omni VI")) {
        q.alternates = true;
        const QByteArray b = pollBytes(freqTurn ? s.FreqPoll : s.ModePoll, 6, 17);
        if (!b.isEmpty())
            q.writes << b;
    } else if (isYaesuFiveByte(t) && rigTypeNames().contains(t)) {
        q.dropInputFirst = true;
        const QByteArray b = pollBytes(s.FreqPoll, 5, 14);
        if (!b.isEmpty())
            q.writes << b;
    } else if (is("Yaesu FTdx9000")) {
        q.alternates = true;
        const QString& poll = freqTurn ? s.FreqPoll : s.ModePoll;
        if (poll.size() >= 2)
            q.writes << text(poll);
    } else if (is("Ten Tec Fnt Pnl")) {
        q.alternates = true;
        q.dropInputFirst = true;
        const QByteArray b = pollBytes(freqTurn ? s.FreqPoll : s.ModePoll, 3, 7);
        if (!b.isEmpty())
            q.writes << b;
    } else if (is("Ten Tec Orion")) {
        if (!s.FreqPoll.isEmpty())
            q.writes << text(s.FreqPoll) + '\r';
        if (!s.ModePoll.isEmpty())
            q.writes << text(s.ModePoll) + '\r';
    } else if (is("Other")) {
        for (const QString& poll : {s.FreqPoll, s.ModePoll}) {
            if (poll.isEmpty())
                continue;
            const QByteArray b = convertToHex ? SpacedHexToBytes(poll) : text(poll);
            if (!b.isEmpty())
                q.writes << b;
        }
    }
    return q;
}

std::optional<int> pollIntervalMs(const QString& pollRate)
{
    if (pollRate == QLatin1String("F"))
        return 50;
    if (pollRate == QLatin1String("M"))
        return 250;
    if (pollRate == QLatin1String("S"))
        return 1000;
    if (pollRate == QLatin1String("R"))
        return 5000;
    return std::nullopt;
}

std::optional<QString> modeFromSubBand(float mhz)
{
    struct Row {
        float lower, upper;
        const char* mode;
    };
    static const Row rows[] = {
        {3.5f, 3.6f, "CW"},       {3.6f, 4.0f, "PH"},     {7.0f, 7.125f, "CW"},
        {7.125f, 7.3f, "PH"},     {10.1f, 10.15f, "CW"},  {14.0f, 14.15f, "CW"},
        {14.15f, 14.35f, "PH"},   {18.068f, 18.11f, "CW"}, {18.11f, 18.168f, "PH"},
        {21.0f, 21.2f, "CW"},     {21.2f, 21.45f, "PH"},  {24.89f, 24.93f, "CW"},
        {24.93f, 24.99f, "PH"},   {28.0f, 28.3f, "CW"},   {28.3f, 29.7f, "PH"},
        {50.0f, 50.1f, "CW"},     {50.1f, 54.0f, "PH"},   {144.0f, 144.1f, "CW"},
        {144.1f, 148.0f, "PH"},
    };
    for (const Row& r : rows) {
        if (mhz > r.lower && mhz < r.upper)
            return QString::fromLatin1(r.mode);
    }
    return std::nullopt;
}

QString formatRigFrequency(float mhz)
{
    QString s = QString::number(static_cast<double>(mhz), 'f', 5);
    if (s.startsWith(QLatin1String("0.")))
        s.remove(0, 1);
    else if (s.startsWith(QLatin1String("-0.")))
        s.remove(1, 1);
    return s;
}

} // namespace zq
