// The station set-up dialog, driven offscreen with typed keys.

#include "common/EntryBox.h"
#include "common/WindowRegistry.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/PhoneFrm.h"
#include "logstore/PositionTables.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "logwindow/Infrm.h"
#include "logwindow/Outfrm.h"
#include "platform/Folders.h"
#include "startup/SharedPrefs.h"
#include "startup/StationSetupEntry.h"
#include "startup/UtcOffsetCheck.h"
#include "startup/frmStationID.h"
#include "common/ProgramEnd.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTimeZone>
#include <gtest/gtest.h>

using namespace zq;
using Kind = ScriptedPrompt::Kind;

namespace {

const QString kLoadFailure = QStringLiteral("Error opening file");
const QString kLoadFailureTitle = QStringLiteral("Error opeining file");

class StationSetup : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.seedDataFile("arrlpre2.txt");
        env.seedDataFile("states.txt");
        LoadSharedPrefs(sharedFile());
        // The stored offset and the clock agree unless a test says otherwise.
        env.clock().setLocalOffset(0);
    }

    QString sharedFile() const
    {
        return Folders::instance().SharedDirectory + QStringLiteral("/SharedUserPreferences.xml");
    }

    // Writes QSOpref.txt holding the given settings.
    void writePrefs(const StationSettings& s)
    {
        StationSettings kept = StationSettings::instance();
        StationSettings::instance() = s;
        env.writeWorkFile("QSOpref.txt", formatPrefFile());
        StationSettings::instance() = kept;
    }

    frmStationID& open()
    {
        ShowStationSetup();
        frmStationID* d = WindowRegistry::existing<frmStationID>();
        EXPECT_NE(d, nullptr);
        return *d;
    }

    QStringList messages() { return env.prompt().messageTexts(); }

    test::TestEnv env;
};

QByteArray fileLines(const QStringList& values)
{
    QByteArray out;
    for (const QString& v : values)
        out += (v + QStringLiteral("\r\n")).toUtf8();
    return out;
}

} // namespace

TEST_F(StationSetup, FirstRunLoadsTheTablesSilentlyAndShowsDefaults)
{
    frmStationID& d = open();
    EXPECT_EQ(d.windowTitle(), " Setup Information");
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(env.prompt().calls().empty());

    EXPECT_GT(CountryTable::instance().CountryCount, 300);
    EXPECT_FALSE(StateTable::instance().StateCode[50].isEmpty());
    EXPECT_FALSE(WindowRegistry::isLoaded<PhoneFrm>());
    EXPECT_FALSE(WindowRegistry::isLoaded<CWFrm>());

    EXPECT_EQ(d.Text[1]->text(), "");
    EXPECT_EQ(d.Text[6]->text(), "0");
    EXPECT_EQ(d.Text[3]->text(), "0");
    EXPECT_EQ(d.Text[4]->text(), "0");
    for (int i = 1; i <= 9; ++i)
        EXPECT_TRUE(d.Text[i]->isVisible()) << i;
    for (int i = 10; i <= 12; ++i) {
        EXPECT_FALSE(d.Text[i]->isVisible()) << i;
        EXPECT_FALSE(d.Label[i]->isVisible()) << i;
    }
    EXPECT_EQ(d.Label[1]->text(), "Please Enter your Call Sign:");
    EXPECT_EQ(d.Label[6]->text(), "Hours added for UTC:");
    EXPECT_EQ(d.Command1->text(), "Done");

    // Out of state by default: "No" chosen and the rover frame unavailable.
    EXPECT_TRUE(d.Option2->isChecked());
    EXPECT_FALSE(d.Frame2->isEnabled());
    EXPECT_TRUE(d.Option3->isChecked());

    // The home state's party is chosen, in bold; the others cannot be chosen.
    int chosen = -1;
    for (int i = 0; i < frmStationID::StateOptionCount; ++i) {
        QRadioButton* o = d.optState[i];
        EXPECT_EQ(o->text().size(), 2);
        if (o->isChecked())
            chosen = i;
    }
    ASSERT_GE(chosen, 0);
    EXPECT_EQ(d.optState[chosen]->text(), "ZQ");
    EXPECT_TRUE(d.optState[chosen]->font().bold());
    EXPECT_TRUE(d.optState[chosen]->isEnabled());
    EXPECT_FALSE(d.optState[(chosen + 1) % 50]->isEnabled());
    EXPECT_FALSE(d.optState[(chosen + 1) % 50]->font().bold());
}

