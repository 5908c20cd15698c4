#pragma once
// The contact-rate graph of the whole log: the window fits itself to the
// desktop work area and draws the graph (RateGraph) onto a picture of its
// client area that it keeps and repaints itself, under its frame, grid,
// labels and legend.  The button switches between a black and a white
// background and draws the graph anew.  The graph is computed when the
// window loads and at each switch; it does not follow later contacts.
// Each time label is read with the rate and band the graph shows there.

#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "common/ControlArray.h"
#include "output/RateGraph.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;

namespace zq {

class GraphQSO : public QDialog, public LoadStep {
    Q_OBJECT
public:
    GraphQSO();

    QPushButton* Command1 = nullptr; // "Black Background" / "White Background"
    // Line1..Line21: the plot frame (1 top, 2 base, 3 right, 4 left), the
    // rate grid (5..7 and 10..21, dotted) and the ribbon's top and bottom
    // (8 and 9, not shown).
    ControlArray<LineControl> Line;
    ControlArray<QLabel> lblY;    // 0..16, RateMin up to RateMax
    ControlArray<QLabel> lblTime; // 0..14
    ControlArray<QLabel> lblDate; // 0..14
    QLabel* Label1 = nullptr;     // "Band "
    ControlArray<QLabel> lblBnd;  // 0..6, the ribbon's legend

    void Form_Load() override;
    void DrawRateGraph();
    void Command1_Click();

    // The last drawing's columns, scale ends and captions.
    const RateGraph& graph() const { return graph_; }
    // The persistent picture: the client area with what was drawn on it.
    const QImage& picture() const { return picture_; }
    QColor BackColor() const { return backColor_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void setBackColor(const QColor& c);
    void setForeColor(QLabel* label, const QColor& c);
    // What a screen reader reads for time label k: the time and date, and
    // what the curve and the ribbon show there ("18:00 09/12: 42.0 QSOs per
    // hour on 20 m").
    QString timeLabelReading(int k) const;

    RateGraph graph_;
    QImage picture_;
    QColor backColor_ = Qt::black;
};

} // namespace zq
