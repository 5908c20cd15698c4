#include "output/GraphQSO.h"

#include "common/NamedControls.h"
#include "common/WindowFit.h"
#include "logstore/ContactLog.h"
#include "platform/Prompt.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace zq {

namespace {

const QColor White(255, 255, 255);
const QColor Black(0, 0, 0);
const QColor Grey(128, 128, 128);

struct LegendEntry {
    const char* caption;
    QRgb colour;
    double left;
    double width;
};

const LegendEntry Legend[RateGraph::BandColours] = {
    {"160", qRgb(255, 255, 255), 3660, 495}, {"80", qRgb(0, 0, 255), 4140, 375},
    {"40", qRgb(255, 0, 0), 4500, 375},      {"20", qRgb(0, 255, 0), 4860, 375},
    {"15", qRgb(128, 255, 255), 5220, 375},  {"10", qRgb(255, 0, 255), 5580, 375},
    {"Other", qRgb(255, 255, 0), 5880, 855},
};

const double TimeLeft[RateGraph::TimeLabels] = {120,  750,  1380, 1995, 2625, 3255, 3885, 4515,
                                                5130, 5760, 6390, 7020, 7650, 8280, 8895};
const double DateLeft[RateGraph::TimeLabels] = {135,  765,  1395, 2010, 2640, 3270, 3900, 4515,
                                                5145, 5775, 6390, 7020, 7650, 8280, 8895};

QFont namedFont(const char* family, double points, bool bold = false)
{
    QFont f(QString::fromLatin1(family));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// The pointer is the hourglass while the object lives, the arrow after.
class BusyPointer {
public:
    explicit BusyPointer(QWidget& w)
        : w_(w)
    {
        w_.setCursor(Qt::WaitCursor);
    }
    ~BusyPointer() { w_.setCursor(Qt::ArrowCursor); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    QWidget& w_;
};

} // namespace

GraphQSO::GraphQSO()
{
    setObjectName(QStringLiteral("GraphQSO"));
    setWindowTitle(QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
    setModal(true);
    resize(twipsToPixelsX(9465, this), twipsToPixelsY(6825, this));

    Command1 = new QPushButton(QStringLiteral("Black Background"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setFont(namedFont("MS Serif", 6));
    Command1->setAutoDefault(false);
    placeControl(*Command1, 8160, 6600, 1215, 220);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    auto makeLine = [this](int n, double x1, double y1, double x2, double y2, const QColor& c) {
        auto* l = new LineControl(this, x1, y1, x2, y2);
        l->setObjectName(QStringLiteral("Line%1").arg(n));
        l->setBorderColor(c);
        Line.set(n, l);
        return l;
    };
    makeLine(1, 480, 120, 9240, 120, White);
    makeLine(2, 480, 5880, 9240, 5880, White);
    makeLine(3, 9240, 120, 9240, 5880, White);
    makeLine(4, 480, 120, 480, 5880, White);
    // The rate grid, every 360 twips from 480 down to 5520.
    const int gridLines[] = {5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
    for (int i = 0; i < 15; ++i) {
        const int n = gridLines[i];
        const double y = 480 + 360.0 * i;
        makeLine(n, 500, y, n <= 7 ? 9240 : 9220, y, Grey)->setBorderStyle(Qt::DotLine);
    }
    makeLine(8, 480, 5900, 9240, 5900, White)->hide();
    makeLine(9, 480, 6000, 9240, 6000, White)->hide();

    const QFont small = namedFont("Arial", 6.75);
    auto makeLabel = [this](const QString& name, const QString& caption, double left, double top,
                            double width, double height) {
        QLabel* l = makeNamedLabel(this, name, caption, left, top, width, height);
        setForeColor(l, White);
        return l;
    };
    for (int i = 0; i < RateGraph::RateLabels; ++i) {
        QLabel* l = makeLabel(QStringLiteral("lblY%1").arg(i), QStringLiteral("0"), 0,
                              i == 0 ? 5740 : 5790 - 360.0 * i, 450, 255);
        l->setFont(small);
        l->setAlignment(Qt::AlignRight | Qt::AlignTop);
        lblY.set(i, l);
    }
    for (int k = 0; k < RateGraph::TimeLabels; ++k) {
        lblTime.set(k, makeLabel(QStringLiteral("lblTime%1").arg(k), QStringLiteral("00:00"),
                                 TimeLeft[k], 6080, 615, 255));
        QLabel* d = makeLabel(QStringLiteral("lblDate%1").arg(k), QStringLiteral("MM/DD"),
                              DateLeft[k], 6290, 615, 255);
        d->setFont(small);
        lblDate.set(k, d);
    }
    Label1 = makeLabel(QStringLiteral("Label1"), QStringLiteral("Band "), 0, 5920, 495, 135);
    Label1->setFont(small);
    const QFont legendFont = namedFont("Arial", 8.25, true);
    for (int i = 0; i < RateGraph::BandColours; ++i) {
        const LegendEntry& e = Legend[i];
        QLabel* l = makeNamedLabel(this, QStringLiteral("lblBnd%1").arg(i),
                                   QString::fromLatin1(e.caption), e.left, 6495, e.width, 255);
        l->setFont(legendFont);
        setForeColor(l, QColor(e.colour));
        lblBnd.set(i, l);
    }

    setBackColor(Black);
}

void GraphQSO::setForeColor(QLabel* label, const QColor& c)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, c);
    label->setPalette(p);
}

void GraphQSO::setBackColor(const QColor& c)
{
    backColor_ = c;
    QPalette p = palette();
    p.setColor(QPalette::Window, c);
    setPalette(p);
    // A new background colour erases what was drawn.
    picture_ = QImage(size(), QImage::Format_RGB32);
    picture_.fill(c);
    update();
}

void GraphQSO::Form_Load()
{
    // Control fonts follow the whole screen's width.
    FitWindow(*this, FitParameters::toWorkAreaCentred(FitParameters::ControlRatios::TargetOverDesign,
                                                      FitParameters::ControlFont::ScreenWidthCapped));
    DrawRateGraph();
}

void GraphQSO::DrawRateGraph()
{
    BandColours bands{};
    for (int i = 0; i < RateGraph::BandColours; ++i)
        bands[static_cast<size_t>(i)] = lblBnd(i)->palette().color(QPalette::WindowText).rgb();
    const QRgb background = backColor_.rgb();
    const ContactLog& log = ContactLog::instance();
    graph_ = computeRateGraph(log, log.ContactCount, bands, background);

    if (graph_.outcome == RateGraph::Outcome::TooFewContacts) {
        prompt().message(QStringLiteral("The graph will not display with less than 7 contacts.  The graph "
                                        "becomes more meaningful as several hours of contest logging "
                                        "are accumulated."),
                         QStringLiteral("Not Enough Contacts to Graph."), MsgButtons::Ok);
        return;
    }
    for (int k = 0; k < RateGraph::TimeLabels; ++k) {
        lblTime(k)->setText(graph_.lblTime[static_cast<size_t>(k)]);
        lblDate(k)->setText(graph_.lblDate[static_cast<size_t>(k)]);
        lblTime(k)->setAccessibleName(timeLabelReading(k));
    }
    if (graph_.rateLabelsSet())
        for (int i = 0; i < RateGraph::RateLabels; ++i)
            lblY(i)->setText(graph_.lblY[static_cast<size_t>(i)]);
    if (graph_.outcome != RateGraph::Outcome::Drawn)
        return;

    if (picture_.size() != size()) {
        picture_ = QImage(size(), QImage::Format_RGB32);
        picture_.fill(backColor_);
    }
    RateGraphFrame f;
    f.left = Line(4)->X1();
    f.right = Line(3)->X1();
    f.top = Line(1)->Y1();
    f.base = Line(2)->Y1();
    f.ribbonTop = Line(8)->Y1();
    f.ribbonBottom = Line(9)->Y1();
    f.twipsPerPixelX = twipsPerPixelX(this);
    f.twipsPerPixelY = twipsPerPixelY(this);
    drawRateGraph(picture_, graph_, f);
    update();
}

QString GraphQSO::timeLabelReading(int k) const
{
    QString s = graph_.lblTime[static_cast<size_t>(k)] + u' ' + graph_.lblDate[static_cast<size_t>(k)];
    if (!graph_.rateLabelsSet())
        return s;
    const RatePoint at = ratePointAt(graph_, k);
    s += QStringLiteral(": ") + formatRate(at.rate) + QStringLiteral(" QSOs per hour");
    if (at.band >= 0 && at.band < RateGraph::BandColours - 1)
        s += QStringLiteral(" on ") + QString::fromLatin1(Legend[at.band].caption) + QStringLiteral(" m");
    else if (at.band == RateGraph::BandColours - 1)
        s += QStringLiteral(" on another band");
    return s;
}

void GraphQSO::Command1_Click()
{
    BusyPointer busy(*this);
    const bool toWhite = Command1->text() == QLatin1String("Black Background");
    const QColor back = toWhite ? White : Black;
    const QColor fore = toWhite ? Black : White;
    Command1->setText(toWhite ? QStringLiteral("White Background") : QStringLiteral("Black Background"));
    setBackColor(back);
    for (auto* array : {&lblDate, &lblTime, &lblY})
        for (const auto& [index, label] : *array)
            setForeColor(label, fore);
    setForeColor(Label1, fore);
    for (const auto& [index, line] : Line)
        line->setBorderColor(fore);
    DrawRateGraph();
}

void GraphQSO::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), backColor_);
    p.drawImage(0, 0, picture_);
}

} // namespace zq
