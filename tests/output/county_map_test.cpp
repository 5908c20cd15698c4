// The county map's shipped picture and hot spots, the flood fill, and the
// colouring of the worked counties.

#include "output/CountyMap.h"
#include "platform/QuotedText.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

using namespace zq;

namespace {

QByteArray shippedFile(const char* name)
{
    QFile f(QStringLiteral(ZQ_SOURCE_DIR "/data/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The home state's county names of county2.txt, in file order.
QStringList tableCounties()
{
    QStringList out;
    for (const QString& line : splitLines(shippedFile("county2.txt"))) {
        const auto v = parseQuotedLine(line);
        if (v && !v->isEmpty() && (*v)[0].text.startsWith(QLatin1String("ZQ")))
            out << (*v)[0].text.mid(2);
    }
    return out;
}

// The pixels of the 8-connected area of the seed's colour (a fill that
// also steps diagonally), as indices y * width + x.
std::vector<int> area8(const QImage& image, QPoint seed)
{
    const QRgb c = image.pixel(seed);
    std::vector<char> seen(size_t(image.width()) * image.height(), 0);
    std::vector<int> out, work{seed.y() * image.width() + seed.x()};
    seen[size_t(work[0])] = 1;
    while (!work.empty()) {
        const int p = work.back();
        work.pop_back();
        out.push_back(p);
        const int x = p % image.width(), y = p / image.width();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= image.width() || ny >= image.height())
                    continue;
                const int q = ny * image.width() + nx;
                if (!seen[size_t(q)] && image.pixel(nx, ny) == c) {
                    seen[size_t(q)] = 1;
                    work.push_back(q);
                }
            }
    }
    return out;
}

QImage picture(const char* rows, int width)
{
    // '.' white, '#' black, 'r' red.
    const int height = int(strlen(rows)) / width;
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const char c = rows[y * width + x];
            img.setPixel(x, y, c == '#' ? qRgb(0, 0, 0) : c == 'r' ? qRgb(255, 0, 0) : qRgb(255, 255, 255));
        }
    return img;
}

} // namespace

TEST(CountyMapData, PictureIsA621By295TrueColourMap)
{
    const QByteArray png = shippedFile("CountyMapZQ.png");
    ASSERT_GT(png.size(), 33);
    EXPECT_TRUE(png.startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(png.mid(16, 10), QByteArray("\x00\x00\x02\x6d\x00\x00\x01\x27\x08\x02", 10)); // 24-bit RGB

    const QImage map = countyMapPicture();
    EXPECT_EQ(map.size(), QSize(621, 295));
    EXPECT_EQ(map.format(), QImage::Format_RGB32);
    // The compiled-in files are the shipped ones.
    QImage shipped;
    ASSERT_TRUE(shipped.loadFromData(png));
    EXPECT_EQ(map, shipped.convertToFormat(QImage::Format_RGB32));
    QFile spots(QStringLiteral(":/countymap/CountyMapZQ.txt"));
    ASSERT_TRUE(spots.open(QIODevice::ReadOnly));
    EXPECT_EQ(spots.readAll(), shippedFile("CountyMapZQ.txt"));
}

TEST(CountyMapData, HotSpotsNameTheTableCountiesInOrder)
{
    const std::vector<HotSpot> spots = countyMapHotSpots();
    const QStringList table = tableCounties();
    ASSERT_EQ(table.size(), 77);
    ASSERT_EQ(spots.size(), 77u);
    QStringList names;
    for (const HotSpot& s : spots)
        names << s.name;
    EXPECT_EQ(names, table); // table spelling, each once, line k is hot spot k-1
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 77);
}

