// Controls take the caption beside them as their accessible name.  Text
// boxes: the label left of the box on its row, else right of it, else above
// it, else below it; never a label with another control between, a hidden
// label for a box in view, or a label that already names another box; a box
// with a name of its own keeps it.  Lists and panes: the label left of them
// or above them, in its short form.  A caption too long for a name is read
// in its short form, the whole caption as the description.

#include "common/EntryBox.h"
#include "common/NamedControls.h"
#include "common/TwipsLayout.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
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

QString readDescription(QWidget* box)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(box);
    return face ? face->text(QAccessible::Description) : QString();
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

    nameControlsAfterCaptions(window);
    nameControlsAfterCaptions(window); // twice changes nothing

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

TEST(BoxCaptions, ListsPanesAndLongCaptionsAreReadByShortNames)
{
    QWidget window;
    // A list under its caption, whose count changes; a list with only a
    // caption below it; a pane beside its caption.
    makeNamedLabel(&window, "lblWorked", "Cnty Wkd - 0", 120, 120, 1500, 240);
    auto* worked = new QListWidget(&window);
    placeControl(*worked, 120, 380, 1500, 1200);
    auto* below = new QListWidget(&window);
    placeControl(*below, 1800, 380, 1500, 1200);
    makeNamedLabel(&window, "lblHint", "Click a county to remove it.", 1800, 1640, 1500, 240);
    makeNamedLabel(&window, "lblPane", "Select Option:", 3500, 380, 1300, 240);
    auto* pane = new QPlainTextEdit(&window);
    pane->setReadOnly(true);
    placeControl(*pane, 4900, 380, 2000, 1200);
    // Long captions: a box's with a remark in brackets, a check box's own,
    // an instruction with none.
    makeNamedLabel(&window, "lblSoap", "Soapbox (Add any comments you would like to make about the contest):",
                   120, 2000, 5000, 240);
    EntryBox* soap = makeNamedBox(&window, "txtSoap", "", 120, 2260, 5000);
    auto* echo = makeNamedCheck(&window, "chkEcho", "Display CW text on main form and in the log (NA for WinKey).",
                                120, 2700, 5000);
    makeNamedLabel(&window, "lblLong", "Please type here the complete command that your radio needs to switch.",
                   120, 3100, 6000, 240);
    EntryBox* command = makeNamedBox(&window, "txtCommand", "", 120, 3360, 3000);
    window.resize(700, 400);

    nameControlsAfterCaptions(window);
    nameControlsAfterCaptions(window); // twice changes nothing

    const struct {
        QWidget* control;
        const char* name;
        const char* description;
    } cases[] = {
        {worked, "Cnty Wkd", ""},
        {below, "", ""},
        {pane, "Select Option", ""},
        {soap, "Soapbox", "Soapbox (Add any comments you would like to make about the contest):"},
        {echo, "Display CW text on main form and in the log",
         "Display CW text on main form and in the log (NA for WinKey)."},
        // No short form: read by the whole instruction, which the window
        // must name itself.
        {command, "Please type here the complete command that your radio needs to switch.", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readName(c.control), QLatin1String(c.name));
        EXPECT_EQ(readDescription(c.control), QLatin1String(c.description));
    }
}

} // namespace
