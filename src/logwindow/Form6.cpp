#include "logwindow/Form6.h"

#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "logstore/StationSettings.h"
#include "platform/Prompt.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace zq {

Form6::Form6()
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral(" Modify Multiplier Color Selections"));
    setModal(true);
    setFormTwips(*this, 0, 0, 5535, 2295);

    auto button = [this](const char* name, const QString& caption, double left, double top,
                         double width, double height, void (Form6::*handler)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        placeControl(*b, left, top, width, height);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    auto label = [this](const char* name, const QString& caption, double left, double top) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QLatin1String(name));
        placeControl(*l, left, top, 1935, 640); // two lines at any fitted font
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        QFont f(QStringLiteral("Arial"));
        f.setPointSizeF(9);
        l->setFont(f);
        return l;
    };

    Command1 = button("Command1", QStringLiteral("Change \"Remaining\" Color"), 120, 120, 2535, 495,
                      &Form6::Command1_Click);
    Command3 = button("Command3", QStringLiteral("Change \"Worked\" Color"), 2880, 120, 2535, 495,
                      &Form6::Command3_Click);
    Label2 = label("Label2", QStringLiteral("Appearance of multiplier remaining"), 480, 840);
    Label1 = label("Label1", QStringLiteral("Appearance of multiplier worked"), 3240, 840);
    Command6 = button("Command6", QStringLiteral("Done"), 2160, 1680, 1095, 375,
                      &Form6::Command6_Click);

    Line1 = new LineControl(this, 120, 720, 5415, 720);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line2 = new LineControl(this, 120, 1500, 5415, 1500);
    Line2->setObjectName(QStringLiteral("Line2"));
}

void Form6::Form_Load()
{
    FitParameters p;
    p.placement = FitParameters::Placement::Centred;
    p.windowFont = FitParameters::WindowFont::TargetWidthOverDesign;
    p.controlFont = FitParameters::ControlFont::WidthRatio;
    p.kinds = fitKindBit(FitKind::Label) | fitKindBit(FitKind::TextBox)
        | fitKindBit(FitKind::CommandButton) | fitKindBit(FitKind::CheckBox)
        | fitKindBit(FitKind::ListBox) | fitKindBit(FitKind::Image) | fitKindBit(FitKind::Line);
    // A fit that fails part-way leaves the rest at its design values; the
    // dialog still works.
    p.onError = FitParameters::OnError::Silent;
    FitWindow(*this, p);

    const StationSettings& s = StationSettings::instance();
    showColor(*Label1, s.WorkedColor);
    showColor(*Label2, s.RemainingColor);
}

QColor Form6::colorFromStored(int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

int32_t Form6::storedFromColor(const QColor& c)
{
    const QColor rgb = c.toRgb();
    return static_cast<int32_t>(static_cast<uint32_t>(rgb.red())
                                | (static_cast<uint32_t>(rgb.green()) << 8)
                                | (static_cast<uint32_t>(rgb.blue()) << 16));
}

bool Form6::pickColor(int32_t& value)
{
    const std::optional<QColor> chosen = prompt().chooseColor(colorFromStored(value), QString());
    if (!chosen || !chosen->isValid())
        return false;
    value = storedFromColor(*chosen);
    return true;
}

void Form6::showColor(QLabel& sample, int32_t value)
{
    QPalette p = sample.palette();
    p.setColor(QPalette::WindowText, colorFromStored(value));
    sample.setPalette(p);
}

void Form6::Command1_Click()
{
    int32_t& remaining = StationSettings::instance().RemainingColor;
    pickColor(remaining);
    showColor(*Label2, remaining);
}

void Form6::Command3_Click()
{
    int32_t& worked = StationSettings::instance().WorkedColor;
    pickColor(worked);
    showColor(*Label1, worked);
}

void Form6::Command6_Click()
{
    hide();
}

} // namespace zq
