#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "platform/SafeFile.h"
#include "support/TestEnv.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace zq;
using zq::test::TestEnv;

namespace {

QByteArray lines(std::initializer_list<const char*> values)
{
    QByteArray out;
    for (const char* v : values)
        out += QByteArray(v) + "\r\n";
    return out;
}

StationSettings populated()
{
    StationSettings s;
    s.OwnCall = "K9ZQ";
    s.OwnSpc = "ZQ";
    s.OwnCountry = "USA";
    s.OwnArrlSection = "ZQ";
    s.OwnName = "";
    s.OwnCategory = "SINGLE-OP";
    s.OwnCounty = "Dunmore";
    s.OwnCity = "Big \"Rock\"";
    s.CurrentMode = "CW";
    s.CurrentBand = "40";
    s.UtcOffsetHours = 5.5f;
    s.OwnLongitude = -89.1f;
    s.OwnLatitude = 38.75f;
    s.OwnContinent = "NA";
    s.FormSizePercent = 85;
    s.WorkedColor = 255;
    s.RemainingColor = 16711680;
    s.AccumulatedOperatingSeconds = 3725;
    s.HomeStateCode = "ZQ";
    s.OutOfStateFlag = 0;
    s.RoverFlag = 1;
    s.VoiceNavigationLevel = 2;
    s.RigType = "Elecraft K3";
    s.TaskbarFlag = 1;
    s.ListPreviousFlag = 0;
    return s;
}

const QByteArray kPopulatedFile =
    lines({R"("K9ZQ")", R"("ZQ")", R"("USA")", R"("ZQ")", R"("")", R"("SINGLE-OP")", R"("Dunmore")",
           R"("Big Rock")", R"("CW")", R"("40")", "5.5", "-89.1", "38.75", R"("NA")", "85", "255",
           "16711680", "3725", R"("ZQ")", "0", "1", "2", R"("Elecraft K3")", "1", "0"});

} // namespace

TEST(PrefFile, FormatIsByteExact)
{
    struct Case {
        const char* name;
        StationSettings settings;
        QByteArray file;
    };
    const Case cases[] = {
        {"first-run defaults", StationSettings{},
         lines({R"("")", R"("")", R"("")", R"("")", R"("")", R"("")", R"("")", R"("")", R"("PH")",
                R"("20")", "0", "0", "0", R"("")", "100", "16711680", "0", "0", R"("ZQ")", "1", "0", "0",
                R"("None")", "0", "0"})},
        {"populated, quote stripped, single precision", populated(), kPopulatedFile},
    };
    for (const auto& c : cases) {
        TestEnv env;
        StationSettings::instance() = c.settings;
        EXPECT_EQ(formatPrefFile(), c.file) << c.name;
        ASSERT_TRUE(WritePrefFile()) << c.name;
        EXPECT_EQ(env.readWorkFile("QSOpref.txt"), c.file) << c.name;
    }
}

TEST(PrefFile, WriteThenReadGivesEveryValueBack)
{
    TestEnv env;
    StationSettings::instance() = populated();
    ASSERT_TRUE(WritePrefFile());
    StationSettings::instance() = StationSettings{};

    ASSERT_EQ(ReadPrefFile(), PrefReadResult::Ok);
    const auto& s = StationSettings::instance();
    EXPECT_EQ(s.OwnName, "");
    EXPECT_EQ(s.OwnCity, "Big Rock");
    EXPECT_EQ(s.UtcOffsetHours, 5.5f);
    EXPECT_EQ(s.OwnLongitude, -89.1f);
    EXPECT_EQ(s.OutOfStateFlag, 0);
    EXPECT_EQ(s.RigType, "Elecraft K3");
    EXPECT_EQ(s.ListPreviousFlag, 0);
    EXPECT_EQ(formatPrefFile(), kPopulatedFile);
}

