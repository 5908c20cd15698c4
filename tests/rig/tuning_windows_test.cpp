// The tuning panel and the command test dialog, driven as the operator
// does, against a fake Kenwood radio.

#include "RigTestSupport.h"

#include "common/EntryBox.h"
#include "common/ModalShow.h"
#include "rig/frmFrequencyTest.h"
#include "rig/frmRigTune.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>

namespace zq::test {
namespace {

class TuningWindowsTest : public RigTest {
protected:
    void SetUp() override
    {
        RigTest::SetUp();
        env.seedDataFile(QStringLiteral("BandPlan.txt"));
    }

    // A Kenwood polled with the timer held (only the test's ticks poll).
    void polling(FakeRadio& radio)
    {
        begin();
        attach(radio);
        choose(QStringLiteral("Kenwood"));
        rig().Command1_Click();
        ASSERT_TRUE(rig().tmrGetData->isActive());
        pumpFor(30);
        rig().tmrGetData->setInterval(3600 * 1000);
        rig().tmrGetData->start();
        radio.clearRecord();
    }

    // The panel shown and active, its scan timer held.
    frmRigTune& panel()
    {
        frmRigTune& p = DefaultInstance<frmRigTune>();
        p.Timer1->stop();
        p.show();
        QApplication::setActiveWindow(&p);
        return p;
    }

    void finish()
    {
        ASSERT_TRUE(pumpUntil([&] { return !rig().commandPending(); }, 6000));
        pumpFor(20);
    }
};

TEST_F(TuningWindowsTest, PanelControlsBandButtonsAndSteps)
{
    begin();
    choose(QStringLiteral("None"));
    frmRigTune& p = DefaultInstance<frmRigTune>();
    EXPECT_EQ(p.windowTitle(), " Change Frequency and Mode (Ctrl G (Go))");
    EXPECT_EQ(p.Timer1->interval(), 299);
    EXPECT_TRUE(p.Timer1->isActive());
    EXPECT_EQ(p.txtFrom->text(), "1.8");
    EXPECT_EQ(p.txtTo->text(), "54");
    EXPECT_TRUE(p.Option4->isChecked());
    EXPECT_FALSE(p.chkScan->isChecked());
    EXPECT_EQ(p.Frame1->title(), "Scan Steps");
    const QStringList modes{p.cmdCW->text(), p.cmdUSB->text(), p.cmdLSB->text(),
                            p.cmdAM->text(),  p.cmdFM->text(),  p.cmdRTTY->text()};
    EXPECT_EQ(modes, (QStringList{"&CW", "&USB", "&LSB", "&AM", "&FM", "&RTTY"}));

    // Band buttons: two rows of eight, each writes its frequency.  With no
    // rig nothing is sent.
    const char* captions[16] = {"160", "80", "60", "40", "30", "20", "17", "15",
                                "12", "10", "6", "2", "1.25", "70", "33", "23"};
    const char* mhz[16] = {"1.9",  "3.75", "5.368", "7.15",  "10.13", "14.175", "18.118", "21.225",
                           "24.94", "28.5", "52",    "146",   "223.5", "435",    "915",    "1270"};
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE(i);
        QPushButton* b = p.cmdBand(i);
        EXPECT_EQ(b->text(), QLatin1String(captions[i]));
        EXPECT_EQ(b->y() < p.cmdBand(8)->y(), i < 8);
        b->click();
        EXPECT_EQ(p.txtFreq->text(), QLatin1String(mhz[i]));
    }
    EXPECT_FALSE(rig().commandPending());

