// The contact list's commands in the running window: choosing a row, edit
// and delete with their rewrite of log.txt, the list mode, the column sort
// and the copy to the clipboard.

#include "support/LogWindowTestSupport.h"

#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/ModalShow.h"
#include "common/ProgramEnd.h"
#include "output/ZQCabrilloIn.h"
#include "output/ZQEditInfrm.h"
#include "output/ZQEditOut.h"
#include "platform/SafeFile.h"
#include "support/FullDisk.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <vector>

using namespace zq;
using namespace zq::test;

namespace {

class ListCommandsTest : public LogWindowTest {
protected:
    std::vector<ContactRecord> contacts;

    // n contacts K1AA, K2AA, ... alternating counties and modes.
    void writeContacts(int n, bool lfLineEnds = false)
    {
        QByteArray data;
        for (int i = 1; i <= n; ++i) {
            ContactRecord r = contact(QStringLiteral("K%1AA").arg(i),
                                      i % 2 ? QStringLiteral("Alderbrook") : QStringLiteral("Ashcombe"),
                                      i % 2 ? QStringLiteral("PH") : QStringLiteral("CW"));
            contacts.push_back(r);
            QByteArray line = formatContactLine(r);
            if (lfLineEnds)
                line.replace("\r\n", "\n");
            data += line;
        }
        env.writeWorkFile(QStringLiteral("log.txt"), data);
    }

    QByteArray expectedLog() const
    {
        QByteArray data;
        for (const ContactRecord& r : contacts)
            data += formatContactLine(r);
        return data;
    }

    static QStringList column(const LogWindow& w, int c)
    {
        QStringList out;
        for (int i = 0; i < w.ListView1->rowCount(); ++i)
            out << w.ListView1->text(i, c);
        return out;
    }

    // Clicks the row of contact `rec` with the given mouse button.
    static void clickRow(LogWindow& w, int rec, Qt::MouseButton button = Qt::LeftButton)
    {
        clickContactRow(w.ListView1, rec, button);
    }

    static void clickHeader(LogWindow& w, int section)
    {
        QHeaderView* h = w.ListView1->header();
        const int x = h->sectionViewportPosition(section) + h->sectionSize(section) / 2;
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(x, h->height() / 2));
    }

    static bool buttonsShown(const LogWindow& w)
    {
        return !w.cmdEdit->isHidden() && !w.cmdDelete->isHidden();
    }
};

} // namespace

TEST_F(ListCommandsTest, DeleteAsksThenRemovesTheChosenContact)
{
    writeContacts(8);
    LogWindow& w = start(1);
    EXPECT_FALSE(buttonsShown(w));
    clickRow(w, 5);
    EXPECT_TRUE(buttonsShown(w));

    env.prompt().answerMessage(MsgAnswer::No);
    w.cmdDelete->click();
    EXPECT_EQ(env.prompt().messageTitles().last(), QStringLiteral("Are you sure?"));
    EXPECT_FALSE(buttonsShown(w));
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), expectedLog());

    clickRow(w, 5);
    env.prompt().answerMessage(MsgAnswer::Yes);
    w.cmdDelete->click();
    contacts.erase(contacts.begin() + 4);
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), expectedLog());
    EXPECT_EQ(ContactLog::instance().ContactCount, 7);
    EXPECT_EQ(column(w, 0), QStringList({"7", "6", "5", "4", "3", "2", "1"}));
    EXPECT_EQ(column(w, 1)[2], QStringLiteral("K6AA")); // former contact 6 is now 5
    EXPECT_FALSE(buttonsShown(w));
}

TEST_F(ListCommandsTest, AfterADeleteOrAnEditTheFocusIsBackInTheCallField)
{
    writeContacts(4);
    LogWindow& w = open(1);
    clickRow(w, 3);
    ASSERT_EQ(QApplication::focusWidget(), w.ListView1);
    env.prompt().answerMessage(MsgAnswer::Yes);
    w.cmdDelete->click();
    ASSERT_EQ(ContactLog::instance().ContactCount, 3);
    EXPECT_EQ(QApplication::focusWidget(), w.txtCall);

    clickRow(w, 2);
    ASSERT_EQ(QApplication::focusWidget(), w.ListView1);
    setModalShowHandlerForTesting([](QWidget&) {});
    w.cmdEdit->click();
    EXPECT_EQ(QApplication::focusWidget(), w.txtCall);
    EXPECT_FALSE(buttonsShown(w));
}

