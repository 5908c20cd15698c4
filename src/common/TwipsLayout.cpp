#include "common/TwipsLayout.h"

#include <QApplication>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>
#include <cmath>
#include <optional>

namespace zq {

namespace {

struct ScreenOverride {
    QSizeF screen;
    QSizeF workArea;
    bool frameSet = false;
    QMargins frame;
};

ScreenOverride& overrides()
{
    static ScreenOverride o;
    return o;
}

bool valid(const QSizeF& s)
{
    return s.width() > 0 && s.height() > 0;
}

QPoint screenOrigin(const QWidget* w)
{
    QScreen* s = screenOf(w);
    return s ? s->geometry().topLeft() : QPoint(0, 0);
}

double dpiOrDefault(double dpi)
{
    return dpi > 0 ? dpi : 96.0;
}

} // namespace

QScreen* screenOf(const QWidget* w)
{
    if (w) {
        if (QScreen* s = w->screen())
            return s;
    }
    return QGuiApplication::primaryScreen();
}

double twipsPerPixelX(const QWidget* w)
{
    QScreen* s = screenOf(w);
    return TwipsPerInch / dpiOrDefault(s ? s->logicalDotsPerInchX() : 0);
}

double twipsPerPixelY(const QWidget* w)
{
    QScreen* s = screenOf(w);
    return TwipsPerInch / dpiOrDefault(s ? s->logicalDotsPerInchY() : 0);
}

int twipsToPixelsX(double twips, const QWidget* w)
{
    return static_cast<int>(std::lround(twips / twipsPerPixelX(w)));
}

int twipsToPixelsY(double twips, const QWidget* w)
{
    return static_cast<int>(std::lround(twips / twipsPerPixelY(w)));
}

double pixelsToTwipsX(int pixels, const QWidget* w)
{
    return pixels * twipsPerPixelX(w);
}

double pixelsToTwipsY(int pixels, const QWidget* w)
{
    return pixels * twipsPerPixelY(w);
}

QSizeF screenTwips(const QWidget* w)
{
    if (valid(overrides().screen))
        return overrides().screen;
    QScreen* s = screenOf(w);
    if (!s)
        return {};
    return {pixelsToTwipsX(s->geometry().width(), w), pixelsToTwipsY(s->geometry().height(), w)};
}

QSizeF workAreaTwips(const QWidget* w)
{
    if (valid(overrides().workArea))
        return overrides().workArea;
    if (valid(overrides().screen))
        return overrides().screen;
    QScreen* s = screenOf(w);
    if (!s)
        return {};
    const QRect a = s->availableGeometry();
    return {pixelsToTwipsX(a.width(), w), pixelsToTwipsY(a.height(), w)};
}

void setScreenTwipsForTesting(double width, double height)
{
    overrides().screen = QSizeF(width, height);
}

void setWorkAreaTwipsForTesting(double width, double height)
{
    overrides().workArea = QSizeF(width, height);
}

QRect availablePixels(const QWidget* w)
{
    QScreen* s = screenOf(w);
    const QSizeF override = valid(overrides().workArea) ? overrides().workArea : overrides().screen;
    if (valid(override)) {
        const QPoint o = s ? s->geometry().topLeft() : QPoint(0, 0);
        return {o, QSize(twipsToPixelsX(override.width(), w), twipsToPixelsY(override.height(), w))};
    }
    return s ? s->availableGeometry() : QRect();
}

TwipsRect availableTwips(const QWidget* w)
{
    const QRect a = availablePixels(w);
    const QPoint o = screenOrigin(w);
    return {pixelsToTwipsX(a.x() - o.x(), w), pixelsToTwipsY(a.y() - o.y(), w),
            pixelsToTwipsX(a.width(), w), pixelsToTwipsY(a.height(), w)};
}

namespace {

bool framed(const QWidget& form)
{
    const Qt::WindowFlags f = form.windowFlags();
    return !(f & Qt::FramelessWindowHint) && form.windowType() != Qt::Popup
        && form.windowType() != Qt::ToolTip && form.windowType() != Qt::SplashScreen;
}

// The margins of a window the platform has framed, or nothing.  A window
// that has been shown keeps its frame while hidden.
std::optional<QMargins> knownMargins(const QWidget& form)
{
    if (!form.windowHandle())
        return std::nullopt;
    const QRect g = form.geometry();
    const QRect f = form.frameGeometry();
    if (f == g)
        return std::nullopt;
    return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                    f.bottom() - g.bottom());
}

QMargins& learnedMargins()
{
    static QMargins m;
    return m;
}

} // namespace

QMargins frameMarginsOf(const QWidget& form)
{
    if (!framed(form))
        return {};
    if (const auto m = knownMargins(form)) {
        learnedMargins() = *m;
        return *m;
    }
    if (overrides().frameSet)
        return overrides().frame;
    if (learnedMargins().isNull()) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!framed(*w))
                continue;
            if (const auto m = knownMargins(*w)) {
                learnedMargins() = *m;
                break;
            }
        }
    }
    return learnedMargins();
}

void setFrameMarginsForTesting(const QMargins& margins, bool set)
{
    overrides().frameSet = set;
    overrides().frame = margins;
    if (!set)
        learnedMargins() = {};
}

QRect framePixels(const QWidget& form)
{
    if (knownMargins(form))
        return form.frameGeometry();
    return form.geometry().marginsAdded(frameMarginsOf(form));
}

void setFramePixels(QWidget& form, const QRect& frame)
{
    const QMargins m = frameMarginsOf(form);
    const QRect client = frame.marginsRemoved(m);
    form.setGeometry(QRect(client.topLeft(), QSize(std::max(0, client.width()),
                                                   std::max(0, client.height()))));
}

