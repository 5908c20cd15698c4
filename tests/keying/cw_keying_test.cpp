// Morse keying through the CW keyer window: patterns, units, word space,
// speed, timing methods, the key-line ports and their failures, and the
// macros of the message keys.

#include "common/EntryBox.h"
#include "common/ModalShow.h"
#include "common/WindowRegistry.h"
#include "keying/CWFrm.h"
#include "keying/CntyAbbCW.h"
#include "keying/KeyingState.h"
#include "keying/MorseCode.h"
#include "logstore/CountyTable.h"
#include "platform/KeyingPorts.h"
#include "support/KeyingTestSupport.h"
#include "support/RefusedPort.h"
#include "support/TestEnv.h"

#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

using namespace zq;
using namespace zq::test;

namespace {

class CwKeyingTest : public ::testing::Test {
protected:
    TestEnv env;
    RecordedKeying rec;
    KeyingState& ks = KeyingState::instance();
    CWFrm& cw = DefaultInstance<CWFrm>();
    QStringList modal; // windows shown modally

    void SetUp() override
    {
        setModalShowHandlerForTesting([this](QWidget& w) { modal << w.objectName(); });
        method(1);
        cw.Text[10]->setText(QStringLiteral("1"));
        cw.Text[11]->setText(QStringLiteral("20")); // 60 ms units
    }

    void method(int m)
    {
        QRadioButton* options[] = {cw.Option4, cw.Option1, cw.Option2, cw.Option3, nullptr,
                                   cw.Option5};
        options[m]->click();
    }

    // Sends a text as the F1 message does and returns the units keyed.
    QString send(const QString& text, double unitMs = 60)
    {
        rec.restart();
        cw.Text[1]->setText(text);
        int f1 = 112;
        cw.FKeyCW(f1);
        return rec.keyedUnits(unitMs);
    }
};

TEST_F(CwKeyingTest, CharactersKeyTheirPatternsInUnits)
{
    struct Case {
        const char* text;
        const char* units;
    };
    const Case cases[] = {
        {"E", "1000"},
        {"e", "1000"},
        {"CQ", "11101011101000" "1110111010111000"},
        {"-", "1110101010111000"}, // as "=", BT
        {"=", "1110101010111000"},
        {"[", "1011101011101000"},
        {"\\", "111010111010101110101000"},
        {"#'(!", ""}, // nothing keyed, no time taken
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(send(QString::fromLatin1(c.text)), QLatin1String(c.units));
        EXPECT_DOUBLE_EQ(rec.elapsedMs(), 60.0 * static_cast<double>(strlen(c.units)));
    }
    EXPECT_DOUBLE_EQ((send("CQ"), rec.elapsedMs()), 1800.0); // 30 units at 20 WPM
    EXPECT_EQ(MorseTable(u'E'), "1000");
}

TEST_F(CwKeyingTest, WordSpaceAdjustment)
{
    struct Case {
        const char* space;
        int units; // of "PARIS "
        const char* shown; // the box after the text was set
    };
    const Case cases[] = {{"0", 54, "0"}, {"2", 56, "2"}, {"-4", 50, "-4"},
                          {"-8", 46, "-8"}, {"-9", 46, "-8"}, {"1.7", 55, "1.7"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.space);
        cw.txtSpace->setText(QString::fromLatin1(c.space));
        EXPECT_EQ(cw.txtSpace->text(), c.shown);
        EXPECT_EQ(send("PARIS ").size(), c.units);
    }
    // A word space that is not a number (while being typed) keys nothing.
    cw.txtSpace->setText(QStringLiteral("-"));
    EXPECT_EQ(send("EE"), "");
    EXPECT_EQ(characterPattern(u' ', 2), "0000000000");
    EXPECT_EQ(characterPattern(u'A', -8), "10111000"); // only the space changes
}

TEST_F(CwKeyingTest, ASpeedBelowOneOrNoNumberKeysNothingAndTakesNoTime)
{
    for (const char* speed : {"0", "-3", "", "1:3", "0.5"}) {
        SCOPED_TRACE(speed);
        cw.Text[11]->setText(QString::fromLatin1(speed));
        EXPECT_EQ(send("CQ"), "");
        EXPECT_DOUBLE_EQ(rec.elapsedMs(), 0.0);
        EXPECT_TRUE(ks.CwSendBuffer.isEmpty());
        EXPECT_EQ(ks.CwSendingBusy, 0);
    }
    for (const auto& t : rec.transitions())
        EXPECT_FALSE(t.down);
}

TEST_F(CwKeyingTest, TimingMethods)
{
    // Sleep: the unit rounded to whole milliseconds (38 ms at 32 WPM).
    cw.OptSleep->click();
    cw.Text[11]->setText(QStringLiteral("32"));
    EXPECT_EQ(send("E", 38), "1000");
    EXPECT_DOUBLE_EQ(rec.elapsedMs(), 152.0);
    const auto t = rec.transitions();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::milliseconds>(t[1].at - t[0].at).count(), 38);

