// The in-state rover on a county line: each logged contact is logged again
// for every further county of the rover's list, and the own-county change
// dialogs that build that list.

#include "support/LogWindowTestSupport.h"

#include "common/ModalShow.h"
#include "entry/DupeChecks.h"
#include "entry/EntryState.h"
#include "keying/KeyingState.h"
#include "output/frmCountyChange.h"
#include "output/frmCountyChangeRover.h"
#include "platform/SafeFile.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

using namespace zq;
using namespace zq::test;

namespace {

class RoverTest : public EntryWindowTest {
protected:
    void SetUp() override
    {
        EntryWindowTest::SetUp();
        st.RoverFlag = 1;
    }
    void TearDown() override
    {
        setWriteFaultForTesting(nullptr);
        setModalShowHandlerForTesting(nullptr);
    }

    // The operator types each county into the rover dialog and presses Enter.
    static void listCounties(const QStringList& counties)
    {
        frmCountyChangeRover& rover = DefaultInstance<frmCountyChangeRover>();
        for (const QString& c : counties) {
            rover.Text1->clear();
            QTest::keyClicks(rover.Text1, c);
            QTest::keyClick(rover.Text1, Qt::Key_Return);
        }
    }

    static QStringList roverList()
    {
        return listEntries(DefaultInstance<frmCountyChangeRover>().List1);
    }

    void expectBackOnFirstCounty(Infrm& in, const QString& first)
    {
        EXPECT_EQ(st.OwnCounty, first);
        EXPECT_EQ(in.Label25->text(), first);
        EXPECT_EQ(KeyingState::instance().CwMacroCounty, first.toUpper());
        EXPECT_EQ(in.RoverCountyIndex, 0);
    }

    static void expectRowEmpty(LogWindow& w)
    {
        for (EntryBox* box : {w.txtCall, w.txtRSTR, w.txtCntry, w.txtSec, w.txtRSTS})
            EXPECT_TRUE(box->text().isEmpty()) << box->objectName().toStdString();
        EXPECT_EQ(QApplication::focusWidget(), w.txtCall);
    }
};

} // namespace

TEST_F(RoverTest, OneContactOnALineOfThreeCountiesIsLoggedForEach)
{
    // An earlier contact of the same call with another exchange, on 40 m.
    const QByteArray earlier = logLine("W5ZQ", "599", "57", "ZQ", "Bellhaven", "Alderbrook",
                                       "2026/09/12", "17:00:00", "CW", "40");
    env.writeWorkFile(QStringLiteral("log.txt"), earlier);
    auto& in = static_cast<Infrm&>(open(0));
    listCounties({"Alderbrook", "Ashcombe", "Carrow"});
    EntryState::instance().CurrentFrequencyText = QStringLiteral("14.025");

    enterContact(in, "W5ZQ", "59", "ZQ", "Brennan", "599");

    // The contact just typed, each time with the next county as county sent;
    // the frequency went with the first only, as each logging empties it.
    EXPECT_EQ(logFile(),
              earlier
                  + logLine("W5ZQ", "599", "59", "ZQ", "Brennan", "Alderbrook", "2026/09/12",
                            "18:30:00", "CW", "20", "14.025")
                  + logLine("W5ZQ", "599", "59", "ZQ", "Brennan", "Ashcombe", "2026/09/12", "18:30:00")
                  + logLine("W5ZQ", "599", "59", "ZQ", "Brennan", "Carrow", "2026/09/12", "18:30:00"));
    EXPECT_EQ(ContactLog::instance().ContactCount, 4);
    EXPECT_EQ(in.lblsectogo->text(), "4");
    EXPECT_EQ(in.ListView1->text(0, 0), "4");
    EXPECT_EQ(in.ListView1->text(0, 9), "Carrow");
    expectBackOnFirstCounty(in, "Alderbrook");
    expectRowEmpty(in);
    EXPECT_EQ(roverList(), QStringList({"Alderbrook", "Ashcombe", "Carrow"}));
}

