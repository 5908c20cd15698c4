#include "common/WindowFit.h"

#include "common/ButtonKeys.h"
#include "common/NamedControls.h"
#include "platform/Prompt.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <cmath>

namespace zq {

namespace {

constexpr double ParkOffset = 75000.0;

bool hasGeometry(FitKind k)
{
    return k != FitKind::Line && k != FitKind::Untouched;
}

bool hasFont(FitKind k)
{
    return hasGeometry(k) && k != FitKind::Image;
}

// Widgets whose children are their own parts, not controls of the window.
bool isComposite(const QWidget& w, FitKind k)
{
    if (k != FitKind::Untouched && k != FitKind::Frame)
        return true;
    if (k == FitKind::Frame)
        return false;
    return qobject_cast<const QAbstractScrollArea*>(&w) || qobject_cast<const QComboBox*>(&w)
        || qobject_cast<const QAbstractSpinBox*>(&w) || qobject_cast<const QMenuBar*>(&w)
        || qobject_cast<const QStatusBar*>(&w) || qobject_cast<const QToolBar*>(&w)
        || qobject_cast<const QTabBar*>(&w) || qobject_cast<const QAbstractButton*>(&w);
}

void collect(QWidget& container, QList<QWidget*>& out)
{
    for (QObject* o : container.children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const FitKind k = fitKindOf(*w);
        out.append(w);
        if (!isComposite(*w, k))
            collect(*w, out);
    }
}

// Gives the widget its current font as its own, so that a later change of
// the window's font does not reach it through inheritance.
void pinFont(QWidget& w)
{
    QFont f = w.font();
    f.setFamily(f.family());
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF());
    else
        f.setPixelSize(f.pixelSize());
    w.setFont(f);
}

void scaleFont(QWidget& w, double factor, const QString& fontName)
{
    const double size = fontSize(w);
    QFont f = w.font();
    if (!fontName.isEmpty())
        f.setFamily(fontName);
    f.setPointSizeF(std::max(1.0, size * factor));
    w.setFont(f);
}

void scaleGeometry(QWidget& w, double rW, double rH, bool parkedControls)
{
    const TwipsRect r = controlTwips(w);
    const bool parked = parkedControls && r.Left < 0;
    const double shift = parked ? ParkOffset : 0.0;
    placeControl(w, (r.Left + shift) * rW - shift, r.Top * rH, r.Width * rW, r.Height * rH);
}

void scaleLine(LineControl& line, double rW, double rH, bool parkedControls)
{
    const double shift = parkedControls && line.X1() < 0 ? ParkOffset : 0.0;
    line.setLine((line.X1() + shift) * rW - shift, line.Y1() * rH,
                 (line.X2() + shift) * rW - shift, line.Y2() * rH);
}

void scaleColumns(QWidget& w, double rW)
{
    QHeaderView* header = nullptr;
    if (auto* tree = qobject_cast<QTreeView*>(&w))
        header = tree->header();
    else if (auto* table = qobject_cast<QTableView*>(&w))
        header = table->horizontalHeader();
    if (!header)
        return;
    for (int i = 0; i < header->count(); ++i)
        header->resizeSection(i, static_cast<int>(std::lround(header->sectionSize(i) * rW)));
}

bool finite(double v)
{
    return std::isfinite(v);
}

// Keeps a fitted window's frame inside the available area once the window
// manager has framed it: until then the frame was an estimate.  Acts right
// after the first show and at the moves and resizes that follow it, until
// the frame is known (or a few times at most), then goes.
class FrameGuard : public QObject {
public:
    explicit FrameGuard(QWidget& form) : QObject(&form), form_(form)
    {
        setObjectName(QStringLiteral("qt_frame_guard"));
        form.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched != &form_)
            return false;
        if (e->type() == QEvent::Show) {
            shown_ = true;
            QTimer::singleShot(0, this, [this] { settle(); });
        } else if (shown_ && (e->type() == QEvent::Move || e->type() == QEvent::Resize)) {
            settle();
        }
        return false;
    }

private:
    void settle()
    {
        keepFrameInside(form_);
        if (form_.frameGeometry() != form_.geometry() || ++tries_ >= 3) {
            form_.removeEventFilter(this);
            deleteLater();
        }
    }

    QWidget& form_;
    bool shown_ = false;
    int tries_ = 0;
};

// Grows a window whose controls reach past its client area, as they do when
// the real frame is taller than the one the design allowed for, so that
// every control shows; the frame stays inside the available area.
void holdControls(QWidget& form, bool keepTop, uint32_t kinds)
{
    if (qobject_cast<QMainWindow*>(&form))
        return; // the log windows fill their area and place their own lists
    QWidget& root = controlRoot(form);
    int right = 0, bottom = 0, gap = 8;
    for (QObject* o : root.children()) {
        auto* c = qobject_cast<QWidget*>(o);
        if (!c || c->isWindow() || c->isHidden() || c->x() < 0 || c->y() < 0)
            continue;
        const FitKind k = fitKindOf(*c); // only what the walk placed
        if (!hasGeometry(k) || !(kinds & fitKindBit(k)))
            continue;
        right = std::max(right, c->geometry().right() + 1);
        bottom = std::max(bottom, c->geometry().bottom() + 1);
        gap = std::min(gap, c->x());
    }
    const int wider = right > root.width() ? right + gap - root.width() : 0;
    const int taller = bottom > root.height() ? bottom + gap - root.height() : 0;
    if (wider == 0 && taller == 0)
        return;
    // Grown evenly about the window's place (downwards only at a fixed top).
    const int up = keepTop ? 0 : taller / 2;
    setFramePixels(form, framePixels(form).adjusted(-wider / 2, -up, wider - wider / 2, taller - up));
    keepFrameInside(form);
}