QRect placeInside(const QRect& frame, const QRect& available)
{
    QRect r = frame;
    r.setWidth(std::min(r.width(), available.width()));
    r.setHeight(std::min(r.height(), available.height()));
    if (r.right() > available.right())
        r.moveRight(available.right());
    if (r.bottom() > available.bottom())
        r.moveBottom(available.bottom());
    if (r.left() < available.left())
        r.moveLeft(available.left());
    if (r.top() < available.top())
        r.moveTop(available.top());
    return r;
}

void keepFrameInside(QWidget& form)
{
    const QRect available = availablePixels(&form);
    if (!available.isValid())
        return;
    const QRect frame = framePixels(form);
    const QRect inside = placeInside(frame, available);
    if (inside != frame)
        setFramePixels(form, inside);
}

TwipsRect controlTwips(const QWidget& c)
{
    const QRect g = c.geometry();
    return {pixelsToTwipsX(g.x(), &c), pixelsToTwipsY(g.y(), &c), pixelsToTwipsX(g.width(), &c),
            pixelsToTwipsY(g.height(), &c)};
}

void placeControl(QWidget& c, double left, double top, double width, double height)
{
    c.setGeometry(twipsToPixelsX(left, &c), twipsToPixelsY(top, &c),
                  std::max(0, twipsToPixelsX(width, &c)), std::max(0, twipsToPixelsY(height, &c)));
}

TwipsRect formTwips(const QWidget& f)
{
    const QRect g = framePixels(f);
    const QPoint o = screenOrigin(&f);
    return {pixelsToTwipsX(g.x() - o.x(), &f), pixelsToTwipsY(g.y() - o.y(), &f),
            pixelsToTwipsX(g.width(), &f), pixelsToTwipsY(g.height(), &f)};
}

void setFormLeft(QWidget& f, double left)
{
    QRect g = framePixels(f);
    g.moveLeft(screenOrigin(&f).x() + twipsToPixelsX(left, &f));
    setFramePixels(f, g);
}

void setFormTop(QWidget& f, double top)
{
    QRect g = framePixels(f);
    g.moveTop(screenOrigin(&f).y() + twipsToPixelsY(top, &f));
    setFramePixels(f, g);
}

void setFormWidth(QWidget& f, double width)
{
    QRect g = framePixels(f);
    g.setWidth(std::max(0, twipsToPixelsX(width, &f)));
    setFramePixels(f, g);
}

void setFormHeight(QWidget& f, double height)
{
    QRect g = framePixels(f);
    g.setHeight(std::max(0, twipsToPixelsY(height, &f)));
    setFramePixels(f, g);
}

void setFormTwips(QWidget& f, double left, double top, double width, double height)
{
    setFormWidth(f, width);
    setFormHeight(f, height);
    setFormLeft(f, left);
    setFormTop(f, top);
}

QSizeF formScaleTwips(const QWidget& f)
{
    int h = f.height();
    if (auto* mw = qobject_cast<const QMainWindow*>(&f)) {
        if (QWidget* menu = mw->menuWidget(); menu && !menu->isHidden())
            h -= menu->isVisible() ? menu->height() : menu->sizeHint().height();
    }
    return {pixelsToTwipsX(f.width(), &f), pixelsToTwipsY(std::max(0, h), &f)};
}

QWidget& controlRoot(QWidget& form)
{
    if (auto* mw = qobject_cast<QMainWindow*>(&form)) {
        if (QWidget* c = mw->centralWidget())
            return *c;
    }
    return form;
}

double fontSize(const QWidget& w)
{
    const QFont f = w.font();
    if (f.pointSizeF() > 0)
        return f.pointSizeF();
    // A pixel-sized font: its size in points at the widget's DPI.
    QScreen* s = screenOf(&w);
    return f.pixelSize() * 72.0 / dpiOrDefault(s ? s->logicalDotsPerInchY() : 0);
}

void setFontSize(QWidget& w, double points)
{
    QFont f = w.font();
    f.setPointSizeF(points > 0 ? points : 1.0);
    w.setFont(f);
}

// ---------------------------------------------------------------------------

LineControl::LineControl(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    updatePlacement();
}

LineControl::LineControl(QWidget* parent, double x1, double y1, double x2, double y2)
    : LineControl(parent)
{
    setLine(x1, y1, x2, y2);
}

void LineControl::setX1(double v)
{
    x1_ = v;
    updatePlacement();
}

void LineControl::setY1(double v)
{
    y1_ = v;
    updatePlacement();
}

void LineControl::setX2(double v)
{
    x2_ = v;
    updatePlacement();
}

void LineControl::setY2(double v)
{
    y2_ = v;
    updatePlacement();
}

void LineControl::setLine(double x1, double y1, double x2, double y2)
{
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    updatePlacement();
}

void LineControl::setBorderColor(const QColor& c)
{
    color_ = c;
    update();
}

void LineControl::setBorderWidth(int pixels)
{
    penWidth_ = std::max(1, pixels);
    updatePlacement();
}

void LineControl::setBorderStyle(Qt::PenStyle style)
{
    style_ = style;
    update();
}

QPoint LineControl::endPixels(double x, double y) const
{
    return {twipsToPixelsX(x, this), twipsToPixelsY(y, this)};
}

void LineControl::updatePlacement()
{
    const QPoint a = endPixels(x1_, y1_);
    const QPoint b = endPixels(x2_, y2_);
    const int m = penWidth_;
    setGeometry(QRect(a, b).normalized().adjusted(-m, -m, m, m));
    update();
}

void LineControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(color_, penWidth_, style_));
    const QPoint o = geometry().topLeft();
    p.drawLine(endPixels(x1_, y1_) - o, endPixels(x2_, y2_) - o);
}

} // namespace zq
