// The keyers' settings files and their way into the keyer windows.

#include "common/EntryBox.h"
#include "common/WindowRegistry.h"
#include "keying/CWFrm.h"
#include "keying/KeyerSettings.h"
#include "keying/KeyingState.h"
#include "keying/PhoneFrm.h"
#include "keying/frmWinKey.h"
#include "support/KeyingTestSupport.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QPushButton>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <limits>

using namespace zq;

namespace {

QByteArray lines(const QStringList& values)
{
    QByteArray out;
    for (const QString& v : values)
        out += (v + QStringLiteral("\r\n")).toUtf8();
    return out;
}

// A full CW.txt: messages, port 2, speed 22, F10/F11, word space -1,
// method `method`, address, echo 0, repeat `repeat`.
QStringList cwValues(const QString& method = QStringLiteral("5"),
                     const QString& repeat = QStringLiteral("\"1.5\""))
{
    return {"\"CQ ZQ DE W5ABC\"", "\"TU\"", "\"3\"", "\"4\"", "\"5\"", "\"6\"", "\"7\"", "\"8\"",
            "\"\"", "\"2\"", "\"22\"", "\"F10 MSG\"", "\"F11 MSG\"", "\"-1\"", method,
            "\"&H278\"", "0", repeat};
}

QStringList waveValues(const QString& line = QStringLiteral("1"),
                       const QString& pause = QStringLiteral("\"2\""))
{
    return {"\"/snd/f1.wav\"", "\"/snd/f2.wav\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"",
            "\"/snd/f9.wav\"", "\"3\"", line, pause, "\"&H3BC\""};
}

} // namespace

TEST(CwSettingsFile, DesignValuesWriteAsEighteenLines)
{
    const QByteArray expected = "\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
                                "\"\"\r\n\"0\"\r\n\"13\"\r\n\"\"\r\n\"\"\r\n\"0\"\r\n0\r\n"
                                "\"&H378\"\r\n1\r\n\"0\"\r\n";
    EXPECT_EQ(formatCwSettings(CwSettings{}), expected);
}

TEST(CwSettingsFile, ReadsBackWhatWasWritten)
{
    CwSettings s;
    for (int i = 1; i <= 14; ++i)
        s.Text[i] = QStringLiteral("V%1 $ * ^ !").arg(i);
    s.txtSpace = QStringLiteral("-8");
    s.CwKeyingMethod = 3;
    s.Check1 = 0;
    s.txtCWLoop = QStringLiteral("12");
    const CwSettingsRead r = parseCwSettings(formatCwSettings(s));
    ASSERT_TRUE(r.complete);
    EXPECT_EQ(r.valuesRead, 18);
    for (int i = 1; i <= 14; ++i)
        EXPECT_EQ(r.settings.Text[i], s.Text[i]) << i;
    EXPECT_EQ(r.settings.txtSpace, "-8");
    EXPECT_EQ(r.settings.CwKeyingMethod, 3);
    EXPECT_EQ(r.settings.Check1, 0);
    EXPECT_EQ(r.settings.txtCWLoop, "12");
    EXPECT_EQ(r.settings.repeatIntervalMs, 12000);
}

TEST(CwSettingsFile, ReadingStopsAtTheFirstMissingOrUnusableValue)
{
    struct Case {
        const char* what;
        QStringList values;
        int valuesRead;
        bool complete;
    };
    QStringList shortFile = cwValues().mid(0, 14);
    QStringList fifteen = cwValues().mid(0, 15);
    QStringList badMethod = cwValues(QStringLiteral("\"x\""));
    QStringList bigMethod = cwValues(QStringLiteral("256"));
    QStringList badEcho = cwValues();
    badEcho[16] = QStringLiteral("2");
    QStringList badRepeat = cwValues(QStringLiteral("5"), QStringLiteral("\"soon\""));
    QStringList negativeRepeat = cwValues(QStringLiteral("5"), QStringLiteral("\"-1\""));
    const Case cases[] = {
        {"14 lines", shortFile, 14, false},
        {"15 lines", fifteen, 15, false},
        {"method not a number", badMethod, 14, false},
        {"method beyond a byte", bigMethod, 14, false},
        {"echo neither 0 nor 1", badEcho, 16, false},
        {"repeat not a number", badRepeat, 18, false},
        {"negative repeat", negativeRepeat, 18, false},
        {"full file", cwValues(), 18, true},
    };
    for (const Case& c : cases) {
        const CwSettingsRead r = parseCwSettings(lines(c.values));
        EXPECT_EQ(r.valuesRead, c.valuesRead) << c.what;
        EXPECT_EQ(r.complete, c.complete) << c.what;
    }
    EXPECT_EQ(parseCwSettings(lines(cwValues())).settings.repeatIntervalMs, 1500);
    EXPECT_EQ(parseCwSettings(lines(fifteen)).settings.CwKeyingMethod, 5);
}