void guardFrame(QWidget& form)
{
    if (!form.findChild<QObject*>(QStringLiteral("qt_frame_guard"), Qt::FindDirectChildrenOnly))
        new FrameGuard(form);
}

} // namespace

FitKind fitKindOf(const QWidget& w)
{
    if (qobject_cast<const LineControl*>(&w))
        return FitKind::Line;
    if (auto* label = qobject_cast<const QLabel*>(&w)) {
        if (!label->pixmap().isNull())
            return FitKind::Image;
        return FitKind::Label;
    }
    if (qobject_cast<const QLineEdit*>(&w) || qobject_cast<const QTextEdit*>(&w)
        || qobject_cast<const QPlainTextEdit*>(&w))
        return FitKind::TextBox;
    if (qobject_cast<const QCheckBox*>(&w))
        return FitKind::CheckBox;
    if (qobject_cast<const QRadioButton*>(&w))
        return FitKind::OptionButton;
    if (qobject_cast<const QPushButton*>(&w))
        return FitKind::CommandButton;
    if (qobject_cast<const QGroupBox*>(&w))
        return FitKind::Frame;
    if (qobject_cast<const QTreeView*>(&w) || qobject_cast<const QTableView*>(&w))
        return FitKind::ListView;
    if (qobject_cast<const QListView*>(&w))
        return FitKind::ListBox;
    return FitKind::Untouched;
}

QList<QWidget*> formControls(QWidget& form)
{
    QList<QWidget*> out;
    collect(controlRoot(form), out);
    return out;
}