TEST_F(StationSetup, FirstRunDoneStoresZerosAndOpensTheOutOfStateWindow)
{
    frmStationID& d = open();
    QTest::mouseClick(d.Command1, Qt::LeftButton);

    EXPECT_FALSE(WindowRegistry::isLoaded<frmStationID>());
    EXPECT_TRUE(WindowRegistry::isLoaded<Outfrm>());
    EXPECT_FALSE(WindowRegistry::isLoaded<Infrm>());
    const StationSettings& s = StationSettings::instance();
    EXPECT_EQ(s.OutOfStateFlag, 1);
    EXPECT_EQ(s.HomeStateCode, "ZQ");
    EXPECT_EQ(s.UtcOffsetHours, 0.f);
    EXPECT_EQ(env.readWorkFile("QSOpref.txt"), formatPrefFile());
    EXPECT_TRUE(QFile::exists(sharedFile()));
}

TEST_F(StationSetup, DoneWritesTheTypedStationAndOpensTheInStateWindow)
{
    frmStationID& d = open();
    QTest::keyClicks(d.Text[1], "w5abc");
    QTest::keyClicks(d.Text[5], "zq");
    QTest::keyClicks(d.Text[8], "cedar falls");
    d.Text[6]->selectAll();
    QTest::keyClicks(d.Text[6], "5");
    QTest::keyClicks(d.Text[2], "USA");
    EXPECT_EQ(d.Text[2]->text(), "USA");
    EXPECT_EQ(d.Text[3]->text(), "97");
    EXPECT_EQ(d.Text[4]->text(), "38");
    EXPECT_EQ(d.Text[7]->text(), "NA");
    QTest::keyClicks(d.Text[9], "stx");
    QTest::mouseClick(d.Option1, Qt::LeftButton);
    ASSERT_TRUE(d.Option1->isChecked());
    QTest::mouseClick(d.Command1, Qt::LeftButton);

    const QByteArray expected = "\"W5ABC\"\r\n\"ZQ\"\r\n\"USA\"\r\n\"STX\"\r\n\"\"\r\n\"\"\r\n"
                                "\"Cedar Falls\"\r\n\"\"\r\n\"PH\"\r\n\"20\"\r\n5\r\n97\r\n38\r\n"
                                "\"NA\"\r\n100\r\n16711680\r\n0\r\n0\r\n\"ZQ\"\r\n0\r\n0\r\n0\r\n"
                                "\"None\"\r\n0\r\n0\r\n";
    EXPECT_EQ(env.readWorkFile("QSOpref.txt"), expected);

    QFile shared(sharedFile());
    ASSERT_TRUE(shared.open(QIODevice::ReadOnly));
    EXPECT_EQ(shared.readAll(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
              "<OWN_CALL>W5ABC</OWN_CALL>\r\n"
              "<OWN_SPC>ZQ</OWN_SPC>\r\n"
              "<OWN_UTC>5</OWN_UTC>\r\n"
              "<OWN_COUNTY>Cedar Falls</OWN_COUNTY>\r\n"
              "<OWN_COUNTRY>USA</OWN_COUNTRY>\r\n"
              "<OWN_LONGITUDE>97</OWN_LONGITUDE>\r\n"
              "<OWN_LATITUDE>38</OWN_LATITUDE>\r\n"
              "<OWN_CONTINENT>NA</OWN_CONTINENT>\r\n"
              "<OWN_ARRL_SECTION>STX</OWN_ARRL_SECTION>\r\n");

    EXPECT_TRUE(WindowRegistry::isLoaded<Infrm>());
    EXPECT_FALSE(WindowRegistry::isLoaded<Outfrm>());
    EXPECT_FALSE(WindowRegistry::isLoaded<frmStationID>());
}

TEST_F(StationSetup, DoneReplacesNonNumbersByZeroAndKeepsHiddenValues)
{
    StationSettings s;
    s.OwnName = "Pat";
    s.OwnCategory = "SINGLE-OP";
    s.OwnCity = "Oakridge";
    writePrefs(s);
    frmStationID& d = open();
    EXPECT_EQ(d.Text[10]->text(), "Pat");
    d.Text[6]->setText("-");
    d.Text[3]->setText(".");
    d.Text[4]->setText("1/2");
    d.Text[3]->setText(".");
    QTest::keyClick(d.Text[1], Qt::Key_Return); // Enter in a field runs Done

    const StationSettings& now = StationSettings::instance();
    EXPECT_EQ(now.UtcOffsetHours, 0.f);
    EXPECT_EQ(now.OwnLongitude, 0.f);
    EXPECT_EQ(now.OwnLatitude, 0.f);
    QFile shared(sharedFile());
    ASSERT_TRUE(shared.open(QIODevice::ReadOnly));
    const QByteArray xml = shared.readAll();
    EXPECT_TRUE(xml.contains("<OWN_UTC>0</OWN_UTC>\r\n<OWN_COUNTY>"));
    EXPECT_TRUE(xml.contains("<OWN_LONGITUDE>0</OWN_LONGITUDE>\r\n<OWN_LATITUDE>0</OWN_LATITUDE>"));
    EXPECT_EQ(now.OwnName, "Pat");
    EXPECT_EQ(now.OwnCategory, "SINGLE-OP");
    EXPECT_EQ(now.OwnCity, "Oakridge");
    EXPECT_FALSE(WindowRegistry::isLoaded<frmStationID>());
}

TEST_F(StationSetup, StoredChoicesAndTheYesNoRoverOptions)
{
    StationSettings s;
    s.OutOfStateFlag = 0;
    s.RoverFlag = 1;
    writePrefs(s);
    frmStationID& d = open();
    EXPECT_TRUE(d.Option1->isChecked());
    EXPECT_TRUE(d.Option4->isChecked());
    EXPECT_TRUE(d.Frame2->isEnabled());

    QTest::mouseClick(d.Option2, Qt::LeftButton);
    EXPECT_TRUE(d.Option2->isChecked());
    EXPECT_FALSE(d.Option4->isChecked());
    EXPECT_TRUE(d.Option3->isChecked());
    EXPECT_FALSE(d.Frame2->isEnabled());
    EXPECT_FALSE(d.Option4->isEnabled());

    QTest::mouseClick(d.Option1, Qt::LeftButton);
    EXPECT_TRUE(d.Frame2->isEnabled());
    EXPECT_TRUE(d.Option4->isEnabled());
    QTest::mouseClick(d.Option4, Qt::LeftButton);
    EXPECT_TRUE(d.Option4->isChecked());

    QTest::mouseClick(d.Command1, Qt::LeftButton);
    EXPECT_EQ(StationSettings::instance().OutOfStateFlag, 0);
    EXPECT_EQ(StationSettings::instance().RoverFlag, 1);
}

TEST_F(StationSetup, KeyFiltersOfTheFields)
{
    frmStationID& d = open();
    struct Case {
        int box;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {1, "w5abc/p", "W5ABC/P"},
        {5, "zq", "ZQ"},
        {7, "na", "NA"},
        {9, "stx", "STX"},
        {6, "-5.5a", "-5.5"},
        {6, "12345678", "1234567"}, // at most 7 characters
        {3, "x97.25", "97.25"},
        {4, "-38/,", "-38/"},
        {8, "cedar falls", "Cedar Falls"},
        {8, "mc kinley", "Mc Kinley"},
        {8, "two  blanks", "Two  Blanks"},
    };
    for (const Case& c : cases) {
        d.Text[c.box]->clear();
        QTest::keyClicks(d.Text[c.box], c.typed);
        EXPECT_EQ(d.Text[c.box]->text(), c.shown) << c.typed;
    }
    // A letter typed at the start of the county is upper-cased too.
    d.Text[8]->setText("ake");
    d.Text[8]->setCursorPosition(0);
    QTest::keyClicks(d.Text[8], "l");
    EXPECT_EQ(d.Text[8]->text(), "Lake");
    EXPECT_TRUE(WindowRegistry::isLoaded<frmStationID>());
}

TEST_F(StationSetup, LeavingTheUtcFieldWithoutANumberBeepsAndStays)
{
    frmStationID& d = open();
    QApplication::setActiveWindow(&d);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));

    for (const char* text : {"-", ".", "", "5-"}) {
        env.prompt().clear();
        d.Text[6]->setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(d.Text[6]->hasFocus());
        d.Text[6]->setText(QString::fromLatin1(text));
        QTest::keyClick(d.Text[6], Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_EQ(env.prompt().beeps(), 1) << text;
        EXPECT_TRUE(d.Text[6]->hasFocus()) << text;
    }

    env.prompt().clear();
    d.Text[6]->setText("-5.5");
    QTest::keyClick(d.Text[6], Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(env.prompt().beeps(), 0);
    EXPECT_TRUE(d.Text[2]->hasFocus());
}

TEST_F(StationSetup, CountryCompletionFromTheLaterRowOfTheTable)
{
    QFile::remove(env.workPath("arrlpre2.txt"));
    env.writeWorkFile("arrlpre2.txt",
                      "\"A\",\"Alpha\",\"EU\",-1.5,50,14,27,0\r\n"
                      "\"B\",\"Bravo\",\"AF\",-20,10,35,46,0\r\n"
                      "\"C\",\"Alpine\",\"AS\",-100.25,-20.5,24,44,0\r\n");
    frmStationID& d = open();
    EntryBox* box = d.Text[2];

    QTest::keyClicks(box, "a");
    EXPECT_EQ(box->text(), "Alpine");
    EXPECT_EQ(box->selectedText(), "lpine");
    EXPECT_EQ(d.Text[3]->text(), "-100.25");
    EXPECT_EQ(d.Text[4]->text(), "-20.5");
    EXPECT_EQ(d.Text[7]->text(), "AS");

    QTest::keyClicks(box, "lph");
    EXPECT_EQ(box->text(), "Alpha");
    EXPECT_EQ(box->selectedText(), "a");
    EXPECT_EQ(d.Text[3]->text(), "-1.5");
    EXPECT_EQ(d.Text[4]->text(), "50");
    EXPECT_EQ(d.Text[7]->text(), "EU");

    // No country begins so: the letter goes in and nothing else changes.
    box->clear();
    QTest::keyClicks(box, "x");
    EXPECT_EQ(box->text(), "X");
    EXPECT_EQ(d.Text[7]->text(), "EU");

    // Enter does not run Done here.
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(WindowRegistry::isLoaded<frmStationID>());
    EXPECT_FALSE(WindowRegistry::isLoaded<Outfrm>());
}

TEST_F(StationSetup, AShortPreferencesFileIsReportedAndTheOtherStepsStillRun)
{
    StationSettings s;
    s.OwnCall = "K5XYZ";
    s.CurrentBand = "40";
    s.UtcOffsetHours = 3; // beyond the 10 lines written
    writePrefs(s);
    const QByteArray full = env.readWorkFile("QSOpref.txt");
    QByteArray tenLines;
    int ends = 0;
    for (char c : full) {
        tenLines += c;
        if (c == '\n' && ++ends == 10)
            break;
    }
    env.writeWorkFile("QSOpref.txt", tenLines);
    env.writeWorkFile("wave2.txt", fileLines({"\"/snd/f1.wav\"", "\"\"", "\"\"", "\"\"", "\"\"",
                                              "\"\"", "\"\"", "\"\"", "\"\"", "\"0\"", "2",
                                              "\"2\"", "\"&H378\""}));

    frmStationID& d = open();
    EXPECT_EQ(messages(), QStringList{kLoadFailure});
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{kLoadFailureTitle});
    EXPECT_EQ(d.Text[1]->text(), "K5XYZ");
    EXPECT_EQ(StationSettings::instance().CurrentBand, "40");
    EXPECT_EQ(d.Text[6]->text(), "0");
    EXPECT_GT(CountryTable::instance().CountryCount, 300);
    EXPECT_FALSE(StateTable::instance().StateCode[50].isEmpty());
    PhoneFrm* phone = WindowRegistry::existing<PhoneFrm>();
    ASSERT_NE(phone, nullptr);
    EXPECT_EQ(phone->Text[1]->text(), "/snd/f1.wav");
    EXPECT_TRUE(phone->Option3->isChecked());
    EXPECT_EQ(phone->tmrRepeat->interval(), 2000);
    EXPECT_FALSE(phone->isVisible());
}

