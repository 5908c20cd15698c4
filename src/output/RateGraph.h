#pragma once
// The contact-rate graph of the whole log, computed without a window.
//
// The time from the earliest to the latest readable contact is cut into
// 1500 columns.  Each contact puts into its column six times the number of
// contacts of the ten minutes up to and including it; short gaps between
// contact columns are bridged, the values are smoothed over seven columns
// and the curve is scaled between its smallest and largest value.  Under
// the axis a ribbon shows the band of the contacts in colour.

#include <QImage>
#include <QRgb>
#include <QString>
#include <QStringView>
#include <array>
#include <vector>

namespace zq {

class ContactLog;

// "###0.0": at least one digit before the point, exactly one after it,
// halves rounded away from zero (11.25 shows "11.3").  The value is taken
// as its shortest decimal form, as a single-precision number prints.
QString formatRate(float value);

struct RateGraph {
    static constexpr int Columns = 1500;      // columns drawn: 1..1500
    static constexpr int ArraySize = 1601;    // indices 0..1600
    static constexpr int MinimumContacts = 7;
    static constexpr int TimeLabels = 15;
    static constexpr int RateLabels = 17;
    static constexpr int BandColours = 7;      // 160, 80, 40, 20, 15, 10, other

    enum class Outcome {
        TooFewContacts, // fewer than 7 readable contacts: nothing set
        SameSecond,     // first and last in one second: time and date labels only
        FlatRate,       // every column alike: all labels, no curve
        Drawn           // all labels and the curve
    };
    Outcome outcome = Outcome::TooFewContacts;

    std::array<QString, TimeLabels> lblTime; // "hh:mm"
    std::array<QString, TimeLabels> lblDate; // "MM/DD"
    std::array<QString, RateLabels> lblY;    // "###0.0", RateMin to RateMax

    std::vector<float> ColumnRate;
    std::vector<float> SmoothedRate;
    std::vector<QRgb> ColumnBandColor;
    std::vector<int> ColumnBand; // the ribbon's legend index of each column, -1 for none
    float RateMin = 100000;
    float RateMax = -1;

    bool timeLabelsSet() const { return outcome != Outcome::TooFewContacts; }
    bool rateLabelsSet() const { return outcome == Outcome::FlatRate || outcome == Outcome::Drawn; }
};

// The legend's band colours, index 0..6 for "160", "80", "40", "20", "15",
// "10" and any other band text.
using BandColours = std::array<QRgb, RateGraph::BandColours>;
// The band's legend index: the exact texts of the six named bands, else 6.
int bandLegendIndex(QStringView band);

// Contacts 1..count of the log whose date and time can be read, in time
// order (a stable sort: a log in time order stays as it is), with the
// earliest and the latest as the ends of the time axis.
RateGraph computeRateGraph(const ContactLog& log, int count, const BandColours& bands,
                           QRgb background);

// Where the graph lies on the window, in twips of the window's client area:
// the plot frame's left and right edge and top and base line, and the
// ribbon's top and bottom.
struct RateGraphFrame {
    double left = 480;
    double right = 9240;
    double top = 120;
    double base = 5880;
    double ribbonTop = 5900;
    double ribbonBottom = 6000;
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
};

// What the graph shows at time label k (0..14): the smoothed rate of the
// column under the label and the legend index of its band (-1 for none).
// Both 0 and -1 when the graph has no rates.
struct RatePoint {
    float rate = 0;
    int band = -1;
};
RatePoint ratePointAt(const RateGraph& graph, int k);

// Draws the blue curve and the band ribbon of a graph that came out Drawn
// onto the picture (one-pixel solid lines and filled rectangles); anything
// else draws nothing.
void drawRateGraph(QImage& picture, const RateGraph& graph, const RateGraphFrame& frame);

} // namespace zq
