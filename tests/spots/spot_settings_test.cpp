// PackSpot.txt byte for byte and back, its damaged forms, and the help
// text chosen per source.

#include "spots/SpotSettings.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace zq;

TEST(PackSpotFile, WritesAndReadsTheFourteenLines)
{
    PackSpotValues v;
    v.tnc = {"9600", "N", "8", "1", 1, "N", 3};
    v.SpotSource = "TNC";
    v.CommandCharacter = "03";
    const QByteArray tnc = "\"9600\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n1\r\n\"N\"\r\n\"TNC\"\r\n0\r\n3\r\n0\r\n"
                           "#FALSE#\r\n\"03\"\r\n\"\"\r\n\"\"\r\n";
    EXPECT_EQ(formatPackSpot(v), tnc);
    EXPECT_EQ(v.tnc.SerialSettings(), QStringLiteral("9600,N,8,1"));

    PackSpotValues back;
    ASSERT_EQ(parsePackSpot(tnc, back), 14);
    EXPECT_EQ(formatPackSpot(back), tnc);

    // A Telnet file that never collected serial settings.
    PackSpotValues t;
    t.SpotSource = "Telnet";
    t.ListDisplay = true;
    t.ListDxOnly = 1;
    t.TelnetHost = "dxc.example.net";
    t.TelnetPort = "7300";
    const QByteArray telnet = formatPackSpot(t);
    EXPECT_TRUE(telnet.startsWith("\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n0\r\n\"\"\r\n\"Telnet\"\r\n0\r\n0\r\n1\r\n#TRUE#\r\n"));
    PackSpotValues tb;
    ASSERT_EQ(parsePackSpot(telnet, tb), 14);
    EXPECT_EQ(tb.TelnetHost, QStringLiteral("dxc.example.net"));
    EXPECT_TRUE(tb.ListDisplay);
    // Quotes and line breaks never reach the file.
    t.TelnetHost = "bad\"host\r\nx";
    EXPECT_TRUE(formatPackSpot(t).endsWith("\"badhostx\"\r\n"));
}

TEST(PackSpotFile, ReadingStopsAtTheFirstBadValue)
{
    const QByteArray whole = "\"9600 \"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n2\r\n\"R\"\r\n\"tnc\"\r\n1\r\n4\r\n1\r\n"
                             "#TRUE#\r\n\"1B\"\r\n\"23\"\r\n\"host\"\r\n";
    const QList<QByteArray> lines = whole.split('\n');
    const struct {
        QByteArray content;
        int read;
    } cases[] = {
        {whole, 14},
        {lines.mid(0, 13).join('\n') + '\n', 13},                  // 13 lines
        {QByteArray(whole).replace("\r\n2\r\n", "\r\ntwo\r\n"), 4}, // comm port no number
        {QByteArray(whole).replace("#TRUE#", "yes"), 10},         // truth value
        {QByteArray(whole).replace("\r\n4\r\n", "\r\n4.5\r\n"), 8}, // not whole
        {"", 0},
        {QByteArray(MaxPackSpotBytes + 1, ' '), 0},
    };
    for (const auto& c : cases) {
        PackSpotValues v;
        EXPECT_EQ(parsePackSpot(c.content, v), c.read);
    }
    PackSpotValues v;
    parsePackSpot(whole, v);
    EXPECT_EQ(v.tnc.SerialSettings(), QStringLiteral("9600,N,8,1")); // trailing blank dropped
    EXPECT_EQ(v.SpotSource, QStringLiteral("tnc"));
}

TEST(SpottingHelp, ParagraphsFollowTheListText)
{
    auto paragraphs = [](const QString& source) {
        QStringList p = spottingHelpText(source).split(QStringLiteral("\r\n\r\n"));
        EXPECT_TRUE(p.last().isEmpty()); // the last paragraph is followed too
        p.removeLast();
        return p;
    };
    const QStringList none = paragraphs("None");
    ASSERT_EQ(none.size(), 18);
    EXPECT_TRUE(none[0].startsWith("Use this form to configure"));
    EXPECT_TRUE(none[4].startsWith("If you have an Internet connection"));
    EXPECT_EQ(none[13], QStringLiteral(":C Brelvox     or to disconnect :D"));
    EXPECT_TRUE(none[17].startsWith("This code was developed"));
    EXPECT_EQ(paragraphs("TNC"), (QStringList{none[5], none[6], none[15], none[16], none[17]}));
    EXPECT_EQ(paragraphs("Telnet"), (QStringList{none[4], none[15], none[16]}));
    EXPECT_EQ(paragraphs("AGW Packet Engine"), none.mid(7));
    EXPECT_TRUE(paragraphs("AGW Packet Engine")[1].contains("127.0.0.1:8000"));
    EXPECT_EQ(spottingHelpText(""), QString());
    EXPECT_EQ(spottingHelpText("tnc"), QString()); // the list's own text, exactly
}