TEST_F(StationSetup, EachDamagedFileIsReportedOnceAndTheRestLoads)
{
    QFile::remove(env.workPath("states.txt"));
    env.writeWorkFile("wave2.txt", "\"/snd/f1.wav\"\r\n");
    env.writeWorkFile("cw.txt", fileLines({"\"CQ\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"",
                                           "\"\"", "\"\"", "\"\"", "\"0\"", "\"25\""}));
    StationSettings s;
    s.OwnCall = "N0CALL";
    writePrefs(s);

    frmStationID& d = open();
    EXPECT_EQ(messages(), (QStringList{kLoadFailure, kLoadFailure})); // states.txt, wave2.txt
    EXPECT_GT(CountryTable::instance().CountryCount, 300);
    EXPECT_TRUE(StateTable::instance().StateCode[1].isEmpty());
    ASSERT_NE(WindowRegistry::existing<PhoneFrm>(), nullptr);
    EXPECT_EQ(WindowRegistry::existing<PhoneFrm>()->Text[1]->text(), "/snd/f1.wav");
    CWFrm* cw = WindowRegistry::existing<CWFrm>();
    ASSERT_NE(cw, nullptr);
    EXPECT_EQ(cw->Text[1]->text(), "CQ");
    EXPECT_EQ(cw->Text[11]->text(), "25");
    EXPECT_EQ(d.Text[1]->text(), "N0CALL");
}