TEST(PrefFile, ReaderTakesLfLineEnds)
{
    TestEnv env;
    QByteArray lf = kPopulatedFile;
    lf.replace("\r\n", "\n");
    env.writeWorkFile("qsopref.txt", lf); // found whatever its case
    ASSERT_EQ(ReadPrefFile(), PrefReadResult::Ok);
    EXPECT_EQ(formatPrefFile(), kPopulatedFile);
}

TEST(PrefFile, MissingFileKeepsTheFirstRunDefaults)
{
    TestEnv env;
    EXPECT_EQ(ReadPrefFile(), PrefReadResult::Missing);
    const auto& s = StationSettings::instance();
    EXPECT_EQ(s.FormSizePercent, 100);
    EXPECT_EQ(s.OutOfStateFlag, 1);
    EXPECT_EQ(s.RigType, "None");
    EXPECT_EQ(s.HomeStateCode, "ZQ");
    EXPECT_EQ(s.CurrentBand, "20");
    EXPECT_EQ(s.CurrentMode, "PH");
    // Worked and remaining multipliers look different from the start.
    EXPECT_EQ(s.RemainingColor, 0);         // black
    EXPECT_EQ(s.WorkedColor, 16711680);     // blue (red in the low byte)
    EXPECT_TRUE(env.prompt().calls().empty());
}

TEST(PrefFile, FileEndingOrFailingEarlyKeepsTheValuesBeforeIt)
{
    const QList<QByteArray> full = kPopulatedFile.split('\n');
    auto withLine = [&](int index, const QByteArray& value) {
        QList<QByteArray> l = full;
        l[index] = value + "\r";
        return l.join('\n');
    };
    struct Case {
        const char* name;
        QByteArray file;
        int valuesTaken; // values 1..valuesTaken come from the file
    };
    const Case cases[] = {
        {"only 10 lines", full.mid(0, 10).join('\n') + "\n", 10},
        {"longitude not a number", withLine(11, "abc"), 11},
        {"byte above 255", withLine(14, "256"), 14},
        {"byte below 0", withLine(14, "-1"), 14},
        {"colour beyond 32 bits", withLine(15, "2147483648"), 15},
        {"number with exponent", withLine(17, "1e3"), 17},
    };
    for (const auto& c : cases) {
        TestEnv env;
        env.writeWorkFile("QSOpref.txt", c.file);
        EXPECT_EQ(ReadPrefFile(), PrefReadResult::Failed) << c.name;
        const auto& s = StationSettings::instance();
        EXPECT_EQ(s.OwnCall, "K9ZQ") << c.name;
        EXPECT_EQ(s.CurrentBand, "40") << c.name;
        EXPECT_EQ(s.UtcOffsetHours, c.valuesTaken >= 11 ? 5.5f : 0.f) << c.name;
        EXPECT_EQ(s.OwnLatitude, c.valuesTaken >= 13 ? 38.75f : 0.f) << c.name;
        EXPECT_EQ(s.FormSizePercent, c.valuesTaken >= 15 ? 85 : 100) << c.name;
        EXPECT_EQ(s.RigType, "None") << c.name;
    }
}

TEST(PrefFile, FailedWriteKeepsTheOldFileAndTheValues)
{
    TestEnv env;
    StationSettings::instance() = populated();
    ASSERT_TRUE(WritePrefFile());
    StationSettings::instance().CurrentBand = "15";
    setWriteFaultForTesting([](const QString& path) { return path.endsWith("QSOpref.txt"); });

    EXPECT_FALSE(WritePrefFile());
    EXPECT_EQ(env.readWorkFile("QSOpref.txt"), kPopulatedFile);
    EXPECT_EQ(StationSettings::instance().CurrentBand, "15");
    ASSERT_EQ(env.prompt().messageTitles(), QStringList{"File Error"});
    EXPECT_TRUE(env.prompt().messageTexts()[0].startsWith("Unable to write QSOpref.txt: "));
}
