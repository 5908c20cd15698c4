// Option groups chosen as a screen reader or the keyboard chooses them: the
// accessibility toggle and press actions and the arrow keys run the same
// handlers as a mouse click.

#include "common/WindowRegistry.h"
#include "keying/BlindFrm.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "logstore/StationSettings.h"
#include "support/FakeWaveBackend.h"
#include "support/TestEnv.h"

#include <QAccessible>
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

enum class Way { ToggleAction, PressAction, ArrowKey };

const char* name(Way w)
{
    switch (w) {
    case Way::ToggleAction: return "toggle action";
    case Way::PressAction: return "press action";
    case Way::ArrowKey: return "arrow key";
    }
    return "";
}

// Chooses `target` as a screen reader does, or with an arrow key from the
// option `from` (checked) next to it.
void choose(QRadioButton* target, Way way, QRadioButton* from = nullptr, int key = 0)
{
    if (way == Way::ArrowKey) {
        QWidget* window = from->window();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        from->setFocus();
        ASSERT_TRUE(from->hasFocus());
        QTest::keyClick(from, Qt::Key(key));
        return;
    }
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(target);
    ASSERT_TRUE(face && face->actionInterface());
    face->actionInterface()->doAction(way == Way::ToggleAction
                                          ? QAccessibleActionInterface::toggleAction()
                                          : QAccessibleActionInterface::pressAction());
    // A press may click a moment later, as a mouse would.
    EXPECT_TRUE(QTest::qWaitFor([&] { return target->isChecked(); }, 2000));
}

TEST(OptionGroups, TheCwKeyingMethodFollowsTheOptionHoweverItIsChosen)
{
    TestEnv env;
    CWFrm& cw = DefaultInstance<CWFrm>();
    const struct {
        Way way;
        QRadioButton* target;
        QRadioButton* from;
        int key;
        uint8_t method;
    } cases[] = {
        {Way::ToggleAction, cw.Option1, nullptr, 0, 1},
        {Way::PressAction, cw.Option2, nullptr, 0, 2},
        {Way::ArrowKey, cw.Option3, cw.Option4, Qt::Key_Up, 3}, // from "None" up to "Printer"
        {Way::ToggleAction, cw.Option4, nullptr, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(name(c.way));
        SCOPED_TRACE(c.target->objectName().toStdString());
        cw.Option4->setChecked(true);
        cw.Option4_Click();
        KeyingState::instance().CwKeyingMethod = 9; // neither the design value nor any option's
        choose(c.target, c.way, c.from, c.key);
        EXPECT_TRUE(c.target->isChecked());
        EXPECT_EQ(KeyingState::instance().CwKeyingMethod, c.method);
    }
}

TEST(OptionGroups, TheVoiceNavigationLevelIsAnnouncedHoweverItIsChosen)
{
    TestEnv env;
    FakeWaveBackend::Install sound;
    for (const char* p : {"naven", "navdis", "call"})
        env.writeWorkFile(QString::fromLatin1(p) + ".wav", makeWaveFile(50, 1000, 1, 8));
    StationSettings::instance().VoiceNavigationLevel = 3; // no option chosen at load
    BlindFrm& b = DefaultInstance<BlindFrm>();
    const struct {
        Way way;
        QRadioButton* target;
        QRadioButton* from;
        int key;
        QStringList prompts;
    } cases[] = {
        {Way::ToggleAction, b.Option3, nullptr, 0, {"naven.wav"}},
        {Way::PressAction, b.Option1, nullptr, 0, {"navdis.wav"}},
        {Way::ArrowKey, b.Option2, b.Option3, Qt::Key_Left, {"naven.wav", "call.wav"}},
        {Way::ToggleAction, b.Option1, nullptr, 0, {"navdis.wav"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(name(c.way));
        SCOPED_TRACE(c.target->objectName().toStdString());
        if (c.from)
            c.from->setChecked(true); // by code: no announcement
        sound.world.calls.clear();
        choose(c.target, c.way, c.from, c.key);
        EXPECT_TRUE(c.target->isChecked());
        QStringList opened;
        for (const QString& call : sound.world.calls)
            if (call.startsWith("open "))
                opened << call.mid(5);
        EXPECT_EQ(opened, c.prompts);
    }
    // Choosing by code announces nothing; Done stores what was chosen.
    sound.world.calls.clear();
    b.Option2->setChecked(true);
    EXPECT_TRUE(sound.world.calls.isEmpty());
}

TEST(OptionGroups, ScreenReadersSeeTheButtonsAsBefore)
{
    TestEnv env;
    CWFrm& cw = DefaultInstance<CWFrm>();
    QAccessibleInterface* option = QAccessible::queryAccessibleInterface(cw.Option2);
    ASSERT_TRUE(option);
    EXPECT_EQ(option->role(), QAccessible::RadioButton);
    EXPECT_EQ(option->text(QAccessible::Name), "DTR");
    cw.Option2->setChecked(true);
    EXPECT_TRUE(option->state().checked);
    EXPECT_TRUE(option->state().checkable);
    QAccessibleInterface* check = QAccessible::queryAccessibleInterface(cw.Check1);
    ASSERT_TRUE(check);
    EXPECT_EQ(check->role(), QAccessible::CheckBox);
    const bool was = cw.Check1->isChecked();
    check->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_NE(cw.Check1->isChecked(), was);
    EXPECT_EQ(check->state().checked, cw.Check1->isChecked());
}

} // namespace
