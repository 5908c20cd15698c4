// Window fitting: the screen fit, the sized fit and a window's own variant
// of the walk, on a real (offscreen) window with one control of each kind.

#include "common/WindowFit.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace zq;

namespace {

struct DesignWindow {
    std::unique_ptr<QWidget> form;
    QLabel* label = nullptr;
    QLineEdit* edit = nullptr;
    QPushButton* button = nullptr;
    QCheckBox* check = nullptr;
    QRadioButton* radio = nullptr;
    QGroupBox* frame = nullptr;
    QLabel* inFrame = nullptr;
    QListWidget* list = nullptr;
    QTreeWidget* tree = nullptr;
    QLabel* image = nullptr;
    LineControl* line = nullptr;
    QComboBox* combo = nullptr;
    QWidget* picture = nullptr;
    QLabel* onPicture = nullptr;

    // Every control at a place that is a whole number of pixels after a
    // doubling; fonts are all inherited from the window.
    explicit DesignWindow(double width = 4800, double height = 3600)
    {
        form = std::make_unique<QWidget>();
        QFont f = form->font();
        f.setPointSizeF(8.0);
        form->setFont(f);
        setFormTwips(*form, 0, 0, width, height);
        auto add = [&](auto* w, const char* name, double l, double t, double wd, double h) {
            w->setObjectName(QString::fromLatin1(name));
            placeControl(*w, l, t, wd, h);
            return w;
        };
        label = add(new QLabel("Call", form.get()), "Label1", 120, 120, 1200, 300);
        edit = add(new QLineEdit(form.get()), "Text1", 1440, 120, 1500, 300);
        button = add(new QPushButton("Done", form.get()), "Command1", 120, 600, 900, 360);
        check = add(new QCheckBox("Rover", form.get()), "Check1", 1200, 600, 900, 300);
        radio = add(new QRadioButton("Yes", form.get()), "Option1", 2400, 600, 900, 300);
        frame = add(new QGroupBox("Frame", form.get()), "Frame1", 120, 1200, 2400, 1200);
        inFrame = add(new QLabel("Inside", frame), "Label2", 120, 300, 900, 300);
        list = add(new QListWidget(form.get()), "List1", 2700, 1200, 1800, 1200);
        tree = add(new QTreeWidget(form.get()), "ListView1", 120, 2520, 2400, 900);
        tree->setColumnCount(2);
        tree->header()->setStretchLastSection(false);
        tree->header()->resizeSection(0, 40);
        tree->header()->resizeSection(1, 60);
        image = add(new QLabel(form.get()), "Image1", 3000, 120, 600, 600);
        QPixmap pm(8, 8);
        pm.fill(Qt::blue);
        image->setPixmap(pm);
        line = new LineControl(form.get(), 120, 1080, 4500, 1080);
        line->setObjectName("Line1");
        combo = add(new QComboBox(form.get()), "Combo1", 2700, 2520, 1200, 300);
        picture = add(new QWidget(form.get()), "Picture1", 3900, 2520, 600, 600);
        onPicture = add(new QLabel("P", picture), "Label3", 30, 30, 300, 150);
    }
};

// Within one pixel of the expected twips.
void expectTwips(double actual, double expected, const char* what)
{
    EXPECT_NEAR(actual, expected, twipsPerPixelX() + 0.01) << what;
}

class WindowFitTest : public ::testing::Test {
protected:
    test::TestEnv env;
    // Windows without a frame unless a test gives one.
    void SetUp() override { setFrameMarginsForTesting({}); }
    void TearDown() override
    {
        setScreenTwipsForTesting(0, 0);
        setWorkAreaTwipsForTesting(0, 0);
        setFrameMarginsForTesting({}, false);
    }
};

} // namespace