TEST(CwSettingsFile, AnEmptyF9MessageComesBackAsVvvDe)
{
    const CwSettingsRead r = parseCwSettings(lines(cwValues()));
    EXPECT_EQ(r.settings.Text[9], "VVV DE ");
    EXPECT_EQ(r.settings.Text[8], "8");
    // Also when the file ends right after it.
    EXPECT_EQ(parseCwSettings(lines(cwValues().mid(0, 9))).settings.Text[9], "VVV DE ");
}

TEST(CwSettingsFile, AMessageOfOnlyUnwritableCharactersReadsAsItWritesBack)
{
    // A CR inside the quotes cannot be written back: it is not taken, so
    // the F9 message made only of it is empty, and "VVV DE ", at the first
    // reading already, and every later reading agrees.
    QStringList values = cwValues();
    values[0] = QStringLiteral("\"CQ\rZQ\"");
    values[8] = QStringLiteral("\"\r\"");
    const CwSettingsRead r = parseCwSettings(lines(values));
    ASSERT_TRUE(r.complete);
    EXPECT_EQ(r.settings.Text[1], "CQZQ");
    EXPECT_EQ(r.settings.Text[9], "VVV DE ");
    const CwSettingsRead again = parseCwSettings(formatCwSettings(r.settings));
    EXPECT_EQ(again.settings.Text, r.settings.Text);
}

TEST(ReadCWSettings, FillsTheKeyerWindowFromCwTxtWithoutShowingIt)
{
    test::TestEnv env;
    env.writeWorkFile("CW.txt", lines(cwValues()));
    ReadCWSettings();

    CWFrm* w = WindowRegistry::existing<CWFrm>();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "CW String Selections");
    EXPECT_EQ(w->Text[1]->text(), "CQ ZQ DE W5ABC");
    EXPECT_EQ(w->Text[9]->text(), "VVV DE ");
    EXPECT_EQ(w->Text[10]->text(), "2");
    EXPECT_EQ(w->Text[11]->text(), "22");
    EXPECT_EQ(w->Text[12]->text(), "F10 MSG");
    EXPECT_EQ(w->Text[13]->text(), "F11 MSG");
    EXPECT_EQ(w->Text[14]->text(), "&H278");
    EXPECT_EQ(w->txtSpace->text(), "-1");
    EXPECT_EQ(w->txtCWLoop->text(), "1.5");
    EXPECT_FALSE(w->Check1->isChecked());
    EXPECT_EQ(w->tmrRepeat->interval(), 1500);
    EXPECT_FALSE(w->tmrRepeat->isActive());
    EXPECT_EQ(KeyingState::instance().CwKeyingMethod, 5);
    EXPECT_TRUE(w->Option5->isChecked());
    EXPECT_FALSE(w->Option4->isChecked());
    EXPECT_TRUE(env.prompt().calls().empty());

    // What the controls hold writes back as the file's values.
    const CwSettingsRead again = parseCwSettings(formatCwSettings(w->currentSettings()));
    EXPECT_TRUE(again.complete);
    EXPECT_EQ(again.settings.Text[1], "CQ ZQ DE W5ABC");
    EXPECT_EQ(again.settings.CwKeyingMethod, 5);
}

TEST(ReadCWSettings, MethodOptionsFollowTheStoredMethod)
{
    // The method and its button always agree, also for a file that ends
    // right after the method; a method the keyer does not know reads as none.
    struct Case {
        const char* method;
        int lines;
        const char* chosen; // option name checked afterwards
        int value;          // CwKeyingMethod afterwards
    };
    const Case cases[] = {{"1", 18, "Option1", 1}, {"2", 18, "Option2", 2},
                          {"3", 18, "Option3", 3}, {"0", 18, "Option4", 0},
                          {"5", 18, "Option5", 5}, {"7", 18, "Option4", 0},
                          {"4", 18, "Option4", 0}, {"2", 15, "Option2", 2},
                          {"5", 15, "Option5", 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " in " + std::to_string(c.lines) + " lines");
        test::TestEnv env;
        env.writeWorkFile("cw.txt", lines(cwValues(QString::fromLatin1(c.method)).mid(0, c.lines)));
        ReadCWSettings();
        CWFrm* w = WindowRegistry::existing<CWFrm>();
        ASSERT_NE(w, nullptr);
        for (QRadioButton* o : {w->Option1, w->Option2, w->Option3, w->Option4, w->Option5})
            EXPECT_EQ(o->isChecked(), o->objectName() == QLatin1String(c.chosen))
                << o->objectName().toStdString();
        EXPECT_EQ(KeyingState::instance().CwKeyingMethod, c.value);
        // "WinKey" shows its set-up button and loads the WinKeyer window.
        EXPECT_EQ(w->cmdConfWinkey->isVisibleTo(w), c.value == 5);
        EXPECT_EQ(WindowRegistry::isLoaded<frmWinKey>(), c.value == 5);
    }
}

