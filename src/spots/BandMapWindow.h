#pragma once
// " HF Spectrum Map": the recent spots of eleven bands at once, one band
// line each with a five-tick scale zoomed to the spots on it and a label per
// spot, coloured by its age.  It keeps no data of its own: everything comes
// from the spot store.

#include "common/WindowRegistry.h"
#include "common/ControlArray.h"
#include "common/OncePerPass.h"
#include "spots/SpotStore.h"

#include <QDialog>
#include <array>

class QLabel;

namespace zq {

class LineControl;

class SpectrumMap : public QDialog, public LoadStep {
    Q_OBJECT
public:
    SpectrumMap();

    ControlArray<LineControl> lineHF;   // 0..10, band lines
    ControlArray<QLabel> lblHFSpots;    // 0..10, the strips behind them
    ControlArray<QLabel> lblFreqSpot;   // 0..54, tick k of band b is 5b + k
    ControlArray<QLabel> lblDXSpot;     // 0..49, label i shows store slot i

    // Puts the window at the origin with the work area's size, controls
    // scaled to match, fonts as they are.
    void SizeMapToWorkArea();
    // Recomputes the eleven scales and lays the tick labels under the lines.
    void DrawBandScales();
    // Draws the store's spots on their bands, newest first, until the first
    // spot an hour old.
    void BandMapLabelDisplay();
    // A new spot: one label pass right after the present event-loop pass,
    // however many spots arrive in it (a cluster's burst is drawn once, as
    // its last spot would have drawn it).  Nothing is drawn when the window
    // is hidden by then.
    void spotArrived() { labelPass_.request(); }
    // Button 2 (right) tunes the radio to the spot, hides the map and puts
    // the call into the log window; any other button drops the spot from
    // the band maps.  The spot is the one the label shows, as it was drawn.
    void lblDXSpot_MouseDown(int Index, int Button, int Shift, float X, float Y);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Form_Load() override;
    void Form_Activate();

    OncePerPass labelPass_{this, [this] {
                               if (isVisible())
                                   BandMapLabelDisplay();
                           }};
    // The spot each label shows, bound when it is drawn.
    std::array<ShownSpot, SpotStore::Held> shownSpots_{};
};

} // namespace zq