bool FitWindow(QWidget& form, const FitParameters& p)
{
    // Every window is fitted when it loads, its controls in their places:
    // its controls take their captions as their names there, and its
    // buttons answer Enter.
    nameControlsAfterCaptions(form);
    installEnterPressesFocusedButton();

    auto fail = [&](const QString& description) {
        if (p.onError == FitParameters::OnError::Report)
            prompt().message(description, QStringLiteral("Form Resize Error"), MsgButtons::Ok);
        return false;
    };
    const QString divisionByZero = QStringLiteral("Division by zero");
    const QString overflow = QStringLiteral("Overflow");

    QSizeF target;
    switch (p.target) {
    case FitParameters::Target::Screen:   // a window's frame stays inside the
    case FitParameters::Target::WorkArea: // available area: both are that area
        target = workAreaTwips(&form);
        break;
    case FitParameters::Target::Given:
        target = p.targetSize;
        break;
    }
    if (!finite(target.width()) || !finite(target.height()))
        return fail(overflow);
    if (p.target != FitParameters::Target::Given && (target.width() <= 0 || target.height() <= 0))
        return fail(QStringLiteral("No screen"));

    const QSizeF oldScale = formScaleTwips(form);
    const TwipsRect oldOuter = formTwips(form);
    const double designW = p.designSize.width();
    const double designH = p.designSize.height();

    // Outer size.
    if (p.exactSize) {
        setFormWidth(form, target.width());
        setFormHeight(form, target.height());
    } else {
        if (designW == 0)
            return fail(divisionByZero);
        const double w = oldOuter.Width / designW * target.width();
        if (!finite(w))
            return fail(overflow);
        setFormWidth(form, w);
        if (designH == 0)
            return fail(divisionByZero);
        const double h = oldOuter.Height / designH * target.height();
        if (!finite(h))
            return fail(overflow);
        setFormHeight(form, h);
    }
    const TwipsRect wanted = formTwips(form);

    // Place, inside the available area: a window larger than that area
    // shrinks to it, and its controls with it.
    const TwipsRect area = availableTwips(&form);
    const QPointF origin = p.target == FitParameters::Target::Given ? QPointF() : QPointF(area.Left, area.Top);
    setFormLeft(form, origin.x() + (target.width() - wanted.Width) / 2);
    double top = 0;
    switch (p.placement) {
    case FitParameters::Placement::CentredRaised:
        top = (target.height() - wanted.Height) / 2 - p.raise;
        break;
    case FitParameters::Placement::Centred:
        top = (target.height() - wanted.Height) / 2;
        break;
    case FitParameters::Placement::FixedTop:
        top = p.fixedTop;
        break;
    }
    setFormTop(form, origin.y() + top);
    keepFrameInside(form);
    guardFrame(form);
    const TwipsRect sized = formTwips(form);
    const double shrinkW = wanted.Width > 0 ? sized.Width / wanted.Width : 1.0;
    const double shrinkH = wanted.Height > 0 ? sized.Height / wanted.Height : 1.0;

    // Ratios for the controls.
    double rW = 1, rH = 1;
    switch (p.ratios) {
    case FitParameters::ControlRatios::TargetOverDesign:
        if (designW == 0 || designH == 0)
            return fail(divisionByZero);
        rW = target.width() / designW * shrinkW;
        rH = target.height() / designH * shrinkH;
        break;
    case FitParameters::ControlRatios::ClientAfterOverBefore: {
        if (oldScale.width() == 0 || oldScale.height() == 0)
            return fail(divisionByZero);
        const QSizeF now = formScaleTwips(form);
        rW = now.width() / oldScale.width();
        rH = now.height() / oldScale.height();
        break;
    }
    case FitParameters::ControlRatios::OuterAfterOverBefore:
        if (oldOuter.Width == 0 || oldOuter.Height == 0)
            return fail(divisionByZero);
        rW = sized.Width / oldOuter.Width;
        rH = sized.Height / oldOuter.Height;
        break;
    }
    const double r = rW > rH ? rH : rW;

    double controlFactor = r;
    switch (p.controlFont) {
    case FitParameters::ControlFont::SmallerRatio:
        controlFactor = r;
        break;
    case FitParameters::ControlFont::DampedSmallerRatio:
        controlFactor = sized.Height > oldScale.height() ? (r - 1) * p.fontGrowthFactor + 1 : r;
        break;
    case FitParameters::ControlFont::WidthRatioCapped:
        controlFactor = std::min(rW, 1.5);
        break;
    case FitParameters::ControlFont::WidthRatio:
        controlFactor = rW;
        break;
    case FitParameters::ControlFont::ScreenWidthCapped:
        if (designW == 0)
            return fail(divisionByZero);
        controlFactor = std::min(screenTwips(&form).width() / designW, 1.5);
        break;
    case FitParameters::ControlFont::Unchanged:
        controlFactor = 1.0;
        break;
    }

    double windowFactor = controlFactor;
    switch (p.windowFont) {
    case FitParameters::WindowFont::HeightRatio:
        if (designH == 0)
            return fail(divisionByZero);
        windowFactor = target.height() / designH;
        break;
    case FitParameters::WindowFont::NewWidthOverDesign:
        if (designW == 0)
            return fail(divisionByZero);
        windowFactor = sized.Width / designW;
        break;
    case FitParameters::WindowFont::TargetWidthOverDesign:
        if (designW == 0)
            return fail(divisionByZero);
        windowFactor = target.width() / designW;
        break;
    case FitParameters::WindowFont::SameAsControls:
        windowFactor = controlFactor;
        break;
    }
    if (!finite(rW) || !finite(rH) || !finite(controlFactor) || !finite(windowFactor))
        return fail(overflow);

    // Each control keeps its own font: fix them before the window's changes.
    const QList<QWidget*> controls = formControls(form);
    for (QWidget* c : controls)
        pinFont(*c);
    scaleFont(form, windowFactor, p.fontName);

    for (QWidget* c : controls) {
        const FitKind k = fitKindOf(*c);
        if (!(p.kinds & fitKindBit(k)))
            continue;
        if (k == FitKind::Line) {
            scaleLine(*static_cast<LineControl*>(c), rW, rH, p.parkedControls);
            continue;
        }
        if (!hasGeometry(k))
            continue;
        const bool fontFirst = p.order == FitParameters::Order::FontThenGeometry;
        if (fontFirst && hasFont(k))
            scaleFont(*c, controlFactor, p.fontName);
        scaleGeometry(*c, rW, rH, p.parkedControls);
        if (!fontFirst && hasFont(k))
            scaleFont(*c, controlFactor, p.fontName);
        if (k == FitKind::ListView && p.scaleListColumns)
            scaleColumns(*c, rW);
    }
    holdControls(form, p.placement == FitParameters::Placement::FixedTop, p.kinds);
    return true;
}

void ResizeFormToScreen(QWidget& form)
{
    FitWindow(form, FitParameters::toScreen());
}

void ResizeFormToSize(QWidget& form, float targetWidth, float targetHeight, float designWidth,
                      float designHeight, uint8_t exactSizeFlag, float fontGrowthFactor,
                      const QString& fontName)
{
    FitParameters p;
    p.target = FitParameters::Target::Given;
    p.targetSize = QSizeF(targetWidth, targetHeight);
    p.designSize = QSizeF(designWidth, designHeight);
    p.exactSize = exactSizeFlag == 1;
    p.placement = FitParameters::Placement::Centred;
    p.ratios = FitParameters::ControlRatios::ClientAfterOverBefore;
    p.windowFont = FitParameters::WindowFont::SameAsControls;
    p.controlFont = FitParameters::ControlFont::DampedSmallerRatio;
    p.fontGrowthFactor = fontGrowthFactor;
    p.fontName = fontName;
    FitWindow(form, p);
}

void fitPromptDialogsToScreen()
{
    setDialogRoom([](const QWidget& dialog) {
        return availablePixels(&dialog).marginsRemoved(frameMarginsOf(dialog));
    });
}

} // namespace zq