TEST(ReadCWSettings, AShortFileKeepsTheLaterDesignValues)
{
    test::TestEnv env;
    env.writeWorkFile("cw.txt", lines(cwValues().mid(0, 14)));
    ReadCWSettings();
    CWFrm* w = WindowRegistry::existing<CWFrm>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Text[1]->text(), "CQ ZQ DE W5ABC");
    EXPECT_EQ(w->Text[10]->text(), "2");
    EXPECT_EQ(w->Text[11]->text(), "22");
    EXPECT_EQ(w->txtSpace->text(), "-1");
    EXPECT_EQ(KeyingState::instance().CwKeyingMethod, 0);
    EXPECT_TRUE(w->Option4->isChecked());
    EXPECT_EQ(w->Text[14]->text(), "&H378");
    EXPECT_TRUE(w->Check1->isChecked());
    EXPECT_EQ(w->txtCWLoop->text(), "0");
    EXPECT_EQ(w->tmrRepeat->interval(), 0);
    EXPECT_TRUE(env.prompt().calls().empty());
}

TEST(ReadCWSettings, AMissingFileIsSilentAndLoadsNoWindow)
{
    test::TestEnv env;
    ReadCWSettings();
    EXPECT_FALSE(WindowRegistry::isLoaded<CWFrm>());
    EXPECT_TRUE(env.prompt().calls().empty());
    EXPECT_EQ(DefaultInstance<CWFrm>().Text[11]->text(), "13");
}

TEST(WaveSettingsFile, WritesThirteenLinesWithTrimmedPaths)
{
    PhoneSettings s;
    s.Text[1] = QStringLiteral("  /snd/cq.wav ");
    s.Text[10] = QStringLiteral(" 2");
    s.PttLine = 2;
    s.txtPHLoop = QStringLiteral("1.5");
    const QByteArray expected = "\"/snd/cq.wav\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
                                "\"\"\r\n\"\"\r\n\" 2\"\r\n2\r\n\"1.5\"\r\n\"&H378\"\r\n";
    EXPECT_EQ(formatPhoneSettings(s), expected);
    const PhoneSettingsRead r = parsePhoneSettings(expected);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.settings.Text[1], "/snd/cq.wav");
    EXPECT_EQ(r.settings.PttLine, 2);
    EXPECT_EQ(r.settings.repeatIntervalMs, 1500);
}

TEST(WaveSettingsFile, PauseAndShortFiles)
{
    struct Case {
        const char* what;
        QStringList values;
        int valuesRead;
        bool complete;
        const char* pause;
        int intervalMs;
    };
    const Case cases[] = {
        {"pause of 2 s", waveValues(), 13, true, "2", 2000},
        {"pause of 1.5 s", waveValues("1", "\"1.5\""), 13, true, "1.5", 1500},
        {"pause of 90 s taken as it stands", waveValues("1", "\"90\""), 13, true, "90", 90000},
        {"negative pause is a bad value", waveValues("1", "\"-3\""), 11, false, "0", 0},
        {"pause not a number", waveValues("1", "\"abc\""), 11, false, "0", 0},
        {"PTT line not a number", waveValues("\"x\""), 10, false, "0", 0},
        {"12 lines", waveValues().mid(0, 12), 12, false, "2", 2000},
        {"empty file", {}, 0, false, "0", 0},
    };
    for (const Case& c : cases) {
        const PhoneSettingsRead r = parsePhoneSettings(lines(c.values));
        EXPECT_EQ(r.valuesRead, c.valuesRead) << c.what;
        EXPECT_EQ(r.complete, c.complete) << c.what;
        EXPECT_EQ(r.settings.txtPHLoop, c.pause) << c.what;
        EXPECT_EQ(r.settings.repeatIntervalMs, c.intervalMs) << c.what;
    }
}

