#include "rig/RigSettings.h"

#include "platform/QuotedText.h"

#include <cmath>

namespace zq {

const QStringList& rigTypeNames()
{
    static const QStringList names = {
        QStringLiteral("None"),         QStringLiteral("Elecraft"),
        QStringLiteral("Icom"),         QStringLiteral("Icom 735"),
        QStringLiteral("Kenwood"),      QStringLiteral("Kenwood 2"),
        QStringLiteral("Ten Tec Omni VI"), QStringLiteral("Ten Tec Orion"),
        QStringLiteral("Ten Tec Fnt Pnl"), QStringLiteral("Ten Tec Pegasus"),
        QStringLiteral("Yaesu"),        QStringLiteral("Yaesu 757 GX II"),
        QStringLiteral("Yaesu 890"),    QStringLiteral("Yaesu 920"),
        QStringLiteral("Yaesu 990"),    QStringLiteral("Yaesu 1000 D"),
        QStringLiteral("Yaesu 1000"),   QStringLiteral("Yaesu FTdx9000"),
        QStringLiteral("Other")};
    return names;
}

std::optional<RigTypeDefaults> rigTypeDefaults(const QString& name)
{
    static const QList<RigTypeDefaults> table = [] {
        const QString yaesuStatus = QStringLiteral("00 00 00 02 10");
        QList<RigTypeDefaults> t = {
            {"Elecraft", "4800", "8", "2", "N", "FA;", "MD;", 0, false},
            {"Icom", "1200", "8", "1", "N", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", 1, true},
            {"Icom 735", "1200", "8", "1", "N", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", 1, true},
            {"Kenwood", "4800", "8", "2", "N", "FA;", "MD;", 0, false},
            {"Kenwood 2", "4800", "8", "2", "N", "IF;", "", 0, false},
            {"Ten Tec Omni VI", "1200", "8", "1", "N", "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD", 1, false},
            {"Ten Tec Orion", "56000", "8", "1", "N", "?AF", "?RMM", 0, false},
            {"Ten Tec Fnt Pnl", "56000", "8", "1", "N", "3F 41 0D", "3F 4D 0D", 1, false},
            {"Yaesu", "4800", "8", "2", "N", "00 00 00 00 03", "", 1, false},
            {"Yaesu 757 GX II", "4800", "8", "2", "N", "00 00 00 00 10", "", 1, false},
            {"Yaesu FTdx9000", "4800", "", "", "", "FA;", "MD0;", 0, false},
            {"Other", "", "", "", "", "", "", 0, false},
        };
        for (const char* n : {"Yaesu 890", "Yaesu 920", "Yaesu 990", "Yaesu 1000 D", "Yaesu 1000"})
            t.append({n, "4800", "8", "2", "N", yaesuStatus, "", 1, false});
        return t;
    }();
    for (const RigTypeDefaults& d : table) {
        if (d.name == name)
            return d;
    }
    return std::nullopt;
}

bool isYaesuFiveByte(const QString& rigType)
{
    return rigType.startsWith(QLatin1String("Yaesu")) && rigType != QLatin1String("Yaesu FTdx9000");
}

bool isNoRig(const QString& rigType)
{
    return rigType.isEmpty() || rigType == QLatin1String("None");
}

QString fixedWidth(const QString& text, int width)
{
    return text.left(width).leftJustified(width, QLatin1Char(' '));
}

QString portSettingsOf(const RigSettings& s)
{
    QString baud = s.BaudRate;
    while (baud.endsWith(QLatin1Char(' ')))
        baud.chop(1);
    return baud + QLatin1Char(',') + s.Parity + QLatin1Char(',') + s.DataBits + QLatin1Char(',')
           + s.StopBits;
}

RigCntrlRead parseRigCntrl(const QByteArray& content, const RigSettings& start,
                           const QString& rigType)
{
    RigCntrlRead r;
    r.settings = start;
    r.RigType = rigType;
    RigSettings& s = r.settings;
    QuotedValueStream in(content);
    QuotedValue v;
    auto text = [&](QString& into, int width) {
        if (!in.next(&v))
            return false;
        into = width > 0 ? fixedWidth(v.text, width) : v.text;
        ++r.valuesRead;
        return true;
    };
    auto number = [&](int* into, double lo, double hi) {
        if (!in.next(&v) || !parseWholeNumber(v, lo, hi, into))
            return false;
        ++r.valuesRead;
        return true;
    };

    if (!text(s.BaudRate, 5) || !text(s.Parity, 1) || !text(s.DataBits, 1)
        || !text(s.StopBits, 1) || !text(s.ModePoll, 0) || !text(s.FreqPoll, 0)
        || !text(s.PortSettings, 0))
        return r;
    int port = 0;
    if (!number(&port, 0, 255))
        return r;
    s.PortNumber = static_cast<uint8_t>(port);
    if (!text(s.PowerLine, 1) || !text(s.PollRate, 1) || !text(r.RigType, 0))
        return r;
    number(&r.ConvToHex, -32768, 32767) && number(&r.UseFrequency, -32768, 32767)
        && number(&r.ModeBy, -32768, 32767);
    return r;
}

QByteArray formatRigCntrl(const RigSettings& s, const QString& rigType, int convToHex,
                          int useFrequency, int modeBy)
{
    QByteArray out;
    for (const QString& t : {fixedWidth(s.BaudRate, 5), fixedWidth(s.Parity, 1),
                             fixedWidth(s.DataBits, 1), fixedWidth(s.StopBits, 1), s.ModePoll,
                             s.FreqPoll, s.PortSettings})
        out += recordLine({quotedText(t)});
    out += recordLine({QString::number(s.PortNumber)});
    out += recordLine({quotedText(fixedWidth(s.PowerLine, 1))});
    out += recordLine({quotedText(fixedWidth(s.PollRate, 1))});
    out += recordLine({quotedText(rigType)});
    out += recordLine({QString::number(convToHex)});
    out += recordLine({QString::number(useFrequency)});
    out += recordLine({QString::number(modeBy)});
    return out;
}

} // namespace zq
