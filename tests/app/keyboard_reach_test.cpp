// The windows worked from the keyboard alone: Enter presses the command
// button that has the focus, in every kind of window, and Tab or Shift+Tab
// into a frame of option buttons stops at its chosen option.

#include "support/LogWindowTestSupport.h"

#include "common/ModalShow.h"
#include "keying/CWFrm.h"
#include "logwindow/Form5.h"
#include "output/ZQCabrilloIn.h"
#include "spots/PacketSpotfrm.h"
#include "startup/StationSetupEntry.h"
#include "startup/frmSplash.h"
#include "startup/frmStationID.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

using namespace zq;
using namespace zq::test;

namespace {

class KeyboardReachTest : public LogWindowTest {
protected:
    void TearDown() override { setModalShowHandlerForTesting(nullptr); }

    // Shows the window, makes it active and puts the focus on `control`.
    static void focusIn(QWidget& window, QWidget* control)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        control->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), control) << control->objectName().toStdString();
    }
};

// Presses Enter on `button`, which has the focus.
void enterOn(QPushButton* button, Qt::Key key = Qt::Key_Return)
{
    QTest::keyClick(button, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
}

// The option buttons of `frame` (a group of options that exclude each
// other) and the focus stops of the window just before and just after it.
struct OptionGroup {
    QList<QRadioButton*> options;
    QWidget* before = nullptr;
    QWidget* after = nullptr;
};

bool isStop(const QWidget* w, const QList<QRadioButton*>& group)
{
    return !group.contains(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled();
}

OptionGroup optionGroup(QGroupBox* frame)
{
    OptionGroup g;
    g.options = frame->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
    if (g.options.isEmpty())
        return g;
    QWidget* w = g.options.first();
    for (int i = 0; i < 500 && !isStop(w, g.options); ++i)
        w = w->previousInFocusChain();
    g.before = w;
    w = g.options.last();
    for (int i = 0; i < 500 && !isStop(w, g.options); ++i)
        w = w->nextInFocusChain();
    g.after = w;
    return g;
}

QRadioButton* chosenOf(const OptionGroup& g)
{
    for (QRadioButton* o : g.options)
        if (o->isChecked())
            return o;
    return nullptr;
}

// Tab from the stop before the frame and Shift+Tab from the stop after it
// both stop at the chosen option.
void expectTabStopsAtTheChosenOption(QGroupBox* frame)
{
    SCOPED_TRACE(frame->title().toStdString());
    const OptionGroup g = optionGroup(frame);
    QRadioButton* chosen = chosenOf(g);
    ASSERT_NE(chosen, nullptr);
    ASSERT_TRUE(g.before && g.after);
    g.before->setFocus();
    QTest::keyClick(g.before, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), chosen)
        << "Tab from " << g.before->objectName().toStdString() << " reached "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "");
    g.after->setFocus();
    QTest::keyClick(g.after, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), chosen)
        << "Shift+Tab from " << g.after->objectName().toStdString() << " reached "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "");
}

} // namespace

TEST_F(KeyboardReachTest, EnterPressesTheFocusedButtonInEveryKindOfWindow)
{
    // The start-up window's Continue opens the set-up dialog.
    {
        frmSplash& splash = DefaultInstance<frmSplash>();
        focusIn(splash, splash.Command1);
        enterOn(splash.Command1);
        EXPECT_FALSE(WindowRegistry::isLoaded<frmSplash>());
        EXPECT_TRUE(WindowRegistry::isLoaded<frmStationID>());
    }

    // The set-up dialog's Done, reached with Tab from its last box, opens
    // the log window.
    {
        writeLog();
        env.prompt().answerMessage(MsgAnswer::Yes); // open the existing log
        frmStationID& setup = DefaultInstance<frmStationID>();
        focusIn(setup, setup.Text[9]);
        for (int i = 0; i < 40 && QApplication::focusWidget() != setup.Command1; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), setup.Command1);
        enterOn(setup.Command1);
        EXPECT_FALSE(WindowRegistry::isLoaded<frmStationID>());
        ASSERT_TRUE(WindowRegistry::isLoaded<Outfrm>());
    }

    // The log window's list-mode button, with Enter and the keypad's Enter.
    LogWindow& w = DefaultInstance<Outfrm>();
    focusIn(w, w.cmdList);
    enterOn(w.cmdList);
    EXPECT_EQ(w.cmdList->text(), QStringLiteral("All"));
    w.cmdList->setFocus();
    enterOn(w.cmdList, Qt::Key_Enter);
    EXPECT_EQ(w.cmdList->text(), QStringLiteral("Last 20"));

    // Dialogs: the help viewer's Close, and the spotting window's Done,
    // though that window keeps Enter from its frames.
    Form5& help = DefaultInstance<Form5>();
    focusIn(help, help.Command1);
    enterOn(help.Command1);
    EXPECT_TRUE(help.isHidden());
    WindowRegistry::unload<Form5>();

    PacketSpotfrm& spots = DefaultInstance<PacketSpotfrm>();
    focusIn(spots, spots.cmdDone);
    enterOn(spots.cmdDone);
    EXPECT_TRUE(spots.isHidden());
    EXPECT_TRUE(QFile::exists(env.workPath(QStringLiteral("PackSpot.txt"))));
}

TEST_F(KeyboardReachTest, TabIntoAFrameOfOptionsStopsAtTheChosenOne)
{
    // The CW window: "None" is chosen; then code chooses "DTR", as loading
    // the settings does, after the operator was in the frame.
    CWFrm& cw = DefaultInstance<CWFrm>();
    focusIn(cw, cw.Text[1]);
    ASSERT_TRUE(cw.Option4->isChecked());
    expectTabStopsAtTheChosenOption(cw.Frame1);
    cw.Option2->setChecked(true);
    expectTabStopsAtTheChosenOption(cw.Frame1);
    // The arrow keys still move within the frame, choosing as they go.
    cw.Option2->setFocus();
    QTest::keyClick(cw.Option2, Qt::Key_Down);
    EXPECT_TRUE(cw.Option3->isChecked());
    expectTabStopsAtTheChosenOption(cw.Frame1);
    WindowRegistry::unload<CWFrm>();

    // The set-up dialog: "No" chosen in both frames, the home state's party
    // among the states.
    ShowStationSetup();
    frmStationID& setup = DefaultInstance<frmStationID>();
    focusIn(setup, setup.Text[1]);
    for (QGroupBox* frame : {setup.Frame1, setup.Frame2, setup.Frame3}) {
        if (frame->isEnabled())
            expectTabStopsAtTheChosenOption(frame);
    }
    WindowRegistry::unload<frmStationID>();

    // The summary sheet: "Low (100W)" chosen for the power.
    writeLog();
    LogWindow& w = start(1);
    bool shown = false;
    setModalShowHandlerForTesting([&](QWidget& d) {
        shown = true;
        auto& sheet = static_cast<ZQCabrilloIn&>(d);
        focusIn(sheet, sheet.Text5);
        for (QGroupBox* frame : {sheet.Frame3, sheet.Frame1, sheet.Frame2})
            expectTabStopsAtTheChosenOption(frame);
        d.hide();
    });
    w.mnuWriteSumm->trigger();
    EXPECT_TRUE(shown);
}
