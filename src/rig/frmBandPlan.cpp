#include "rig/frmBandPlan.h"

#include "common/WindowFit.h"
#include "platform/Prompt.h"

#include <algorithm>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPushButton>

namespace zq {
namespace {

constexpr int MaxBandBoxes = 20;

void setColors(QLabel& l, const QColor& back, const QColor& text)
{
    QPalette p = l.palette();
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::WindowText, text);
    l.setPalette(p);
    l.setAutoFillBackground(true);
}

// A privilege bar too narrow for its caption: the label is as wide as the
// caption, centred on its segment inside the band box, and paints the
// segment's colour only over the segment; the caption, outlined so that it
// reads on any colour, runs over the box on either side.
class WideCaptionBar : public QLabel {
public:
    using QLabel::QLabel;

    void widen(const QRect& within)
    {
        const QRect bar = geometry();
        const int need = QFontMetrics(font()).horizontalAdvance(text()) + 6;
        if (need <= bar.width())
            return;
        const int width = std::min(need, within.width());
        const int left = std::clamp(bar.center().x() - width / 2, within.left(), within.right() + 1 - width);
        setGeometry(left, bar.top(), width, bar.height());
        segment_ = bar.translated(-left, -bar.top());
        setAutoFillBackground(false);
        setFrameShape(QFrame::NoFrame);
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        if (segment_.isNull()) {
            QLabel::paintEvent(e);
            return;
        }
        QPainter p(this);
        p.fillRect(segment_, palette().color(QPalette::Window));
        p.setPen(Qt::black);
        p.drawRect(segment_.adjusted(0, 0, -1, -1));
        p.setFont(font());
        for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
            p.drawText(rect().translated(d), Qt::AlignCenter, text());
        p.setPen(Qt::white);
        p.drawText(rect(), Qt::AlignCenter, text());
    }

private:
    QRect segment_;
};

void setLabelFont(QLabel& l, const char* family, double points, bool bold = false)
{
    QFont f{QString::fromLatin1(family)};
    f.setPointSizeF(points);
    f.setBold(bold);
    l.setFont(f);
}

bool isDrawingName(const QString& name)
{
    return name.startsWith(QLatin1String("blbl")) || name.startsWith(QLatin1String("priv"))
        || name.startsWith(QLatin1String("bnlb"));
}

} // namespace

frmBandPlan::frmBandPlan() : rows_(std::make_unique<BandPlanRows>())
{
    setObjectName(QStringLiteral("frmBandPlan"));
    setWindowTitle(QStringLiteral("Frequency Privileges"));
    setModal(true);
    resize(twipsToPixelsX(9480, this), twipsToPixelsY(6690, this));

    auto button = [this](const char* name, const char* caption, double left, double top,
                         double width, double height, void (frmBandPlan::*handler)()) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QLatin1String(name));
        placeControl(*b, left, top, width, height);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    Command1 = button("Command1", "Novice", 120, 80, 855, 300, &frmBandPlan::Command1_Click);
    Command2 = button("Command2", "Technician", 1080, 80, 975, 300, &frmBandPlan::Command2_Click);
    Command3 = button("Command3", "Tech +", 2160, 80, 975, 300, &frmBandPlan::Command3_Click);
    Command4 = button("Command4", "General", 3240, 80, 1095, 300, &frmBandPlan::Command4_Click);
    Command5 = button("Command5", "Advanced", 4440, 80, 975, 300, &frmBandPlan::Command5_Click);
    Command6 = button("Command6", "Extra", 5520, 80, 975, 300, &frmBandPlan::Command6_Click);
    Command7 = button("Command7", "Done", 4080, 6360, 1215, 300, &frmBandPlan::Command7_Click);

    auto label = [this](const char* name, const char* caption, double left, double top,
                        double width, double height) {
        auto* l = new QLabel(QString::fromLatin1(caption), this);
        l->setObjectName(QLatin1String(name));
        placeControl(*l, left, top, width, height);
        return l;
    };
    const QColor navy(0, 0, 128);
    Label1 = label("Label1", "Frequencies Effective", 120, 400, 6375, 300);
    setLabelFont(*Label1, "Arial", 9);
    setColors(*Label1, navy, Qt::white);
    Label2 = label("Label2", "Privelages", 6600, 120, 2775, 255);
    setLabelFont(*Label2, "Arial Narrow", 8.25);
    setColors(*Label2, navy, Qt::white);
    Label3 = label("Label3", "CW", 6600, 420, 1335, 255);
    Label3->setAlignment(Qt::AlignCenter);
    setColors(*Label3, Qt::white, Qt::white);
    Label4 = label("Label4", "Phone", 8040, 420, 1335, 255);
    Label4->setAlignment(Qt::AlignCenter);
    setColors(*Label4, Qt::white, Qt::black);

    Line1 = new LineControl(this, 120, 720, 9360, 720);
    Line1->setObjectName(QStringLiteral("Line1"));
}

