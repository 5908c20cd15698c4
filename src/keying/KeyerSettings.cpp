#include "keying/KeyerSettings.h"

#include "platform/QuotedText.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace zq {

namespace {

// A whole number of milliseconds for a delay in seconds (ties to even), or
// -1 when no timer can take it.
int secondsToMs(double seconds)
{
    const double ms = std::nearbyint(seconds * 1000.0);
    if (!std::isfinite(ms) || ms < 0 || ms > INT_MAX)
        return -1;
    return static_cast<int>(ms);
}

bool wholeNumber(const QuotedValue& v, double lo, double hi, int* out)
{
    return parseWholeNumber(v, lo, hi, out);
}

} // namespace

CwSettings::CwSettings()
{
    Text[10] = QStringLiteral("0");
    Text[11] = QStringLiteral("13");
    Text[14] = QStringLiteral("&H378");
}

CwSettingsRead parseCwSettings(const QByteArray& content)
{
    CwSettingsRead r;
    CwSettings& s = r.settings;
    QuotedValueStream in(content);
    QuotedValue v;
    // Every text is taken as the writer writes it back (without '"', CR
    // and LF), so a message made only of those reads as empty at once,
    // not only after the next Done.
    auto text = [&](QString& into) {
        if (!in.next(&v))
            return false;
        into = stripUnsafe(v.text);
        ++r.valuesRead;
        return true;
    };

    for (int i = cwline::Text1; i <= cwline::Text9; ++i) {
        if (!text(s.Text[i]))
            return r;
    }
    if (s.Text[9].isEmpty())
        s.Text[9] = kEmptyF9Message;
    for (int i = cwline::Text10; i <= cwline::Text13; ++i) {
        if (!text(s.Text[i]))
            return r;
    }
    if (!text(s.txtSpace))
        return r;

    int method = 0;
    if (!in.next(&v) || !wholeNumber(v, 0, 255, &method))
        return r;
    // A method the keyer does not know reads as none.
    const bool known = method == 0 || method == 1 || method == 2 || method == 3 || method == 5;
    s.CwKeyingMethod = static_cast<uint8_t>(known ? method : 0);
    ++r.valuesRead;

    if (!text(s.Text[14]))
        return r;

    int echo = 0;
    if (!in.next(&v) || !wholeNumber(v, 0, 1, &echo))
        return r;
    s.Check1 = echo;
    ++r.valuesRead;

    if (!text(s.txtCWLoop))
        return r;
    double seconds = 0;
    if (!parseNumber(QuotedValue{s.txtCWLoop, true}, &seconds))
        return r;
    const int ms = secondsToMs(seconds);
    if (ms < 0)
        return r;
    s.repeatIntervalMs = ms;
    r.complete = true;
    return r;
}

QByteArray formatCwSettings(const CwSettings& s)
{
    QByteArray out;
    for (int i = cwline::Text1; i <= cwline::Text13; ++i)
        out += recordLine({quotedText(s.Text[i])});
    out += recordLine({quotedText(s.txtSpace)});
    out += recordLine({QString::number(s.CwKeyingMethod)});
    out += recordLine({quotedText(s.Text[14])});
    out += recordLine({QString::number(s.Check1)});
    out += recordLine({quotedText(s.txtCWLoop)});
    return out;
}

int repeatDelayMs(int seconds)
{
    return static_cast<int>(std::clamp<qint64>(qint64(seconds) * 1000, 0, INT_MAX));
}

PhoneSettings::PhoneSettings()
{
    Text[10] = QStringLiteral("0");
    Text[11] = QStringLiteral("&H378");
}

PhoneSettingsRead parsePhoneSettings(const QByteArray& content)
{
    PhoneSettingsRead r;
    PhoneSettings& s = r.settings;
    QuotedValueStream in(content);
    QuotedValue v;

    // Texts are taken as the writer writes them back: without '"', CR and
    // LF, and the wave file names without blanks around them.
    for (int i = waveline::Text1; i <= waveline::Text10; ++i) {
        if (!in.next(&v))
            return r;
        s.Text[i] = i <= waveline::Text9 ? stripUnsafe(v.text).trimmed() : stripUnsafe(v.text);
        ++r.valuesRead;
    }

    int line = 0;
    if (!in.next(&v) || !wholeNumber(v, INT_MIN, INT_MAX, &line))
        return r;
    s.PttLine = line;
    ++r.valuesRead;

    if (!in.next(&v))
        return r;
    // The pause is taken as the file holds it; only one that no timer can
    // take (not a number, negative, too long) is a bad value.
    double seconds = 0;
    if (!parseNumber(QuotedValue{v.text, true}, &seconds))
        return r;
    const int ms = secondsToMs(seconds);
    if (ms < 0)
        return r;
    s.txtPHLoop = stripUnsafe(v.text);
    s.repeatIntervalMs = ms;
    ++r.valuesRead;

    if (!in.next(&v))
        return r;
    s.Text[11] = stripUnsafe(v.text);
    ++r.valuesRead;
    r.complete = true;
    return r;
}

QByteArray formatPhoneSettings(const PhoneSettings& s)
{
    QByteArray out;
    for (int i = waveline::Text1; i <= waveline::Text9; ++i)
        out += recordLine({quotedText(s.Text[i].trimmed())});
    out += recordLine({quotedText(s.Text[10])});
    out += recordLine({QString::number(s.PttLine)});
    out += recordLine({quotedText(s.txtPHLoop)});
    out += recordLine({quotedText(s.Text[11])});
    return out;
}

} // namespace zq
