#pragma once
// Twips geometry: windows are laid out in twips (1/1440 inch) and placed in
// pixels through the screen's logical DPI.  Pixels are what the widgets
// hold, so a position written in twips reads back rounded to whole pixels.
//
// A window's Left/Top/Width/Height are its outer frame relative to the
// screen's origin; its scale size is the client area (for a main window,
// without the menu bar).  A control's Left/Top are relative to its
// container; for a main window, controls live on the central widget.

#include <QColor>
#include <QMargins>
#include <QRect>
#include <QSizeF>
#include <QWidget>

class QScreen;

namespace zq {

constexpr double TwipsPerInch = 1440.0;

// The screen a widget is on (the primary screen when it has none yet).
QScreen* screenOf(const QWidget* w = nullptr);

double twipsPerPixelX(const QWidget* w = nullptr);
double twipsPerPixelY(const QWidget* w = nullptr);
int twipsToPixelsX(double twips, const QWidget* w = nullptr);
int twipsToPixelsY(double twips, const QWidget* w = nullptr);
double pixelsToTwipsX(int pixels, const QWidget* w = nullptr);
double pixelsToTwipsY(int pixels, const QWidget* w = nullptr);

// The whole screen and the desktop work area (without panels), in twips.
QSizeF screenTwips(const QWidget* w = nullptr);
QSizeF workAreaTwips(const QWidget* w = nullptr);
// Test hooks: a screen / work area of the given twips size at the screen's
// origin.  (0, 0) restores the real one.  A screen override also sets the
// work area unless a work area override is in force.
void setScreenTwipsForTesting(double width, double height);
void setWorkAreaTwipsForTesting(double width, double height);

// The screen's available area (without panels) in global pixels; the test
// overrides above stand for an area of their size at the screen's origin.
QRect availablePixels(const QWidget* w = nullptr);

struct TwipsRect;
// The same area in twips, relative to the screen's origin.
TwipsRect availableTwips(const QWidget* w = nullptr);

// Window frames.  A window's frame (title bar and borders) is known to Qt
// only once the window manager has framed it; until then the margins of a
// framed window already on screen stand in for it, so that a window can be
// sized and placed, frame included, before it is first shown.
QMargins frameMarginsOf(const QWidget& form);
// Test hook: the margins assumed for a window not yet framed; `set` false
// forgets what was learned and learns afresh from framed windows.
void setFrameMarginsForTesting(const QMargins& margins, bool set = true);
// The frame rectangle, in global pixels, of a window.
QRect framePixels(const QWidget& form);
// Sizes and places a window so that its frame covers `frame` (global pixels).
void setFramePixels(QWidget& form, const QRect& frame);
// `frame` moved, and where it is larger than `available` shrunk, so that it
// lies inside `available`; a frame already inside is returned unchanged.
QRect placeInside(const QRect& frame, const QRect& available);
// Moves (and, when it is too large, shrinks) a window so that its frame lies
// inside the screen's available area.
void keepFrameInside(QWidget& form);

struct TwipsRect {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};

// Controls: geometry relative to the container.
TwipsRect controlTwips(const QWidget& control);
void placeControl(QWidget& control, double left, double top, double width, double height);
inline void placeControl(QWidget& control, const TwipsRect& r)
{
    placeControl(control, r.Left, r.Top, r.Width, r.Height);
}

// Windows: outer frame relative to the screen's origin.
TwipsRect formTwips(const QWidget& form);
void setFormLeft(QWidget& form, double left);
void setFormTop(QWidget& form, double top);
void setFormWidth(QWidget& form, double width);
void setFormHeight(QWidget& form, double height);
void setFormTwips(QWidget& form, double left, double top, double width, double height);
// Client area (scale width and height) in twips.
QSizeF formScaleTwips(const QWidget& form);
// The widget that holds a window's controls: the central widget of a main
// window, else the window itself.
QWidget& controlRoot(QWidget& form);

// Font size in points of a widget (its own or inherited font) and setting it
// explicitly on the widget.
double fontSize(const QWidget& w);
void setFontSize(QWidget& w, double points);

// A drawn straight line with end points X1,Y1 - X2,Y2 in twips relative to
// its container.  It covers only the bounding box of the line and lets mouse
// events through.
class LineControl : public QWidget {
    Q_OBJECT
public:
    explicit LineControl(QWidget* parent = nullptr);
    LineControl(QWidget* parent, double x1, double y1, double x2, double y2);

    double X1() const { return x1_; }
    double Y1() const { return y1_; }
    double X2() const { return x2_; }
    double Y2() const { return y2_; }
    void setX1(double v);
    void setY1(double v);
    void setX2(double v);
    void setY2(double v);
    void setLine(double x1, double y1, double x2, double y2);

    QColor BorderColor() const { return color_; }
    void setBorderColor(const QColor& c);
    int BorderWidth() const { return penWidth_; }
    void setBorderWidth(int pixels);
    // Solid unless set otherwise (Qt::DotLine for a dotted line).
    Qt::PenStyle BorderStyle() const { return style_; }
    void setBorderStyle(Qt::PenStyle style);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void updatePlacement();
    QPoint endPixels(double x, double y) const;

    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    QColor color_ = Qt::black;
    int penWidth_ = 1;
    Qt::PenStyle style_ = Qt::SolidLine;
};

} // namespace zq