frmBandPlan::~frmBandPlan() = default;

double frmBandPlan::fontFactor(const QWidget* w)
{
    return std::min(screenTwips(w).width() / 9600.0, 1.5);
}

void frmBandPlan::Form_Load()
{
    // The window takes the whole work area at its origin; controls scale
    // with its outer size, fonts with the screen's width.
    FitWindow(*this, FitParameters::toWorkAreaAtOrigin(FitParameters::ControlFont::ScreenWidthCapped));

    setColors(*Label4, QColor(0, 255, 0), Qt::black);
    setColors(*Label3, QColor(0, 0, 255), Qt::white);

    const BandPlanReadResult r = readBandPlanFile(*rows_, false);
    if (r.status == BandPlanRead::Complete || r.status == BandPlanRead::BadRecord
        || r.status == BandPlanRead::TooManyRows)
        Label1->setText(QStringLiteral("Frequencies Effective: ") + r.date);
    if (r.status != BandPlanRead::Complete) {
        prompt().message(QStringLiteral("Band data not available."),
                         QStringLiteral("Band Data Not Available."), MsgButtons::Ok);
        return;
    }
    showClass(QStringLiteral("Extra Frequency Privileges"), QStringLiteral("E"));
}

void frmBandPlan::showClass(const QString& title, const QString& classLetter)
{
    Label2->setText(title);
    DrawPrivileges(classLetter);
}

void frmBandPlan::Command1_Click()
{
    showClass(QStringLiteral("Novice Frequency Privileges"), QStringLiteral("N"));
}
void frmBandPlan::Command2_Click()
{
    showClass(QStringLiteral("Technician Frequency Privileges"), QStringLiteral("T"));
}
void frmBandPlan::Command3_Click()
{
    showClass(QStringLiteral("Technician Plus Frequency Privileges"), QStringLiteral("P"));
}
void frmBandPlan::Command4_Click()
{
    showClass(QStringLiteral("General Frequency Privileges"), QStringLiteral("G"));
}
void frmBandPlan::Command5_Click()
{
    showClass(QStringLiteral("Advanced Frequency Privileges"), QStringLiteral("A"));
}
void frmBandPlan::Command6_Click()
{
    showClass(QStringLiteral("Extra Frequency Privileges"), QStringLiteral("E"));
}
void frmBandPlan::Command7_Click()
{
    hide();
}

