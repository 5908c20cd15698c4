#pragma once
// What a screen reader reads where the window shows something by colour,
// by position or by a changing figure alone: windows read as windows, a
// figure read with its caption, a refusal beside a box read with the box,
// and an item read with whether it is worked.

#include <QString>

class QLabel;
class QWidget;

namespace zq {

// How a top-level window that is neither a QDialog nor a QMainWindow is
// read: as a window or as a dialog (rather than as a plain filler).
enum class WindowRole { Window, Dialog };
void readAsWindow(QWidget& window, WindowRole role);

// How the changes of a figure reach a screen reader.  Announced: the
// figure is read in its name, and each change of what it shows is a
// change of its name.  Quiet: its name is its caption alone and never
// changes, the figure is only in its text (a clock, changing every second,
// would otherwise drown out everything else).
enum class FigureChanges { Announced, Quiet };

// `figure`, a label showing a number or a time, is read with its caption:
// announced, by the name "Total Score 288"; quiet, by the name "UTC" and
// the text "14:02:11".  What it shows is its value and its accessible
// text either way, and `caption`, a label, is its labelling relation.  The
// caption is read as it stands, without its dot leaders and closing colon;
// `unit`, when given, is a label whose text follows the figure ("2:05:09
// PM").
void readFigureWithCaption(QLabel& figure, QLabel& caption,
                           FigureChanges changes = FigureChanges::Announced);
void readFigureWithCaption(QLabel& figure, const QString& caption,
                           FigureChanges changes = FigureChanges::Announced,
                           const QLabel* unit = nullptr);

// `message` (a refusal such as "   Invalid!" beside `box`) is read with
// the box: while the message is shown, its text is the box's description
// (before any description the box has of its own); hidden, the box has
// its own description back.
void tieMessageToBox(QLabel& message, QWidget& box);

// The name of an item that is worked or still needed: "CT, worked",
// "CT, not worked".
QString workedItemName(const QString& item, bool worked);

} // namespace zq
