// Log window sizing: the stored form size, the Form Size and Taskbar
// commands, and the side lists that always end at Line3.

#include "support/LogWindowTestSupport.h"

#include "common/EntryBox.h"

#include <QListWidget>
#include <QMenuBar>

using namespace zq;
using namespace zq::test;

namespace {

// The side lists end on the pixel row of Line3 and share one height.
void expectListsEndAtLine3(LogWindow& w, const std::vector<QListWidget*>& lists)
{
    const int lineY = twipsToPixelsY(w.Line3->Y1(), &w);
    for (QListWidget* l : lists) {
        EXPECT_EQ(l->geometry().top() + l->geometry().height(), lineY) << l->objectName().toStdString();
        EXPECT_EQ(l->height(), lists.front()->height());
    }
}

} // namespace

TEST_F(LogWindowTest, StoredFormSizeShrinksTheWindowCentred)
{
    struct Case {
        uint8_t stored;
        double applied;
    };
    double fullCallWidth = 0;
    for (const Case c : {Case{100, 100}, Case{0, 100}, Case{50, 50}, Case{10, 30}}) {
        freshRun();
        st.FormSizePercent = c.stored;
        LogWindow& w = start(1);
        const QSizeF screen = screenTwips(&w);
        const TwipsRect r = formTwips(w);
        EXPECT_NEAR(r.Width, screen.width() * c.applied / 100, 45) << int(c.stored);
        EXPECT_NEAR(r.Height, screen.height() * c.applied / 100, 45) << int(c.stored);
        EXPECT_NEAR(r.Left, (screen.width() - r.Width) / 2, 30) << int(c.stored);
        EXPECT_NEAR(r.Top, (screen.height() - r.Height) / 2, 30) << int(c.stored);
        if (c.stored == 100)
            fullCallWidth = controlTwips(*w.txtCall).Width;
        EXPECT_NEAR(controlTwips(*w.txtCall).Width, fullCallWidth * c.applied / 100, 30)
            << int(c.stored);
        EXPECT_EQ(st.FormSizePercent, c.stored); // applied, not rewritten
        expectListsEndAtLine3(w, {w.List1, w.List2});
    }
}

TEST_F(LogWindowTest, SideListsEndAtLine3InTheInStateWindow)
{
    st.FormSizePercent = 80;
    auto& in = static_cast<Infrm&>(start(0));
    expectListsEndAtLine3(in, {in.List1, in.List2, in.List3});
}

TEST_F(LogWindowTest, MenusKeepTheSystemFontWhateverTheWindowFont)
{
    // Fitting, the form size and the in-state window's bold font change the
    // window's font but never the menus'.
    const QFont system = QApplication::font("QMenuBar");
    for (const uint8_t outOfState : {1, 0}) {
        for (const uint8_t percent : {100, 50}) {
            freshRun();
            st.FormSizePercent = percent;
            LogWindow& w = start(outOfState);
            const QFont menu = w.menuBar()->font();
            EXPECT_NE(w.font().pointSizeF(), system.pointSizeF());
            EXPECT_EQ(menu.pointSizeF(), system.pointSizeF()) << int(outOfState) << " " << int(percent);
            EXPECT_EQ(menu.family(), system.family());
            EXPECT_EQ(menu.bold(), system.bold());
        }
    }
}

TEST_F(LogWindowTest, FormSizeCommandStoresAClampedPercentage)
{
    LogWindow& w = start(1);
    const TwipsRect before = formTwips(w);
    struct Case {
        const char* answer;
        int stored; // -1: refused
    };
    for (const Case c : {Case{"120", 100}, Case{"10", 30}, Case{"75.5", 76}, Case{"76.5", 76},
                         Case{"abc", -1}, Case{"", -1}}) {
        st.FormSizePercent = 90;
        env.prompt().clear();
        env.prompt().answerInput(QString::fromLatin1(c.answer));
        find(w, "mnuFormSize")->trigger();
        const QStringList titles = env.prompt().messageTitles();
        ASSERT_EQ(titles.size(), 1);
        if (c.stored < 0) {
            EXPECT_EQ(titles[0], QStringLiteral("Numeric Values Required")) << c.answer;
            EXPECT_EQ(st.FormSizePercent, 90) << c.answer;
        } else {
            EXPECT_EQ(titles[0], QStringLiteral("For this setting to take effect please restart this program."));
            EXPECT_EQ(st.FormSizePercent, c.stored) << c.answer;
            EXPECT_EQ(savedSettings().FormSizePercent, c.stored) << c.answer;
        }
    }
    EXPECT_EQ(formTwips(w).Width, before.Width); // takes effect at the next start
}

TEST_F(LogWindowTest, TaskbarSwitchesBetweenScreenAndWorkAreaAtFullSize)
{
    LogWindow& w = start(1);
    const QSizeF screen = screenTwips(&w);
    setWorkAreaTwipsForTesting(screen.width() - 600, screen.height() - 900);

    find(w, "mnuTaskbar")->trigger();
    EXPECT_EQ(st.TaskbarFlag, 1);
    EXPECT_TRUE(find(w, "mnuTaskbar")->isChecked());
    EXPECT_EQ(savedSettings().TaskbarFlag, 1);
    EXPECT_NEAR(formTwips(w).Width, screen.width() - 600, 30);
    EXPECT_NEAR(formTwips(w).Height, screen.height() - 900, 30);
    EXPECT_NEAR(formTwips(w).Top, 0, 30);
    expectListsEndAtLine3(w, {w.List1, w.List2});

    // Without it the window takes the whole screen, which is its available
    // area: the frame never covers the panels.
    find(w, "mnuTaskbar")->trigger();
    EXPECT_EQ(st.TaskbarFlag, 0);
    EXPECT_FALSE(find(w, "mnuTaskbar")->isChecked());
    EXPECT_NEAR(formTwips(w).Width, screen.width() - 600, 30);
    EXPECT_NEAR(formTwips(w).Height, screen.height() - 900, 30);

    // Below 100 % the command refuses, though the window is still full size.
    st.FormSizePercent = 80;
    env.prompt().clear();
    find(w, "mnuTaskbar")->trigger();
    EXPECT_EQ(env.prompt().messageTitles(),
              QStringList({"Please set your form size to 100% to use this option."}));
    EXPECT_EQ(st.TaskbarFlag, 0);
    EXPECT_FALSE(find(w, "mnuTaskbar")->isChecked());
    setWorkAreaTwipsForTesting(0, 0);
}
