#include "keying/MorseCode.h"

#include "platform/QuotedText.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>

namespace zq {

QString MorseTable(QChar c)
{
    switch (c.toUpper().unicode()) {
    case 'A': return QStringLiteral("10111000");
    case 'B': return QStringLiteral("111010101000");
    case 'C': return QStringLiteral("11101011101000");
    case 'D': return QStringLiteral("1110101000");
    case 'E': return QStringLiteral("1000");
    case 'F': return QStringLiteral("101011101000");
    case 'G': return QStringLiteral("111011101000");
    case 'H': return QStringLiteral("1010101000");
    case 'I': return QStringLiteral("101000");
    case 'J': return QStringLiteral("1011101110111000");
    case 'K': return QStringLiteral("111010111000");
    case 'L': return QStringLiteral("101110101000");
    case 'M': return QStringLiteral("1110111000");
    case 'N': return QStringLiteral("11101000");
    case 'O': return QStringLiteral("11101110111000");
    case 'P': return QStringLiteral("10111011101000");
    case 'Q': return QStringLiteral("1110111010111000");
    case 'R': return QStringLiteral("1011101000");
    case 'S': return QStringLiteral("10101000");
    case 'T': return QStringLiteral("111000");
    case 'U': return QStringLiteral("1010111000");
    case 'V': return QStringLiteral("101010111000");
    case 'W': return QStringLiteral("101110111000");
    case 'X': return QStringLiteral("11101010111000");
    case 'Y': return QStringLiteral("1110101110111000");
    case 'Z': return QStringLiteral("11101110101000");
    case '0': return QStringLiteral("1110111011101110111000");
    case '1': return QStringLiteral("10111011101110111000");
    case '2': return QStringLiteral("101011101110111000");
    case '3': return QStringLiteral("1010101110111000");
    case '4': return QStringLiteral("10101010111000");
    case '5': return QStringLiteral("101010101000");
    case '6': return QStringLiteral("11101010101000");
    case '7': return QStringLiteral("1110111010101000");
    case '8': return QStringLiteral("111011101110101000");
    case '9': return QStringLiteral("11101110111011101000");
    case '.': return QStringLiteral("10111010111010111000");
    case ',': return QStringLiteral("1110111010101110111000");
    case '?': return QStringLiteral("101011101110101000");
    case '/': return QStringLiteral("1110101011101000");
    case '-': // keyed as BT, like "="
    case '=': return QStringLiteral("1110101010111000");
    case '[': return QStringLiteral("1011101011101000");         // AR
    case ']': return QStringLiteral("101010111010111000");       // SK
    case ';': return QStringLiteral("111010111011101000");       // KN
    case '\\': return QStringLiteral("111010111010101110101000"); // CL
    case ' ': return QStringLiteral("00000000");
    default: return {};
    }
}

std::optional<double> boxNumber(const QString& text)
{
    double v = 0;
    if (!parseNumber(QuotedValue{text, true}, &v) || !std::isfinite(v))
        return std::nullopt;
    return v;
}

double roundHalfEven(double v)
{
    return std::nearbyint(v); // the default rounding mode rounds halves to even
}

QString characterPattern(QChar c, double space)
{
    QString p = MorseTable(c);
    if (c != u' ')
        return p;
    if (space > 0) {
        // The count runs 1, 2, ... while it does not exceed n; a huge n is
        // bounded so a typing slip cannot hold the key line for hours.
        const double whole = std::floor(std::min(space, 10000.0));
        p += QString(static_cast<qsizetype>(whole), u'0');
    } else if (space < 0) {
        const double keep = roundHalfEven(8 + std::max(space, -8.0));
        p.truncate(static_cast<qsizetype>(std::max(keep, 0.0)));
    }
    return p;
}

std::vector<int> patternChanges(const QString& pattern)
{
    std::vector<int> out;
    QChar prev = u'0';
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != prev)
            out.push_back(int(i));
        prev = pattern[i];
    }
    return out;
}

std::optional<double> unitMilliseconds(std::optional<double> wpm)
{
    if (!wpm || !std::isfinite(*wpm) || *wpm < 1)
        return std::nullopt;
    return 60.0 / (*wpm * 50.0) * 1000.0;
}

double sleepUnitMilliseconds(double unitMs)
{
    return roundHalfEven(unitMs);
}

double loopPassesPerUnit(double loopsPer60ms, double wpm)
{
    return loopsPer60ms / wpm * 20.0;
}

std::optional<double> loopsPer60msFromElapsed(double elapsedMs)
{
    if (!(elapsedMs > 0))
        return std::nullopt;
    return roundHalfEven(kCalibrationPasses / elapsedMs * 60.0);
}

double countLoop(double passes)
{
    volatile double i = 0;
    while (i < passes)
        i = i + 1;
    return i;
}

bool countLoopPasses(double passes, const std::atomic<bool>& stop)
{
    constexpr double slice = 100000;
    for (double done = 0; done < passes; done += slice) {
        if (stop.load(std::memory_order_relaxed))
            return false;
        countLoop(std::min(slice, passes - done));
    }
    return !stop.load();
}

std::optional<double> calibrateLoopsPer60ms()
{
    using clock = std::chrono::steady_clock;
    const std::atomic<bool> never{false};
    // Warm-up: the loop for about 100 ms.
    const auto warmEnd = clock::now() + std::chrono::milliseconds(100);
    while (clock::now() < warmEnd)
        countLoopPasses(kCalibrationPasses / 50, never);
    constexpr int slices = 10;
    std::array<double, slices> ms{};
    for (double& m : ms) {
        const auto t1 = clock::now();
        countLoopPasses(kCalibrationPasses / slices, never);
        m = std::chrono::duration<double, std::milli>(clock::now() - t1).count();
    }
    // The median slice: the loop's usual pace, as the keying thread meets
    // it, neither its best moment nor one interrupted by other work.
    std::nth_element(ms.begin(), ms.begin() + slices / 2, ms.end());
    return loopsPer60msFromElapsed(ms[slices / 2] * slices);
}

std::optional<QString> steppedNumber(const QString& text, int step)
{
    const auto n = boxNumber(text);
    if (!n)
        return std::nullopt;
    return QString::number(*n + step, 'g', 15);
}

namespace {

QString scaledLoop(const QString& txtLoop, double factor)
{
    const auto n = boxNumber(txtLoop);
    if (!n)
        return txtLoop;
    return QString::number(roundHalfEven(*n * factor), 'f', 0);
}

} // namespace

QString loopFaster(const QString& txtLoop)
{
    return scaledLoop(txtLoop, 0.9);
}

QString loopSlower(const QString& txtLoop)
{
    return scaledLoop(txtLoop, 1.111111111111);
}

} // namespace zq