TEST_F(RoverTest, ReLogThatWouldBeADuplicateIsSkipped)
{
    // Already worked from Carrow on this band and mode.
    const QByteArray fromCarrow = logLine("W5ZQ", "599", "59", "ZQ", "Brennan", "Carrow",
                                          "2026/09/12", "18:00:00");
    env.writeWorkFile(QStringLiteral("log.txt"), fromCarrow);
    auto& in = static_cast<Infrm&>(open(0));
    // The list sorts them: Alderbrook, Ashcombe, Carrow.
    listCounties({"Carrow", "Alderbrook", "Ashcombe"});
    env.prompt().clear();

    enterContact(in, "W5ZQ", "59", "ZQ", "Brennan", "599");

    EXPECT_EQ(logFile(),
              fromCarrow
                  + logLine("W5ZQ", "599", "59", "ZQ", "Brennan", "Alderbrook", "2026/09/12", "18:30:00")
                  + logLine("W5ZQ", "599", "59", "ZQ", "Brennan", "Ashcombe", "2026/09/12", "18:30:00"));
    EXPECT_EQ(in.lblDialog->text(), finalDupeMessage(1, true));
    EXPECT_EQ(in.lblDialog->palette().color(QPalette::Window), QColor(255, 0, 0));
    expectBackOnFirstCounty(in, "Alderbrook");
    expectRowEmpty(in);
}

TEST_F(RoverTest, FailedAppendEndsTheReLoggingOnTheFirstCounty)
{
    auto& in = static_cast<Infrm&>(open(0));
    listCounties({"Alderbrook", "Ashcombe", "Carrow"});
    int appends = 0;
    setWriteFaultForTesting([&](const QString& path) {
        return path.endsWith(QStringLiteral("log.txt")) && ++appends >= 2;
    });
    env.prompt().clear();

    enterContact(in, "K5TX", "59", "TX", "", "599");

    EXPECT_EQ(appends, 2); // the third county was not tried
    EXPECT_EQ(ContactLog::instance().ContactCount, 1);
    EXPECT_EQ(logFile(), logLine("K5TX", "599", "59", "TX", "", "Alderbrook", "2026/09/12", "18:30:00"));
    EXPECT_TRUE(env.prompt().messageTitles().contains("File Error"));
    EXPECT_EQ(in.lblDialog->text(), "Not logged: log.txt could not be written!");
    EXPECT_EQ(in.lblsectogo->text(), "1");
    expectBackOnFirstCounty(in, "Alderbrook");

    // Once the disk is back the next contact goes out for all three again.
    setWriteFaultForTesting(nullptr);
    enterContact(in, "K6CA", "59", "CA", "", "599");
    EXPECT_EQ(ContactLog::instance().ContactCount, 4);
    EXPECT_EQ(ContactLog::instance()[4].LogCountySent, "Carrow");
    expectBackOnFirstCounty(in, "Alderbrook");
}

TEST_F(RoverTest, ChangeCountyBuildsASortedList)
{
    auto& in = static_cast<Infrm&>(open(0));
    setModalShowHandlerForTesting([&](QWidget& window) {
        if (auto* change = qobject_cast<frmCountyChange*>(&window)) {
            EXPECT_EQ(change->Text1->text(), "Alderbrook");
            QTest::mouseClick(change->cmdMultipleCounties, Qt::LeftButton);
        } else if (auto* rover = qobject_cast<frmCountyChangeRover*>(&window)) {
            listCounties({"Carrow", "Nowhere", "ashcombe"});
            EXPECT_TRUE(rover->Label2->isHidden());
            rover->Text1->setText("Nowhere");
            QTest::keyClick(rover->Text1, Qt::Key_Return);
            EXPECT_FALSE(rover->Label2->isHidden());
            QTest::mouseClick(rover->Command1, Qt::LeftButton);
        }
    });
    in.mnuChangeCounty->trigger();

    // Entry 0 is the alphabetically first county (ignoring case), not the
    // first typed; each is listed as the county table spells it.
    EXPECT_EQ(roverList(), QStringList({"Ashcombe", "Carrow"}));
    EXPECT_EQ(in.Label25->text(), "Ashcombe");
    EXPECT_EQ(savedSettings().OwnCounty, "Ashcombe");
    EXPECT_FALSE(WindowRegistry::isLoaded<frmCountyChange>());

    enterContact(in, "K5TX", "59", "TX", "", "599");
    ASSERT_EQ(ContactLog::instance().ContactCount, 2);
    EXPECT_EQ(ContactLog::instance()[1].LogCountySent, "Ashcombe");
    EXPECT_EQ(ContactLog::instance()[2].LogCountySent, "Carrow");

    // Off the county line: a click removes Carrow, and a contact is logged once.
    QListWidget* list = DefaultInstance<frmCountyChangeRover>().List1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(roverList(), QStringList({"Ashcombe"}));
    enterContact(in, "K6CA", "59", "CA", "", "599");
    EXPECT_EQ(ContactLog::instance().ContactCount, 3);
    expectBackOnFirstCounty(in, "Ashcombe");
}
