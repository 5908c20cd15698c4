// The log window's spots: the spot list, the band map of the current band
// with its scale and age-coloured labels, the clicks that tune the radio
// and take a spot's call, and the spot area along the bottom edge that
// shows one or the other.

#include "logwindow/LogWindow.h"

#include "common/EntryBox.h"
#include "common/Form1.h"
#include "common/KeyCodes.h"
#include "common/WindowFit.h"
#include "common/WindowRegistry.h"
#include "entry/TextCompare.h"
#include "logstore/CountyTable.h"
#include "logstore/StationSettings.h"
#include "platform/Clock.h"
#include "rig/RigTuning.h"
#include "spots/BandMapScale.h"
#include "spots/BandMapWindow.h"
#include "spots/SpotCountryLookup.h"
#include "spots/PacketSpotfrm.h"
#include "spots/SpotStore.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace zq {

// ---------------------------------------------------------------------------
// Mouse on the band map

namespace {

constexpr double kParkTop = 1000;

// Presses and moves on the spot labels, clicks and double clicks on the
// strip.
class BandMapMouse final : public QObject {
public:
    BandMapMouse(LogWindow* w, std::function<void(QObject*, QEvent*)> handler)
        : QObject(w), handler_(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            handler_(watched, e);
            return false;
        default:
            return false;
        }
    }

private:
    std::function<void(QObject*, QEvent*)> handler_;
};

} // namespace

void LogWindow::wireSpotArea()
{
    auto* mouse = new BandMapMouse(this, [this, pressedOnStrip = false](QObject* o, QEvent* e) mutable {
        auto* m = static_cast<QMouseEvent*>(e);
        if (o == lblDX) {
            if (e->type() == QEvent::MouseButtonPress)
                pressedOnStrip = m->button() == Qt::LeftButton;
            else if (e->type() == QEvent::MouseButtonRelease && pressedOnStrip
                     && m->button() == Qt::LeftButton) {
                pressedOnStrip = false;
                lblDX_Click();
            } else if (e->type() == QEvent::MouseButtonDblClick)
                lblDX_DblClick();
            return;
        }
        for (const auto& [i, label] : lblDXSpot) {
            if (label != o)
                continue;
            const QPointF p = m->position();
            if (e->type() == QEvent::MouseButtonPress)
                lblDXSpot_MouseDown(i, mouseButtonCode(m->button()), 0, p.x(), p.y());
            else if (e->type() == QEvent::MouseMove)
                lblDXSpot_MouseMove(i, mouseButtonCode(m->button()), 0, p.x(), p.y());
            return;
        }
    });
    lblDX->installEventFilter(mouse);
    for (const auto& [i, label] : lblDXSpot) {
        label->setMouseTracking(true);
        label->installEventFilter(mouse);
    }
    connect(txtDX, &QTreeWidget::itemClicked, this, [this] { txtDX_Click(); });
    connect(txtDX, &QTreeWidget::itemDoubleClicked, this, [this] { txtDX_DblClick(); });
}

// ---------------------------------------------------------------------------
// Spot intake

void LogWindow::BandMapSpots(QString& qDXSpotCall, QString& qDXSpotFreq, QString& qDXSpotRecord)
{
    // Everything that can refuse the spot is decided before anything
    // changes: the spot is stored and listed whole or not at all.
    const std::optional<double> mhz = spotFrequencyMHz(qDXSpotFreq);
    if (!mhz)
        return;
    qDXSpotRecord = spotRecordBeforeLineEnd(qDXSpotRecord);
    qDXSpotFreq = spotNumberText(*mhz);
    const QStringList cells = spotListCells(qDXSpotCall, qDXSpotFreq,
                                            LookupSpotCountry(qDXSpotCall), qDXSpotRecord);

    // The local arrival time with the offset of that instant: shown as it
    // was on the wall clock, aged between instants.
    const WallTime now = clock().now();
    const QDateTime arrival = now.utc.toOffsetFromUtc(now.local.offsetFromUtc());
    SpotStore::instance().addSpot(qDXSpotCall, static_cast<float>(*mhz), arrival);
    // Both band maps draw the store as it is when they draw: a burst of
    // spots is drawn once after the event-loop pass that took it in, and
    // ends as drawing after each spot would have left it.
    if (!lblDX->isHidden())
        bandMapPass_.request();
    if (SpectrumMap* map = WindowRegistry::existing<SpectrumMap>(); map && map->isVisible())
        map->spotArrived();

    while (txtDX->topLevelItemCount() > 199)
        delete txtDX->takeTopLevelItem(199);
    auto* row = new QTreeWidgetItem(cells);
    row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    row->setTextAlignment(3, Qt::AlignHCenter | Qt::AlignVCenter);
    txtDX->insertTopLevelItem(0, row);
}

// ---------------------------------------------------------------------------
// Band map

void LogWindow::DrawBandMapScale()
{
    const auto captions = bandMapScaleCaptions(StationSettings::instance().CurrentBand,
                                               SpotStore::instance());
    for (int i = 0; i <= 4; ++i) {
        const QString& caption = captions[static_cast<size_t>(i)];
        if (lblFreqSpot(i)->text() != caption)
            lblFreqSpot(i)->setText(caption);
    }
}

