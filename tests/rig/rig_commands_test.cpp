// The set-frequency and set-mode command tables of every family, the
// commands that are refused, and the number reading and formatting of the
// tuning panel and the command test dialog.

#include "rig/RigCommands.h"
#include "rig/RigSettings.h"
#include "support/FakeRadio.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace zq {
namespace {

using test::bytesOf;

RigCommandContext contextFor(const QString& type)
{
    RigCommandContext ctx;
    ctx.rigType = type;
    if (const auto d = rigTypeDefaults(type)) {
        ctx.freqBox = d->freqPoll;
        ctx.modeBox = d->modePoll;
        ctx.freqPoll = d->freqPoll;
    }
    return ctx;
}

TEST(RigCommands, FrequencyCommandOfEveryFamilyAtTheWorkedExample)
{
    struct Case {
        const char* type;
        CommandForm form;
        QByteArray bytes;
        QList<int> pauses;
    };
    const QByteArray fa = "FA00014250000;";
    const QByteArray reversed = bytesOf({0x00, 0x50, 0x42, 0x01, 0x0A});
    const QByteArray icom64 = bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x05, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD});
    const Case cases[] = {
        {"Kenwood", CommandForm::Text, fa, {205}},
        {"Kenwood 2", CommandForm::Text, fa, {205}},
        {"Elecraft", CommandForm::Text, fa, {205, 0, 1000}},
        {"Icom", CommandForm::Bytes, icom64, {140}},
        {"Icom 735", CommandForm::Bytes, icom64, {140}},
        {"Ten Tec Omni VI", CommandForm::Bytes,
         bytesOf({0xFE, 0xFE, 0x04, 0xE0, 0x05, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD}), {140, 220}},
        {"Ten Tec Fnt Pnl", CommandForm::Bytes, bytesOf({0x2A, 0x41, 0x00, 0xD9, 0x70, 0x10, 0x0D}),
         {205}},
        {"Ten Tec Orion", CommandForm::Text, "*AF14.25\r", {205}},
        {"Ten Tec Pegasus", CommandForm::PegasusFile, {}, {205}},
        {"Yaesu", CommandForm::Bytes, bytesOf({0x01, 0x42, 0x50, 0x00, 0x01}), {205}},
        {"Yaesu 757 GX II", CommandForm::Bytes, reversed, {205}},
        {"Yaesu 890", CommandForm::Bytes, reversed, {205}},
        {"Yaesu 920", CommandForm::Bytes, reversed, {205}},
        {"Yaesu 990", CommandForm::Bytes, reversed, {205}},
        {"Yaesu 1000 D", CommandForm::Bytes, reversed, {205}},
        {"Yaesu 1000", CommandForm::Bytes, reversed, {10}},
        {"Yaesu FTdx9000", CommandForm::Text, "FA14250000;", {205}},
        {"Other", CommandForm::None, {}, {}},
        {"kenwood", CommandForm::None, {}, {}}, // names compare exactly
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const RigCommand cmd = buildFrequencyCommand(contextFor(QLatin1String(c.type)), 14.25f);
        EXPECT_TRUE(cmd.ok()) << cmd.error.toStdString();
        EXPECT_EQ(cmd.form, c.form);
        EXPECT_EQ(cmd.bytes, c.bytes);
        EXPECT_EQ(cmd.pausesMs, c.pauses);
    }
}