    // Timer: the exact unit, 37.5 ms at 32 WPM.
    cw.optTimer->click();
    send("E");
    EXPECT_DOUBLE_EQ(rec.elapsedMs(), 150.0);

    // Loop: LoopsPer60ms / WPM x 20 passes per unit.
    cw.txtLoop->setText(QStringLiteral("600000"));
    cw.optLoop->click();
    EXPECT_EQ(cw.LoopsPer60ms, 600000);
    EXPECT_TRUE(cw.txtLoop->isEnabled());
    cw.Text[11]->setText(QStringLiteral("20"));
    EXPECT_EQ(send("E"), "1000");
    EXPECT_NEAR(rec.elapsedMs(), 240.0, 1e-3);
    cw.optTimer->click();
    EXPECT_FALSE(cw.txtLoop->isEnabled());
}

TEST_F(CwKeyingTest, ALateWakeUpStretchesOneElementAndMovesTheRest)
{
    cw.Text[11]->setText(QStringLiteral("40")); // 30 ms units
    struct Case {
        const char* text;
        int lateChange; // the change of the key line made late (0: the first)
        int lateMs;
    };
    const Case cases[] = {
        {"TT", 1, 10},     // the first dash ends late
        {"TT", 1, 100},    // later than the gap and the dash after it
        {"TT", 2, 100},    // the gap between the dashes ends late
        {"EEE", 3, 45},    // a gap between characters
        {"PARIS", 7, 250}, // in the middle of a letter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.lateChange));
        rec.restart();
        rec.clock().wakeLate(c.lateChange, std::chrono::milliseconds(c.lateMs));
        cw.Text[1]->setText(QString::fromLatin1(c.text));
        int f1 = 112;
        cw.FKeyCW(f1);

        // The ideal changes of the line, in ms from the first.
        const QString units = patternOf(QString::fromLatin1(c.text));
        std::vector<double> ideal;
        QChar prev = u'0';
        for (qsizetype i = 0; i < units.size(); ++i) {
            if (units[i] != prev)
                ideal.push_back(30.0 * double(i));
            prev = units[i];
        }
        const auto t = rec.transitions();
        ASSERT_EQ(t.size(), ideal.size());
        for (size_t k = 0; k < t.size(); ++k) {
            const double at = std::chrono::duration<double, std::milli>(t[k].at - t[0].at).count();
            const double late = int(k) >= c.lateChange ? c.lateMs : 0;
            EXPECT_NEAR(at, ideal[k] + late, 1e-3) << "change " << k;
        }
        EXPECT_NEAR(rec.elapsedMs(), 30.0 * double(units.size()) + c.lateMs, 1e-3);
    }
}

