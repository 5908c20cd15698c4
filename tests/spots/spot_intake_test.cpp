// Splitting received cluster text into lines, the duplicate filter held in
// the receive pane, and the fixed columns of a spot line.

#include "spots/SpotIntake.h"
#include "spots/SpotStore.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace zq;

namespace {

const QString Spot1 = QStringLiteral(
    "DX de W3LPL:     14025.0  JA1ABC       CW 599                         1234Z\r\n");
const QString Spot2 = QStringLiteral(
    "DX de K1TTT:      7012.5  UA9XYZ       up 2                           1236Z\r\n");

struct Intake {
    SpotStream stream;
    SpotPane pane;
    bool listDxOnly = false;
    QStringList forwarded; // "call|frequency"

    void receive(const QString& text)
    {
        stream.add(text);
        SplitSpotLines(stream, pane, listDxOnly,
                       [this](const QString& f, const QString& c, const QString&) {
                           forwarded << c + QLatin1Char('|') + f;
                       });
    }
};

} // namespace

TEST(SpotLine, FixedColumns)
{
    const DXSpotFields f = parseDXSpotLine(Spot1);
    EXPECT_EQ(f.frequency, QStringLiteral("14025.0"));
    EXPECT_EQ(f.call, QStringLiteral("JA1ABC"));
    // The record starts at the fourth character; its line end stays.
    EXPECT_EQ(f.record, Spot1.mid(3));
    const DXSpotFields shortLine = parseDXSpotLine(u"DX de W3LPL: 14");
    EXPECT_EQ(shortLine.frequency, QString());
    EXPECT_EQ(shortLine.call, QString());
    EXPECT_EQ(shortLine.record, QStringLiteral("de W3LPL: 14"));
    EXPECT_TRUE(isSpotLine(u"dx de"));
    EXPECT_TRUE(isSpotLine(u"Dx"));
    EXPECT_FALSE(isSpotLine(u" DX"));
    EXPECT_FALSE(isSpotLine(u"D"));
}

