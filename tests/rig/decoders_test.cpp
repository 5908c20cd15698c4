// The reply decoders of every radio family, on the families' example
// replies and on short, shifted and garbled ones.

#include "rig/RigDecoders.h"
#include "support/FakeRadio.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace zq {
namespace {

using test::bytesOf;

struct Case {
    const char* name;
    const char* rig;
    QByteArray reply;
    bool afterFrequencyQuery;
    std::optional<float> freq;
    std::optional<QString> mode;
    std::optional<uint8_t> vfo = std::nullopt;
};

void check(const Case& c, const QString& freqPoll, const QString& modePoll)
{
    const RigReading r = decodeReply(QString::fromLatin1(c.rig), c.reply, c.afterFrequencyQuery,
                                     freqPoll, modePoll);
    ASSERT_EQ(r.frequency.has_value(), c.freq.has_value()) << c.name;
    if (c.freq)
        EXPECT_FLOAT_EQ(*r.frequency, *c.freq) << c.name;
    EXPECT_EQ(r.mode, c.mode) << c.name;
    EXPECT_EQ(r.vfo, c.vfo) << c.name;
}

const std::optional<QString> PH = QStringLiteral("PH");
const std::optional<QString> CW = QStringLiteral("CW");
const std::optional<QString> none = std::nullopt;
const std::optional<float> noFreq = std::nullopt;

TEST(RigDecoders, KenwoodElecraftAndKenwoodIF)
{
    const QByteArray ifReply = "IF00014250000     +0000000000" "31" "0000 ;";
    const Case cases[] = {
        {"FA and MD", "Kenwood", "FA00014250000;MD3;", true, 14.25f, CW},
        {"Elecraft phone", "Elecraft", "FA00007150000;MD2;", true, 7.15f, PH},
        {"mode 7 is CW", "Kenwood", "MD7;", true, noFreq, CW},
        {"mode 9 is PH", "Kenwood", "MD9;", true, noFreq, PH},
        {"behind a remainder", "Kenwood", "0;garbFA00021200000;MD1;", true, 21.2f, PH},
        {"11 digits, nothing after", "Kenwood", "FA00014250000", true, noFreq, none},
        {"digit field with a letter", "Kenwood", "FA0001425X000;", true, noFreq, none},
        {"MD at the very end", "Kenwood", "FA00014250000;MD", true, 14.25f, none},
        {"single precision above 16.7 MHz", "Kenwood", "FA00050125010;", true, 50.12501f, none},
        {"IF: frequency, CW, VFO B", "Kenwood 2", ifReply, true, 14.25f, CW, uint8_t(1)},
        {"IF: phone", "Kenwood 2", "IF00007200000     +0000000000" "20" ";", true, 7.2f, PH, uint8_t(0)},
        {"IF cut before the mode", "Kenwood 2", ifReply.left(29), true, 14.25f, none},
        {"IF cut before the VFO", "Kenwood 2", ifReply.left(30), true, 14.25f, CW},
        {"IF mode not a digit", "Kenwood 2", "IF00014250000     +0000000000" "X1;", true, 14.25f, PH},
        {"IF too short", "Kenwood 2", "IF000142500", true, noFreq, none},
    };
    for (const Case& c : cases)
        check(c, QStringLiteral("FA;"), QStringLiteral("MD;"));
    // The marker comes from the frequency-poll string.
    check({"own marker", "Kenwood", "FB00003550000;", true, 3.55f, none}, QStringLiteral("FB;"),
          QString());
    check({"poll string too short", "Kenwood", "FA00014250000;", true, noFreq, none},
          QStringLiteral("FA"), QString());
}

TEST(RigDecoders, YaesuFTdx9000)
{
    const Case cases[] = {
        {"frequency", "Yaesu FTdx9000", "FA14250000;", true, 14.25f, none},
        {"mode CW", "Yaesu FTdx9000", "MD03;", false, noFreq, CW},
        {"mode letter is phone", "Yaesu FTdx9000", "MD0C;", false, noFreq, PH},
        {"seven digits at the end", "Yaesu FTdx9000", "FA7150000", true, 7.15f, none},
        {"non-digit inside, mode still read", "Yaesu FTdx9000", "FA14X50000;MD03;", true, noFreq, CW},
        {"too short", "Yaesu FTdx9000", "FA142500", true, noFreq, none},
    };
    for (const Case& c : cases)
        check(c, QStringLiteral("FA;"), QStringLiteral("MD0;"));
}

TEST(RigDecoders, IcomFramesWithEcho)
{
    const QByteArray echoF = bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x03, 0xFD});
    const QByteArray answerF = bytesOf({0xFE, 0xFE, 0xE0, 0x64, 0x03, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD});
    const QByteArray echoM = bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x04, 0xFD});
    const Case cases[] = {
        {"echo then answer", "Icom", echoF + answerF, true, 14.25f, none},
        {"Omni VI", "Ten Tec Omni VI", answerF, true, 14.25f, none},
        {"735: four bytes / 100", "Icom 735",
         echoF + bytesOf({0xFE, 0xFE, 0xE0, 0x04, 0x03, 0x00, 0x00, 0x25, 0x14, 0xFD}), true, 14.25f, none},
        {"inner zeros", "Icom", bytesOf({0xFE, 0xFE, 0xE0, 0x64, 0x03, 0x00, 0x00, 0x10, 0x10, 0x00, 0xFD}),
         true, 10.1f, none},
        {"no FD after the data", "Icom", echoF + answerF.left(10), true, noFreq, none},
        {"echo only", "Icom", echoF, true, noFreq, none},
        {"BCD with a letter", "Icom",
         bytesOf({0xFE, 0xFE, 0xE0, 0x64, 0x03, 0x00, 0x0A, 0x25, 0x14, 0x00, 0xFD}), true, noFreq, none},
        {"addresses missing", "Icom", bytesOf({0xFE, 0xFE, 0xE0}), true, noFreq, none},
        {"mode CW", "Icom", echoM + bytesOf({0xFE, 0xFE, 0xE0, 0x64, 0x04, 0x03, 0x01, 0xFD}), false,
         noFreq, CW},
        {"mode 07 phone", "Icom", bytesOf({0xFE, 0xFE, 0xE0, 0x64, 0x04, 0x07, 0x01, 0xFD}), false,
         noFreq, PH},
        {"mode: no data byte", "Icom", echoM, false, noFreq, none},
        {"frequency frame after a mode query", "Icom", answerF, false, noFreq, none},
    };
    for (const Case& c : cases)
        check(c, QString(), QString());
}

