// "&Recall": the call of the last logged contact back in the entry row.

#include "support/LogWindowTestSupport.h"

#include <QLabel>

using namespace zq;
using namespace zq::test;

namespace {
using RecallTest = EntryWindowTest;
}

TEST_F(RecallTest, EmptyLogRecallsNothing)
{
    LogWindow& w = open(1);
    env.prompt().clear();
    w.mnuRecall->trigger();
    EXPECT_TRUE(w.txtCall->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), w.txtCall);
    EXPECT_TRUE(env.prompt().calls().empty());
}

TEST_F(RecallTest, LastCallComesBackWithItsFirstCountyAndTheRoverWarning)
{
    LogWindow& w = open(1);
    enterContact(w, "W5ABC", "599", "", "Ashcombe", "599");
    enterContact(w, "W5ABC", "599", "", "Carrow", "599");
    ASSERT_EQ(ContactLog::instance().ContactCount, 2);
    env.prompt().clear();

    w.mnuRecall->trigger();

    EXPECT_EQ(w.txtCall->text(), "W5ABC");
    EXPECT_EQ(QApplication::focusWidget(), w.txtSec);
    EXPECT_EQ(w.txtSec->text(), "Ashcombe");
    EXPECT_EQ(w.txtSec->selectedText(), "Ashcombe");
    EXPECT_TRUE(w.lblDialog->text().startsWith("Duplicate Unless Rover!  W5ABC")) << w.lblDialog->text().toStdString();
    EXPECT_EQ(env.prompt().beeps(), 1);
    EXPECT_EQ(w.txtRSTR->text(), "599");
    EXPECT_EQ(w.txtRSTS->text(), "599");
}

TEST_F(RecallTest, NumberInTheSpareFieldGivesTheNextSerial)
{
    for (const auto& [field19, expected] : {std::pair{"12", "13"}, std::pair{"", "599"}}) {
        SCOPED_TRACE(field19);
        ContactRecord r = contact("K1AB", "Ashcombe", "CW");
        r.LogField19 = QString::fromLatin1(field19);
        env.writeWorkFile(QStringLiteral("log.txt"), formatContactLine(r));
        LogWindow& w = open(1);
        w.mnuRecall->trigger();
        EXPECT_EQ(w.txtCall->text(), "K1AB");
        EXPECT_EQ(w.txtRSTR->text(), expected);
        freshRun();
    }
}
