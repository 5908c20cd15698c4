#include "spots/BandMapWindow.h"

#include "common/KeyCodes.h"
#include "common/EntryBox.h"
#include "common/Form1.h"
#include "common/LogWindowLink.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "logstore/StationSettings.h"
#include "rig/RigTuning.h"
#include "platform/Clock.h"
#include "spots/BandMapScale.h"
#include "spots/AllBandsScale.h"
#include "spots/SpotStore.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>

namespace zq {
namespace {

void setTextColour(QLabel& l, const QColor& c)
{
    if (l.palette().color(QPalette::WindowText) == c)
        return;
    QPalette p = l.palette();
    p.setColor(QPalette::WindowText, c);
    l.setPalette(p);
}

QFont smallSerif()
{
    QFont f(QStringLiteral("Times New Roman"));
    f.setStyleHint(QFont::Serif);
    f.setPointSizeF(6.75);
    return f;
}

} // namespace

SpectrumMap::SpectrumMap()
{
    setObjectName(QStringLiteral("SpectrumMap"));
    setWindowTitle(QStringLiteral(" HF Spectrum Map"));
    setModal(true);
    // A fixed frame with the close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    resize(twipsToPixelsX(9480, this), twipsToPixelsY(6795, this));
    QPalette back = palette();
    back.setColor(QPalette::Window, Qt::black);
    setPalette(back);
    setAutoFillBackground(true);

    // Created back to front: strips, lines, ticks, spot labels.
    for (int b = 0; b < SpectrumBandCount; ++b) {
        auto* strip = new QLabel(this);
        strip->setObjectName(QStringLiteral("lblHFSpots(%1)").arg(b));
        placeControl(*strip, 120, 120 + 600.0 * b, 9255, 495);
        QPalette p = strip->palette();
        p.setColor(QPalette::Window, QColor(0, 0, 128));
        strip->setPalette(p);
        strip->setAutoFillBackground(true);
        lblHFSpots.set(b, strip);
    }
    for (int b = 0; b < SpectrumBandCount; ++b) {
        auto* line = new LineControl(this, 360, 360 + 600.0 * b, 9120, 360 + 600.0 * b);
        line->setObjectName(QStringLiteral("lineHF(%1)").arg(b));
        line->setBorderColor(Qt::white);
        lineHF.set(b, line);
    }
    for (int i = 0; i < 5 * SpectrumBandCount; ++i) {
        auto* tick = new QLabel(this);
        tick->setObjectName(QStringLiteral("lblFreqSpot(%1)").arg(i));
        tick->setFont(smallSerif());
        setTextColour(*tick, Qt::white);
        tick->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        placeControl(*tick, 0, 0, 615, 195);
        tick->hide();
        lblFreqSpot.set(i, tick);
    }
    for (int i = 0; i <= SpotStore::Newest; ++i) {
        auto* spot = new QLabel(QStringLiteral("DXLBL"), this);
        spot->setObjectName(QStringLiteral("lblDXSpot(%1)").arg(i));
        spot->setFont(smallSerif());
        setTextColour(*spot, Qt::white);
        spot->setAlignment(Qt::AlignCenter);
        placeControl(*spot, 0, 0, 600, 180);
        spot->hide();
        spot->installEventFilter(this);
        lblDXSpot.set(i, spot);
    }
}

void SpectrumMap::Form_Load()
{
    if (!FitWindow(*this, FitParameters::toScreenCentred(FitParameters::ControlFont::WidthRatioCapped)))
        return;
    lblDXSpot(SpotStore::Newest)->raise(); // the newest spot over all others
    DrawBandScales();
    for (const auto& [i, tick] : lblFreqSpot)
        tick->show();
    SizeMapToWorkArea();
    QCoreApplication::processEvents();
}

void SpectrumMap::SizeMapToWorkArea()
{
    FitWindow(*this, FitParameters::toWorkAreaAtOrigin(FitParameters::ControlFont::Unchanged));
    // The work area may not start at the screen's origin (a panel on the
    // left or at the top): the window still does.
    setFormLeft(*this, 0);
    setFormTop(*this, 0);
}

void SpectrumMap::DrawBandScales()
{
    const SpotStore& store = SpotStore::instance();
    const double formHeight = formTwips(*this).Height;
    for (int b = 0; b < SpectrumBandCount; ++b) {
        const std::array<QString, 5> captions = spectrumTickCaptions(b, store);
        const LineControl& line = *lineHF(b);
        for (int k = 0; k <= 4; ++k) {
            QLabel& tick = *lblFreqSpot(5 * b + k);
            if (tick.text() != captions[static_cast<size_t>(k)])
                tick.setText(captions[static_cast<size_t>(k)]);
            const TwipsRect r = controlTwips(tick);
            placeControl(tick, line.X1() + (line.X2() - line.X1()) * 0.25 * k - r.Width / 2,
                         line.Y1() + 0.004 * formHeight, r.Width, r.Height);
        }
    }
}

void SpectrumMap::BandMapLabelDisplay()
{
    labelPass_.ran();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Every label ends hidden unless the pass shows it; one that stays shown
    // is not hidden and shown again (the same end, fewer repaints).
    std::array<bool, SpotStore::Held> show{};
    DrawBandScales();

    const SpotStore& store = SpotStore::instance();
    const float utcOffset = StationSettings::instance().UtcOffsetHours;
    const QDateTime now = clock().now().utc;
    for (int i = SpotStore::Newest; i >= 0; --i) {
        QLabel& label = *lblDXSpot(i);
        const auto slot = static_cast<size_t>(i);
        const float f = store.SpotFrequency[slot];
        const QDateTime& arrival = store.SpotTime[slot];
        // Only what changed is set: most labels keep their texts from pass
        // to pass.
        const QString details = spotDetailsText(store.SpotCall[slot], f, arrival, utcOffset);
        if (label.toolTip() != details)
            label.setToolTip(details);
        if (label.text() != store.SpotPrefix[slot])
            label.setText(store.SpotPrefix[slot]);
        bool placed = false;
        if (const int b = spectrumBandOf(f); b >= 0) {
            const LineControl& line = *lineHF(b);
            const float t0 = scaleCaptionValue(lblFreqSpot(5 * b)->text());
            const float t4 = scaleCaptionValue(lblFreqSpot(5 * b + 4)->text());
            const TwipsRect r = controlTwips(label);
            if (t4 != t0) {
                placeControl(label, spotLabelLeft(f, t0, t4, line.X1(), line.X2(), r.Width),
                             line.Y1() - r.Height, r.Width, r.Height);
                placed = true;
            }
        }
        const std::optional<QColor> colour = spotAgeColour(spotAgeSeconds(arrival, now));
        if (!colour)
            break; // this spot and every older one are an hour old or more
        setTextColour(label, *colour);
        show[slot] = placed;
    }
    for (const auto& [i, label] : lblDXSpot) {
        const auto slot = static_cast<size_t>(i);
        shownSpots_[slot] = show[slot] ? shownSpotOf(store, i) : ShownSpot{};
        if (label->isHidden() == show[slot])
            label->setVisible(show[slot]);
    }
    QApplication::restoreOverrideCursor();
}

void SpectrumMap::lblDXSpot_MouseDown(int Index, int Button, int, float, float)
{
    if (Index < 0 || Index > SpotStore::Newest)
        return;
    // The spot the label shows: spots that arrived since it was drawn have
    // moved the slots on, and a spot arriving while the radio is tuned does
    // too, but neither changes what the click acts on.
    const ShownSpot spot = shownSpots_[static_cast<size_t>(Index)];
    if (spot.serial == 0)
        return;
    if (Button != 2) {
        SpotStore& store = SpotStore::instance();
        if (const int slot = store.slotOf(spot.serial); slot >= 0)
            store.SpotFrequency[static_cast<size_t>(slot)] = 0;
        BandMapLabelDisplay();
        return;
    }
    const float frequency = spot.frequency;
    const QString call = spot.call;
    const QPointer<SpectrumMap> self(this);
    changeRigFrequency(frequency);
    ActiveLogWindow& log = Form1::logWindow();
    log.enterSpotCall(call);
    if (self)
        hide();
    log.callBox().setFocus();
}

bool SpectrumMap::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        for (const auto& [i, label] : lblDXSpot) {
            if (label != watched)
                continue;
            auto* m = static_cast<QMouseEvent*>(event);
            const QPointF p = m->position();
            lblDXSpot_MouseDown(i, mouseButtonCode(m->button()), 0, float(p.x()), float(p.y()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SpectrumMap::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void SpectrumMap::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void SpectrumMap::Form_Activate()
{
    BandMapLabelDisplay();
}

} // namespace zq