// The list worked from the keyboard alone, in both windows: Tab from the
// call field goes round the window to it, the arrow keys choose a row, Tab
// on shows Edit and Delete and stops at them, and each acts on the row
// chosen.  Shift+Tab from the call field comes straight back to the list.
TEST_F(ListCommandsTest, TheListAndItsButtonsAreWorkedFromTheKeyboard)
{
    auto focus = [] { return QApplication::focusWidget(); };
    auto press = [&](Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(focus(), key, mods);
    };
    for (uint8_t outOfState : {uint8_t(1), uint8_t(0)}) {
        SCOPED_TRACE(outOfState ? "out-of-state" : "in-state");
        freshRun();
        contacts.clear();
        writeContacts(4);
        LogWindow& w = open(outOfState);
        w.txtCall->setFocus();
        for (int i = 0; i < 100 && focus() != w.ListView1; ++i)
            press(Qt::Key_Tab);
        ASSERT_EQ(focus(), w.ListView1);
        EXPECT_FALSE(buttonsShown(w));

        // Newest on top: 4, 3, 2, 1.  Two rows down is contact 2.
        press(Qt::Key_Down);
        press(Qt::Key_Down);
        ASSERT_EQ(w.ListView1->text(w.ListView1->selectedRow(), 0), QStringLiteral("2"));
        press(Qt::Key_Tab);
        EXPECT_TRUE(buttonsShown(w));
        ASSERT_EQ(focus(), w.cmdEdit);
        QStringList edited;
        setModalShowHandlerForTesting([&](QWidget& d) {
            edited << d.findChild<QLineEdit*>(QStringLiteral("txtEditCall"))->text();
        });
        press(Qt::Key_Space);
        setModalShowHandlerForTesting(nullptr);
        EXPECT_EQ(edited, QStringList{QStringLiteral("K2AA")});
        EXPECT_EQ(focus(), w.txtCall);
        EXPECT_FALSE(buttonsShown(w));

        // Back to the list; its focus stands on the top row, chosen; one
        // row down is contact 3, which Delete removes.
        press(Qt::Key_Tab, Qt::ShiftModifier);
        ASSERT_EQ(focus(), w.ListView1);
        EXPECT_EQ(w.ListView1->text(w.ListView1->selectedRow(), 0), QStringLiteral("4"));
        press(Qt::Key_Down);
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        ASSERT_EQ(focus(), w.cmdDelete);
        env.prompt().answerMessage(MsgAnswer::Yes);
        press(Qt::Key_Return);
        contacts.erase(contacts.begin() + 2);
        EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), expectedLog());
        EXPECT_EQ(column(w, 1), QStringList({"K4AA", "K2AA", "K1AA"}));
        EXPECT_EQ(focus(), w.txtCall);
        EXPECT_FALSE(buttonsShown(w));
    }
}