QLabel* frmBandPlan::addRunTimeLabel(const QString& name)
{
    auto* l = new WideCaptionBar(this);
    l->setObjectName(name);
    l->setFrameShape(QFrame::Box);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

void frmBandPlan::DrawPrivileges(const QString& classLetter)
{
    // 1. Remove the old drawing.
    const QObjectList kids = children();
    for (auto it = kids.crbegin(); it != kids.crend(); ++it) {
        if (auto* w = qobject_cast<QWidget*>(*it); w && isDrawingName(w->objectName())) {
            w->hide();
            w->setParent(nullptr);
            w->deleteLater();
        }
    }

    const BandPlanRows& t = *rows_;
    const int count = std::min(t.rowCount(), BandPlanRows::Capacity);
    const TwipsRect form = formTwips(*this);
    const double W = form.Width;
    const double H = form.Height;
    const double y1 = Line1->Y1();
    const double F = fontFactor(this);

    // 2. A box for every band with a row of the class among its own rows.
    struct Box {
        QLabel* label;
        QString band;
        float lower;
        float upper;
    };
    std::vector<Box> boxes;
    int made = 0;
    for (int i = 1; i <= count; ++i) {
        if (t.SegmentClass[i] != QLatin1String("O"))
            continue;
        bool qualifies = false;
        for (int j = i + 1; j <= count && t.SegmentBand[j] == t.SegmentBand[i]; ++j)
            if (t.SegmentClass[j] == classLetter) {
                qualifies = true;
                break;
            }
        if (!qualifies)
            continue;
        ++made;
        QLabel* b = addRunTimeLabel(QStringLiteral("blbl%1").arg(made));
        placeControl(*b, 0.10 * W, made * 0.05 * H, 0.85 * W, 0.04 * H);
        b->setText(t.SegmentBand[i]);
        setColors(*b, Qt::black, Qt::black);
        b->setToolTip(t.SegmentBand[i] + QStringLiteral("  ")
                      + formatPlanFrequency(t.SegmentLowerMHz[i]) + QStringLiteral(" - ")
                      + formatPlanFrequency(t.SegmentUpperMHz[i]));
        b->show();
        // 3. Collect it, with the edges of the band's outline row.  The
        // drawing stops at the 21st box, leaving the boxes unplaced.
        if (static_cast<int>(boxes.size()) == MaxBandBoxes)
            return;
        Box box{b, t.SegmentBand[i], 0, 0};
        for (int k = 1; k <= count; ++k)
            if (t.SegmentBand[k] == box.band) {
                box.lower = t.SegmentLowerMHz[k];
                box.upper = t.SegmentUpperMHz[k];
                break;
            }
        boxes.push_back(box);
    }

    // 4. Spread the boxes over the upper 80 % of the area below Line1.
    const int k = static_cast<int>(boxes.size());
    if (k == 0)
        return;
    const double pitch = 0.8 * (H - y1) / k;
    for (int m = 1; m <= k; ++m) {
        const TwipsRect r = controlTwips(*boxes[m - 1].label);
        placeControl(*boxes[m - 1].label, r.Left, y1 + m * pitch, r.Width, r.Height);
    }

    // 5. Band names beside the boxes.
    for (int m = 1; m <= k; ++m) {
        const QLabel& box = *boxes[m - 1].label;
        const TwipsRect r = controlTwips(box);
        QLabel* n = addRunTimeLabel(QStringLiteral("bnlb%1").arg(m));
        placeControl(*n, 0.04 * W, r.Top, 0.05 * W, r.Height);
        n->setText(box.text());
        n->setToolTip(box.toolTip());
        setColors(*n, QColor(255, 255, 0), Qt::black);
        setLabelFont(*n, "ARIAL", 8 * F, true);
        n->show();
    }

    // 6. A bar for every segment of the class, in every box of its band.
    // A band whose edges are equal cannot be scaled: the drawing stops there.
    int bars = 0;
    for (int i = 1; i <= count; ++i) {
        if (t.SegmentClass[i] != classLetter)
            continue;
        for (const Box& box : boxes) {
            if (box.band != t.SegmentBand[i])
                continue;
            const double span = double(box.upper) - double(box.lower);
            if (span == 0)
                return;
            const TwipsRect r = controlTwips(*box.label);
            const double left = r.Left + r.Width * (double(t.SegmentLowerMHz[i]) - box.lower) / span;
            const double width =
                r.Width * (double(t.SegmentUpperMHz[i]) - double(t.SegmentLowerMHz[i])) / span;
            ++bars;
            QLabel* bar = addRunTimeLabel(QStringLiteral("priv%1").arg(bars));
            placeControl(*bar, left, r.Top, width, r.Height);
            const QString caption = formatPlanFrequency(t.SegmentLowerMHz[i]) + QStringLiteral(" - ")
                + formatPlanFrequency(t.SegmentUpperMHz[i]);
            bar->setText(caption);
            const bool cw = t.SegmentMode[i] == QLatin1String("CW");
            bar->setToolTip((cw ? QStringLiteral("CW  ") : QStringLiteral("PH  ")) + caption);
            if (cw)
                setColors(*bar, QColor(0, 0, 255), Qt::white);
            else
                setColors(*bar, QColor(0, 255, 0), Qt::black);
            setLabelFont(*bar, "ARIAL NARROW", 7 * F);
            bar->show();
            bar->raise();
            static_cast<WideCaptionBar*>(bar)->widen(box.label->geometry());
        }
    }
    // The widened bars over the others, so that their captions show whole.
    for (QObject* o : children()) {
        if (auto* bar = qobject_cast<QLabel*>(o); bar && bar->objectName().startsWith(QLatin1String("priv"))
            && !bar->autoFillBackground())
            bar->raise();
    }
}

} // namespace zq