TEST_F(StationSetup, KeyerSettingsFilesFillTheKeyers)
{
    env.writeWorkFile("wave2.txt", fileLines({"\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"",
                                              "\"\"", "\"/snd/f9.wav\"", "\"1\"", "1", "\"0\"",
                                              "\"&H278\""}));
    env.writeWorkFile("CW.txt", fileLines({"\"CQ ZQ\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"",
                                           "\"\"", "\"\"", "\"1\"", "\"28\"", "\"\"", "\"\"", "\"0\"",
                                           "2", "\"&H378\"", "1", "\"3\""}));
    open();
    EXPECT_TRUE(env.prompt().calls().empty());
    PhoneFrm* phone = WindowRegistry::existing<PhoneFrm>();
    CWFrm* cw = WindowRegistry::existing<CWFrm>();
    ASSERT_NE(phone, nullptr);
    ASSERT_NE(cw, nullptr);
    EXPECT_EQ(phone->Text[9]->text(), "/snd/f9.wav");
    EXPECT_TRUE(phone->Option2->isChecked());
    EXPECT_EQ(cw->Text[1]->text(), "CQ ZQ");
    EXPECT_EQ(cw->Text[9]->text(), "VVV DE ");
    EXPECT_EQ(cw->Text[11]->text(), "28");
    EXPECT_TRUE(cw->Option2->isChecked());
    EXPECT_EQ(cw->tmrRepeat->interval(), 3000);
    EXPECT_EQ(KeyingState::instance().CwKeyingMethod, 2);
    EXPECT_FALSE(cw->isVisible());
    EXPECT_FALSE(phone->isVisible());
}