TEST_F(WindowFitTest, ScreenFitScalesWindowControlsAndFontsByTheScreen)
{
    struct Case {
        double screenW, screenH;
        double rW, rH;          // control ratios
        double controlFont;     // control font factor
        double windowFont;      // window font factor
    };
    const Case cases[] = {
        {9600, 7200, 1.0, 1.0, 1.0, 1.0},
        {19200, 14400, 2.0, 2.0, 2.0, 2.0},
        {19200, 12000, 2.0, 12000.0 / 7200, 12000.0 / 7200, 12000.0 / 7200},
        {12000, 9600, 1.25, 9600.0 / 7200, 1.25, 9600.0 / 7200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screenW << " x " << c.screenH);
        setScreenTwipsForTesting(c.screenW, c.screenH);
        DesignWindow w;
        const double labelFont = fontSize(*w.label);
        ResizeFormToScreen(*w.form);

        const TwipsRect f = formTwips(*w.form);
        expectTwips(f.Width, 4800 * c.rW, "Width");
        expectTwips(f.Height, 3600 * c.rH, "Height");
        expectTwips(f.Left, (c.screenW - 4800 * c.rW) / 2, "Left");
        expectTwips(f.Top, (c.screenH - 3600 * c.rH) / 2 - 170, "Top");
        EXPECT_NEAR(fontSize(*w.form), 8.0 * c.windowFont, 0.01);

        for (QWidget* ctl : std::initializer_list<QWidget*>{w.label, w.edit, w.button, w.check,
                                                            w.radio, w.frame, w.list}) {
            SCOPED_TRACE(ctl->objectName().toStdString());
            EXPECT_NEAR(fontSize(*ctl), labelFont * c.controlFont, 0.01);
        }
        const TwipsRect l = controlTwips(*w.label);
        expectTwips(l.Left, 120 * c.rW, "label Left");
        expectTwips(l.Top, 120 * c.rH, "label Top");
        expectTwips(l.Width, 1200 * c.rW, "label Width");
        expectTwips(l.Height, 300 * c.rH, "label Height");
        // Children of a frame scale within it.
        const TwipsRect in = controlTwips(*w.inFrame);
        expectTwips(in.Left, 120 * c.rW, "frame child Left");
        expectTwips(in.Top, 300 * c.rH, "frame child Top");
        EXPECT_NEAR(fontSize(*w.inFrame), labelFont * c.controlFont, 0.01);
    }
}

TEST_F(WindowFitTest, EachKindGetsOnlyWhatTheWalkGivesIt)
{
    setScreenTwipsForTesting(19200, 14400);
    DesignWindow w;
    const double base = fontSize(*w.label);
    const TwipsRect comboBefore = controlTwips(*w.combo);
    const TwipsRect pictureBefore = controlTwips(*w.picture);
    ResizeFormToScreen(*w.form);

    // Image: geometry only.
    const TwipsRect img = controlTwips(*w.image);
    expectTwips(img.Left, 6000, "image Left");
    expectTwips(img.Width, 1200, "image Width");
    EXPECT_NEAR(fontSize(*w.image), base, 0.01);
    // Line: end points.
    EXPECT_DOUBLE_EQ(w.line->X1(), 240);
    EXPECT_DOUBLE_EQ(w.line->X2(), 9000);
    EXPECT_DOUBLE_EQ(w.line->Y1(), 2160);
    // List view columns keep their proportions.
    EXPECT_EQ(w.tree->header()->sectionSize(0), 80);
    EXPECT_EQ(w.tree->header()->sectionSize(1), 120);
    // A combo box and a picture box keep their design values and fonts,
    // though the window's font doubled; a label on the picture box scales.
    const TwipsRect combo = controlTwips(*w.combo);
    EXPECT_DOUBLE_EQ(combo.Left, comboBefore.Left);
    EXPECT_DOUBLE_EQ(combo.Width, comboBefore.Width);
    EXPECT_NEAR(fontSize(*w.combo), base, 0.01);
    EXPECT_DOUBLE_EQ(controlTwips(*w.picture).Width, pictureBefore.Width);
    expectTwips(controlTwips(*w.onPicture).Width, 600, "label on picture");
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
}

TEST_F(WindowFitTest, WindowAsHighAsTheScreenIsNotPlacedAboveItsTop)
{
    setScreenTwipsForTesting(9600, 7200);
    DesignWindow w(9600, 7200);
    ResizeFormToScreen(*w.form);
    const TwipsRect f = formTwips(*w.form);
    expectTwips(f.Height, 7200, "Height");
    EXPECT_GE(f.Top, 0.0);
}