TEST(RigDecoders, YaesuFiveByteAndStatusBlocks)
{
    const Case cases[] = {
        {"Yaesu CW", "Yaesu", bytesOf({0x01, 0x42, 0x50, 0x00, 0x82}), true, 14.25f, CW},
        {"Yaesu 88 phone", "Yaesu", bytesOf({0x00, 0x70, 0x00, 0x00, 0x88}), true, 7.0f, PH},
        {"Yaesu below 1 MHz", "Yaesu", bytesOf({0x00, 0x05, 0x00, 0x00, 0x01}), true, 0.5f, PH},
        {"Yaesu mode 0A", "Yaesu", bytesOf({0x01, 0x42, 0x50, 0x00, 0x0A}), true, noFreq, none},
        {"Yaesu mode 0C", "Yaesu", bytesOf({0x01, 0x42, 0x50, 0x00, 0x0C}), true, noFreq, none},
        {"Yaesu unknown mode", "Yaesu", bytesOf({0x01, 0x42, 0x50, 0x00, 0x55}), true, 14.25f, none},
        {"Yaesu BCD with a letter", "Yaesu", bytesOf({0x01, 0x4B, 0x50, 0x00, 0x82}), true, noFreq, none},
        {"Yaesu four bytes", "Yaesu", bytesOf({0x01, 0x42, 0x50, 0x00}), true, noFreq, none},
        {"757 CW", "Yaesu 757 GX II", bytesOf({0, 0, 0, 0, 0, 0x00, 0x50, 0x42, 0x01, 0x02}), true, 14.25f, CW},
        {"757 AM", "Yaesu 757 GX II", bytesOf({0, 0, 0, 0, 0, 0x00, 0x50, 0x42, 0x01, 0x04}), true, 14.25f,
         QStringLiteral("AM")},
        {"757 FM", "Yaesu 757 GX II", bytesOf({0, 0, 0, 0, 0, 0x00, 0x00, 0x90, 0x02, 0x05}), true, 29.0f,
         QStringLiteral("FM")},
        {"757 mode 8A reads 8", "Yaesu 757 GX II", bytesOf({0, 0, 0, 0, 0, 0, 0x50, 0x42, 0x01, 0x8A}),
         true, 14.25f, none},
        {"757 nine bytes", "Yaesu 757 GX II", bytesOf({0, 0, 0, 0, 0, 0x00, 0x50, 0x42, 0x01}), true,
         noFreq, none},
        {"890 CW", "Yaesu 890", bytesOf({0, 0, 0x15, 0xBE, 0x68, 0, 0, 0x02}), true, 14.25f, CW},
        {"890 mode 8 unchanged", "Yaesu 890", bytesOf({0, 0, 0x15, 0xBE, 0x68, 0, 0, 0x08}), true, 14.25f, none},
        {"890 no mode byte", "Yaesu 890", bytesOf({0, 0, 0x15, 0xBE, 0x68}), true, 14.25f, none},
        {"1000 phone", "Yaesu 1000", bytesOf({0, 0x01, 0x5B, 0xE6, 0x80, 0, 0, 0x05}), true, 14.25f, PH},
        {"990 CW", "Yaesu 990", bytesOf({0, 0x15, 0xBE, 0x68, 0, 0, 0, 0x02}), true, 14.25f, CW},
        {"1000 D as 990", "Yaesu 1000 D", bytesOf({0, 0x15, 0xBE, 0x68, 0, 0, 0, 0x00}), true, 14.25f, PH},
        {"920 CW", "Yaesu 920", bytesOf({0, 0x00, 0xD9, 0x70, 0x10, 0, 0, 0x01}), true, 14.25f, CW},
        {"920 phone", "Yaesu 920", bytesOf({0, 0x00, 0xD9, 0x70, 0x10, 0, 0, 0x03}), true, 14.25f, PH},
        {"920 no mode digit", "Yaesu 920", bytesOf({0, 0x00, 0xD9, 0x70, 0x10}), true, 14.25f, none},
        {"status four bytes", "Yaesu 890", bytesOf({0, 0, 0x15, 0xBE}), true, noFreq, none},
    };
    for (const Case& c : cases)
        check(c, QString(), QString());
}

