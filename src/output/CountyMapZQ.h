#pragma once
// The map of the home state's counties with the worked ones painted.  The
// picture holds one region per county; an invisible hot-spot label over
// each county carries the county's name as its tooltip.  Shortly after the
// window appears (a one-shot timer) every county on the active log
// window's worked-county list is filled with a random colour; the painted
// colours stay in the picture.  Each hot spot is then read by its county
// and whether it is worked ("Alderbrook, worked").

#include "common/WindowRegistry.h"
#include "common/ControlArray.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QListWidget;
class QTimer;

namespace zq {

class CountyMapZQ : public QDialog, public LoadStep {
    Q_OBJECT
public:
    CountyMapZQ();

    QLabel* Picture1 = nullptr;      // shows picture()
    ControlArray<QLabel> lblCounty;  // 0..76, the hot spots
    QLabel* Label1 = nullptr;        // the hint
    QTimer* Timer1 = nullptr;        // 1 ms, once

    void Form_Load() override;
    void Timer1_Timer();
    void ColorWorkedCountiesOut();
    void ColorWorkedCountiesIn();

    // The map as it stands, painted counties included.
    const QImage& picture() const { return picture_; }

private:
    void colorWorkedCounties(const QListWidget* list);

    QImage picture_;
};

} // namespace zq