// On a quiet machine every wake-up is a little late (tens of microseconds).
// That lateness comes out of the key-up that follows instead of moving the
// rest of the schedule: the message does not drift, every change stays
// within 1 ms of its ideal moment and no element is shortened.  A longer
// lateness among them still stretches its element and moves the rest.
TEST_F(CwKeyingTest, SmallLatenessIsAbsorbedAndTheMessageDoesNotDrift)
{
    using std::chrono::microseconds;
    struct Case {
        const char* name;
        bool sleep;     // the Sleep method, else Timer
        int wpm;
        int lateChange; // a change made 10 ms late besides (-1: none)
    };
    const Case cases[] = {
        {"Timer 20 WPM", false, 20, -1},
        {"Timer 40 WPM", false, 40, -1},
        {"Sleep 32 WPM", true, 32, -1},
        {"Timer 40 WPM, one change 10 ms late", false, 40, 9},
    };
    const QString text = QStringLiteral("CQ ZQP K9XYZ CQ ZQP K9XYZ CQ ZQP K9XYZ");
    const QString units = patternOf(text);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.sleep)
            cw.OptSleep->click();
        else
            cw.optTimer->click();
        cw.Text[11]->setText(QString::number(c.wpm));
        const double unit = c.sleep ? sleepUnitMilliseconds(*unitMilliseconds(c.wpm))
                                    : *unitMilliseconds(c.wpm);
        const double lateMs = c.lateChange >= 0 ? 10 : 0;

        rec.restart();
        rec.clock().wakeLateEach({microseconds(40), microseconds(65), microseconds(90)});
        if (c.lateChange >= 0)
            rec.clock().wakeLate(c.lateChange, std::chrono::milliseconds(10));
        cw.Text[1]->setText(text);
        int f1 = 112;
        cw.FKeyCW(f1);
        rec.clock().wakeLateEach({});

        // The ideal changes of the line, in ms from the first; the late
        // change and all after it later by its lateness.
        std::vector<double> ideal;
        QChar prev = u'0';
        for (qsizetype i = 0; i < units.size(); ++i) {
            if (units[i] != prev) {
                const bool moved = c.lateChange >= 0 && int(ideal.size()) >= c.lateChange;
                ideal.push_back(unit * double(i) + (moved ? lateMs : 0));
            }
            prev = units[i];
        }
        const auto t = rec.transitions();
        ASSERT_EQ(t.size(), ideal.size());
        auto at = [&](size_t k) {
            return std::chrono::duration<double, std::milli>(t[k].at - t[0].at).count();
        };
        double worst = 0;
        size_t worstChange = 0;
        int shortened = 0; // elements keyed shorter than their units
        for (size_t k = 0; k < t.size(); ++k) {
            if (std::abs(at(k) - ideal[k]) > worst) {
                worst = std::abs(at(k) - ideal[k]);
                worstChange = k;
            }
            if (k > 0 && t[k - 1].down && at(k) - at(k - 1) < ideal[k] - ideal[k - 1] - 1e-6)
                ++shortened;
        }
        EXPECT_LE(worst, 1.0) << "change " << worstChange;
        EXPECT_EQ(shortened, 0);
        EXPECT_NEAR(rec.elapsedMs(), unit * double(units.size()) + lateMs, 3.0);
    }
}

// A message key pressed while "PARIS" is keyed replaces what follows the
// character being keyed; that character ends with its closing key-up, and
// the next one is not under way before that has passed.
TEST_F(CwKeyingTest, ANewMessageReplacesWhatFollowsTheCharacterBeingKeyed)
{
    // 20 WPM: P .--. keys units 0 to 10, its closing key-up 11 to 13;
    // A .- keys 14 to 18, its closing key-up 19 to 21.
    struct Case {
        const char* when;
        double atUnits;      // the key handled then, from the first key-down
        const char* message; // the new message
        const char* keyed;
    };
    const Case cases[] = {
        {"mid-element, P's first dash", 3.5, "E", "PE"},
        {"between P's elements", 9.5, "E", "PE"},
        {"P's closing key-up", 12.5, "E", "PE"},
        {"P's closing key-up, a key without a message", 12.5, "", "P"},
        {"mid-element, A's dash", 17, "E", "PAE"},
        {"the end of A's last element", 19, "E", "PAE"},
        {"the end of A's closing key-up", 21.9, "E", "PAE"},
    };
    cw.Text[1]->setText(QStringLiteral("PARIS"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.when);
        rec.restart();
        cw.Text[2]->setText(QString::fromLatin1(c.message));
        rec.holdAtMs(c.atUnits * 60);
        rec.whenHeld([&] {
            QTimer::singleShot(0, [&] { rec.release(); });
            int f2 = 113;
            cw.FKeyCW(f2);
            rec.release();
        });
        int f1 = 112;
        cw.FKeyCW(f1);
        EXPECT_EQ(rec.keyedText(20).toStdString(), c.keyed);
        EXPECT_TRUE(ks.CwSendBuffer.isEmpty());
        EXPECT_EQ(ks.CwSendingBusy, 0);
    }
}

