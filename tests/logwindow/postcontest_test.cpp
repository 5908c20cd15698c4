// Post-contest mode: the date and time fields, their keys, the check of
// what is typed into them and the contacts stored with their values.

#include "support/LogWindowTestSupport.h"

#include "output/frmCountyChangeRover.h"

#include <QLabel>
#include <QListWidget>

using namespace zq;
using namespace zq::test;

namespace {

using PostContestTest = EntryWindowTest;

std::vector<QWidget*> postContestControls(LogWindow& w)
{
    return {w.lblPostConTime, w.txtPostConTime, w.lblPostConDate, w.txtPostConDate};
}

} // namespace

TEST_F(PostContestTest, MenuShowsTheFieldsWhichTakeOnlyTheirCharacters)
{
    LogWindow& w = open(1);
    for (QWidget* c : postContestControls(w))
        EXPECT_TRUE(c->isHidden());
    w.mnuPostContest->trigger();
    EXPECT_TRUE(w.mnuPostContest->isChecked());
    for (QWidget* c : postContestControls(w))
        EXPECT_FALSE(c->isHidden()) << c->objectName().toStdString();

    // An empty date field takes today's local date, which here is a day
    // behind the UTC date.
    env.clock().setUtc(QDateTime(QDate(2026, 9, 13), QTime(2, 0), Qt::UTC));
    w.txtPostConDate->setFocus();
    EXPECT_EQ(w.txtPostConDate->text(), "2026/09/12");
    EXPECT_EQ(w.txtPostConDate->selectedText(), "2026/09/12");

    // Letters and the other field's separator are dropped.
    type(w.txtPostConDate, "2026:x/9-/5");
    EXPECT_EQ(w.txtPostConDate->text(), "2026/9/5");
    type(w.txtPostConTime, "1a8/:3-0");
    EXPECT_EQ(w.txtPostConTime->text(), "18:30");
    QTest::keyClick(w.txtPostConTime, Qt::Key_Backspace);
    EXPECT_EQ(w.txtPostConTime->text(), "18:3");

    // Space moves on to the date field, which keeps its text.
    QTest::keyClick(w.txtPostConTime, Qt::Key_Space);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), w.txtPostConDate);
    EXPECT_EQ(w.txtPostConDate->text(), "2026/9/5");
    EXPECT_EQ(w.txtPostConTime->text(), "18:3");

    w.mnuPostContest->trigger();
    EXPECT_FALSE(w.mnuPostContest->isChecked());
    for (QWidget* c : postContestControls(w))
        EXPECT_TRUE(c->isHidden());
    EXPECT_EQ(w.txtPostConDate->text(), "2026/9/5");
}

TEST_F(PostContestTest, TypedDatesAndTimesAreCheckedAndStoredNormalised)
{
    struct Case {
        const char* date;
        const char* time;
        const char* storedDate; // nullptr: refused with message
        const char* storedTime;
        const char* message;
    };
    const Case cases[] = {
        {"2026/9/5", "1830", "2026/09/05", "18:30", ""},
        {"2026/09/05", "830", "2026/09/05", "08:30", ""},
        {"2026/9/05", "8:05", "2026/09/05", "08:05", ""},
        {"2024/2/29", "0000", "2024/02/29", "00:00", ""},
        {"2026/12/31", "23:59", "2026/12/31", "23:59", ""},
        {"2026/2/29", "1830", nullptr, nullptr, "Invalid date format!"},
        {"2026/9/31", "1830", nullptr, nullptr, "Invalid date format!"},
        {"2026/13/1", "1830", nullptr, nullptr, "Invalid date format!"},
        {"26/9/5", "1830", nullptr, nullptr, "Invalid date format!"},
        {"2026//5", "1830", nullptr, nullptr, "Invalid date format!"},
        {"2026/9/5/", "1830", nullptr, nullptr, "Invalid date format!"},
        {"20260905", "1830", nullptr, nullptr, "Invalid date format!"},
        {"2026/9/5", "2400", nullptr, nullptr, "Invalid time format!"},
        {"2026/9/5", "1260", nullptr, nullptr, "Invalid time format!"},
        {"2026/9/5", "12:5", nullptr, nullptr, "Invalid time format!"},
        {"2026/9/5", "18", nullptr, nullptr, "Invalid time format!"},
        {"2026/9/5", "1:2:3", nullptr, nullptr, "Invalid time format!"},
        {"2026/9/5", ":1830", nullptr, nullptr, "Invalid time format!"},
        {"2026/9/5", "", nullptr, nullptr, "Invalid time format!"},
    };
    LogWindow& w = open(1);
    w.mnuPostContest->trigger();
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.time);
        const QString call = QStringLiteral("W1A") + QChar('A' + n++);
        type(w.txtCall, call);
        type(w.txtRSTR, "599");
        type(w.txtSec, "Ashcombe");
        type(w.txtPostConDate, c.date);
        type(w.txtPostConTime, c.time);
        const int before = ContactLog::instance().ContactCount;
        QTest::keyClick(w.txtPostConTime, Qt::Key_Return);
        const ContactLog& log = ContactLog::instance();
        if (c.storedDate) {
            ASSERT_EQ(log.ContactCount, before + 1);
            EXPECT_EQ(log[log.ContactCount].LogCall, call);
            EXPECT_EQ(log[log.ContactCount].LogDate, c.storedDate);
            EXPECT_EQ(log[log.ContactCount].LogTime, c.storedTime);
            EXPECT_EQ(w.txtPostConDate->text(), c.storedDate);
            EXPECT_EQ(w.txtPostConTime->text(), c.storedTime);
        } else {
            EXPECT_EQ(log.ContactCount, before);
            EXPECT_EQ(w.lblDialog->text(), c.message);
            EXPECT_EQ(w.txtCall->text(), call);
        }
    }
}

TEST_F(PostContestTest, RoverContactTakesTheFieldsForEveryCounty)
{
    st.RoverFlag = 1;
    auto& in = static_cast<Infrm&>(open(0));
    QListWidget* rovers = DefaultInstance<frmCountyChangeRover>().List1;
    rovers->addItem("Alderbrook");
    rovers->addItem("Bellhaven");
    in.mnuPostContest->trigger();
    type(in.txtCall, "K5TX");
    type(in.txtRSTR, "59");
    type(in.txtCntry, "TX");
    type(in.txtRSTS, "599");
    type(in.txtPostConTime, "745");
    type(in.txtPostConDate, "2026/9/6");
    QTest::keyClick(in.txtPostConDate, Qt::Key_Return);

    EXPECT_EQ(logFile(), logLine("K5TX", "599", "59", "TX", "", "Alderbrook", "2026/09/06", "07:45")
                             + logLine("K5TX", "599", "59", "TX", "", "Bellhaven", "2026/09/06", "07:45"));
    // The fields keep their values for the next contact.
    EXPECT_EQ(in.txtPostConDate->text(), "2026/09/06");
    EXPECT_EQ(in.txtPostConTime->text(), "07:45");
    EXPECT_TRUE(in.txtCall->text().isEmpty());
}