TEST(CountyMapData, EveryCountyIsOneClosedRegionUnderItsHotSpot)
{
    const QImage map = countyMapPicture();
    const std::vector<HotSpot> spots = countyMapHotSpots();
    ASSERT_EQ(spots.size(), 77u);
    const QRgb outside = map.pixel(0, 0);
    const int w = map.width();
    std::vector<int> owner(size_t(w) * map.height(), -1);

    for (size_t k = 0; k < spots.size(); ++k) {
        const HotSpot& s = spots[k];
        SCOPED_TRACE(s.name.toStdString());
        EXPECT_TRUE(map.rect().contains(QRect(s.left, s.top, s.width, s.height)));
        const QPoint c = s.centre();
        ASSERT_TRUE(map.rect().contains(c));
        EXPECT_NE(map.pixel(c), outside);

        // Filled as the map fills (four neighbours), and stepping diagonally
        // too: the diagonal steps reach no further than the counters of the
        // county's own letters (a pixel or three inside an A or an O),
        // since the border closes the corners.
        QImage filled = map;
        const int painted = floodFill(filled, c, qRgb(1, 2, 3));
        const std::vector<int> area = area8(map, c);
        EXPECT_GE(painted, 300); // a fair area
        EXPECT_LE(int(area.size()) - painted, 24);
        for (int p : area) {
            ASSERT_EQ(owner[size_t(p)], -1) << "overlaps " << spots[size_t(owner[size_t(p)])].name.toStdString();
            owner[size_t(p)] = int(k);
            // Never next to the outside, nor on the picture's edge.
            const int x = p % w, y = p / w;
            ASSERT_TRUE(x > 0 && y > 0 && x < w - 1 && y < map.height() - 1);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    ASSERT_NE(map.pixel(x + dx, y + dy), outside);
        }
        // The fill reaches no other hot spot's centre.
        for (size_t j = 0; j < spots.size(); ++j)
            if (j != k)
                EXPECT_EQ(filled.pixel(spots[j].centre()), map.pixel(spots[j].centre()))
                    << spots[j].name.toStdString();
    }
    // Two counties never touch, diagonals included.
    for (int y = 0; y + 1 < map.height(); ++y)
        for (int x = 0; x + 1 < w; ++x) {
            const int a = owner[size_t(y * w + x)];
            if (a < 0)
                continue;
            for (const QPoint d : {QPoint(1, 0), QPoint(0, 1), QPoint(1, 1), QPoint(-1, 1)}) {
                const int nx = x + d.x(), ny = y + d.y();
                if (nx < 0)
                    continue;
                const int b = owner[size_t(ny * w + nx)];
                ASSERT_TRUE(b < 0 || b == a) << x << "," << y;
            }
        }
}

TEST(CountyMapHotSpots, ReadsTheTableAndRefusesDamagedLines)
{
    const auto ok = parseHotSpots("\"Cedar Bluff\",10,20,30,40\r\n\"Tinker\",0,0,2,2\n\n");
    ASSERT_TRUE(ok);
    ASSERT_EQ(ok->size(), 2u);
    EXPECT_EQ((*ok)[0].name, "Cedar Bluff");
    EXPECT_EQ((*ok)[0].centre(), QPoint(25, 40));
    EXPECT_EQ((*ok)[1].centre(), QPoint(1, 1));

    struct Case {
        const char* content;
        const char* reason;
    };
    const Case bad[] = {
        {"\"Tinker\",1,2,3\r\n", "line 1: 5 values expected"},
        {"\"Tinker\",1,2,3,4\r\n\"Wyeth,1,2,3,4\r\n", "line 2: a quote is not closed"},
        {"Tinker,1,2,3,4\r\n", "line 1: the county name is missing"},
        {"\"\",1,2,3,4\r\n", "line 1: the county name is missing"},
        {"\"Tinker\",1,2,0,4\r\n", "line 1: a position or size is not a whole number from 0 to 10000"},
        {"\"Tinker\",-1,2,3,4\r\n", "line 1: a position or size is not a whole number from 0 to 10000"},
        {"\"Tinker\",1.5,2,3,4\r\n", "line 1: a position or size is not a whole number from 0 to 10000"},
        {"\"Tinker\",1,2,3,99999\r\n", "line 1: a position or size is not a whole number from 0 to 10000"},
        {"\"Tinker\",1,\"2\",3,4\r\n", "line 1: a position or size is not a whole number from 0 to 10000"},
        {"\"Tinker\",1,,3,4\r\n", "line 1: a position or size is not a whole number from 0 to 10000"},
    };
    for (const Case& c : bad) {
        QString error;
        EXPECT_FALSE(parseHotSpots(c.content, &error)) << c.content;
        EXPECT_EQ(error, QString::fromLatin1(c.reason)) << c.content;
    }
    QByteArray many;
    for (int i = 0; i < 1001; ++i)
        many += "\"Tinker\",1,2,3,4\r\n";
    QString error;
    EXPECT_FALSE(parseHotSpots(many, &error));
    EXPECT_EQ(error, "line 1001: more than 1000 hot spots");
}