TEST(RigDecoders, TenTecPanelAndOrion)
{
    const Case cases[] = {
        {"panel frequency", "Ten Tec Fnt Pnl", bytesOf({'A', 0x00, 0xD9, 0x70, 0x10, 0x0D}), true, 14.25f, none},
        {"panel four bytes", "Ten Tec Fnt Pnl", bytesOf({'A', 0x00, 0xD9, 0x70}), true, noFreq, none},
        {"panel mode CW", "Ten Tec Fnt Pnl", bytesOf({'M', 0x33, 0x33, 0x0D}), false, noFreq, CW},
        {"panel mode phone", "Ten Tec Fnt Pnl", bytesOf({'M', 0x31, 0x31}), false, noFreq, PH},
        {"panel mode 5 unchanged", "Ten Tec Fnt Pnl", bytesOf({'M', 0x35, 0x35}), false, noFreq, none},
        {"panel mode two bytes", "Ten Tec Fnt Pnl", bytesOf({'M', 0x33}), false, noFreq, none},
        {"Orion both", "Ten Tec Orion", "@AF14250000\r@RMM3\r", true, 14.25f, CW},
        {"Orion mode first", "Ten Tec Orion", "@RMM0\r@AF7025000\r", true, 7.025f, PH},
        {"Orion mode 2", "Ten Tec Orion", "@RMM2\r", true, noFreq, CW},
        {"Orion mode without digit", "Ten Tec Orion", "@AF14250000\r@RMM", true, 14.25f, none},
        {"Orion no CR", "Ten Tec Orion", "@AF14250000", true, noFreq, none},
        {"Orion empty field", "Ten Tec Orion", "@AF\r", true, noFreq, none},
        {"Orion not a number", "Ten Tec Orion", "@AF14.25\r", true, noFreq, none},
        {"Orion 11 digits", "Ten Tec Orion", "@AF00014250000\r", true, 14.25f, none},
        {"Orion 12 digits", "Ten Tec Orion", "@AF000014250000\r", true, noFreq, none},
        {"Orion 70 digits", "Ten Tec Orion", "@AF" + QByteArray(70, '9') + "\r", true, noFreq, none},
        {"Other decodes nothing", "Other", "FA00014250000;MD3;", true, noFreq, none},
        {"None decodes nothing", "None", "FA00014250000;", true, noFreq, none},
        {"lower case is no family", "kenwood", "FA00014250000;", true, noFreq, none},
    };
    for (const Case& c : cases)
        check(c, QStringLiteral("FA;"), QStringLiteral("MD;"));
}