// Columns are cut from the line as the cluster wrote it, one character a
// byte, and each field is then cleaned: a control character inside one
// field leaves every other where it stands, and a line that ends early
// leaves its missing columns empty, its line end in none of them.
TEST(SpotLine, ColumnsAreCutAsReceivedThenEachCleaned)
{
    // Spotter with colon in 1-15, kHz right-aligned in 16-24, call 27-39,
    // comment 40-70, time 71-75.
    const auto line = [](const QString& spotter, const QString& call,
                         const QString& comment) {
        return (QStringLiteral("DX de ") + spotter + u':').leftJustified(15)
               + QStringLiteral("  14027.0  ") + call.leftJustified(13) + comment.leftJustified(31)
               + QStringLiteral("1326Z\r\n");
    };
    struct Case {
        const char* name;
        QString line;
        const char* frequency;
        const char* call;
        const char* comments; // the spot list's cells
        const char* time;
    };
    const Case cases[] = {
        {"DEL in the call", line("K1TTT", QStringLiteral("G4\x7f" "ABC"), "del in call"),
         "14027.0", "G4ABC", "de K1TTT:  del in call", "1326"},
        {"C1 code in the call", line("K1TTT", QStringLiteral("K7\x85XYZ"), "CQ"), "14027.0",
         "K7XYZ", "de K1TTT:  CQ", "1326"},
        {"BEL in the spotter", line(QStringLiteral("JA1\aXX"), "JA7CTL", "big signal"),
         "14027.0", "JA7CTL", "de JA1XX:  big signal", "1326"},
        {"tab and ESC in the comment", line("K1TTT", "W9XYZ", QStringLiteral("up\t2 \x1b[1m")),
         "14027.0", "W9XYZ", "de K1TTT:  up 2 [1m", "1326"},
        {"line ends inside the call", QStringLiteral("DX de W3LPL:     14027.0  JA1ABC\r\n"),
         "14027.0", "JA1ABC", "de W3LPL:  ", ""},
        {"line ends inside the frequency", QStringLiteral("DX de W3LPL:     1402\n"), "1402", "",
         "de W3LPL:  ", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DXSpotFields f = parseDXSpotLine(c.line);
        EXPECT_EQ(f.call, QLatin1String(c.call));
        EXPECT_EQ(f.frequency, QLatin1String(c.frequency));
        const QStringList cells = spotListCells(f.call, f.frequency, QString(),
                                                spotRecordBeforeLineEnd(f.record));
        EXPECT_EQ(cells.value(4), QLatin1String(c.comments));
        EXPECT_EQ(cells.value(6), QLatin1String(c.time));
        for (const QString& cell : cells)
            for (QChar ch : cell)
                EXPECT_NE(ch.category(), QChar::Other_Control) << cell.toStdString();
    }
}

TEST(SpotIntake, LinesWaitForTheirEndAndRepeatsAreDropped)
{
    Intake in;
    in.receive(Spot1.left(30)); // no line end yet
    EXPECT_TRUE(in.forwarded.isEmpty());
    EXPECT_TRUE(in.pane.text().isEmpty());
    in.receive(Spot1.mid(30) + QStringLiteral("Welcome to the node\r\n"));
    EXPECT_EQ(in.forwarded, QStringList{"JA1ABC|14025.0"});
    EXPECT_EQ(in.pane.text(), Spot1 + QStringLiteral("Welcome to the node\r\n"));

    // The same line again, also in other letter case, and an empty line.
    in.receive(Spot1.toLower() + QStringLiteral("\r\n") + Spot2);
    EXPECT_EQ(in.forwarded, (QStringList{"JA1ABC|14025.0", "UA9XYZ|7012.5"}));

    // After more than 800 further characters the first spot counts anew.
    for (int i = 0; i < 12; ++i)
        in.receive(QStringLiteral("announcement %1 ").arg(i) + QString(60, u'x') + "\r\n");
    in.receive(Spot1);
    EXPECT_EQ(in.forwarded.size(), 3);
}

TEST(SpotIntake, ListDxOnlyShowsSpotsAlone)
{
    Intake in;
    in.listDxOnly = true;
    in.receive(QStringLiteral("chatter\r\n") + Spot1 + QStringLiteral("chatter\r\n"));
    EXPECT_EQ(in.pane.text(), Spot1);
    EXPECT_EQ(in.forwarded.size(), 1);
    // Not shown, not remembered: unticked, the next repeat is shown.
    in.listDxOnly = false;
    in.receive(QStringLiteral("chatter\r\n"));
    EXPECT_EQ(in.pane.text(), Spot1 + QStringLiteral("chatter\r\n"));
}

TEST(SpotIntake, AnyChunkingGivesTheSameSpots)
{
    QString stream;
    for (int i = 0; i < 40; ++i)
        stream += QStringLiteral("DX de W3LPL:     %1.0  CALL%2       CW                             1234Z\r\n")
                      .arg(14000 + i, 5)
                      .arg(i, 3, 10, QLatin1Char('0'))
            + QStringLiteral("To ALL de K1TTT: hello %1\n").arg(i);
    Intake whole;
    whole.receive(stream);
    ASSERT_EQ(whole.forwarded.size(), 40);
    for (int chunk : {1, 3, 17, 64, 1000}) {
        Intake in;
        for (qsizetype p = 0; p < stream.size(); p += chunk)
            in.receive(stream.mid(p, chunk));
        EXPECT_EQ(in.forwarded, whole.forwarded) << chunk;
        EXPECT_EQ(in.pane.text(), whole.pane.text()) << chunk;
    }
}

TEST(SpotIntake, AStreamWithoutLineEndsKeepsMemoryFlat)
{
    Intake in;
    for (int i = 0; i < 100; ++i) {
        in.receive(QString(1000, u'z'));
        ASSERT_LE(in.stream.buffer().size(), SpotStream::MaxLine + 1);
    }
    EXPECT_TRUE(in.pane.text().isEmpty());
    in.receive(QStringLiteral("zzz\n") + Spot1);
    EXPECT_EQ(in.forwarded, QStringList{"JA1ABC|14025.0"});
    EXPECT_EQ(in.pane.text(), Spot1); // the over-long line is gone whole

    // A long line that ends inside one chunk is dropped the same way.
    Intake one;
    one.receive(QString(5000, u'q') + QStringLiteral("\n") + Spot2);
    EXPECT_EQ(one.forwarded, QStringList{"UA9XYZ|7012.5"});
}

TEST(SpotPane, TrimsPast10000To9000)
{
    SpotPane p;
    p.setText(QString(10000, u'a'));
    EXPECT_FALSE(p.trim());
    EXPECT_EQ(p.text().size(), 10000);
    p.append(u"b");
    EXPECT_TRUE(p.trim());
    EXPECT_EQ(p.text().size(), 9000);
    EXPECT_TRUE(p.text().endsWith(u'b'));
}
