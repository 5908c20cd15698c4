// The CW settings dialog: Done and CW.txt, the settings keys, its buttons,
// key filters and fit.

#include "common/EntryBox.h"
#include "common/ModalShow.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/frmCodePractice.h"
#include "keying/frmWinKey.h"
#include "platform/SafeFile.h"
#include "platform/SettingsStore.h"
#include "support/KeyingTestSupport.h"
#include "support/TestEnv.h"
#include "support/WinKeyerTestSupport.h"
#include "platform/WinKeyer.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

const QByteArray kDesignFile = "\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
                               "\"\"\r\n\"0\"\r\n\"13\"\r\n\"\"\r\n\"\"\r\n\"0\"\r\n0\r\n"
                               "\"&H378\"\r\n1\r\n\"0\"\r\n";

// A new run of the program in the same folders: windows and state reset,
// then the station set-up reads CW.txt again.
CWFrm& restart()
{
    WindowRegistry::unloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    KeyingState::instance() = KeyingState{};
    ReadCWSettings();
    return DefaultInstance<CWFrm>();
}

void showActive(QWidget& w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    QCoreApplication::processEvents();
}

void typeInto(EntryBox* box, const char* keys)
{
    box->setFocus();
    box->clear();
    QTest::keyClicks(box, keys);
}

TEST(CwDialog, DoneWritesTheDesignValuesAsEighteenLinesAndTheSettingsKeys)
{
    TestEnv env;
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.show();
    cw.Command1->click();
    EXPECT_FALSE(cw.isVisible());
    EXPECT_EQ(env.readWorkFile("CW.txt"), kDesignFile);
    EXPECT_EQ(GetSetting("UserCWSelection"), "Timer");
    EXPECT_EQ(GetSetting("UserCWLoopOffset"), "0");
    EXPECT_TRUE(env.prompt().calls().empty());
}

TEST(CwDialog, EveryValueComesBackAfterARestart)
{
    TestEnv env;
    CWFrm& cw = DefaultInstance<CWFrm>();
    const int boxes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13};
    for (int i : boxes)
        cw.Text[i]->setText(QStringLiteral("MSG%1 $ * ^ # ! [ ]").arg(i));
    cw.Text[9]->clear(); // an empty F9 message comes back as "VVV DE "
    cw.Text[10]->setText("3");
    cw.Text[11]->setText("27");
    cw.Text[14]->setText("&H278");
    cw.txtSpace->setText("-3");
    cw.txtCWLoop->setText("7.5");
    cw.Check1->setChecked(false);
    cw.Option2->click();
    cw.txtLoop->setText("123456");
    cw.OptSleep->click();
    cw.Command1->click();

    CWFrm& again = restart();
    for (int i : boxes)
        if (i != 9)
            EXPECT_EQ(again.Text[i]->text(), QStringLiteral("MSG%1 $ * ^ # ! [ ]").arg(i)) << i;
    EXPECT_EQ(again.Text[9]->text(), "VVV DE ");
    EXPECT_EQ(again.Text[10]->text(), "3");
    EXPECT_EQ(again.Text[11]->text(), "27");
    EXPECT_EQ(again.Text[14]->text(), "&H278");
    EXPECT_EQ(again.txtSpace->text(), "-3");
    EXPECT_EQ(again.txtCWLoop->text(), "7.5");
    EXPECT_EQ(again.tmrRepeat->interval(), 7500);
    EXPECT_FALSE(again.Check1->isChecked());
    EXPECT_TRUE(again.Option2->isChecked());
    EXPECT_EQ(KeyingState::instance().CwKeyingMethod, 2);
    EXPECT_TRUE(again.OptSleep->isChecked());
    EXPECT_EQ(again.LoopsPer60ms, 123456);
    EXPECT_EQ(again.txtLoop->text(), "123456");
    EXPECT_FALSE(again.txtLoop->isEnabled());
}

TEST(CwDialog, AFourteenLineFileLeavesTheRestAsItWas)
{
    TestEnv env;
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Text[1]->setText("CQ");
    cw.Text[11]->setText("30");
    cw.Command1->click();
    QList<QByteArray> lines = env.readWorkFile("CW.txt").split('\n');
    env.writeWorkFile("cw.txt", lines.mid(0, 14).join('\n') + "\n");
    CWFrm& again = restart();
    EXPECT_EQ(again.Text[1]->text(), "CQ");
    EXPECT_EQ(again.Text[11]->text(), "30");
    EXPECT_TRUE(again.Option4->isChecked());
    EXPECT_EQ(again.Text[14]->text(), "&H378");
    EXPECT_TRUE(again.Check1->isChecked());
}

