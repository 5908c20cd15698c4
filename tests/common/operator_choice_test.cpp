// The operator's choice of an option button or check box, however it is
// made, runs the handler connected with onOperatorChoice once; code that
// sets the state runs none.

#include "common/NamedControls.h"
#include "common/OperatorChoice.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

using namespace zq;

namespace {

enum class Way { Click, Space, ToggleAction, PressAction };

void choose(QAbstractButton* b, Way way)
{
    switch (way) {
    case Way::Click: b->click(); break; // what a mouse click comes to
    case Way::Space: QTest::keyClick(b, Qt::Key_Space); break;
    case Way::ToggleAction:
    case Way::PressAction: {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(b);
        ASSERT_TRUE(face && face->actionInterface());
        face->actionInterface()->doAction(way == Way::ToggleAction
                                              ? QAccessibleActionInterface::toggleAction()
                                              : QAccessibleActionInterface::pressAction());
        break;
    }
    }
}

TEST(OperatorChoice, EveryWayOfChoosingRunsTheHandlerOnceAndCodeRunsNone)
{
    QWidget window;
    QGroupBox* frame = makeNamedFrame(&window, "Frame1", "Choose", 0, 0, 4000, 1500);
    QRadioButton* a = makeNamedOption(frame, "OptionA", "&A", 120, 240, 1200);
    QRadioButton* b = makeNamedOption(frame, "OptionB", "&B", 120, 600, 1200);
    QCheckBox* check = makeNamedCheck(&window, "Check1", "Echo", 120, 1700, 1200);
    auto* raw = new QCheckBox("Raw", &window); // made without the helpers
    raw->setGeometry(10, 200, 150, 30);
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    int aRuns = 0, bRuns = 0, checkRuns = 0, rawRuns = 0;
    onOperatorChoice(a, &window, [&] { ++aRuns; });
    onOperatorChoice(b, &window, [&] { ++bRuns; });
    onOperatorChoice(check, &window, [&] { ++checkRuns; });
    onOperatorChoice(raw, &window, [&] { ++rawRuns; });

    for (Way way : {Way::Click, Way::Space, Way::ToggleAction, Way::PressAction}) {
        SCOPED_TRACE(int(way));
        a->setChecked(true); // by code: no handler
        const bool wasChecked = check->isChecked(), rawWas = raw->isChecked();
        aRuns = bRuns = checkRuns = rawRuns = 0;
        choose(b, way);
        choose(check, way);
        choose(raw, way);
        EXPECT_TRUE(b->isChecked());
        EXPECT_EQ(aRuns, 0); // the option left runs nothing
        EXPECT_EQ(bRuns, 1);
        EXPECT_NE(check->isChecked(), wasChecked);
        EXPECT_EQ(checkRuns, 1);
        EXPECT_NE(raw->isChecked(), rawWas);
        EXPECT_EQ(rawRuns, 1);
    }
    aRuns = bRuns = checkRuns = 0;
    b->setChecked(false);
    a->setChecked(true);
    check->setChecked(!check->isChecked());
    EXPECT_EQ(aRuns + bRuns + checkRuns, 0);

    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(a);
    EXPECT_EQ(face->role(), QAccessible::RadioButton);
    EXPECT_EQ(face->text(QAccessible::Name), "A");
    EXPECT_TRUE(face->state().checked);
}

} // namespace

// A tool that clicks an object at the centre of the rectangle its face
// reports (a screen reader's "click object", a magnifier) chooses it: the
// rectangle is where the button answers a click, not the room past its
// caption.
TEST(OperatorChoice, AClickAtTheCentreOfTheReportedRectangleChoosesTheButton)
{
    QWidget window;
    QGroupBox* frame = makeNamedFrame(&window, "Frame1", "Are you in Carvonia?", 0, 0, 4000, 1500);
    QRadioButton* no = makeNamedOption(frame, "OptionNo", "No", 120, 240, 2400);
    QRadioButton* yes = makeNamedOption(frame, "OptionYes", "Yes", 120, 600, 2400);
    QCheckBox* check = makeNamedCheck(&window, "Check1", "Echo", 120, 1700, 2400);
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    no->setChecked(true);

    struct Case {
        QAbstractButton* button;
        std::function<bool()> chosen;
    };
    const Case cases[] = {
        {yes, [&] { return yes->isChecked(); }},
        {check, [&] { return check->isChecked(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button->objectName().toStdString());
        int runs = 0;
        onOperatorChoice(c.button, &window, [&] { ++runs; });
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(c.button);
        ASSERT_TRUE(face);
        const QRect r = face->rect();
        ASSERT_FALSE(r.isEmpty());
        QTest::mouseClick(c.button, Qt::LeftButton, {}, c.button->mapFromGlobal(r.center()));
        EXPECT_TRUE(c.chosen());
        EXPECT_EQ(runs, 1);
        // The face still lies on the button.
        EXPECT_TRUE(QRect(c.button->mapToGlobal(QPoint(0, 0)), c.button->size()).contains(r));
    }
    EXPECT_FALSE(no->isChecked());
}