TEST(LoadWaveSettings, FillsTheVoiceKeyerWindowWithoutShowingIt)
{
    test::TestEnv env;
    env.writeWorkFile("wave2.txt", lines(waveValues()));
    EXPECT_EQ(LoadWaveSettings(), WaveSettingsLoad::Ok);
    PhoneFrm* w = WindowRegistry::existing<PhoneFrm>();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Phone Wave Selections");
    EXPECT_EQ(w->Text[1]->text(), "/snd/f1.wav");
    EXPECT_EQ(w->Text[9]->text(), "/snd/f9.wav");
    EXPECT_EQ(w->Text[10]->text(), "3");
    EXPECT_EQ(w->Text[11]->text(), "&H3BC");
    EXPECT_TRUE(w->Option2->isChecked());
    EXPECT_EQ(w->txtPHLoop->text(), "2");
    EXPECT_EQ(w->tmrRepeat->interval(), 2000);
    EXPECT_FALSE(w->tmrRepeat->isActive());
    EXPECT_EQ(formatPhoneSettings(w->currentSettings()), lines(waveValues()));
}

TEST(LoadWaveSettings, WaveFileNamesAreTakenWithoutBlanksAroundThem)
{
    // Blanks inside the quotes of a wave file name are dropped as Done
    // drops them; the other texts stay as they stand.
    test::TestEnv env;
    QStringList values = waveValues();
    values[0] = QStringLiteral("\" /snd/f1.wav \"");
    values[8] = QStringLiteral("\"/snd/f9.wav\t\"");
    values[9] = QStringLiteral("\" 3\"");
    env.writeWorkFile("wave2.txt", lines(values));
    EXPECT_EQ(LoadWaveSettings(), WaveSettingsLoad::Ok);
    PhoneFrm* w = WindowRegistry::existing<PhoneFrm>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Text[1]->text(), "/snd/f1.wav");
    EXPECT_EQ(w->Text[9]->text(), "/snd/f9.wav");
    EXPECT_EQ(w->Text[10]->text(), " 3");
    const PhoneSettingsRead r = parsePhoneSettings(lines(values));
    EXPECT_EQ(parsePhoneSettings(formatPhoneSettings(r.settings)).settings.Text, r.settings.Text);
}

TEST(LoadWaveSettings, AnUnknownPttLineLeavesTheChoice)
{
    test::TestEnv env;
    env.writeWorkFile("wave2.txt", lines(waveValues("5")));
    EXPECT_EQ(LoadWaveSettings(), WaveSettingsLoad::Ok);
    PhoneFrm* w = WindowRegistry::existing<PhoneFrm>();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Option1->isChecked());
    EXPECT_FALSE(w->Option2->isChecked());
    EXPECT_FALSE(w->Option3->isChecked());
}

TEST(LoadWaveSettings, MissingAndShortFiles)
{
    {
        test::TestEnv env;
        EXPECT_EQ(LoadWaveSettings(), WaveSettingsLoad::Missing);
        EXPECT_FALSE(WindowRegistry::isLoaded<PhoneFrm>());
    }
    {
        test::TestEnv env;
        env.writeWorkFile("wave2.txt", lines(waveValues().mid(0, 10)));
        EXPECT_EQ(LoadWaveSettings(), WaveSettingsLoad::Failed);
        PhoneFrm* w = WindowRegistry::existing<PhoneFrm>();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->Text[10]->text(), "3");
        EXPECT_TRUE(w->Option1->isChecked());
        EXPECT_EQ(w->txtPHLoop->text(), "0");
        EXPECT_EQ(w->Text[11]->text(), "&H378");
    }
}

TEST(KeyerRepeat, F1StartsTheRepeatWithTheTypedDelay)
{
    // A delay too long for a timer takes the longest interval a timer has.
    const struct {
        const char* delay;
        int intervalMs;
    } cases[] = {{"2", 2000}, {"3000000", std::numeric_limits<int>::max()}};
    for (const auto& c : cases) {
        test::TestEnv env;
        test::RecordedKeying rec;
        KeyingState::instance().CwKeyingMethod = 1;
        CWFrm& cw = DefaultInstance<CWFrm>();
        cw.Text[1]->setText("E");
        cw.txtCWLoop->setText(c.delay);
        int f1 = 112;
        cw.FKeyCW(f1);
        EXPECT_TRUE(cw.tmrRepeat->isActive()) << c.delay;
        EXPECT_EQ(cw.tmrRepeat->interval(), c.intervalMs) << c.delay;
        // A coarse timer may fire 5 % of the delay early or late: the
        // period would swing by 200 ms at 2 s.
        EXPECT_EQ(cw.tmrRepeat->timerType(), Qt::PreciseTimer) << c.delay;

    }
}
