// What a screen reader reads of what the log window and its pictures show
// by colour or by bare figures, through QAccessible: the state grid, the
// county map's hot spots and the rate graph follow the log as contacts
// are logged, edited and deleted; the score figures and the clocks are
// read with their captions, the clocks without a name that changes every
// second; the duplicates button by what it switches.

#include "support/LogWindowTestSupport.h"

#include "common/ModalShow.h"
#include "logstore/LogFileStore.h"
#include "output/CountyMapZQ.h"
#include "output/GraphQSO.h"
#include "output/ZQEditInfrm.h"
#include "platform/Prompt.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QRegularExpression>
#include <chrono>
#include <functional>

using namespace zq;
using namespace zq::test;

namespace {

QString readName(QObject* o)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(o);
    return face ? face->text(QAccessible::Name) : QString();
}

class ScreenReadingTest : public EntryWindowTest {
protected:
    // Seven 20 m contacts with New York, four minutes apart from 18:00 UTC.
    void writeSevenContacts()
    {
        QByteArray data;
        for (int i = 0; i < 7; ++i)
            data += logLine(QStringLiteral("K2A%1").arg(QChar(u'A' + i)), "599", "599", "NY", "",
                            "Alderbrook", "2026/09/12", QStringLiteral("18:%1:00").arg(4 * i, 2, 10, QChar(u'0')),
                            "CW", "20");
        env.writeWorkFile(QStringLiteral("log.txt"), data);
    }

    static QStringList gridNames(Infrm& in, const QStringList& codes)
    {
        QStringList out;
        for (const QString& code : codes)
            for (const auto& [index, label] : in.Label10)
                if (label->text() == code)
                    out << readName(label);
        return out;
    }

    // The names of the county map's hot spots of `counties`, the map opened
    // from the window's menu.
    static QStringList mapNames(LogWindow& w, const QStringList& counties)
    {
        QStringList out;
        setModalShowHandlerForTesting([&](QWidget& d) {
            auto& map = static_cast<CountyMapZQ&>(d);
            map.Timer1_Timer();
            for (const QString& county : counties)
                for (const auto& [index, spot] : map.lblCounty)
                    if (spot->toolTip() == county)
                        out << readName(spot);
        });
        w.mnuMap->trigger();
        setModalShowHandlerForTesting(nullptr);
        return out;
    }

    // The names of the rate graph's first and last time labels.
    static QStringList graphEnds(LogWindow& w)
    {
        QStringList out;
        setModalShowHandlerForTesting([&](QWidget& d) {
            auto& graph = static_cast<GraphQSO&>(d);
            out << readName(graph.lblTime(0)) << readName(graph.lblTime(RateGraph::TimeLabels - 1));
        });
        w.mnuGraph->trigger();
        setModalShowHandlerForTesting(nullptr);
        return out;
    }
};