TEST(RigCommands, FrequencyCommandDetails)
{
    // Front panel: hertz as four bytes.
    EXPECT_EQ(buildFrequencyCommand(contextFor(QStringLiteral("Ten Tec Fnt Pnl")), 7.025f).bytes,
              bytesOf({0x2A, 0x41, 0x00, 0x6B, 0x31, 0x68, 0x0D}));
    // Kenwood 2 on VFO B.
    RigCommandContext k2 = contextFor(QStringLiteral("Kenwood 2"));
    k2.kenwoodVfo = 1;
    EXPECT_EQ(buildFrequencyCommand(k2, 14.25f).bytes, "FB00014250000;");
    // The Kenwood command begins with the frequency box's first two characters.
    RigCommandContext kw = contextFor(QStringLiteral("Kenwood"));
    kw.freqBox = QStringLiteral("FB;");
    EXPECT_EQ(buildFrequencyCommand(kw, 28.475f).bytes, "FB00028475000;");
    // A text field longer than its width keeps every digit.
    EXPECT_EQ(buildFrequencyCommand(contextFor(QStringLiteral("Yaesu FTdx9000")), 144.f).bytes,
              "FA144000000;");
    // The Icom address comes from the poll string.
    RigCommandContext icom = contextFor(QStringLiteral("Icom"));
    icom.freqPoll = QStringLiteral("FE FE 5a E0 03 FD");
    EXPECT_EQ(buildFrequencyCommand(icom, 7.f).bytes,
              bytesOf({0xFE, 0xFE, 0x5A, 0xE0, 0x05, 0x00, 0x00, 0x00, 0x07, 0x00, 0xFD}));
    EXPECT_EQ(buildFrequencyCommand(contextFor(QStringLiteral("Ten Tec Orion")), 1270.f).bytes,
              "*AF1270\r");
    EXPECT_EQ(buildFrequencyCommand(contextFor(QStringLiteral("Ten Tec Orion")), 28.475f).bytes,
              "*AF28.475\r");

    EXPECT_EQ(frequencyDigits(14.25f, 1, 11), "00014250000");
    EXPECT_EQ(frequencyDigits(14.25f, 10, 8), "01425000");
    EXPECT_EQ(frequencyDigits(1270.f, 10, 8), "127000000");
    EXPECT_EQ(frequencyDigits(0.0000025f, 1, 3), "002"); // 2.5 Hz: ties to even
}

TEST(RigCommands, CommandsThatWouldNotBeWholeBytesAreRefused)
{
    struct Case {
        const char* type;
        float mhz;
        const char* freqPoll; // nullptr: the type's default
        const char* freqBox;
    };
    const Case cases[] = {
        {"Yaesu", 1270.f, nullptr, nullptr},           // nine digits
        {"Yaesu 990", 1270.f, nullptr, nullptr},       // nine digits, reversed
        {"Icom", 10368.f, nullptr, nullptr},           // eleven digits
        {"Icom", 14.25f, "FE FE 6", nullptr},          // no address
        {"Ten Tec Omni VI", 14.25f, "FE FE XY E0 03 FD", nullptr},
        {"Ten Tec Fnt Pnl", 2400.f, nullptr, nullptr}, // beyond the four bytes
        {"Kenwood", 14.25f, nullptr, "\u20ACA;"},      // not one byte
        {"Kenwood", 0.f, nullptr, nullptr},
        {"Kenwood", -7.f, nullptr, nullptr},
        {"Kenwood", std::numeric_limits<float>::quiet_NaN(), nullptr, nullptr},
        {"Kenwood", std::numeric_limits<float>::infinity(), nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.mhz));
        RigCommandContext ctx = contextFor(QLatin1String(c.type));
        if (c.freqPoll)
            ctx.freqPoll = QString::fromUtf8(c.freqPoll);
        if (c.freqBox)
            ctx.freqBox = QString::fromUtf8(c.freqBox);
        const RigCommand cmd = buildFrequencyCommand(ctx, c.mhz);
        EXPECT_FALSE(cmd.ok());
        EXPECT_TRUE(cmd.bytes.isEmpty());
    }
    // The reason names what does not fit.
    EXPECT_TRUE(buildFrequencyCommand(contextFor(QStringLiteral("Yaesu")), 1270.f)
                    .error.contains(QLatin1String("1270 MHz")));
    EXPECT_TRUE(buildModeCommand([] {
                    RigCommandContext c = contextFor(QStringLiteral("Icom"));
                    c.freqPoll = QStringLiteral("FE FE");
                    return c;
                }(),
                                 QStringLiteral("CW"))
                    .error.contains(QLatin1String("address")));
}