TEST_F(CwKeyingTest, TheLoopMethodIsCalibratedOnTheLoopItKeysWith)
{
    // A computer whose keying loop makes 1000 passes a millisecond.
    rec.clock().setLoopSpeed(1000);
    cw.LoopsPer60ms = 0;
    cw.optLoop->click();
    EXPECT_EQ(cw.LoopsPer60ms, 60000);
    EXPECT_EQ(cw.txtLoop->text(), "60000");
    EXPECT_EQ(send("E"), "1000");
    EXPECT_NEAR(rec.elapsedMs(), 240.0, 1e-3);
}

TEST_F(CwKeyingTest, PortZeroTimesWithoutALineOrAMessage)
{
    cw.Text[10]->setText(QStringLiteral("0"));
    for (int m : {1, 2}) {
        method(m);
        EXPECT_EQ(send("E").size(), 4);
        EXPECT_DOUBLE_EQ(rec.elapsedMs(), 240.0);
    }
    EXPECT_TRUE(rec.openedPorts().empty());
    EXPECT_TRUE(env.prompt().calls().empty());

    // Method 0: no time, and a "!" does nothing.
    method(0);
    EXPECT_EQ(send("E!E"), "");
    EXPECT_DOUBLE_EQ(rec.elapsedMs(), 0.0);
}

TEST_F(CwKeyingTest, SerialAndParallelLinesAreDrivenAsChosen)
{
    struct Case {
        int method;
        KeySignal signal;
        KeyLinePort port;
        int downValue, upValue;
    };
    const Case cases[] = {
        {1, KeySignal::Rts, KeyLinePort::serial(1), 0, 0},
        {2, KeySignal::Dtr, KeyLinePort::serial(1), 0, 0},
        {3, KeySignal::Rts, KeyLinePort::parallel(QStringLiteral("&H378")), 3, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        method(c.method);
        send("E");
        const auto t = rec.transitions();
        ASSERT_EQ(t.size(), 2u);
        EXPECT_TRUE(t[0].down);
        EXPECT_FALSE(t[1].down);
        if (c.method != 3)
            EXPECT_EQ(t[0].signal, c.signal);
        EXPECT_EQ(t[0].parallelValue, c.downValue);
        EXPECT_EQ(t[1].parallelValue, c.upValue);
        auto line = KeyingPorts::instance().line(KeyingOwner::CwKeyLine);
        ASSERT_NE(line, nullptr);
        EXPECT_TRUE(line->port() == c.port);
    }
    EXPECT_TRUE(env.prompt().calls().empty());
}

TEST_F(CwKeyingTest, APortThatCannotBeOpenedReportsOnceAndDropsTheRest)
{
    struct Case {
        int method;
        const char* comPorts; // ComPorts.txt
    };
    const Case cases[] = {
        {1, "7=/nonexistent/ttyX\n"},
        {2, "7=/nonexistent/ttyX\n"},
        {3, "LPT&H2BC=/nonexistent/parport9\n"},
    };
    // F1 with a repeat delay: a port that cannot be had is not tried again.
    cw.txtCWLoop->setText(QStringLiteral("2"));
    cw.txtCWLoop_LostFocus();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        RecordedKeying real(true); // the real key lines behind the recorder
        env.prompt().clear();
        modal.clear();
        env.writeWorkFile("ComPorts.txt", c.comPorts);
        cw.Text[10]->setText(QStringLiteral("7"));
        cw.Text[14]->setText(QStringLiteral("&H2BC"));
        method(c.method);
        cw.Text[1]->setText(QStringLiteral("CQ CQ TEST"));
        int f1 = 112;
        cw.FKeyCW(f1);
        EXPECT_EQ(env.prompt().messageTexts(),
                  QStringList{"The port you have selected for CW keying is invalid.  Please select "
                              "another or enter 0 for none."});
        EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Invalid port."});
        EXPECT_EQ(env.prompt().beeps(), 1);
        EXPECT_EQ(modal, QStringList{"CWFrm"}); // shown to put the port right
        EXPECT_TRUE(ks.CwSendBuffer.isEmpty());
        EXPECT_TRUE(real.transitions().empty());
        EXPECT_DOUBLE_EQ(real.elapsedMs(), 0.0);
        EXPECT_EQ(ks.CwSendingBusy, 0);
        EXPECT_FALSE(cw.tmrRepeat->isActive());
    }
    ks.CwRepeatActive = 0;
}

