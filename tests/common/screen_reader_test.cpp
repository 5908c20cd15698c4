// What a screen reader reads, through QAccessible: a refusal shown beside
// a box is the box's description while shown; a figure is read with its
// caption, loudly or quietly; a plain top-level widget is read as a
// window or a dialog.

#include "common/EntryBox.h"
#include "common/NamedControls.h"
#include "common/ScreenReader.h"

#include <QAccessible>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

using namespace zq;

namespace {

QAccessibleInterface* face(QObject* o)
{
    return QAccessible::queryAccessibleInterface(o);
}

QString read(QObject* o, QAccessible::Text t)
{
    QAccessibleInterface* f = face(o);
    return f ? f->text(t) : QString();
}

TEST(ScreenReader, AMessageBesideABoxIsItsDescriptionWhileShown)
{
    struct Case {
        const char* name;
        QString ownDescription;
        QString toolTip;
        QString whileShown; // the box's description while the message shows
        QString afterwards; // and once it is hidden again
    };
    const Case cases[] = {
        {"bare box", {}, {}, "Invalid!", {}},
        {"box with a hint", "Type the county.", {}, "Invalid! Type the county.", "Type the county."},
        {"box with a tool tip", {}, "Your county", "Invalid! Your county", "Your county"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        EntryBox* box = makeNamedBox(&window, "Text1", {}, 720, 600, 1575);
        box->setAccessibleDescription(c.ownDescription);
        box->setToolTip(c.toolTip);
        QLabel* invalid = makeNamedLabel(&window, "Label2", "   Invalid!", 2400, 600, 735, 255);
        invalid->hide();
        tieMessageToBox(*invalid, *box);
        EXPECT_EQ(read(box, QAccessible::Description), c.afterwards);

        // Shown and hidden again, as a failed and then a passed check do,
        // also while the window itself is not shown.
        for (int round = 0; round < 2; ++round) {
            invalid->show();
            EXPECT_EQ(read(box, QAccessible::Description), c.whileShown);
            invalid->show(); // shown twice, still read once
            EXPECT_EQ(read(box, QAccessible::Description), c.whileShown);
            invalid->hide();
            EXPECT_EQ(read(box, QAccessible::Description), c.afterwards);
            window.show();
        }
    }

    // A message shown when it is tied is read at once.
    QWidget window;
    EntryBox* box = makeNamedBox(&window, "Text1", {}, 720, 600, 1575);
    QLabel* shown = makeNamedLabel(&window, "Label2", "   Invalid!", 2400, 600, 735, 255);
    tieMessageToBox(*shown, *box);
    EXPECT_EQ(read(box, QAccessible::Description), QStringLiteral("Invalid!"));
}

TEST(ScreenReader, AFigureIsReadWithItsCaption)
{
    QWidget window;
    QLabel* caption = makeNamedLabel(&window, "Label7", "Total Score..................", 0, 0, 900, 255);
    QLabel* score = makeNamedLabel(&window, "lblTotScore", "288", 1000, 0, 600, 255);
    QLabel* utcCaption = makeNamedLabel(&window, "Label11", "UTC", 1000, 400, 400, 255);
    QLabel* utc = makeNamedLabel(&window, "lblutctime", "18:30:00", 0, 400, 900, 255);
    QLabel* amPm = makeNamedLabel(&window, "Label16", "PM", 1000, 800, 400, 255);
    QLabel* local = makeNamedLabel(&window, "lblCurTime", "1:30:00", 0, 800, 900, 255);
    // Asked for before it is tied, as a change announced while a window is
    // built asks for it.
    ASSERT_EQ(read(score, QAccessible::Name), QStringLiteral("288"));
    readFigureWithCaption(*score, *caption);
    readFigureWithCaption(*utc, *utcCaption, FigureChanges::Quiet);
    readFigureWithCaption(*local, QStringLiteral("Local Time"), FigureChanges::Quiet, amPm);

    struct Reading {
        QLabel* figure;
        QString name, value;
    };
    auto check = [&](const std::vector<Reading>& readings) {
        for (const Reading& r : readings) {
            SCOPED_TRACE(r.figure->objectName().toStdString());
            EXPECT_EQ(read(r.figure, QAccessible::Name), r.name);
            EXPECT_EQ(read(r.figure, QAccessible::Value), r.value);
            QAccessibleTextInterface* text = face(r.figure)->textInterface();
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(text->text(0, text->characterCount()), r.value);
            EXPECT_EQ(face(r.figure)->role(), QAccessible::StaticText);
        }
    };
    check({{score, "Total Score 288", "288"},
           {utc, "UTC", "18:30:00"},
           {local, "Local Time", "1:30:00 PM"}});
    // A second later, and with a new score: the clocks keep their names.
    score->setText("290");
    utc->setText("18:30:01");
    local->setText("1:30:01");
    check({{score, "Total Score 290", "290"},
           {utc, "UTC", "18:30:01"},
           {local, "Local Time", "1:30:01 PM"}});
    // An empty figure is read by its caption.
    score->clear();
    EXPECT_EQ(read(score, QAccessible::Name), QStringLiteral("Total Score"));

    // The caption labels its figure.
    for (auto [figure, label] : {std::pair{score, caption}, std::pair{utc, utcCaption}}) {
        const auto labels = face(figure)->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels[0].first->object(), label);
    }
    // A quiet figure has a name of its own: the label announces no change of
    // its text.
    EXPECT_EQ(utc->accessibleName(), QStringLiteral("UTC"));
    EXPECT_TRUE(score->accessibleName().isEmpty());
}

TEST(ScreenReader, APlainTopLevelWidgetIsReadAsAWindowOrADialog)
{
    for (auto [role, expected] : {std::pair{WindowRole::Window, QAccessible::Window},
                                  std::pair{WindowRole::Dialog, QAccessible::Dialog}}) {
        QWidget window;
        window.setWindowTitle(QStringLiteral(" Setup Information"));
        ASSERT_EQ(face(&window)->role(), QAccessible::Client); // read as a filler
        readAsWindow(window, role);
        EXPECT_EQ(face(&window)->role(), expected);
        EXPECT_EQ(read(&window, QAccessible::Name).trimmed(), QStringLiteral("Setup Information"));
        QLabel* inside = makeNamedLabel(&window, "Label1", "Call", 0, 0, 900, 255);
        EXPECT_EQ(face(&window)->indexOfChild(face(inside)), 0);
    }
}

} // namespace