    // Steps: enabled only while the box holds a number.
    struct StepCase {
        const char* from;
        int index;
        const char* result;
        const char* caption;
    };
    const StepCase steps[] = {
        {"14.25", 0, "14.25001", "10 Hz"}, {"14.25", 1, "14.24999", "10 Hz"},
        {"1.8", 3, "0.8", "1 MHz"},        {"7", 4, "7.005", "5 KHz"},
        {"7", 7, "6.999", "1 KHz"},        {"7", 8, "7.0001", "100 Hz"},
    };
    for (const StepCase& s : steps) {
        SCOPED_TRACE(s.index);
        p.txtFreq->setText(QLatin1String(s.from));
        ASSERT_TRUE(p.cmdTune(s.index)->isEnabled());
        EXPECT_EQ(p.cmdTune(s.index)->text(), QLatin1String(s.caption));
        p.cmdTune(s.index)->click();
        EXPECT_EQ(p.txtFreq->text(), QLatin1String(s.result));
    }
    EXPECT_LT(p.cmdTune(2)->x(), p.cmdTune(4)->x()); // "1 MHz" is the first column
    EXPECT_LT(p.cmdTune(8)->x(), p.cmdTune(0)->x()); // "10 Hz" the last
    EXPECT_EQ(p.cmdTune(0)->y(), p.cmdTune(2)->y());
    EXPECT_GT(p.cmdTune(1)->y(), p.cmdTune(0)->y());
    for (const char* text : {"", "/", "abc", "."}) {
        p.txtFreq->setText(QLatin1String(text));
        for (int i = 0; i < 10; ++i)
            EXPECT_FALSE(p.cmdTune(i)->isEnabled()) << text;
    }
    WindowRegistry::unload<frmRigTune>();
}

TEST_F(TuningWindowsTest, PanelTunesByGoEnterBandAndModeButtons)
{
    FakeRadio radio(FakeRadio::Family::Kenwood);
    polling(radio);
    frmRigTune& p = panel();

    // Band "160": the box shows 1.9; no mode on 160 m.
    p.cmdBand(0)->click();
    finish();
    EXPECT_EQ(p.txtFreq->text(), "1.9");
    EXPECT_EQ(radio.queries(), QList<QByteArray>{"FA00001900000;"});

    // Typed with a point in a locale that writes a comma; Enter tunes and
    // leaves the caret at the end.  Letters are dropped, the slash is kept.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    radio.clearRecord();
    p.txtFreq->clear();
    p.txtFreq->setFocus();
    QTest::keyClicks(p.txtFreq, QStringLiteral("2x8.475"));
    EXPECT_EQ(p.txtFreq->text(), "28.475");
    QTest::keyClick(p.txtFreq, Qt::Key_Return);
    EXPECT_EQ(p.txtFreq->text(), "28.475");
    EXPECT_EQ(QApplication::focusWidget(), p.txtFreq);
    EXPECT_EQ(p.txtFreq->cursorPosition(), 6);
    finish();
    QLocale::setDefault(before);
    EXPECT_EQ(radio.queries(), (QList<QByteArray>{"MD2;", "FA00028475000;"}));
    for (EntryBox* box : {p.txtFreq, p.txtFrom, p.txtTo}) {
        box->clear();
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("1a/B2"));
        EXPECT_EQ(box->text(), "1/2");
    }

    // Each mode button sends its command and moves the focus to Done.
    radio.clearRecord();
    for (QPushButton* b : {p.cmdCW, p.cmdUSB, p.cmdLSB, p.cmdAM, p.cmdFM, p.cmdRTTY})
        b->click();
    EXPECT_EQ(QApplication::focusWidget(), p.cmdDone);
    finish();
    EXPECT_EQ(radio.queries(),
              (QList<QByteArray>{"MD3;", "MD2;", "MD1;", "MD5;", "MD4;", "MD6;"}));

    // Rig type "None": Go sends nothing.
    p.txtFreq->setText(QStringLiteral("14.25"));
    choose(QStringLiteral("None"));
    p.Command1->click();
    EXPECT_FALSE(rig().commandPending());

    p.cmdDone->click();
    EXPECT_FALSE(p.isVisible());
}

TEST_F(TuningWindowsTest, PanelScan)
{
    begin();
    choose(QStringLiteral("None"));
    frmRigTune& p = panel();

    // Ticking Scan with no number in the box copies From; the focus goes to Go.
    p.txtFrom->setText(QStringLiteral("14"));
    p.txtTo->setText(QStringLiteral("14.001"));
    p.Option1->setChecked(true);
    p.chkScan->click();
    EXPECT_EQ(p.txtFreq->text(), "14");
    EXPECT_EQ(QApplication::focusWidget(), p.Command1);
    QStringList shown;
    for (int i = 0; i < 4; ++i) {
        p.Timer1_Timer();
        shown << p.txtFreq->text();
    }
    EXPECT_EQ(shown, (QStringList{"14.0005", "14.001", "14.", "14.0005"}));

    // A box holding a number is kept; a bad From stops the scan's steps.
    p.chkScan->setChecked(false);
    p.txtFreq->setText(QStringLiteral("7.1"));
    p.chkScan->setChecked(true);
    EXPECT_EQ(p.txtFreq->text(), "7.1");
    p.txtFrom->setText(QStringLiteral("/"));
    p.Timer1_Timer();
    EXPECT_EQ(p.txtFreq->text(), "7.1");

    // Any key in the panel ends the scan; without Scan a tick does nothing.
    QTest::keyClick(p.txtTo, Qt::Key_5);
    EXPECT_FALSE(p.chkScan->isChecked());
    p.txtFrom->setText(QStringLiteral("1.8"));
    p.Timer1_Timer();
    EXPECT_EQ(p.txtFreq->text(), "7.1");
}