// A port the operator may not open (a device of a group the user is not
// in): the message says so after its own text, naming the device, its
// group and the fix, on the serial and the parallel port alike.
TEST_F(CwKeyingTest, ARefusedPortIsReportedWithWhyAndTheFix)
{
    RefusedPort refused;
    ASSERT_TRUE(refused.ok());
    env.writeWorkFile("ComPorts.txt",
                      ("7=" + refused.device() + "\nLPT&H2BC=" + refused.device() + "\n").toUtf8());
    const QString expected = "The port you have selected for CW keying is invalid.  Please select "
                             "another or enter 0 for none.\n\n"
                             + refusal(refused);
    for (const int m : {1, 3}) {
        SCOPED_TRACE(m);
        RecordedKeying real(true); // the real key lines behind the recorder
        env.prompt().clear();
        cw.Text[10]->setText(QStringLiteral("7"));
        cw.Text[14]->setText(QStringLiteral("&H2BC"));
        method(m);
        cw.Text[1]->setText(QStringLiteral("CQ"));
        int f1 = 112;
        refused.asRefusedUser([&] { cw.FKeyCW(f1); });
        EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Invalid port."});
        EXPECT_EQ(env.prompt().messageTexts(), QStringList{expected});
        EXPECT_TRUE(real.transitions().empty());
    }
}

TEST_F(CwKeyingTest, KeysARealSerialLineOnAPseudoTerminal)
{
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    env.writeWorkFile("ComPorts.txt", QByteArray("2=") + name + "\n");
    RecordedKeying real(true);
    cw.Text[10]->setText(QStringLiteral("2"));
    method(2);
    cw.Text[1]->setText(QStringLiteral("EE"));
    int f1 = 112;
    cw.FKeyCW(f1);
    EXPECT_EQ(real.keyedText(20), "EE");
    EXPECT_TRUE(env.prompt().calls().empty());
    auto line = KeyingPorts::instance().line(KeyingOwner::CwKeyLine);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->port().serialPort, 2);
    WindowRegistry::unload<CWFrm>(); // program end: the port is closed
    EXPECT_FALSE(line->isOpen());
    ::close(slave);
    ::close(master);
}

TEST_F(CwKeyingTest, LeavingThePortBoxReopensThePort)
{
    cw.Text[10]->setText(QStringLiteral("x"));
    emit cw.Text[10]->focusLost();
    EXPECT_EQ(cw.Text[10]->text(), "0");
    EXPECT_TRUE(rec.openedPorts().empty());
    cw.Text[10]->setText(QStringLiteral("4"));
    emit cw.Text[10]->focusLost();
    ASSERT_EQ(rec.openedPorts().size(), 1u);
    EXPECT_EQ(rec.openedPorts()[0].serialPort, 4);
    EXPECT_TRUE(KeyingPorts::instance().holds(KeyingOwner::CwKeyLine));
    // The voice keyer taking a port closes it; the next character opens it again.
    KeyingPorts::instance().claimLine(KeyingOwner::Ptt, KeyLinePort::serial(4));
    EXPECT_FALSE(KeyingPorts::instance().holds(KeyingOwner::CwKeyLine));
    send("E");
    EXPECT_TRUE(KeyingPorts::instance().holds(KeyingOwner::CwKeyLine));
    EXPECT_FALSE(KeyingPorts::instance().holds(KeyingOwner::Ptt));
    EXPECT_EQ(rec.openedPorts().size(), 3u);
}

