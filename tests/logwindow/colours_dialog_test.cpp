// The multiplier colour dialog: the two colours change when picked, and the
// samples show them.

#include "support/LogWindowTestSupport.h"

#include "common/ModalShow.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "logstore/StationSettings.h"
#include "logwindow/Form5.h"
#include "logwindow/Form6.h"
#include "support/TestEnv.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace zq;
using namespace zq::test;

namespace {

QColor textColour(const QLabel& l)
{
    return l.palette().color(QPalette::WindowText);
}

} // namespace

TEST(ColoursDialog, OpensWithTheStoredColoursOnItsSamples)
{
    TestEnv env;
    StationSettings& st = StationSettings::instance();
    st.WorkedColor = 0x0000FF;    // red (red in the low byte)
    st.RemainingColor = 0xFF8000; // blue 255, green 128
    Form6& f = DefaultInstance<Form6>();
    EXPECT_EQ(f.windowTitle(), QStringLiteral(" Modify Multiplier Color Selections"));
    EXPECT_EQ(f.Command1->text(), QStringLiteral("Change \"Remaining\" Color"));
    EXPECT_EQ(f.Command3->text(), QStringLiteral("Change \"Worked\" Color"));
    EXPECT_EQ(textColour(*f.Label1), QColor(255, 0, 0));
    EXPECT_EQ(textColour(*f.Label2), QColor(0, 128, 255));
    EXPECT_EQ(Form6::storedFromColor(QColor(0, 128, 255)), 0xFF8000);
}

TEST(ColoursDialog, PickedColourTakesEffectAtOnceAndCancelKeepsIt)
{
    struct Case {
        const char* button;
        const char* sample;
        int32_t StationSettings::*colour;
        int32_t StationSettings::*other;
    };
    const Case cases[] = {
        {"Command3", "Label1", &StationSettings::WorkedColor, &StationSettings::RemainingColor},
        {"Command1", "Label2", &StationSettings::RemainingColor, &StationSettings::WorkedColor},
    };
    for (const Case& c : cases) {
        TestEnv env;
        StationSettings& st = StationSettings::instance();
        st.WorkedColor = 0x00FF00;
        st.RemainingColor = 0x00FF00;
        Form6& f = DefaultInstance<Form6>();
        auto* button = f.findChild<QPushButton*>(QLatin1String(c.button));
        auto* sample = f.findChild<QLabel*>(QLatin1String(c.sample));
        ASSERT_TRUE(button && sample) << c.button;

        env.prompt().answerColor(QColor(10, 20, 30));
        button->click();
        EXPECT_EQ(st.*c.colour, 10 | 20 << 8 | 30 << 16) << c.button;
        EXPECT_EQ(textColour(*sample), QColor(10, 20, 30)) << c.button;
        EXPECT_EQ(st.*c.other, 0x00FF00) << c.button;

        env.prompt().answerColor(std::nullopt); // cancelled
        button->click();
        EXPECT_EQ(st.*c.colour, 10 | 20 << 8 | 30 << 16) << c.button;
        EXPECT_EQ(textColour(*sample), QColor(10, 20, 30)) << c.button;

        // Each time the dialog opened on the colour in force.
        const auto calls = env.prompt().callsOf(ScriptedPrompt::Kind::Color);
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].text, QColor(0, 255, 0).name());
        EXPECT_EQ(calls[1].text, QColor(10, 20, 30).name());

        f.show();
        f.Command6->click();
        EXPECT_FALSE(f.isVisible());
    }
}

TEST(ColoursDialog, WindowFitsWithItsOwnFontRules)
{
    // Twice as wide, as high as the design screen: the help viewer's fonts
    // follow the smaller ratio, the colour dialog's the width ratio.
    TestEnv env;
    setScreenTwipsForTesting(19200, 7200);
    Form6& colours = DefaultInstance<Form6>();
    EXPECT_NEAR(controlTwips(*colours.Command3).Left, 5760, 15);
    EXPECT_NEAR(controlTwips(*colours.Command3).Top, 120, 15);
    EXPECT_NEAR(fontSize(*colours.Label1), 18.0, 0.01);

    env.writeWorkFile(QStringLiteral("ReadSQSO.txt"), "x");
    Form5& help = DefaultInstance<Form5>();
    EXPECT_NEAR(controlTwips(*help.Command1).Left, 6480, 15);
    EXPECT_NEAR(controlTwips(*help.Text1).Width, 14430, 15);
    EXPECT_NEAR(fontSize(*help.Text1), 9.75, 0.01);
    EXPECT_TRUE(help.Text1->font().bold());
}

TEST_F(LogWindowTest, ColorsSavesThePickedColoursAndRepaintsTheGrid)
{
    QByteArray data;
    for (const char* spc : {"TX", "ON", "ZQ", "Germany"}) {
        ContactRecord r = contact(QStringLiteral("W1AW"), QString(), QStringLiteral("CW"));
        r.LogSpc = QLatin1String(spc);
        data += formatContactLine(r);
    }
    env.writeWorkFile(QStringLiteral("log.txt"), data);
    auto& in = static_cast<Infrm&>(start(0));

    const QColor worked(200, 0, 0), remaining(0, 0, 160);
    bool shown = false;
    setModalShowHandlerForTesting([&](QWidget& window) {
        shown = true;
        auto& f = dynamic_cast<Form6&>(window);
        env.prompt().answerColor(worked);
        f.Command3->click();
        env.prompt().answerColor(remaining);
        f.Command1->click();
        f.close(); // the close box, not Done
    });
    in.mnuColors->trigger();

    ASSERT_TRUE(shown);
    EXPECT_FALSE(WindowRegistry::isLoaded<Form6>());
    const StationSettings saved = savedSettings();
    EXPECT_EQ(saved.WorkedColor, 200);
    EXPECT_EQ(saved.RemainingColor, 160 << 16);
    int workedLabels = 0;
    for (int i = 1; i <= 59; ++i) {
        const QString code = in.Label10(i)->text();
        const bool isWorked = code == QLatin1String("TX") || code == QLatin1String("ON")
            || code == QLatin1String("ZQ");
        workedLabels += isWorked ? 1 : 0;
        EXPECT_EQ(in.Label10(i)->palette().color(QPalette::WindowText), isWorked ? worked : remaining)
            << code.toStdString();
    }
    EXPECT_EQ(workedLabels, 3);

    // Cancelling every pick still saves and reloads, with the colours unchanged.
    env.writeWorkFile(QStringLiteral("QSOpref.txt"), "marker");
    setModalShowHandlerForTesting([&](QWidget& window) {
        auto& f = dynamic_cast<Form6&>(window);
        f.Command3->click();
        f.Command6->click();
    });
    in.mnuColors->trigger();
    EXPECT_EQ(savedSettings().WorkedColor, 200);
    EXPECT_EQ(savedSettings().RemainingColor, 160 << 16);
    for (int i = 1; i <= 59; ++i)
        if (in.Label10(i)->text() == QLatin1String("TX"))
            EXPECT_EQ(in.Label10(i)->palette().color(QPalette::WindowText), worked);
}
