// Text boxes take the caption beside them as their accessible name: the
// label left of the box on its row, else right of it, else above it, else
// below it; never a label with another control between, a hidden label for
// a box in view, or a label that already names another box; a box with a
// name of its own keeps it.

#include "common/EntryBox.h"
#include "common/NamedControls.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

using namespace zq;

namespace {

QString readName(QWidget* box)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(box);
    return face ? face->text(QAccessible::Name) : QString();
}

TEST(BoxCaptions, EachBoxIsNamedByTheCaptionBesideIt)
{
    QWidget window;
    // Row 1: caption left, and a value label further right.
    makeNamedLabel(&window, "lblCall", "Call:", 120, 120, 900, 255);
    EntryBox* call = makeNamedBox(&window, "txtCall", "", 1080, 100, 1200);
    makeNamedLabel(&window, "lblCountry", "England", 2400, 120, 900, 255);
    // Row 2: caption after the box ("[13] WPM").
    EntryBox* speed = makeNamedBox(&window, "txtSpeed", "13", 120, 600, 600);
    makeNamedLabel(&window, "lblWpm", "WPM", 780, 620, 600, 255);
    // Captions above, one with a flag over the box's right end.
    makeNamedLabel(&window, "lblCounty", "County", 120, 1100, 1200, 240);
    makeNamedLabel(&window, "lblNew", "New", 1400, 1100, 400, 240);
    EntryBox* county = makeNamedBox(&window, "txtCounty", "", 120, 1360, 1800);
    // A box whose only caption lies below it; a hidden flag to its right.
    EntryBox* rover = makeNamedBox(&window, "txtRover", "", 120, 2000, 1500);
    QLabel* invalid = makeNamedLabel(&window, "lblInvalid", "Invalid!", 1700, 2000, 800, 255);
    invalid->hide();
    makeNamedLabel(&window, "lblHint", "Type the county and press Enter.", 120, 2360, 3000, 255);
    // A caption with a button between it and the box names nothing.
    makeNamedLabel(&window, "lblFar", "Far", 120, 3000, 600, 255);
    makeNamedButton(&window, "cmdGo", "Go", 800, 2960, 600);
    EntryBox* blocked = makeNamedBox(&window, "txtBlocked", "", 1500, 2980, 900);
    // A box with its own name keeps it.
    makeNamedLabel(&window, "lblOwn", "Caption", 120, 3600, 900, 255);
    EntryBox* own = makeNamedBox(&window, "txtOwn", "", 1080, 3580, 900);
    own->setAccessibleName(QStringLiteral("Own name"));
    window.resize(400, 400);

    nameBoxesAfterCaptions(window);
    nameBoxesAfterCaptions(window); // twice changes nothing

    const struct {
        QWidget* box;
        const char* name;
    } cases[] = {
        {call, "Call:"},     {speed, "WPM"},      {county, "County"},
        {rover, "Type the county and press Enter."},
        {blocked, ""},       {own, "Own name"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readName(c.box), QLatin1String(c.name)) << c.box->objectName().toStdString();
}

} // namespace