TEST(CountyMapFill, PaintsTheFourConnectedAreaOfTheSeedsColour)
{
    const char* rows = "....#..."
                       "....#..."
                       "#####..."
                       ".....#.."
                       "......#.";
    const QImage original = picture(rows, 8);
    QImage img = original;
    // The white area right of the wall: diagonal gaps do not let it through.
    EXPECT_EQ(floodFill(img, QPoint(6, 0), qRgb(255, 0, 0)), 3 * 3 + 2 + 1);
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(0, 4), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(7, 4), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(5, 4), qRgb(255, 255, 255)); // past the diagonal wall

    // A seed on the border fills only the connected border pixels.
    img = original;
    EXPECT_EQ(floodFill(img, QPoint(4, 0), qRgb(255, 0, 0)), 7);
    EXPECT_EQ(img.pixel(0, 2), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(5, 3), qRgb(0, 0, 0)); // only diagonally connected

    // Nothing outside the picture, nothing when the colour is already there.
    img = original;
    EXPECT_EQ(floodFill(img, QPoint(8, 0), qRgb(255, 0, 0)), 0);
    EXPECT_EQ(floodFill(img, QPoint(-1, 2), qRgb(255, 0, 0)), 0);
    EXPECT_EQ(floodFill(img, QPoint(0, 0), qRgb(255, 255, 255)), 0);
    EXPECT_EQ(img, original);
}

TEST(CountyMapFill, FillsAHugeAreaWithoutRecursion)
{
    QImage img(2000, 2000, QImage::Format_RGB32);
    img.fill(Qt::white);
    EXPECT_EQ(floodFill(img, QPoint(1000, 1000), qRgb(1, 2, 3)), 2000 * 2000);
    EXPECT_EQ(img.pixel(1999, 0), qRgb(1, 2, 3));
}

TEST(CountyMapColours, OneGeneratorGivesComponentsUpTo253)
{
    CountyColours colours(12345);
    QSet<QRgb> seen;
    int high = 0;
    for (int i = 0; i < 20000; ++i) {
        const QRgb c = colours.next();
        for (int v : {qRed(c), qGreen(c), qBlue(c)}) {
            ASSERT_LE(v, 253);
            high = std::max(high, v);
        }
        seen.insert(c);
    }
    EXPECT_EQ(high, 253);
    EXPECT_GT(seen.size(), 19900); // not one colour again and again
    CountyColours a(7), b(7);
    EXPECT_EQ(a.next(), b.next());
}

TEST(CountyMapColours, PaintsEachWorkedCountyOnceWhateverTheCase)
{
    // Three regions in a row; the middle one is carried by two hot spots.
    const char* rows = "...#...#..."
                       "...#...#..."
                       "...#...#...";
    const QImage original = picture(rows, 11);
    const std::vector<HotSpot> spots = {{"West", 0, 0, 2, 2},
                                        {"Middle", 4, 0, 2, 2},
                                        {"Middle", 5, 1, 2, 2},
                                        {"East", 8, 0, 2, 2}};
    QImage img = original;
    CountyColours colours(99);
    // An unknown name paints nothing and the colouring goes on.
    EXPECT_EQ(colourWorkedCounties(img, spots, {"NOWHERE", "east", "Middle"}, colours), 2);
    EXPECT_EQ(img.pixel(1, 1), original.pixel(1, 1)); // West untouched
    CountyColours same(99);
    const QRgb east = same.next(), middle = same.next();
    for (int y = 0; y < 3; ++y) {
        for (int x = 8; x < 11; ++x)
            EXPECT_EQ(img.pixel(x, y), east | 0xFF000000);
        for (int x = 4; x < 7; ++x)
            EXPECT_EQ(img.pixel(x, y), middle | 0xFF000000);
    }
}