TEST(CwDialog, AFailedWriteIsReportedAndKeepsTheOldFileAndKeys)
{
    TestEnv env;
    env.writeWorkFile("CW.txt", kDesignFile);
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Text[1]->setText("NEW");
    cw.OptSleep->click();
    setWriteFaultForTesting([](const QString& path) { return path.endsWith("CW.txt"); });
    cw.Command1->click();
    EXPECT_EQ(env.readWorkFile("CW.txt"), kDesignFile);
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"File Error"});
    EXPECT_TRUE(env.prompt().messageTexts().value(0).startsWith("Unable to write CW.txt"));
    EXPECT_EQ(GetSetting("UserCWSelection"), "");
}

TEST(CwDialog, StoredTimingChoiceAndCalibration)
{
    struct Case {
        const char* selection;
        const char* offset;
        const char* chosen;
        bool calibrated; // a new calibration ran
    };
    const Case cases[] = {
        {"Sleep", "", "OptSleep", false},
        {"sleep", "", "optTimer", false}, // letter case counts
        {"Loop", "1000", "optLoop", false},
        {"Loop", "", "optLoop", true},
        {"Loop", "abc", "optLoop", true},
        {"Other", "2000", "optTimer", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.selection) + "/" + c.offset);
        TestEnv env;
        SaveSetting("UserCWSelection", c.selection);
        if (*c.offset)
            SaveSetting("UserCWLoopOffset", c.offset);
        CWFrm& cw = DefaultInstance<CWFrm>();
        EXPECT_EQ(cw.findChild<QRadioButton*>(c.chosen)->isChecked(), true);
        if (c.calibrated) {
            EXPECT_GT(cw.LoopsPer60ms, 0);
            EXPECT_EQ(cw.txtLoop->text().toDouble(), cw.LoopsPer60ms);
        } else if (QByteArray(c.offset) == "1000" || QByteArray(c.offset) == "2000") {
            EXPECT_EQ(cw.LoopsPer60ms, QByteArray(c.offset).toDouble());
        }
        EXPECT_EQ(cw.txtLoop->isEnabled(), QByteArray(c.chosen) == "optLoop");
    }
}

TEST(CwDialog, ButtonsStepSpeedWordSpaceAndLoop)
{
    TestEnv env;
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Command2->click();
    EXPECT_EQ(cw.Text[11]->text(), "14");
    cw.Command3->click();
    cw.Command3->click();
    EXPECT_EQ(cw.Text[11]->text(), "12");

    struct Step {
        QPushButton* button;
        const char* before;
        const char* after;
    };
    const Step steps[] = {{cw.Command6, "2", "3"}, {cw.Command5, "x", "0"},
                          {cw.Command5, "-8", "-8"}, {cw.Command6, "-8", "-7"},
                          {cw.Command6, "1.5", "2.5"}};
    for (const Step& s : steps) {
        cw.txtSpace->setText(QString::fromLatin1(s.before));
        s.button->click();
        EXPECT_EQ(cw.txtSpace->text(), s.after) << s.before;
    }

    cw.cmdLoopFaster->click(); // only with the Loop method
    EXPECT_EQ(cw.txtLoop->text(), "0");
    cw.txtLoop->setText("1000000");
    cw.optLoop->click();
    cw.cmdLoopFaster->click();
    EXPECT_EQ(cw.txtLoop->text(), "900000");
    EXPECT_EQ(cw.LoopsPer60ms, 900000);
    cw.cmdLoopSlower->click();
    EXPECT_EQ(cw.txtLoop->text(), "1000000");
    EXPECT_EQ(cw.LoopsPer60ms, 1000000);
}