class UtcOffsetQuestion : public StationSetup {
protected:
    void SetUp() override
    {
        StationSetup::SetUp();
        StationSettings s;
        s.UtcOffsetHours = 6;
        writePrefs(s);
        stored = env.readWorkFile("QSOpref.txt");
        env.clock().setLocalOffset(-5 * 3600); // UTC minus local: 300 minutes
    }
    QByteArray stored;
};

TEST_F(UtcOffsetQuestion, OffersTheClocksOffsetAndCancelKeepsTheStoredOne)
{
    env.prompt().answerInputCancel();
    frmStationID& d = open();
    const auto inputs = env.prompt().callsOf(Kind::Input);
    ASSERT_EQ(inputs.size(), 1u);
    EXPECT_EQ(inputs[0].title, "Update the Local Time / UTC Offset?");
    EXPECT_EQ(inputs[0].defaultAnswer, "5");
    EXPECT_EQ(inputs[0].text,
              "Would you like to adjust the UTC offset in this program for your local time "
              "setting?\r\n\r\nCurrent System Time: 18:30\r\n\r\nCurrent Local Time: 13:30"
              "\r\n\r\nRecommended Offset Setting: 5\r\n\r\nCurrent Offset Setting: 6\r\n\r\n"
              "Please click OK to accept the recommended change or Cancel to keep the "
              "current setting.");
    EXPECT_EQ(StationSettings::instance().UtcOffsetHours, 6.f);
    EXPECT_EQ(d.Text[6]->text(), "6");
    EXPECT_EQ(env.readWorkFile("QSOpref.txt"), stored);
}