TEST_F(ListCommandsTest, EditWritesTheDialogsFieldsBackAndReloads)
{
    writeContacts(3, /*lfLineEnds=*/true);
    LogWindow& w = start(1);

    // Closing the dialog without Done still rewrites log.txt (in the
    // program's own line form) and reloads.
    clickRow(w, 2);
    QStringList shown;
    setModalShowHandlerForTesting([&](QWidget& d) { shown << d.objectName(); });
    w.cmdEdit->click();
    EXPECT_EQ(shown, QStringList{QStringLiteral("ZQEditOut")});
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), expectedLog());
    EXPECT_FALSE(buttonsShown(w));

    clickRow(w, 2);
    setModalShowHandlerForTesting([&](QWidget& d) {
        auto& dialog = static_cast<ZQEditOut&>(d);
        EXPECT_EQ(dialog.txtEditCall->text(), QStringLiteral("K2AA"));
        EXPECT_EQ(dialog.txtEditPre->text(), QStringLiteral("Ashcombe"));
        dialog.txtEditCall->setText(QStringLiteral("W9ZZ"));
        dialog.txtEditPre->setText(QStringLiteral("alderbrook")); // stored as the table spells it
        dialog.cmdDone->click();
        EXPECT_TRUE(dialog.isHidden());
    });
    w.cmdEdit->click();
    EXPECT_FALSE(WindowRegistry::isLoaded<ZQEditOut>());
    contacts[1].LogCall = QStringLiteral("W9ZZ");
    contacts[1].LogCounty = QStringLiteral("Alderbrook");
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), expectedLog());
    EXPECT_EQ(column(w, 1), QStringList({"K3AA", "W9ZZ", "K1AA"}));
    EXPECT_EQ(column(w, 3)[1], QStringLiteral("Alderbrook"));
}

TEST_F(ListCommandsTest, DeleteDupeFromTheEditDialogDeletesTheContactUnderEdit)
{
    writeContacts(3);
    st.RoverFlag = 0;
    LogWindow& w = start(0);
    clickRow(w, 1);
    env.prompt().answerMessage(MsgAnswer::Yes);
    setModalShowHandlerForTesting([&](QWidget& d) {
        static_cast<ZQEditInfrm&>(d).cmdDeleteDupe->click();
    });
    // A right click on a row opens the edit dialog.
    clickRow(w, 1, Qt::RightButton);
    contacts.erase(contacts.begin());
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), expectedLog());
    EXPECT_EQ(column(w, 1), QStringList({"K3AA", "K2AA"}));
}

TEST_F(ListCommandsTest, EditTypedWithCompletionAndEnterRewritesTheLog)
{
    writeContacts(3);
    LogWindow& w = start(1);
    clickRow(w, 2);
    setModalShowHandlerForTesting([&](QWidget& d) {
        auto& dialog = static_cast<ZQEditOut&>(d);
        d.show();
        QApplication::setActiveWindow(&d);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        EXPECT_EQ(QApplication::focusWidget(), dialog.txtEditCall);
        dialog.txtEditCall->selectAll();
        QTest::keyClicks(dialog.txtEditCall, QStringLiteral("k2ab"));
        QTest::keyClick(dialog.txtEditCall, Qt::Key_Tab);
        QTest::keyClicks(dialog.txtEditCk, QStringLiteral("57"));
        QTest::keyClick(dialog.txtEditCk, Qt::Key_Tab);
        QTest::keyClicks(dialog.txtEditPre, QStringLiteral("bl")); // completed: Blackwater
        QTest::keyClick(dialog.txtEditPre, Qt::Key_Return);
        EXPECT_TRUE(d.isHidden());
    });
    w.cmdEdit->click();
    contacts[1].LogCall = QStringLiteral("K2AB");
    contacts[1].LogRstReceived = QStringLiteral("57"); // Tab selected the old report
    contacts[1].LogCounty = QStringLiteral("Blackwater");
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), expectedLog());
    EXPECT_EQ(column(w, 1), QStringList({"K3AA", "K2AB", "K1AA"}));
}

TEST_F(ListCommandsTest, DeleteDupeWithYesRemovesTheContactUnderEditNotTheEarlierOne)
{
    writeContacts(3);
    LogWindow& w = start(1);
    clickRow(w, 3);
    env.prompt().clear();
    env.prompt().answerMessage(MsgAnswer::Yes);
    setModalShowHandlerForTesting([&](QWidget& d) {
        auto& dialog = static_cast<ZQEditOut&>(d);
        // Contact 3 made the same as contact 1.
        dialog.txtEditCall->setText(QStringLiteral("K1AA"));
        dialog.txtEditBnd->setText(QStringLiteral("PH"));
        dialog.cmdDone->click();
        EXPECT_TRUE(dialog.Label1->isVisibleTo(&dialog));
        EXPECT_EQ(env.prompt().beeps(), 1);
        dialog.cmdDeleteDupe->click();
    });
    w.cmdEdit->click();
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Are you sure?"});
    contacts.erase(contacts.begin() + 2);
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), expectedLog());
    EXPECT_EQ(column(w, 1), QStringList({"K2AA", "K1AA"}));
}