TEST_F(WindowFitTest, SizedFitFollowsTheClientAreaAndDampsFontGrowth)
{
    struct Case {
        double targetW, targetH;
        uint8_t exact;
        float growth;
        double expectW, expectH; // window outer size
        double fontFactor;
    };
    const Case cases[] = {
        {19200, 14400, 0, 1.0f, 9600, 7200, 2.0},
        {19200, 14400, 0, 0.0f, 9600, 7200, 1.0},
        {19200, 14400, 0, 0.5f, 9600, 7200, 1.5},
        {4800, 3600, 0, 0.0f, 2400, 1800, 0.5}, // shrinking: the full ratio
        {6000, 4500, 1, 1.0f, 6000, 4500, 1.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.targetW << " exact " << int(c.exact) << " growth "
                                        << c.growth);
        // A screen as large as the largest target: the window stays on it.
        setScreenTwipsForTesting(19200, 14400);
        DesignWindow w;
        const double base = fontSize(*w.label);
        ResizeFormToSize(*w.form, c.targetW, c.targetH, 9600, 7200, c.exact, c.growth, QString());
        const TwipsRect f = formTwips(*w.form);
        expectTwips(f.Width, c.expectW, "Width");
        expectTwips(f.Height, c.expectH, "Height");
        expectTwips(f.Left, (c.targetW - c.expectW) / 2, "Left");
        expectTwips(f.Top, (c.targetH - c.expectH) / 2, "Top");
        EXPECT_NEAR(fontSize(*w.label), base * c.fontFactor, 0.01);
        EXPECT_NEAR(fontSize(*w.form), 8.0 * c.fontFactor, 0.01);
        expectTwips(controlTwips(*w.label).Width, 1200 * c.expectW / 4800, "label Width");
    }
}

TEST_F(WindowFitTest, SizedFitNamesFontsOnlyWhenANameIsGiven)
{
    DesignWindow a;
    const QString family = a.label->font().family();
    ResizeFormToSize(*a.form, 9600, 7200, 9600, 7200, 0, 1.0f, QString());
    EXPECT_EQ(a.label->font().family(), family);

    DesignWindow b;
    ResizeFormToSize(*b.form, 9600, 7200, 9600, 7200, 0, 1.0f, QStringLiteral("Arial"));
    EXPECT_EQ(b.label->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(b.form->font().family(), QStringLiteral("Arial"));
    EXPECT_NE(b.combo->font().family(), QStringLiteral("Arial"));
}

TEST_F(WindowFitTest, ZeroSizesAreReportedAndStopTheFit)
{
    // A zero design size: reported, the window keeps its size.
    DesignWindow w;
    ResizeFormToSize(*w.form, 9600, 7200, 0, 7200, 0, 1.0f, QString());
    ASSERT_EQ(env.prompt().messageTitles(), QStringList{QStringLiteral("Form Resize Error")});
    EXPECT_EQ(env.prompt().messageTexts().first(), QStringLiteral("Division by zero"));
    expectTwips(formTwips(*w.form).Width, 4800, "Width kept");
    expectTwips(controlTwips(*w.label).Width, 1200, "control kept");

    // A window without a client area: sized, then reported before any
    // control is touched.
    env.prompt().clear();
    DesignWindow empty;
    empty.form->resize(0, 0);
    ResizeFormToSize(*empty.form, 9600, 7200, 9600, 7200, 1, 1.0f, QString());
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{QStringLiteral("Form Resize Error")});
    expectTwips(controlTwips(*empty.label).Width, 1200, "control kept");

    // The silent variant reports through its result only.
    env.prompt().clear();
    DesignWindow s;
    FitParameters p;
    p.designSize = QSizeF(0, 0);
    p.onError = FitParameters::OnError::Silent;
    EXPECT_FALSE(FitWindow(*s.form, p));
    EXPECT_TRUE(env.prompt().messageTexts().isEmpty());
}

TEST_F(WindowFitTest, OwnVariantParksCapsAndCentres)
{
    setScreenTwipsForTesting(19200, 12000);
    DesignWindow w(9600, 7200);
    placeControl(*w.button, -75000 + 600, 600, 900, 360); // parked off the window
    w.line->setLine(-75000 + 300, 100, -75000 + 600, 100);
    const double base = fontSize(*w.label);

    FitParameters p;
    p.placement = FitParameters::Placement::Centred;
    p.windowFont = FitParameters::WindowFont::NewWidthOverDesign;
    p.controlFont = FitParameters::ControlFont::WidthRatioCapped;
    p.order = FitParameters::Order::FontThenGeometry;
    p.parkedControls = true;
    p.scaleListColumns = false;
    p.onError = FitParameters::OnError::Silent;
    ASSERT_TRUE(FitWindow(*w.form, p));

    const TwipsRect f = formTwips(*w.form);
    expectTwips(f.Top, (12000 - f.Height) / 2, "Top");
    EXPECT_NEAR(fontSize(*w.form), 8.0 * 2.0, 0.01);   // new width / 9600
    EXPECT_NEAR(fontSize(*w.label), base * 1.5, 0.01); // rW 2 capped at 1.5
    expectTwips(controlTwips(*w.button).Left, 1200 - 75000, "parked Left");
    EXPECT_DOUBLE_EQ(w.line->X1(), 600 - 75000);
    EXPECT_DOUBLE_EQ(w.line->X2(), 1200 - 75000);
    EXPECT_EQ(w.tree->header()->sectionSize(0), 40);
}