TEST_F(ScreenReadingTest, GridMapAndGraphFollowTheLogAsContactsAreLoggedEditedAndDeleted)
{
    writeSevenContacts();
    st.CurrentBand = QStringLiteral("40");
    auto& in = static_cast<Infrm&>(open(0));
    const QStringList codes{"ZQ", "CT", "NY"};
    const QStringList counties{"Ashcombe", "Blackwater"};
    const QString first = QStringLiteral("18:00 09/12: 6.0 QSOs per hour on 20 m");

    struct Step {
        const char* what;
        std::function<void()> act;
        QStringList grid, map;
        QString lastTimeLabel; // a pattern
    };
    const Step steps[] = {
        {"as loaded", [] {},
         {"ZQ, not worked", "CT, not worked", "NY, worked"},
         {"Ashcombe, not worked", "Blackwater, not worked"},
         R"(^18:24 09/12: \d+\.\d QSOs per hour on 20 m$)"},
        {"a home-state contact logged on 40 m",
         [&] { enterContact(in, "W5ZQ", "59", "ZQ", "Ashcombe", "599"); },
         {"ZQ, worked", "CT, not worked", "NY, worked"},
         {"Ashcombe, worked", "Blackwater, not worked"},
         R"(^18:30 09/12: \d+\.\d QSOs per hour on 40 m$)"},
        {"edited into a Connecticut contact on 15 m",
         [&] {
             clickContactRow(in.ListView1, 8);
             setModalShowHandlerForTesting([](QWidget& d) {
                 auto& edit = static_cast<ZQEditInfrm&>(d);
                 edit.txtEditPre->setText(QStringLiteral("CT"));
                 edit.txtEditSec->clear();
                 edit.Text1->setText(QStringLiteral("15"));
                 edit.cmdDone->click();
             });
             in.cmdEdit->click();
             setModalShowHandlerForTesting(nullptr);
             ASSERT_EQ(ContactLog::instance()[8].LogSpc, QStringLiteral("CT"));
         },
         {"ZQ, not worked", "CT, worked", "NY, worked"},
         {"Ashcombe, not worked", "Blackwater, not worked"},
         R"(^18:30 09/12: \d+\.\d QSOs per hour on 15 m$)"},
        {"deleted",
         [&] {
             clickContactRow(in.ListView1, 8);
             env.prompt().answerMessage(MsgAnswer::Yes);
             in.cmdDelete->click();
             ASSERT_EQ(ContactLog::instance().ContactCount, 7);
         },
         {"ZQ, not worked", "CT, not worked", "NY, worked"},
         {"Ashcombe, not worked", "Blackwater, not worked"},
         R"(^18:24 09/12: \d+\.\d QSOs per hour on 20 m$)"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(gridNames(in, codes), s.grid);
        EXPECT_EQ(mapNames(in, counties), s.map);
        const QStringList ends = graphEnds(in);
        ASSERT_EQ(ends.size(), 2);
        EXPECT_EQ(ends[0], first);
        EXPECT_TRUE(QRegularExpression(s.lastTimeLabel).match(ends[1]).hasMatch()) << ends[1].toStdString();
    }
}

TEST_F(ScreenReadingTest, ScoresAndClocksAreReadWithTheirCaptionsAndTheClocksQuietly)
{
    for (uint8_t outOfState : {uint8_t(1), uint8_t(0)}) {
        SCOPED_TRACE(outOfState ? "out-of-state" : "in-state");
        freshRun();
        writeSevenContacts();
        LogWindow& w = open(outOfState);
        enterContact(w, "W5ZQ", "59", outOfState ? "" : "ZQ", "Ashcombe", "599");
        ASSERT_EQ(ContactLog::instance().ContactCount, 8);

        // Each figure of the score panel: its caption, then its figure.
        int figures = 0;
        for (QLabel* l : w.findChildren<QLabel*>()) {
            auto* figure = qobject_cast<QLabel*>(l->buddy());
            if (!figure || figure->parentWidget() != l->parentWidget() || figure == w.lblttrack
                || figure == w.lblutctime)
                continue;
            ++figures;
            QString caption = l->text().simplified();
            caption.remove(QRegularExpression(QStringLiteral("[ .]+$")));
            EXPECT_EQ(readName(figure), caption + u' ' + figure->text()) << figure->objectName().toStdString();
        }
        EXPECT_EQ(figures, 7);
        EXPECT_EQ(readName(w.lblTotScore), QStringLiteral("Total Score ") + w.lblTotScore->text());
        EXPECT_FALSE(w.lblTotScore->text().isEmpty());

        // The clocks a second apart: the same names, the figures in their text.
        // (Logging the contact logged the operator on.)
        const QList<QLabel*> clocks{w.lblttrack, w.lblCurTime, w.lblutctime};
        QStringList names, shown;
        for (int second = 0; second < 2; ++second) {
            env.clock().advance(std::chrono::seconds(1));
            QMetaObject::invokeMethod(w.Timer2, "timeout", Qt::DirectConnection); // a tick
            QStringList now;
            for (QLabel* c : clocks) {
                if (second == 0)
                    names << readName(c);
                else
                    EXPECT_EQ(readName(c), names[clocks.indexOf(c)]) << c->objectName().toStdString();
                QAccessibleInterface* face = QAccessible::queryAccessibleInterface(c);
                QString value = c->text();
                if (c == w.lblCurTime)
                    value += u' ' + w.Label16->text();
                EXPECT_EQ(face->text(QAccessible::Value), value);
                now << value;
            }
            if (second == 1)
                EXPECT_NE(now, shown); // the clocks did move on
            shown = now;
        }
        const QString operating = outOfState ? QStringLiteral("Operating Time") : QStringLiteral("Oper Time");
        EXPECT_EQ(names, QStringList({operating, "Local Time", "UTC"}));

        // The duplicates button is read by what it switches, its state as
        // its description.
        QAccessibleInterface* dup = QAccessible::queryAccessibleInterface(w.cmdDup);
        EXPECT_EQ(dup->text(QAccessible::Name), QStringLiteral("Switch Possible Duplicates display"));
        for (const char* state : {"Off", "On"}) {
            w.cmdDup->click();
            EXPECT_EQ(w.cmdDup->text(), QLatin1String(state));
            EXPECT_EQ(dup->text(QAccessible::Description), QLatin1String(state));
        }
    }
}

} // namespace
