#include "keying/WinKeyerSettings.h"

#include "platform/QuotedText.h"

namespace zq {

WinKeyerSettingsRead parseWinKeyerSettings(const QByteArray& content)
{
    WinKeyerSettingsRead r;
    WinKeyerSettings& s = r.settings;
    QuotedValueStream in(content);
    QuotedValue v;
    auto byte = [&](uint8_t* into) {
        int n = 0;
        if (!in.next(&v) || !parseWholeNumber(v, 0, 255, &n))
            return false;
        *into = static_cast<uint8_t>(n);
        ++r.valuesRead;
        return true;
    };

    if (!byte(&s.WinKeyerPort))
        return r;
    for (QString* box : {&s.txtWKWPM, &s.txtWeight, &s.txtLeadIn, &s.txtTail, &s.txtRatio}) {
        if (!in.next(&v))
            return r;
        *box = v.text;
        ++r.valuesRead;
    }
    // The last two are read only when the file goes on.
    for (uint8_t* value : {&s.WinKeyerPinConfig, &s.WinKeyerKeyMode}) {
        if (in.atEnd())
            break;
        if (!byte(value))
            return r;
    }
    r.complete = true;
    return r;
}

QByteArray formatWinKeyerSettings(const WinKeyerSettings& s)
{
    QByteArray out = recordLine({QString::number(s.WinKeyerPort)});
    for (const QString* box : {&s.txtWKWPM, &s.txtWeight, &s.txtLeadIn, &s.txtTail, &s.txtRatio})
        out += recordLine({quotedText(*box)});
    out += recordLine({QString::number(s.WinKeyerPinConfig)});
    out += recordLine({QString::number(s.WinKeyerKeyMode)});
    return out;
}

} // namespace zq