TEST(RigCommands, ModeCommandsOfEveryFamily)
{
    struct Case {
        const char* type;
        const char* mode;
        CommandForm form;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"Kenwood", "CW", CommandForm::Text, "MD3;"},
        {"Kenwood 2", "LSB", CommandForm::Text, "MD1;"},
        {"Elecraft", "USB", CommandForm::Text, "MD2;"},
        {"Kenwood", "AM", CommandForm::Text, "MD5;"},
        {"Kenwood", "FM", CommandForm::Text, "MD4;"},
        {"Kenwood", "RTTY", CommandForm::Text, "MD6;"},
        {"Kenwood", "FSK", CommandForm::Text, "MD6;"},
        {"Kenwood", "CW-R", CommandForm::Text, ""},
        {"Icom", "CW", CommandForm::Bytes, bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x06, 0x03, 0xFD})},
        {"Icom", "RTTY-R", CommandForm::Bytes, bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x06, 0x08, 0xFD})},
        {"Ten Tec Omni VI", "USB", CommandForm::Bytes,
         bytesOf({0xFE, 0xFE, 0x04, 0xE0, 0x06, 0x01, 0xFD})},
        {"Icom", "PKT", CommandForm::Bytes, ""},
        {"Yaesu", "CW", CommandForm::Bytes, bytesOf({0x02, 0, 0, 0, 0x07})},
        {"Yaesu", "DIG", CommandForm::Bytes, bytesOf({0x0A, 0, 0, 0, 0x07})},
        {"Yaesu", "PKT", CommandForm::Bytes, bytesOf({0x0C, 0, 0, 0, 0x07})},
        {"Yaesu 757 GX II", "CW-R", CommandForm::Bytes, bytesOf({0, 0, 0, 0x03, 0x0C})},
        {"Yaesu 1000", "PKT", CommandForm::Bytes, bytesOf({0, 0, 0, 0x0A, 0x0C})},
        {"Yaesu 990", "DIG", CommandForm::Bytes, ""},
        {"Yaesu FTdx9000", "USB", CommandForm::Text, "MD02;"},
        {"Yaesu FTdx9000", "CW-R", CommandForm::Text, "MD07;"},
        {"Yaesu FTdx9000", "PKT", CommandForm::Text, ""},
        {"Icom 735", "USB", CommandForm::None, ""},
        {"Ten Tec Fnt Pnl", "CW", CommandForm::None, ""},
        {"Ten Tec Orion", "CW", CommandForm::None, ""},
        {"Ten Tec Pegasus", "CW", CommandForm::None, ""},
        {"Other", "CW", CommandForm::None, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.mode);
        const RigCommand cmd = buildModeCommand(contextFor(QLatin1String(c.type)), QLatin1String(c.mode));
        EXPECT_TRUE(cmd.ok());
        EXPECT_EQ(cmd.form, c.form);
        EXPECT_EQ(cmd.bytes, c.bytes);
    }
    // The FTdx9000 command begins with the mode box's first three characters.
    RigCommandContext ft = contextFor(QStringLiteral("Yaesu FTdx9000"));
    ft.modeBox = QStringLiteral("MD1;");
    EXPECT_EQ(buildModeCommand(ft, QStringLiteral("CW")).bytes, "MD13;");
}

TEST(RigCommands, NumbersReadWithAPointInEveryLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"28.475", 28.475}, {" 14.25 ", 14.25}, {"14.", 14.0},  {".5", 0.5},   {"-3", -3.0},
        {"", std::nullopt}, {".", std::nullopt}, {"/", std::nullopt}, {"1/2", std::nullopt},
        {"28,475", std::nullopt}, {"1.2.3", std::nullopt}, {"1e5", std::nullopt},
        {"inf", std::nullopt}, {"nan", std::nullopt}, {"14.25x", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(readDecimal(QString::fromLatin1(c.text)), c.value);
    }
    QLocale::setDefault(before);

    EXPECT_EQ(decimalText(14.25 + 0.00001, 15), "14.25001");
    EXPECT_EQ(decimalText(1.8 - 1, 15), "0.8");
    EXPECT_EQ(decimalText(7.0 + 0.005, 15), "7.005");
    EXPECT_EQ(decimalText(-0.2, 15), "-0.2");
    EXPECT_EQ(scanFrequencyText(14.0005f), "14.0005");
    EXPECT_EQ(scanFrequencyText(14.f), "14.");
    EXPECT_EQ(scanFrequencyText(0.5f), ".5");
    EXPECT_EQ(singleText(14.25f), "14.25");
    EXPECT_EQ(singleText(7.025f), "7.025");
    EXPECT_EQ(singleText(0.5f), "0.5");
    EXPECT_EQ(pegasusInContent(14.25f, QStringLiteral(" CW ")), "14.25\r\nCW\r\n");
}

} // namespace
} // namespace zq