TEST_F(UtcOffsetQuestion, AcceptingStoresAndSavesTheAnswer)
{
    env.prompt().answerInput("5");
    frmStationID& d = open();
    EXPECT_EQ(StationSettings::instance().UtcOffsetHours, 5.f);
    EXPECT_EQ(d.Text[6]->text(), "5");
    const QStringList lines = QString::fromUtf8(env.readWorkFile("QSOpref.txt")).split("\r\n");
    ASSERT_GE(lines.size(), 25);
    EXPECT_EQ(lines[10], "5");
    EXPECT_EQ(lines[0], "\"\"");
}

TEST_F(UtcOffsetQuestion, AnAnswerThatIsNotANumberChangesNothing)
{
    env.prompt().answerInput("five");
    open();
    EXPECT_EQ(StationSettings::instance().UtcOffsetHours, 6.f);
    EXPECT_EQ(env.readWorkFile("QSOpref.txt"), stored);
}

TEST_F(UtcOffsetQuestion, NoQuestionWhenTheOffsetsAgree)
{
    env.clock().setLocalOffset(-6 * 3600);
    open();
    EXPECT_TRUE(env.prompt().callsOf(Kind::Input).empty());
}

TEST(RecommendedUtcOffset, FromOneInstantCountedToTheMinute)
{
    struct Case {
        const char* what;
        QDateTime utc;
        int localOffsetSeconds;
        float expected;
    };
    const QDate day(2026, 9, 12);
    const Case cases[] = {
        {"five hours west", QDateTime(day, QTime(18, 30, 59, 900), QTimeZone::utc()), -5 * 3600, 5.f},
        {"across midnight", QDateTime(day, QTime(2, 0), QTimeZone::utc()), -5 * 3600, 5.f},
        {"half hour east", QDateTime(day, QTime(18, 30), QTimeZone::utc()), 5 * 3600 + 1800, -5.5f},
        {"three quarters east", QDateTime(day, QTime(18, 30), QTimeZone::utc()), 5 * 3600 + 2700,
         -5.75f},
        {"twenty minutes", QDateTime(day, QTime(18, 30), QTimeZone::utc()), -20 * 60, 0.33f},
        {"Greenwich", QDateTime(day, QTime(23, 59, 59), QTimeZone::utc()), 0, 0.f},
    };
    for (const Case& c : cases) {
        FakeClock clock(c.utc, c.localOffsetSeconds);
        EXPECT_EQ(RecommendedUtcOffset(clock.now()), c.expected) << c.what;
    }
}

TEST_F(StationSetup, ClosingWithoutDoneEndsTheProgramAndWritesNothing)
{
    frmStationID& d = open();
    d.close();
    EXPECT_TRUE(programEnded());
    EXPECT_FALSE(QFile::exists(env.workPath("QSOpref.txt")));
    EXPECT_FALSE(QFile::exists(sharedFile()));
    EXPECT_FALSE(WindowRegistry::isLoaded<Outfrm>());
    EXPECT_FALSE(WindowRegistry::isLoaded<Infrm>());
}