void LogWindow::DisplayBandMapLabels()
{
    bandMapPass_.ran();
    if (lblDX->isHidden())
        return;
    // Every label is hidden and the ones the pass reaches are shown again;
    // a label that stays shown is left shown rather than hidden and shown
    // (the same end, without redrawing the strip twice).
    std::array<bool, SpotStore::Held> shown{};
    DrawBandMapScale();

    const SpotStore& store = SpotStore::instance();
    const float utcOffset = StationSettings::instance().UtcOffsetHours;
    const QDateTime now = clock().now().utc;
    const double formHeight = formTwips(*this).Height;
    const float t0 = scaleCaptionValue(lblFreqSpot(0)->text());
    const float t4 = scaleCaptionValue(lblFreqSpot(4)->text());
    for (int i = SpotStore::Newest; i >= 0; --i) {
        QLabel* label = lblDXSpot(i);
        const auto slot = static_cast<size_t>(i);
        const float f = store.SpotFrequency[slot];
        if (!(t0 < f && f < t4))
            continue;
        const QDateTime& arrival = store.SpotTime[slot];
        const QString details = spotDetailsText(store.SpotCall[slot], f, arrival, utcOffset);
        if (label->toolTip() != details)
            label->setToolTip(details);
        if (label->text() != store.SpotPrefix[slot])
            label->setText(store.SpotPrefix[slot]);
        const TwipsRect r = controlTwips(*label);
        placeControl(*label, spotLabelLeft(f, t0, t4, LineDX->X1(), LineDX->X2(), r.Width),
                     LineDX->Y1() - r.Height - 0.004 * formHeight, r.Width, r.Height);
        const std::optional<QColor> colour = spotAgeColour(spotAgeSeconds(arrival, now));
        if (!colour)
            break; // an hour old: this spot and every older one stay hidden
        if (label->palette().color(QPalette::WindowText) != *colour) {
            QPalette p = label->palette();
            p.setColor(QPalette::WindowText, *colour);
            label->setPalette(p);
        }
        shown[slot] = true;
    }
    for (const auto& [i, label] : lblDXSpot) {
        const bool show = shown[static_cast<size_t>(i)];
        shownSpots_[static_cast<size_t>(i)] = show ? shownSpotOf(store, i) : ShownSpot{};
        if (label->isHidden() == show)
            label->setVisible(show);
    }
}

void LogWindow::enterSpotCall(const QString& call)
{
    QString typed;
    const int limit = txtCall->typedLimit();
    for (QChar c : call) {
        int k = c.unicode();
        // Control characters, the blank (which moves on to the next field)
        // and the quote type nothing into the call field.
        if (k <= vk::Space || k == '"')
            continue;
        UpperKey(k);
        if (k == 0)
            continue;
        if (limit > 0 && typed.size() >= limit)
            break;
        typed.append(QChar(k));
    }
    txtCall->setText(typed);
}

void LogWindow::lblDXSpot_MouseDown(int Index, int Button, int, float, float)
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
        DisplayBandMapLabels();
        return;
    }
    const float frequency = spot.frequency;
    const QString call = spot.call;
    const QPointer<LogWindow> self(this);
    changeRigFrequency(frequency);
    if (!self)
        return;
    txtCall->setFocus();
    enterSpotCall(call);
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != this)
        target = txtCall;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier));
}

void LogWindow::lblDXSpot_MouseMove(int Index, int, int, float, float)
{
    if (QLabel* label = lblDXSpot(Index))
        lblDupe->setText(label->toolTip());
}

void LogWindow::txtDX_Click()
{
    txtCall->setFocus();
    if (txtDX->topLevelItemCount() == 0)
        return;
    const QTreeWidgetItem* row = txtDX->currentItem();
    if (!row)
        row = txtDX->topLevelItem(0);
    // The row's call and frequency as they are now: a spot arriving while
    // the radio is tuned adds a row above it.
    const QString call = row->text(0);
    const std::optional<double> mhz = spotNumberValue(row->text(1));
    if (!mhz)
        return;
    const QPointer<LogWindow> self(this);
    // The log window compares the rig type without regard to case; an
    // empty type counts as "None".
    const QString& rig = StationSettings::instance().RigType;
    if (!rig.isEmpty() && !sameText(rig, QStringLiteral("None")))
        changeRigFrequency(static_cast<float>(*mhz));
    if (!self)
        return;
    txtCall->setFocus();
    enterSpotCall(call);
}

void LogWindow::txtDX_DblClick()
{
    mnuSpectrumMap_Click();
}

void LogWindow::lblDX_DblClick()
{
    mnuSpectrumMap_Click();
}

void LogWindow::lblDX_Click()
{
    DefaultInstance<PacketSpotfrm>().show();
}

// ---------------------------------------------------------------------------
// Spot area layout

namespace {

// The controls the spot area moves: every control with a position and a
// height; lines by their end points.
bool positioned(const QWidget& w)
{
    const FitKind k = fitKindOf(w);
    return k != FitKind::Line && k != FitKind::Untouched;
}

} // namespace

