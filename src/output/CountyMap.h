#pragma once
// The county map without a window: the map picture and its hot-spot table
// (compiled into the program), the flood fill that paints one county, and
// the colouring of the worked counties.
//
// The picture draws each county as one region of one colour, enclosed by
// border pixels of another colour (closed also against diagonal steps), so
// a fill started inside a county covers that county and stops at its
// border.

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace zq {

// One county's hot spot: its name and its rectangle in picture pixels.
struct HotSpot {
    QString name;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // The rectangle's centre, to the nearest whole pixel.
    QPoint centre() const;
};

// The hot-spot table: one line per county, `"name",left,top,width,height`
// in the shared quoted form, whole numbers from 0 to 10000 with a width
// and height above 0.  nullopt (with the line and the reason) for any
// other line, an unclosed quote, or more than 1000 lines.
std::optional<std::vector<HotSpot>> parseHotSpots(const QByteArray& content,
                                                  QString* error = nullptr);

// The shipped map: the picture (32-bit RGB) and its 77 hot spots, one per
// county of the home state.  A null picture or no hot spots only when the
// program was built without them.
QImage countyMapPicture();
std::vector<HotSpot> countyMapHotSpots();

// Paints the 4-connected area of pixels that share the seed's colour with
// `fill`, through a work list bounded by the picture's size.  Nothing is
// painted when the seed lies outside the picture or already has the fill
// colour.  Returns the number of pixels painted.
int floodFill(QImage& picture, QPoint seed, QRgb fill);

// The colours of the worked counties: one generator, seeded once, whose
// every colour has red, green and blue each from 0 to 253.
class CountyColours {
public:
    explicit CountyColours(uint64_t seed);
    // A generator seeded from the system clock.
    static CountyColours fromClock();
    QRgb next();

private:
    std::mt19937_64 engine_;
};

// For each worked county name, in order: the first hot spot whose name
// matches it without regard to case is filled from its centre with the next
// colour.  Every hot spot is searched; a name that none carries paints
// nothing and the colouring goes on.  Returns the number of counties
// filled.
int colourWorkedCounties(QImage& picture, const std::vector<HotSpot>& spots,
                         const QStringList& worked, CountyColours& colours);

} // namespace zq