TEST(CwDialog, KeyFiltersAndLeavingTheBoxes)
{
    TestEnv env;
    CWFrm& cw = DefaultInstance<CWFrm>();
    showActive(cw);
    typeInto(cw.Text[1], "cq de w5abc $*^#![];\\=");
    EXPECT_EQ(cw.Text[1]->text(), "CQ DE W5ABC $*^#![];\\=");
    typeInto(cw.Text[11], "1a:3");
    EXPECT_EQ(cw.Text[11]->text(), "1:3");
    typeInto(cw.txtSpace, "-x9");
    EXPECT_EQ(cw.txtSpace->text(), "-8"); // -9 raised to the floor
    typeInto(cw.txtCWLoop, "2a.5");
    EXPECT_EQ(cw.txtCWLoop->text(), "2.5");
    cw.Text[1]->setFocus(); // leaving the boxes
    QCoreApplication::processEvents();
    EXPECT_EQ(cw.Text[11]->text(), "0");
    EXPECT_EQ(cw.tmrRepeat->interval(), 2500);

    typeInto(cw.txtCWLoop, "75");
    typeInto(cw.txtSpace, "-");
    cw.Text[1]->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(cw.txtCWLoop->text(), "0"); // 60 s or more
    EXPECT_EQ(cw.tmrRepeat->interval(), 0);
    EXPECT_EQ(cw.txtSpace->text(), "0");
}

TEST(CwDialog, TestButtonShowsSendingAndKeysTheF9Message)
{
    TestEnv env;
    RecordedKeying rec;
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.show();
    cw.Text[9]->setText("VVV");
    bool shownWhileSending = false;
    QTimer::singleShot(0, [&] { shownWhileSending = cw.Label23->isVisible(); });
    cw.Command4->click(); // method None: nothing keyed
    EXPECT_TRUE(shownWhileSending);
    EXPECT_FALSE(cw.Label23->isVisible());
    EXPECT_TRUE(rec.keyedText().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), cw.Text[1]);

    cw.Option1->click();
    cw.Text[10]->setText("1");
    cw.Command4->click();
    EXPECT_EQ(rec.keyedText(), "VVV");
}

TEST(CwDialog, WinKeyAndCodePracticeWindows)
{
    TestEnv env;
    QStringList modal;
    setModalShowHandlerForTesting([&](QWidget& w) { modal << w.objectName(); });
    CWFrm& cw = DefaultInstance<CWFrm>();
    EXPECT_FALSE(cw.cmdConfWinkey->isVisibleTo(&cw));
    cw.Option5->click();
    EXPECT_EQ(KeyingState::instance().CwKeyingMethod, 5);
    EXPECT_TRUE(cw.cmdConfWinkey->isVisibleTo(&cw));
    EXPECT_TRUE(WindowRegistry::isLoaded<frmWinKey>());
    cw.Option1->click();
    EXPECT_TRUE(cw.cmdConfWinkey->isVisibleTo(&cw)); // stays
    cw.cmdConfWinkey->click();

    KeyingState::instance().CwSendBuffer = QStringLiteral("LEFT OVER");
    cw.Command7->click();
    EXPECT_EQ(modal, (QStringList{"frmWinKey", "frmCodePractice"}));
    EXPECT_FALSE(WindowRegistry::isLoaded<frmCodePractice>());
    EXPECT_TRUE(KeyingState::instance().CwSendBuffer.isEmpty());
}

TEST(CwDialog, FitsTheWorkAreaAndHasNoCloseControl)
{
    TestEnv env;
    setWorkAreaTwipsForTesting(19200, 14400);
    CWFrm& cw = DefaultInstance<CWFrm>();
    const TwipsRect r = formTwips(cw);
    EXPECT_NEAR(r.Width, 9480.0 * 2, 60);
    EXPECT_NEAR(r.Height, 7080.0 * 2, 60);
    EXPECT_NEAR(r.Left, (19200 - r.Width) / 2, 30);
    EXPECT_FALSE(cw.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(cw.windowTitle(), "CW String Selections");
}

TEST(CwDialog, SpeedChangesReachAnOpenWinKeyer)
{
    TestEnv env;
    FakeWinKeyer keyer;
    CWFrm& cw = DefaultInstance<CWFrm>();
    cw.Option5->click();
    ASSERT_TRUE(openFakeKeyer(keyer));
    cw.show();
    typeInto(cw.Text[11], "25");
    typeInto(cw.Text[11], "100");
    typeInto(cw.Text[11], "4");
    cw.Option1->click();
    typeInto(cw.Text[11], "30"); // not the WinKeyer's method
    wk_backspace();               // a marker: nothing else went out before it
    ASSERT_TRUE(keyer.waitForBytes(5));
    EXPECT_EQ(keyer.received(), QByteArray::fromHex("0219 020a 08"));
}

} // namespace
