// Code practice: the groups and their boxes, the Send pass, Stop, the
// clears during a pass, keyboard sending, speed steps and the refused
// close, on the software key line and on a WinKeyer.

#include "common/EntryBox.h"
#include "common/ModalShow.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "keying/BlindFrm.h"
#include "keying/CWFrm.h"
#include "keying/CodePractice.h"
#include "keying/KeyingState.h"
#include "keying/PhoneFrm.h"
#include "keying/frmCodePractice.h"
#include "support/KeyingTestSupport.h"
#include "support/TestEnv.h"
#include "support/WinKeyerTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

TEST(PracticeGroups, DrawsFromTheAlphabetInGroupsEachFollowedByABlank)
{
    const QStringList a = practiceAlphabet();
    ASSERT_EQ(a.size(), 42);
    EXPECT_EQ(a.mid(1, 26).join(""), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(a.mid(27).join(""), "0123456789.,?/-");

    // The lowest and highest draws give the first and the last entry.
    EXPECT_EQ(generatePracticeGroups(2, 3, PracticeAll, [] { return 0.0; }), "AAA AAA ");
    EXPECT_EQ(generatePracticeGroups(1, 2, PracticeAll, [] { return 0.999999; }), "-- ");
    EXPECT_EQ(generatePracticeGroups(1, 2, PracticeLettersOnly, [] { return 0.999999; }), "ZZ ");

    const struct {
        double groups, size;
        const char* text;
    } cases[] = {
        {2.5, 1, "A A "}, {0, 5, ""}, {-3, 5, ""}, {3, 0, "   "}, {1, 2.9, "AA "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(generatePracticeGroups(c.groups, c.size, PracticeAll, [] { return 0.0; }),
                  c.text)
            << c.groups << " x " << c.size;
}

TEST(PracticeGroups, BoxValuesTakeTheirDefaultOrTheirCap)
{
    const struct {
        const char* text;
        double fallback, cap, value;
        const char* box;
    } cases[] = {
        {"abc", 10, 1000, 10, "10"}, {"", 5, 100, 5, "5"},        {"2.5", 10, 1000, 2.5, "2.5"},
        {"0", 10, 1000, 0, "0"},     {"5000", 10, 1000, 1000, "1000"}, {"101", 5, 100, 100, "100"},
        {"1e9", 5, 100, 5, "5"}, {"-4", 5, 100, -4, "-4"},
    };
    for (const auto& c : cases) {
        QString box;
        EXPECT_EQ(practiceBoxValue(c.text, c.fallback, c.cap, &box), c.value) << c.text;
        EXPECT_EQ(box, c.box) << c.text;
    }
}


class CodePracticeTest : public ::testing::Test {
protected:
    TestEnv env;
    RecordedKeying rec;
    KeyingState& ks = KeyingState::instance();
    CWFrm& cw = DefaultInstance<CWFrm>();
    frmCodePractice* cp = nullptr;

    void SetUp() override
    {
        cw.Option1->click(); // RTS line
        cw.Text[10]->setText("1");
        cw.Text[11]->setText("13");
        cp = &DefaultInstance<frmCodePractice>();
        cp->show();
    }
    QString keyed()
    {
        const QString t = rec.keyedText(13);
        rec.restart();
        return t;
    }
    QString sent() const { return cp->Text2->toPlainText(); }
};

TEST_F(CodePracticeTest, OpensWithItsDefaults)
{
    EXPECT_EQ(cp->windowTitle(), "On the Air Code Practice");
    EXPECT_EQ(cp->Text3->text(), "10");
    EXPECT_EQ(cp->Text4->text(), "5");
    EXPECT_TRUE(cp->Option2->isChecked());
    EXPECT_EQ(cp->Label8->text(), "13");
    EXPECT_EQ(cp->PracticeAlphabet.size(), 42);
    EXPECT_TRUE(cp->PracticeText.isEmpty());
    EXPECT_EQ(cp->focusWidget(), cp->Text5);
}

TEST_F(CodePracticeTest, GenerateFillsTheTextWithGroups)
{
    cp->Text3->setText("abc");
    cp->Text4->setText("");
    cp->Option1->setChecked(true);
    cp->Command2->click();
    EXPECT_EQ(cp->Text3->text(), "10");
    EXPECT_EQ(cp->Text4->text(), "5");
    EXPECT_TRUE(QRegularExpression("^([A-Z]{5} ){10}$").match(cp->Text1->toPlainText()).hasMatch())
        << cp->Text1->toPlainText().toStdString();

    cp->Option2->setChecked(true);
    cp->Text3->setText("200");
    cp->Text4->setText("4");
    cp->Command2->click();
    const QString all = cp->Text1->toPlainText();
    EXPECT_TRUE(QRegularExpression("^([A-Z0-9.,?/-]{4} ){200}$").match(all).hasMatch());
    EXPECT_TRUE(QRegularExpression("[0-9.,?/-]").match(all).hasMatch()); // not only letters

    // Counts beyond the caps are cut to them in their boxes.
    cp->Text3->setText("99999");
    cp->Text4->setText("500");
    cp->Command2->click();
    EXPECT_EQ(cp->Text3->text(), "1000");
    EXPECT_EQ(cp->Text4->text(), "100");
    EXPECT_EQ(cp->Text1->toPlainText().size(), 1000 * 101);
}

TEST_F(CodePracticeTest, SendKeysEveryCharacterAndShowsItAsSent)
{
    cp->Text1->setPlainText("TEST 5 ");
    cp->Command3->click();
    EXPECT_EQ(keyed(), "TEST 5");
    EXPECT_EQ(sent(), "TEST 5 ");
    EXPECT_EQ(cp->Text1->textCursor().position(), 7);
    EXPECT_EQ(cp->focusWidget(), cp->Text1);
    EXPECT_TRUE(ks.CwSendBuffer.isEmpty());

    // An empty text sends nothing.
    cp->Text2->clear();
    cp->Text1->clear();
    cp->Text5->setFocus();
    cp->Command3->click();
    EXPECT_EQ(keyed(), "");
    EXPECT_EQ(sent(), "");
    EXPECT_EQ(cp->focusWidget(), cp->Text1);
}

TEST_F(CodePracticeTest, StopWhileACharacterIsKeyedLetsItFinishUnshown)
{
    cp->Text1->setPlainText("MMMM");
    rec.holdAtNextKeyDown();
    rec.whenHeld([&] {
        cp->Command4->click();
        rec.release();
    });
    cp->Command3->click();
    EXPECT_EQ(keyed(), "M");
    EXPECT_EQ(sent(), "");
    EXPECT_TRUE(cp->PracticeText.isEmpty());
}

TEST_F(CodePracticeTest, ClearOrGenerateDuringAPass)
{
    // Clear: the character being keyed is shown, then one step sends nothing.
    cp->Text1->setPlainText("MMMM");
    rec.holdAtNextKeyDown();
    rec.whenHeld([&] {
        cp->Command6->click();
        rec.release();
    });
    cp->Command3->click();
    EXPECT_EQ(keyed(), "M");
    EXPECT_EQ(sent(), "M");

    // Generate: the pass goes on at its position in the new text.
    cp->Text2->clear();
    cp->Text1->setPlainText("TT");
    cp->Text3->setText("1");
    cp->Text4->setText("3");
    cp->Option1->setChecked(true);
    QString generated;
    rec.holdAtNextKeyDown();
    rec.whenHeld([&] {
        cp->Command2->click();
        generated = cp->Text1->toPlainText();
        rec.release();
    });
    cp->Command3->click();
    ASSERT_EQ(generated.size(), 4);
    EXPECT_EQ(sent(), "T" + generated.mid(1));
}

TEST_F(CodePracticeTest, ACloseWhileKeyingIsRefusedAndStopsTheSending)
{
    cp->Text1->setPlainText("MMMM");
    bool closed = true;
    rec.holdAtNextKeyDown();
    rec.whenHeld([&] {
        closed = cp->close();
        rec.release();
    });
    cp->Command3->click();
    EXPECT_FALSE(closed);
    EXPECT_TRUE(cp->isVisible());
    EXPECT_EQ(keyed(), "M");
    EXPECT_EQ(sent(), "");
    EXPECT_TRUE(cp->close()); // a second request closes the window
}

TEST_F(CodePracticeTest, KeyboardSendingInTheSmallBox)
{
    cp->Text5->setFocus();
    QTest::keyClicks(cp->Text5, "cq1");
    EXPECT_EQ(keyed(), "CQ1");
    EXPECT_EQ(sent(), "CQ1");
    EXPECT_TRUE(cp->Text5->text().isEmpty());
    // Backspace with an empty buffer takes only the last character shown.
    QTest::keyClick(cp->Text5, Qt::Key_Backspace);
    EXPECT_EQ(sent(), "CQ");
    EXPECT_EQ(keyed(), "");
    // Enter goes to the keyer and the text sent as well.
    QTest::keyClick(cp->Text5, Qt::Key_Return);
    EXPECT_EQ(sent(), "CQ\n");
    EXPECT_TRUE(cp->isVisible());
}

TEST_F(CodePracticeTest, PastedTextGoesUnchangedTypedLettersAreCapitals)
{
    QGuiApplication::clipboard()->setText("cq de");
    cp->Command1->click();
    EXPECT_EQ(cp->Text1->toPlainText(), "cq de");
    cp->Text1->setPlainText("");
    cp->Text1->setFocus();
    QTest::keyClicks(cp->Text1, "ab1");
    EXPECT_EQ(cp->Text1->toPlainText(), "AB1");
    cp->Command5->click();
    cp->Text2->setPlainText("x");
    cp->Command5->click();
    EXPECT_EQ(sent(), "");
}

TEST_F(CodePracticeTest, FasterAndSlowerStepTheCwSpeed)
{
    cp->Command7->click();
    EXPECT_EQ(cw.Text[11]->text(), "14");
    EXPECT_EQ(cp->Label8->text(), "14");
    cp->Command8->click();
    cp->Command8->click();
    EXPECT_EQ(cp->Label8->text(), "12");
}

TEST_F(CodePracticeTest, OnTheWinKeyerEveryCharacterIsHandedOver)
{
    FakeWinKeyer keyer;
    ASSERT_TRUE(openFakeKeyer(keyer));
    cw.Option5->click();
    cp->Text1->setPlainText("cq ");
    cp->Command3->click();
    QTest::keyClicks(cp->Text5, "k");
    EXPECT_TRUE(keyer.waitForBytes(4));
    EXPECT_EQ(sent(), "cq K");
    EXPECT_EQ(keyed(), "");
}

TEST_F(CodePracticeTest, TheWindowsTimeBetweenCharactersAddsNoGap)
{
    // 40 WPM, 30 ms units; the window takes 45 ms of a busy machine to
    // hand each next character over, well within the gap after each one.
    cw.Text[11]->setText("40");
    QObject::connect(cp->Text2, &QPlainTextEdit::textChanged, cp,
                     [&] { rec.clock().advance(std::chrono::milliseconds(45)); });
    cp->Text1->setPlainText("EEEE TEST");
    cp->Command3->click();
    EXPECT_EQ(sent(), "EEEE TEST");
    EXPECT_EQ(rec.keyedUnits(30), patternOf("EEEE TEST"));
}

TEST_F(CodePracticeTest, AKeyLineThatCannotBeHadStopsTheSendWithOneMessage)
{
    RecordedKeying real(true); // the real key lines behind the recorder
    setModalShowHandlerForTesting([](QWidget&) {});
    env.writeWorkFile("ComPorts.txt", "7=/dev/zq-no-such-port\n");
    cw.Text[10]->setText("7");
    ks.WinKeyerPort = 7;
    struct Case {
        QRadioButton* method;
        const char* title;
    } const cases[] = {
        {cw.Option1, "Invalid port."},
        {cw.Option5, "Unable to establish connection with Winkey."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        env.prompt().clear();
        cp->Text2->clear();
        c.method->click();
        cp->Text1->setPlainText("CQ CQ TEST");
        cp->Command3->click();
        EXPECT_EQ(env.prompt().messageTitles(), QStringList{c.title});
        EXPECT_EQ(sent(), "");
        EXPECT_TRUE(cp->PracticeText.isEmpty());
        EXPECT_TRUE(ks.CwSendBuffer.isEmpty());
        EXPECT_TRUE(real.transitions().empty());
    }
}

TEST(KeyerWindowFit, VoiceWindowsFitTheScreenCentredCodePracticeTheWorkArea)
{
    struct Case {
        const char* name;
        QWidget& (*make)();
        bool workArea;
        double width; // twips after the fit
    };
    const Case cases[] = {
        {"PhoneFrm", []() -> QWidget& { return DefaultInstance<PhoneFrm>(); }, false, 18000},
        {"BlindFrm", []() -> QWidget& { return DefaultInstance<BlindFrm>(); }, false, 12000},
        {"frmCodePractice", []() -> QWidget& { return DefaultInstance<frmCodePractice>(); }, true,
         12600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestEnv env;
        setScreenTwipsForTesting(19200, 14400);
        setWorkAreaTwipsForTesting(c.workArea ? 14400 : 19200, c.workArea ? 10800 : 14400);
        QWidget& w = c.make();
        const TwipsRect r = formTwips(w);
        const double target = c.workArea ? 14400 : 19200;
        const double targetH = c.workArea ? 10800 : 14400;
        EXPECT_NEAR(r.Left, (target - r.Width) / 2, 30);
        EXPECT_NEAR(r.Top, (targetH - r.Height) / 2, 30);
        EXPECT_NEAR(r.Width, c.width, 60);
        EXPECT_EQ(bool(w.windowFlags() & Qt::WindowCloseButtonHint), c.workArea);
    }
}

} // namespace

// Tab moves the focus on from each text area, as in every other control:
// the operator reaches the buttons after it from the keyboard, and no tab
// goes into the text.
TEST_F(CodePracticeTest, TabMovesOnFromEachTextArea)
{
    showActive(*cp);
    const struct {
        QPlainTextEdit* area;
        QWidget* next;
    } cases[] = {{cp->Text1, cp->Command5}, {cp->Text2, cp->Command3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.area->objectName().toStdString());
        c.area->setPlainText("CQ");
        c.area->setFocus();
        c.area->moveCursor(QTextCursor::End);
        QTest::keyClick(c.area, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), c.next);
        EXPECT_EQ(c.area->toPlainText(), "CQ");
        // And back with Shift+Tab.
        QTest::keyClick(c.next, Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), c.area);
    }
}