TEST(RigDecoders, AnyInputStaysInBounds)
{
    // Every prefix of every example and of a stream of markers.
    const QByteArray samples[] = {
        "FA00014250000;MD3;", "IF00014250000     +0000000000" "31" "0000 ;",
        bytesOf({0xFE, 0xFE, 0xE0, 0x64, 0x03, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD}),
        "@AF14250000\r@RMM3\r", QByteArray(64, '\xFE'), "FAFAFAMDMDIFIF@AF@RMM"};
    for (const char* rig : {"Kenwood", "Kenwood 2", "Icom", "Icom 735", "Yaesu", "Yaesu 757 GX II",
                            "Yaesu 890", "Yaesu 920", "Yaesu 990", "Yaesu 1000", "Yaesu FTdx9000",
                            "Ten Tec Fnt Pnl", "Ten Tec Orion"}) {
        for (const QByteArray& s : samples) {
            for (qsizetype n = 0; n <= s.size(); ++n) {
                for (bool f : {true, false})
                    decodeReply(QString::fromLatin1(rig), s.left(n), f, QStringLiteral("FA;"),
                                QStringLiteral("MD0;"));
            }
        }
    }
    SUCCEED();
}

TEST(RigDecoders, PegasusFile)
{
    struct PCase {
        const char* name;
        QByteArray content;
        std::optional<float> freq;
        std::optional<QString> mode;
    };
    const PCase cases[] = {
        {"comma", "14.25,\"USB\"\r\n", 14.25f, PH},
        {"two lines", "7.025\r\nCW\r\n", 7.025f, CW},
        {"lower-case cw is phone", "7.025,cw", 7.025f, PH},
        {"empty mode", "14.2,\"\"", 14.2f, QString()},
        {"one field", "14.2\r\n", 14.2f, none},
        {"not a number", "abc,CW", noFreq, none},
        {"empty file", "", noFreq, none},
        {"quoted number", "\"21.3\",\"LSB\"", 21.3f, PH},
    };
    for (const PCase& c : cases) {
        const RigReading r = parsePegasusOut(c.content);
        ASSERT_EQ(r.frequency.has_value(), c.freq.has_value()) << c.name;
        if (c.freq)
            EXPECT_FLOAT_EQ(*r.frequency, *c.freq) << c.name;
        EXPECT_EQ(r.mode, c.mode) << c.name;
    }

    // The file lives in ~/Pegasus.
    test::TestEnv env;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", env.workDir().toLocal8Bit());
    EXPECT_FALSE(ReadPegasusFile().frequency);
    QDir().mkpath(env.workDir() + QStringLiteral("/Pegasus"));
    QFile f(env.workDir() + QStringLiteral("/Pegasus/PEGASUS.OUT"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("28.4,USB\r\n" + QByteArray(100000, 'x'));
    f.close();
    const RigReading r = ReadPegasusFile();
    qputenv("HOME", oldHome);
    ASSERT_TRUE(r.frequency);
    EXPECT_FLOAT_EQ(*r.frequency, 28.4f);
    EXPECT_EQ(r.mode, PH);
}

} // namespace
} // namespace zq