TEST_F(ListCommandsTest, FailedRewriteIsReportedOnceAndTheListShowsTheFile)
{
    writeContacts(3);
    LogWindow& w = start(1);
    setWriteFaultForTesting([](const QString& path) { return path.endsWith(QStringLiteral("log.txt")); });
    env.prompt().clear();

    clickRow(w, 2);
    setModalShowHandlerForTesting([&](QWidget& d) {
        auto& dialog = static_cast<ZQEditOut&>(d);
        dialog.txtEditCall->setText(QStringLiteral("W9ZZ"));
        dialog.cmdDone->click();
    });
    w.cmdEdit->click();
    clickRow(w, 2);
    env.prompt().answerMessage(MsgAnswer::Yes);
    w.cmdDelete->click();

    EXPECT_EQ(env.prompt().messageTitles(),
              QStringList({"File Error", "Are you sure?", "File Error"}));
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), expectedLog());
    EXPECT_EQ(ContactLog::instance().ContactCount, 3);
    EXPECT_EQ(column(w, 1), QStringList({"K3AA", "K2AA", "K1AA"}));
    EXPECT_FALSE(programEnded());
}

// A really full disk (every file limited to 1 KiB while the log holds
// about 4 KiB): each command that rewrites or backs up the log says so,
// and the file, the list and the totals stay as they were.
TEST_F(ListCommandsTest, OnAFullDiskDeleteEditAndNewLogChangeNothing)
{
    writeContacts(40);
    LogWindow& w = start(1);
    w.cmdList->click(); // every contact listed
    const QByteArray before = env.readWorkFile(QStringLiteral("log.txt"));
    const QStringList calls = column(w, 1);
    const QStringList totals = {w.lblTotCon->text(), w.lblTotSec->text(), w.lblTotScore->text()};
    ASSERT_EQ(calls.size(), 40);
    env.prompt().clear();
    {
        FileSizeLimit full(1024);
        if (!full.active())
            GTEST_SKIP() << "no file size limit can be set here";

        clickRow(w, 40);
        env.prompt().answerMessage(MsgAnswer::Yes);
        w.cmdDelete->click();

        clickRow(w, 12);
        setModalShowHandlerForTesting([&](QWidget& d) {
            auto& dialog = static_cast<ZQEditOut&>(d);
            dialog.txtEditCall->setText(QStringLiteral("W9ZZ"));
            dialog.cmdDone->click();
        });
        w.cmdEdit->click();

        env.prompt().answerInput(QStringLiteral("YES"));
        find(w, "mnuNew")->trigger();
    }

    EXPECT_EQ(env.prompt().messageTitles(),
              QStringList({"Are you sure?", "File Error", "File Error", "File Error"}));
    const QStringList texts = env.prompt().messageTexts();
    EXPECT_TRUE(texts.value(3).contains(QStringLiteral("The log was not erased")))
        << texts.value(3).toStdString();
    EXPECT_TRUE(env.readWorkFile(QStringLiteral("log.txt")) == before);
    EXPECT_EQ(ContactLog::instance().ContactCount, 40);
    EXPECT_EQ(column(w, 1), calls);
    EXPECT_EQ(QStringList({w.lblTotCon->text(), w.lblTotSec->text(), w.lblTotScore->text()}),
              totals);
    QDir backup(Folders::instance().UserDirectory + QStringLiteral("/BACKUP"));
    EXPECT_EQ(backup.entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(QDir(env.workDir()).entryList({QStringLiteral(".log.txt*")}, QDir::Files | QDir::Hidden),
              QStringList());
    EXPECT_FALSE(programEnded());
}

TEST_F(ListCommandsTest, EmptyListKeepsTheButtonsHiddenAndOpensNothing)
{
    writeContacts(0);
    LogWindow& w = start(1);
    QStringList shown;
    setModalShowHandlerForTesting([&](QWidget& d) { shown << d.objectName(); });
    QTest::mouseClick(w.ListView1->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(w.ListView1->viewport(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_FALSE(buttonsShown(w));
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(ListCommandsTest, ListModeButtonTogglesBetweenLast20AndAll)
{
    writeContacts(25);
    LogWindow& w = start(1);
    EXPECT_EQ(w.ListView1->rowCount(), 20);
    w.cmdList->click();
    EXPECT_EQ(w.cmdList->text(), QStringLiteral("All"));
    EXPECT_EQ(w.ListView1->rowCount(), 25);
    w.cmdList->click();
    EXPECT_EQ(w.cmdList->text(), QStringLiteral("Last 20"));
    EXPECT_EQ(w.ListView1->rowCount(), 20);
    EXPECT_EQ(column(w, 0).first(), QStringLiteral("25"));
}

TEST_F(ListCommandsTest, ColumnClickSortsRecNumberAsANumber)
{
    writeContacts(12);
    LogWindow& w = start(1);
    clickRow(w, 5);
    clickHeader(w, 0);
    EXPECT_EQ(column(w, 0),
              QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
    clickHeader(w, 1); // the call column sorts as text
    EXPECT_EQ(column(w, 1).mid(0, 4), QStringList({"K10AA", "K11AA", "K12AA", "K1AA"}));
    // The chosen contact stays chosen through the sorts.
    ASSERT_GE(w.ListView1->selectedRow(), 0);
    EXPECT_EQ(w.ListView1->text(w.ListView1->selectedRow(), 0), QStringLiteral("5"));
}

TEST_F(ListCommandsTest, ClipboardGetsTheHeaderThenTheRowsOldestFirst)
{
    writeContacts(3);
    LogWindow& w = start(1);
    find(w, "mnuCopyListtoClipboard")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("Rec#\tCall\tRec\tCounty\tSnt\tDate/Time\tMo\tBnd\r\n"
                             "1\tK1AA\t59\tAlderbrook\t59\t09/12 18:00\tPH\t20\r\n"
                             "2\tK2AA\t59\tAshcombe\t59\t09/12 18:00\tCW\t20\r\n"
                             "3\tK3AA\t59\tAlderbrook\t59\t09/12 18:00\tPH\t20\r\n"));
}

// A contact left unchanged in the edit dialog is written back as it was,
// in either window: a contact the out-of-state window logged (a county, no
// state) keeps its county in the in-state window's dialog, and log.txt
// stays the same byte for byte.
TEST_F(ListCommandsTest, DoneWithoutAChangeLeavesTheLogAsItWas)
{
    for (uint8_t outOfState : {uint8_t(0), uint8_t(1)}) {
        SCOPED_TRACE(outOfState ? "out-of-state" : "in-state");
        freshRun();
        QByteArray before;
        for (const ContactRecord& r : {contact(QStringLiteral("K1AA"), QStringLiteral("Bellhaven"), QStringLiteral("PH")),
                                       contact(QStringLiteral("K2AA"), QStringLiteral("Bellhaven"), QStringLiteral("CW")),
                                       contact(QStringLiteral("K3AA"), QStringLiteral("Ashcombe"), QStringLiteral("CW"))})
            before += formatContactLine(r);
        env.writeWorkFile(QStringLiteral("log.txt"), before);
        LogWindow& w = start(outOfState);
        const QString score = w.lblTotScore->text();
        clickRow(w, 2);
        bool shown = false;
        setModalShowHandlerForTesting([&](QWidget& d) {
            shown = true;
            auto& dialog = static_cast<ContactEditDialog&>(d);
            showActive(dialog);
            dialog.cmdDone->click();
            EXPECT_TRUE(dialog.isHidden());
        });
        w.cmdEdit->click();
        setModalShowHandlerForTesting(nullptr);
        EXPECT_TRUE(shown);
        EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")), before);
        EXPECT_EQ(ContactLog::instance()[2].LogCounty, QStringLiteral("Bellhaven"));
        EXPECT_EQ(w.lblTotScore->text(), score);
    }
}

// A county goes only with the home state.  Typed for a station of another
// state it stays in its box, flagged, and nothing is saved until the state
// or the county is corrected; log.txt and the submission file never carry
// it.  A home-state station's county is saved as typed.
TEST_F(ListCommandsTest, EditSavesACountyOnlyWithTheHomeState)
{
    st.HomeStateCode = QStringLiteral("ZQ");
    ContactRecord hawaii = contactRecord(QStringLiteral("KH6ABC"), QStringLiteral("59"),
                                         QStringLiteral("59"), QStringLiteral("HI"), QString(),
                                         QStringLiteral("Alderbrook"), QStringLiteral("2026/09/12"),
                                         QStringLiteral("18:00:00"), QStringLiteral("PH"));
    ContactRecord home = hawaii;
    home.LogCall = QStringLiteral("K5ZZ");
    home.LogSpc = QStringLiteral("ZQ");
    home.LogCounty = QStringLiteral("Carrow");
    env.writeWorkFile(QStringLiteral("log.txt"), formatContactLine(hawaii) + formatContactLine(home));
    LogWindow& w = open(0);

    // The operator types a county for each contact and presses Enter.
    auto editCounty = [&](int rec, const std::function<void(ZQEditInfrm&)>& after) {
        clickRow(w, rec);
        bool shown = false;
        setModalShowHandlerForTesting([&](QWidget& d) {
            shown = true;
            auto& dialog = static_cast<ZQEditInfrm&>(d);
            showActive(dialog);
            dialog.txtEditSec->setFocus();
            dialog.txtEditSec->selectAll();
            QTest::keyClicks(dialog.txtEditSec, QStringLiteral("dalb"));
            ASSERT_EQ(dialog.txtEditSec->text(), QStringLiteral("Dalby"));
            QTest::keyClick(dialog.txtEditSec, Qt::Key_Return);
            after(dialog);
        });
        w.cmdEdit->click();
        setModalShowHandlerForTesting(nullptr);
        EXPECT_TRUE(shown);
    };

    editCounty(1, [&](ZQEditInfrm& dialog) {
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.Label7->isVisible());
        EXPECT_EQ(dialog.txtEditSec->text(), QStringLiteral("Dalby"));
        EXPECT_EQ(QApplication::focusWidget(), dialog.txtEditSec);
        EXPECT_EQ(env.prompt().beeps(), 1);
        dialog.txtEditSec->clear();
        QTest::keyClick(dialog.txtEditSec, Qt::Key_Return);
        EXPECT_TRUE(dialog.isHidden());
    });
    editCounty(2, [](ZQEditInfrm& dialog) { EXPECT_TRUE(dialog.isHidden()); });
    home.LogCounty = QStringLiteral("Dalby");
    EXPECT_EQ(env.readWorkFile(QStringLiteral("log.txt")),
              formatContactLine(hawaii) + formatContactLine(home));

    // The submission file: the state for the one, the county for the other.
    const QString target = Folders::instance().UserDirectory + QStringLiteral("/zq.log");
    env.prompt().answerFile(target);
    setModalShowHandlerForTesting([&](QWidget& d) {
        auto& sheet = static_cast<ZQCabrilloIn&>(d);
        d.show();
        sheet.Command4->click();
        sheet.Command3_Click();
    });
    find(w, "mnuWriteSumm")->trigger();
    setModalShowHandlerForTesting(nullptr);
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    QStringList exchanges;
    for (const QByteArray& line : written.readAll().split('\n'))
        if (line.startsWith("QSO:")) {
            // The call, the report received and the exchange end the line.
            const QStringList f = QString::fromLatin1(line).simplified().split(QLatin1Char(' '));
            exchanges << f.mid(f.size() - 3).join(QLatin1Char(' '));
        }
    EXPECT_EQ(exchanges, QStringList({"KH6ABC 59 HI", "K5ZZ 59 Dalby"}));
}