TEST(FramePlacement, AFrameIsMovedAndIfNeededShrunkIntoTheAvailableArea)
{
    struct Case {
        const char* what;
        QRect frame;
        QRect available;
        QRect expected;
    };
    const QRect area(0, 30, 1024, 738); // a panel of 30 pixels at the top
    const Case cases[] = {
        {"inside stays", QRect(100, 100, 400, 300), area, QRect(100, 100, 400, 300)},
        {"exactly the area", area, area, area},
        {"title bar above the top", QRect(0, 0, 1024, 738), area, area},
        {"bottom below the area", QRect(100, 500, 400, 300), area, QRect(100, 468, 400, 300)},
        {"right of the area", QRect(900, 100, 400, 300), area, QRect(624, 100, 400, 300)},
        {"left of the area", QRect(-20, 100, 400, 300), area, QRect(0, 100, 400, 300)},
        {"taller than the area", QRect(0, 20, 1024, 779), area, area},
        {"larger both ways", QRect(-8, -30, 1100, 800), area, area},
        {"second screen", QRect(1000, 0, 800, 600), QRect(1024, 0, 1280, 1024),
         QRect(1024, 0, 800, 600)},
    };
    for (const Case& c : cases) {
        const QRect r = placeInside(c.frame, c.available);
        EXPECT_EQ(r, c.expected) << c.what;
        EXPECT_TRUE(c.available.contains(r)) << c.what;
    }
}

TEST_F(WindowFitTest, FittedFramesLieInsideTheAvailableAreaWithTheirTitleBars)
{
    // A window manager frames windows only once they are shown; the margins
    // of windows it framed before stand in for the frame until then.
    const QMargins frame(4, 24, 4, 4);
    setFrameMarginsForTesting(frame);
    struct Case {
        const char* what;
        double designHeight; // the window's outer height in twips
        FitParameters p;
    };
    const Case cases[] = {
        {"screen fit, raised", 7200, FitParameters::toScreen()},
        {"taller than the design screen", 7300, FitParameters::toScreenCentred(FitParameters::ControlFont::SmallerRatio)},
        {"work area at the origin", 6795, FitParameters::toWorkAreaAtOrigin(FitParameters::ControlFont::SmallerRatio)},
        {"work area centred", 7080,
         FitParameters::toWorkAreaCentred(FitParameters::ControlRatios::OuterAfterOverBefore,
                                          FitParameters::ControlFont::SmallerRatio)},
    };
    for (const auto& [w, h] : {std::pair{15360.0, 11520.0}, std::pair{24000.0, 18000.0}}) {
        setScreenTwipsForTesting(w, h);
        const QRect available = availablePixels();
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << " on " << w << " x " << h);
            DesignWindow d(9600, c.designHeight);
            placeControl(*d.button, 120, c.designHeight - 900, 900, 360); // at the bottom
            ASSERT_TRUE(FitWindow(*d.form, c.p));
            const QRect client = d.form->geometry();
            EXPECT_EQ(framePixels(*d.form), client.marginsAdded(frame));
            EXPECT_TRUE(available.contains(client.marginsAdded(frame)))
                << "frame " << client.marginsAdded(frame).x() << "," << client.marginsAdded(frame).y()
                << " " << client.width() + 8 << " x " << client.height() + 28;
            // The bottom control is still inside the client area.
            EXPECT_LE(d.button->geometry().bottom(), client.height()) << "bottom button";
        }
    }
    setFrameMarginsForTesting({}, false);
}

TEST_F(WindowFitTest, AFrameKnownOnlyOnceShownIsPutBackInsideTheArea)
{
    // Fitted as if frameless, the window fills the area; the frame the
    // platform puts around it when shown would stick out, so it is moved
    // and shrunk back inside.
    setScreenTwipsForTesting(9600, 7200);
    DesignWindow d(9600, 7200);
    ASSERT_TRUE(FitWindow(*d.form, FitParameters::toWorkAreaAtOrigin(FitParameters::ControlFont::Unchanged)));
    d.form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d.form.get()));
    QCoreApplication::processEvents();
    const QRect frame = d.form->frameGeometry();
    if (frame == d.form->geometry())
        GTEST_SKIP() << "this platform draws no frame";
    EXPECT_TRUE(availablePixels(d.form.get()).contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << " x " << frame.height();
}
