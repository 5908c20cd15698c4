#pragma once
// Window fitting: windows are laid out in twips for a 9600 x 7200 twip
// screen and fitted to the real screen once, when loaded, so that a window
// fills the same share of the real screen as of the design screen.
//
// One walk does the work (FitWindow); ResizeFormToScreen and
// ResizeFormToSize are two settings of it, and a window with its own
// variant of the fit passes its own FitParameters.

#include "common/TwipsLayout.h"

#include <QList>
#include <QSizeF>
#include <QString>
#include <cstdint>

class QWidget;

namespace zq {

// What the walk does with a control.
enum class FitKind {
    Label,
    TextBox,
    CommandButton,
    CheckBox,
    OptionButton,
    Frame,
    ListBox,
    ListView, // report-style tree or table: its column widths scale too
    Image,    // geometry only, no font
    Line,     // end points only
    Untouched // timers, menus, picture boxes, combo boxes, anything else
};

// A label showing a picture counts as an image.
FitKind fitKindOf(const QWidget& w);

// The window's controls in walk order: every widget below the control root
// (see controlRoot) that is not inside a composite control; containers such
// as frames and plain panels are visited before their children.
QList<QWidget*> formControls(QWidget& form);

// Bit set of kinds for FitParameters::kinds.
constexpr uint32_t fitKindBit(FitKind k)
{
    return 1u << static_cast<uint32_t>(k);
}
constexpr uint32_t AllFitKinds = 0xFFFFFFFFu;

struct FitParameters {
    // A window's frame, title bar included, always stays inside the screen's
    // available area (panels excluded), so "the whole screen" is that area.
    enum class Target {
        Screen,   // the whole screen: its available area
        WorkArea, // the desktop work area (the same area), from its top left
        Given     // targetSize, as an area at the origin
    };
    enum class Placement {
        CentredRaised, // centred, then `raise` twips higher
        Centred,
        FixedTop // centred across, Top = fixedTop
    };
    enum class ControlRatios {
        TargetOverDesign,      // target size / design size
        ClientAfterOverBefore, // client area after / before fitting
        OuterAfterOverBefore   // outer size after / before fitting
    };
    enum class WindowFont {
        HeightRatio,            // target height / design height
        NewWidthOverDesign,     // the window's new Width / design width
        TargetWidthOverDesign,  // target width / design width
        SameAsControls          // the control font factor
    };
    enum class ControlFont {
        SmallerRatio,      // min(rW, rH), rW when equal
        DampedSmallerRatio, // as SmallerRatio; when the window grew past its
                            // old client height, (r - 1) * fontGrowthFactor + 1
        WidthRatioCapped,  // rW, at most 1.5
        WidthRatio,        // rW
        ScreenWidthCapped, // screen width / design width, at most 1.5
        Unchanged          // fonts keep their sizes
    };
    enum class Order { GeometryThenFont, FontThenGeometry };
    enum class OnError {
        Report, // message box "Form Resize Error" with the description
        Silent  // nothing shown; FitWindow returns false
    };

    Target target = Target::Screen;
    QSizeF targetSize;                     // twips, for Target::Given
    QSizeF designSize{9600.0, 7200.0};     // twips
    bool exactSize = false;                // window takes the target size itself
    Placement placement = Placement::CentredRaised;
    double raise = 170.0;
    double fixedTop = 0.0;
    ControlRatios ratios = ControlRatios::TargetOverDesign;
    WindowFont windowFont = WindowFont::HeightRatio;
    ControlFont controlFont = ControlFont::SmallerRatio;
    double fontGrowthFactor = 1.0;
    QString fontName;                      // empty: names unchanged
    Order order = Order::GeometryThenFont;
    bool parkedControls = false;           // Left < 0: scaled as if 75000 twips right
    bool scaleListColumns = true;
    uint32_t kinds = AllFitKinds;          // kinds walked
    OnError onError = OnError::Report;

    // ResizeFormToScreen's settings.
    static FitParameters toScreen() { return {}; }
    // The whole work area, from its top left; controls scale with the
    // window's outer size, their fonts as `font` says.  Errors are silent.
    static FitParameters toWorkAreaAtOrigin(ControlFont font)
    {
        FitParameters p;
        p.target = Target::WorkArea;
        p.exactSize = true;
        p.placement = Placement::FixedTop;
        p.fixedTop = 0;
        p.ratios = ControlRatios::OuterAfterOverBefore;
        p.controlFont = font;
        p.windowFont = WindowFont::SameAsControls;
        p.onError = OnError::Silent;
        return p;
    }
    // The work area, the window centred in it; the window's font follows
    // its new width, the controls `ratios` and `font`.  Errors are silent.
    static FitParameters toWorkAreaCentred(ControlRatios ratios, ControlFont font)
    {
        FitParameters p;
        p.target = Target::WorkArea;
        p.placement = Placement::Centred;
        p.ratios = ratios;
        p.windowFont = WindowFont::NewWidthOverDesign;
        p.controlFont = font;
        p.onError = OnError::Silent;
        return p;
    }
    // The screen, the window centred in it; controls scale by screen over
    // design size, the window's font follows its new width, the controls'
    // fonts `font`.  Errors are silent.
    static FitParameters toScreenCentred(ControlFont font)
    {
        FitParameters p;
        p.target = Target::Screen;
        p.placement = Placement::Centred;
        p.ratios = ControlRatios::TargetOverDesign;
        p.windowFont = WindowFont::NewWidthOverDesign;
        p.controlFont = font;
        p.onError = OnError::Silent;
        return p;
    }
};

// Fits the window.  True when the whole fit was done; on an error the fit
// stops there (what was set stays) and, with OnError::Report, the error is
// shown.  Sizes and places count the window's frame: the frame is kept
// inside the available screen area (a window larger than the area shrinks
// to it, its controls with it), is set right once the platform has framed
// the window, and a window grows to hold every control the walk placed.
bool FitWindow(QWidget& form, const FitParameters& p);

// Fits `form` to the whole screen: size scaled by screen / design size,
// centred and 170 twips above the centre, controls and fonts scaled.
void ResizeFormToScreen(QWidget& form);

// Fits `form` to targetWidth x targetHeight (an area at the origin): size
// scaled by target / design size (or the target itself with
// exactSizeFlag 1), centred, controls scaled by the client area's growth,
// fonts by the smaller ratio damped by fontGrowthFactor when the window
// grew, named fontName when it is not empty.
void ResizeFormToSize(QWidget& form, float targetWidth, float targetHeight, float designWidth,
                      float designHeight, uint8_t exactSizeFlag, float fontGrowthFactor,
                      const QString& fontName);

// The prompt layer's dialogs (input boxes) keep their frames, title bar
// included, inside the same available area as the windows.
void fitPromptDialogsToScreen();

} // namespace zq