TEST_F(TuningWindowsTest, CommandTestDialogSendsRawCommandsAndFrequencies)
{
    FakeRadio radio(FakeRadio::Family::Kenwood);
    polling(radio);
    bool shown = false;
    setModalShowHandlerForTesting([&](QWidget& w) {
        shown = true;
        auto& d = static_cast<frmFrequencyTest&>(w);
        EXPECT_EQ(d.objectName(), "frmFrequencyTest");
        EXPECT_EQ(d.windowTitle(), "Test Change Frequency Function");
        EXPECT_EQ(d.Text1->text(), "FA00028475000;");
        EXPECT_EQ(d.Text2->text(), "28.475");
        EXPECT_EQ(d.Check1->text(), "Convert to Hex");
        EXPECT_FALSE(d.Check1->isChecked());
        EXPECT_EQ(d.Command1->text(), "Send");
        EXPECT_TRUE(d.Label2->text().startsWith(QLatin1String("If your radio requires a hexidecimal")));
        EXPECT_TRUE(d.Label4->text().endsWith(QLatin1String("switch to the specified frequency.")));

        // The raw command, as it stands, while polling goes on.
        d.Text1->setText(QStringLiteral("  FA00028475000; "));
        d.Command1->click();
        settle(radio, 1);
        EXPECT_EQ(radio.receivedBytes(), "FA00028475000;");
        EXPECT_TRUE(rig().tmrGetData->isActive());

        // A character that is not one byte: nothing is sent.
        radio.clearRecord();
        d.Text1->setText(QString::fromUtf8("FA\u20AC;"));
        d.Command1->click();

        // As hex bytes; a bad pair or an empty box sends nothing.
        d.Check1->setChecked(true);
        for (const char* text : {"FE XY", "", "  "}) {
            d.Text1->setText(QLatin1String(text));
            d.Command1->click();
        }
        d.Text1->setText(QStringLiteral(" 4D 44 33 3B "));
        d.Command1->click();
        settle(radio, 1);
        EXPECT_EQ(radio.receivedBytes(), "MD3;");

        // The frequency, through the program's own command.
        radio.clearRecord();
        d.Command2->click();
        finish();
        EXPECT_EQ(radio.queries(), (QList<QByteArray>{"MD2;", "FA00028475000;"}));
        d.Text2->setText(QStringLiteral("28,475"));
        d.Command2->click();
        EXPECT_FALSE(rig().commandPending());
    });
    rig().Command3->click();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(WindowRegistry::isLoaded<frmFrequencyTest>());
    EXPECT_TRUE(env.prompt().messageTitles().isEmpty());
}

TEST_F(TuningWindowsTest, BothWindowsFitTheScreenCentred)
{
    begin();
    setScreenTwipsForTesting(14400, 10800); // 1.5 times the design screen
    const double tolerance = 2 * twipsPerPixelX();
    auto check = [&](QWidget& w, double designW, double designH, QWidget& control,
                     double designLeft, double designWidth, double designFont) {
        SCOPED_TRACE(w.objectName().toStdString());
        const TwipsRect f = formTwips(w);
        EXPECT_NEAR(f.Width, designW * 1.5, tolerance);
        EXPECT_NEAR(f.Height, designH * 1.5, tolerance);
        EXPECT_NEAR(f.Left, (14400 - f.Width) / 2, tolerance);
        EXPECT_NEAR(f.Top, (10800 - f.Height) / 2, tolerance);
        const TwipsRect c = controlTwips(control);
        EXPECT_NEAR(c.Left, designLeft * 1.5, tolerance);
        EXPECT_NEAR(c.Width, designWidth * 1.5, tolerance);
        EXPECT_NEAR(fontSize(control), designFont * 1.5, 0.01);
    };
    QPushButton probe;
    const double designFont = fontSize(probe);
    check(DefaultInstance<frmFrequencyTest>(), 5640, 4440, *DefaultInstance<frmFrequencyTest>().Command2,
          2880, 615, designFont);
    check(DefaultInstance<frmRigTune>(), 6120, 5400, *DefaultInstance<frmRigTune>().Command1, 3420,
          840, designFont);
    WindowRegistry::unload<frmFrequencyTest>();
    WindowRegistry::unload<frmRigTune>();
    setScreenTwipsForTesting(0, 0);
}

} // namespace
} // namespace zq::test