void LogWindow::showSpotList(bool list)
{
    txtDX->setVisible(list);
    lblDX->setVisible(!list);
    LineDX->setVisible(!list);
    for (const auto& [i, label] : lblFreqSpot)
        label->setVisible(!list);
    DefaultInstance<Form1>().lblDX->setVisible(!list);
}

void LogWindow::PacketResize()
{
    PacketSpotfrm& spotting = DefaultInstance<PacketSpotfrm>();
    const bool list = spotting.OptList->isChecked();
    const bool none = sameText(spotting.sourceText(), QStringLiteral("None"));

    if (!txtDX->isHidden() && !list) {
        showSpotList(false);
        for (const auto& [i, label] : lblDXSpot)
            label->show();
    } else if (list && !lblDX->isHidden()) {
        showSpotList(true);
        for (const auto& [i, label] : lblDXSpot)
            label->hide();
    }

    const bool shown = !txtDX->isHidden() || !lblDX->isHidden();
    if (!shown && !none)
        openSpotArea(list);
    else if (shown && none)
        closeSpotArea();
}

void LogWindow::openSpotArea(bool list)
{
    SpotAreaSaved saved;
    double bottom = 0;
    for (QWidget* c : formControls(*this)) {
        if (auto* line = qobject_cast<LineControl*>(c)) {
            saved.lines.push_back({line, {line->X1(), line->Y1(), line->X2(), line->Y2()}});
            line->setLine(line->X1(), line->Y1() * 0.9, line->X2(), line->Y2() * 0.9);
            continue;
        }
        if (!positioned(*c))
            continue;
        const TwipsRect r = controlTwips(*c);
        saved.controls.push_back({c, r});
        const double height = r.Height * 0.9;
        const double top = r.Top * 0.9;
        placeControl(*c, r.Left, top, r.Width, height);
        bottom = std::max(bottom, top + height);
    }
    spotAreaSaved_ = std::move(saved);
    FitListHeights();

    const TwipsRect form = formTwips(*this);
    const double areaHeight = formScaleTwips(*this).height() - bottom;
    placeControl(*txtDX, 0.01 * form.Width, bottom, 0.97 * form.Width, areaHeight);
    placeControl(*lblDX, 0.01 * form.Width, bottom, 0.97 * form.Width, areaHeight);

    const TwipsRect strip = controlTwips(*lblDX);
    const double w = controlTwips(*lblDXSpot(0)).Width;
    const double y = strip.Top + strip.Height / 2;
    LineDX->setLine(strip.Left + w / 2, y, strip.Left + strip.Width - w / 2, y);
    for (const auto& [i, label] : lblFreqSpot) {
        const TwipsRect r = controlTwips(*label);
        placeControl(*label, r.Left, LineDX->Y1() + 0.004 * form.Height, r.Width, r.Height);
    }
    DrawBandMapScale();
    for (const auto& [i, label] : lblFreqSpot) {
        const TwipsRect r = controlTwips(*label);
        const double at = LineDX->X1() + i * 0.25 * (LineDX->X2() - LineDX->X1());
        placeControl(*label, at - r.Width / 2, r.Top, r.Width, r.Height);
    }

    if (list) {
        for (const auto& [i, label] : lblDXSpot)
            label->hide();
    }
    showSpotList(list);
}

void LogWindow::closeSpotArea()
{
    // Every control goes back to where it stood before the area opened,
    // the hidden spot-area controls to their parking place among them;
    // scaling by 1/0.9 instead would lose a pixel at every cycle.
    const bool restored = spotAreaSaved_.has_value();
    if (restored) {
        for (const auto& [c, r] : spotAreaSaved_->controls)
            if (c)
                placeControl(*c, r);
        for (const auto& [line, r] : spotAreaSaved_->lines)
            if (line)
                line->setLine(r.Left, r.Top, r.Width, r.Height);
        spotAreaSaved_.reset();
    }
    FitListHeights();

    auto park = [restored](QWidget& c) {
        if (!restored) {
            const TwipsRect r = controlTwips(c);
            placeControl(c, r.Left, kParkTop, r.Width, r.Height);
        }
        c.hide();
    };
    park(*txtDX);
    park(*lblDX);
    if (!restored)
        LineDX->setLine(LineDX->X1(), kParkTop, LineDX->X2(), kParkTop);
    LineDX->hide();
    for (const auto& [i, label] : lblDXSpot)
        park(*label);
    for (const auto& [i, label] : lblFreqSpot)
        park(*label);
    DefaultInstance<Form1>().lblDX->hide();
}

void LogWindow::scaleSpotAreaSaved(double rW, double rH)
{
    if (!spotAreaSaved_)
        return;
    for (auto& [c, r] : spotAreaSaved_->controls)
        r = {r.Left * rW, r.Top * rH, r.Width * rW, r.Height * rH};
    for (auto& [line, r] : spotAreaSaved_->lines)
        r = {r.Left * rW, r.Top * rH, r.Width * rW, r.Height * rH};
}

} // namespace zq