TEST_F(CwKeyingTest, UnloadingTheKeyerLeavesNoLineDown)
{
    rec.holdAtNextKeyDown();
    rec.whenHeld([&] {
        rec.release();
        WindowRegistry::unload<CWFrm>();
    });
    cw.Text[1]->setText(QStringLiteral("TEST TEST TEST"));
    int f1 = 112;
    cw.FKeyCW(f1);
    const auto t = rec.transitions();
    ASSERT_FALSE(t.empty());
    EXPECT_FALSE(t.back().down);
    EXPECT_FALSE(KeyingPorts::instance().holds(KeyingOwner::CwKeyLine));
    EXPECT_TRUE(ks.CwSendBuffer.isEmpty());
}

TEST(CwMacros, FourPassesThatEnd)
{
    TestEnv env;
    KeyingState& ks = KeyingState::instance();
    CountyTable& t = CountyTable::instance();
    t.CountyName[1] = QStringLiteral("Alderbrook");
    t.CountyAbbrev[1] = QStringLiteral("ALDB");
    t.CountyName[2] = QStringLiteral("Ash");
    t.CountyAbbrev[2] = QStringLiteral("ASHC");
    t.CountyCount = 2;
    struct Case {
        const char* message;
        const char* call;
        const char* rst;
        const char* county;
        const char* expanded;
        const char* rstAfter;
    };
    const Case cases[] = {
        {"TU $ 5NN", "W5ABC ", "", "", "TU W5ABC 5NN", ""},
        {"$ $", "", "", "", " ", ""},
        {"* *", "", "599", "", "5NN 5NN", "5NN"},
        {"*", "", "", "", "5NN", "5NN"},
        {"*", "", "579", "", "579", "579"},
        {"^ ^", "", "", "ALDERBROOK", "ALDB ALDB", ""},
        {"^", "", "", "ASH", "ASH", ""},        // abbreviation not shorter
        {"^", "", "", "", "", ""},              // out of state: no county
        {"^", "", "", "ELSEWHERE", "ELSEWHERE", ""},
        {"##", "", "", "", "", ""},
        {"$$", "A$B", "", "", "A$BA$B", ""},    // a call holding "$" ends
        {"$", "X*^", "579", "ALDERBROOK", "X579ALDB", "579"}, // later passes expand it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ks.CwMacroCall = QString::fromLatin1(c.call);
        ks.CwMacroRst = QString::fromLatin1(c.rst);
        ks.CwMacroCounty = QString::fromLatin1(c.county);
        EXPECT_EQ(ExpandCwMacros(QString::fromLatin1(c.message), ks), c.expanded);
        EXPECT_EQ(ks.CwMacroRst, c.rstAfter);
    }
    QString result;
    CWCountyAbbreviation(QStringLiteral("alderbrook"), result);
    EXPECT_EQ(result, "ALDB");
}

TEST(MorseArithmetic, UnitsStepsAndCalibration)
{
    EXPECT_NEAR(*unitMilliseconds(13), 92.3077, 1e-4);
    EXPECT_DOUBLE_EQ(*unitMilliseconds(25), 48.0);
    EXPECT_FALSE(unitMilliseconds(0.99));
    EXPECT_FALSE(unitMilliseconds(std::nullopt));
    EXPECT_DOUBLE_EQ(sleepUnitMilliseconds(*unitMilliseconds(13)), 92);
    EXPECT_DOUBLE_EQ(sleepUnitMilliseconds(*unitMilliseconds(32)), 38); // 37.5, halves to even
    EXPECT_EQ(steppedNumber("13", 1), "14");
    EXPECT_EQ(steppedNumber("1", -1), "0");
    EXPECT_EQ(steppedNumber("0", -1), "-1");
    EXPECT_FALSE(steppedNumber("x", 1));
    EXPECT_EQ(loopFaster("1000000"), "900000");
    EXPECT_EQ(loopSlower("900000"), "1000000");
    EXPECT_EQ(loopFaster("abc"), "abc");
    EXPECT_FALSE(loopsPer60msFromElapsed(0));
    EXPECT_DOUBLE_EQ(*loopsPer60msFromElapsed(0.5), 600000000.0); // fractions of a millisecond
    EXPECT_DOUBLE_EQ(*loopsPer60msFromElapsed(10), 30000000.0);
}

} // namespace
