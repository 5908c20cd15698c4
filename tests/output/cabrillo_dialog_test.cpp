// "Summary Sheet Information" opened from both log windows' File menu: the
// answers, the save dialog, the written file, the two closing messages, and
// the remembered address, with a scripted prompt and scratch folders.

#include "support/LogWindowTestSupport.h"

#include "common/ModalShow.h"
#include "output/ZQCabrilloIn.h"
#include "platform/SafeFile.h"
#include "platform/SettingsStore.h"
#include "startup/SharedPrefs.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

using namespace zq;
using namespace zq::test;

namespace {

const char* const kRememberedKeys[] = {"UserAddressName", "UserAddressLine1", "UserAddressLine2",
                                       "UserEMail"};

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

class CabrilloDialogTest : public LogWindowTest, public ::testing::WithParamInterface<uint8_t> {
protected:
    void SetUp() override
    {
        LogWindowTest::SetUp();
        st.OwnArrlSection = QStringLiteral("IL");
        LoadSharedPrefs(sharedPrefsPath());
        writeLog();
    }

    QString userDir() const { return Folders::instance().UserDirectory; }
    static QString sharedPrefsPath()
    {
        return Folders::instance().SharedDirectory + QStringLiteral("/SharedUserPreferences.xml");
    }

    static void retype(EntryBox* box, const QString& keys)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, keys);
    }

    static void storeAddress(const QStringList& values)
    {
        for (int i = 0; i < 4; ++i)
            SaveSetting(QLatin1String(kRememberedKeys[i]), values[i]);
    }
    static QStringList storedAddress()
    {
        QStringList out;
        for (const char* key : kRememberedKeys)
            out << GetSetting(QLatin1String(key));
        return out;
    }

    // "&Write Submission File" of the window; `body` works the dialog while
    // it is shown modally.  The dialog is unloaded when the menu returns.
    void useDialog(LogWindow& w, const std::function<void(ZQCabrilloIn&)>& body)
    {
        bool ran = false;
        setModalShowHandlerForTesting([&](QWidget& d) {
            ran = true;
            ASSERT_EQ(d.objectName(), QLatin1String("ZQCabrilloIn"));
            d.show();
            body(static_cast<ZQCabrilloIn&>(d));
        });
        find(w, "mnuWriteSumm")->trigger();
        setModalShowHandlerForTesting([](QWidget&) {});
        EXPECT_TRUE(ran);
        EXPECT_FALSE(WindowRegistry::isLoaded<ZQCabrilloIn>());
    }
};

} // namespace

TEST_P(CabrilloDialogTest, WritesTheFileAndRemembersTheAddress)
{
    storeAddress({"Pat Example", "12 Main Street", "Springfield, IL", "pat@example.org"});
    st.OwnCall = QStringLiteral("  K9XYZ/P ");
    LogWindow& w = open(GetParam());
    env.prompt().clear();
    const QString target = userDir() + QStringLiteral("/submission.log");
    QFile::remove(sharedPrefsPath());
    QStringList writes;
    setWriteFaultForTesting([&](const QString& path) {
        writes << path;
        return false;
    });

    useDialog(w, [&](ZQCabrilloIn& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Summary Sheet Information"));
        EXPECT_EQ(d.Text5->text(), QStringLiteral("Pat Example"));
        EXPECT_EQ(d.Text8->text(), QStringLiteral("pat@example.org"));
        QTest::mouseClick(d.Option11, Qt::LeftButton); // World
        QTest::mouseClick(d.Option5, Qt::LeftButton);  // Multi One
        retype(d.Text5, QStringLiteral("  Pat Q. Example "));
        retype(d.Text1, QStringLiteral("k9xyz n0abc"));
        retype(d.Text11, QStringLiteral("Band was open!"));
        env.prompt().answerFile(target);
        QTest::mouseClick(d.Command4, Qt::LeftButton);

        EXPECT_EQ(d.focusWidget(), d.Command3);
        EXPECT_EQ(env.prompt().messageTitles(),
                  QStringList({"File Written Successfully.", "  Thanks!"}));
        EXPECT_EQ(env.prompt().messageTexts(),
                  QStringList({"The file was successfully written to the directory:\n\n" + target
                                   + ".\n\nAttach this file to an e-mail addressed for contest "
                                     "submission.  If you wish to print this file, you can open "
                                     "it with Notepad or Wordpad to print.",
                               "Thanks for using this program.  I hope that you enjoyed it!  If "
                               "so, please tell a friend!"}));
        EXPECT_EQ(env.prompt().beeps(), 0);
        QTest::mouseClick(d.Command3, Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
    });

    EXPECT_EQ(st.OwnCall, QStringLiteral("K9XYZ/P"));
    const auto saves = env.prompt().callsOf(ScriptedPrompt::Kind::SaveFile);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].text, userDir() + QStringLiteral("/K9XYZ.log"));
    EXPECT_TRUE(saves[0].filter.startsWith(QStringLiteral("LOG Files (*.log)")));
    EXPECT_TRUE(saves[0].confirmOverwrite);

    const QList<QByteArray> lines = readFile(target).split('\n');
    ASSERT_EQ(lines.size(), 13 + 5 + 1 + 1);
    EXPECT_EQ(lines[2], "CALLSIGN: K9XYZ/P\r");
    EXPECT_EQ(lines[5], "CATEGORY: WORLD MULTI-ONE\r");
    EXPECT_EQ(lines[6], "OPERATORS: K9XYZ N0ABC\r");
    EXPECT_EQ(lines[7], "CLAIMED-SCORE: " + w.lblTotScore->text().toUtf8() + "\r");
    EXPECT_EQ(lines[8], "NAME:   Pat Q. Example \r");
    EXPECT_EQ(lines[12], "SOAPBOX: Band was open!\r");
    EXPECT_TRUE(lines[13].startsWith("QSO: 14000 PH 2026-09-12 1800 K9XYZ/P    59  "));
    EXPECT_EQ(lines[18], "END-OF-LOG:\r");

    EXPECT_EQ(storedAddress(), QStringList({"Pat Q. Example", "12 Main Street", "Springfield, IL",
                                            "pat@example.org"}));
    EXPECT_EQ(writes.count(sharedPrefsPath()), 1);
    const QByteArray shared = readFile(sharedPrefsPath());
    for (const char* element :
         {"<OWN_ADDRESS_NAME>Pat Q. Example</OWN_ADDRESS_NAME>\r\n",
          "<OWN_ADDRESS_LINE1>12 Main Street</OWN_ADDRESS_LINE1>\r\n",
          "<OWN_ADDRESS_LINE2>Springfield, IL</OWN_ADDRESS_LINE2>\r\n",
          "<OWN_EMAIL>pat@example.org</OWN_EMAIL>\r\n"})
        EXPECT_TRUE(shared.contains(element)) << element << "\n" << shared.constData();

    // The next opening starts afresh with the stored values.
    useDialog(w, [&](ZQCabrilloIn& d) {
        EXPECT_EQ(d.Text5->text(), QStringLiteral("Pat Q. Example"));
        EXPECT_EQ(d.Text6->text(), QStringLiteral("12 Main Street"));
        EXPECT_EQ(d.Text7->text(), QStringLiteral("Springfield, IL"));
        EXPECT_EQ(d.Text8->text(), QStringLiteral("pat@example.org"));
        EXPECT_TRUE(d.Text1->text().isEmpty());
        EXPECT_TRUE(d.Text11->text().isEmpty());
        EXPECT_EQ(d.category(), CabrilloCategory::SingleOp);
        EXPECT_EQ(d.location(), CabrilloLocation::Carvonia);
        EXPECT_EQ(d.power(), CabrilloPower::Low);
        d.Command3_Click();
    });
}

// Cancel, a failed write and a refused target: nothing remembered, an
// existing file left byte for byte, and the own call trimmed all the same.
TEST_P(CabrilloDialogTest, NothingWrittenOrRememberedWithoutASuccessfulWrite)
{
    const QString existing = userDir() + QStringLiteral("/old.log");
    const QByteArray oldBytes("an earlier submission\r\n");
    enum class Answer { Cancel, Fault, MissingFolder, WorkingLog, WorkingPrefs };
    const struct {
        Answer answer;
        const char* what;
    } cases[] = {
        {Answer::Cancel, "cancel"},
        {Answer::Fault, "a full disk"},
        {Answer::MissingFolder, "a missing folder"},
        {Answer::WorkingLog, "the working log"},
        {Answer::WorkingPrefs, "the station preferences"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        freshRun();
        LoadSharedPrefs(sharedPrefsPath());
        QFile::remove(sharedPrefsPath());
        storeAddress({"Old Name", "", "", ""});
        st.OwnCall = QStringLiteral(" W1AW ");
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(oldBytes);
        f.close();
        LogWindow& w = open(GetParam());
        env.prompt().clear();
        WritePrefFile();
        const QByteArray logBytes = logFile();
        const QByteArray prefBytes = env.readWorkFile(QStringLiteral("QSOpref.txt"));
        ASSERT_FALSE(logBytes.isEmpty());
        ASSERT_FALSE(prefBytes.isEmpty());

        QString target = existing;
        switch (c.answer) {
        case Answer::Cancel: break;
        case Answer::Fault:
            setWriteFaultForTesting([&](const QString& p) { return p == existing; });
            break;
        case Answer::MissingFolder: target = userDir() + QStringLiteral("/no/such/x.log"); break;
        case Answer::WorkingLog: target = env.workPath(QStringLiteral("LOG.TXT")); break;
        case Answer::WorkingPrefs: target = env.workPath(QStringLiteral("qsopref.txt")); break;
        }
        if (c.answer != Answer::Cancel)
            env.prompt().answerFile(target);

        useDialog(w, [&](ZQCabrilloIn& d) {
            retype(d.Text5, QStringLiteral("New Name"));
            QTest::mouseClick(d.Command4, Qt::LeftButton);
            EXPECT_NE(d.focusWidget(), d.Command3);
            d.Command3_Click();
        });
        setWriteFaultForTesting(nullptr);

        EXPECT_EQ(st.OwnCall, QStringLiteral("W1AW"));
        EXPECT_EQ(readFile(existing), oldBytes);
        EXPECT_EQ(logFile(), logBytes);
        EXPECT_EQ(env.readWorkFile(QStringLiteral("QSOpref.txt")), prefBytes);
        EXPECT_FALSE(QFile::exists(userDir() + QStringLiteral("/no")));
        EXPECT_EQ(storedAddress(), QStringList({"Old Name", "", "", ""}));
        EXPECT_FALSE(QFile::exists(sharedPrefsPath()));
        if (c.answer == Answer::Cancel) {
            EXPECT_TRUE(env.prompt().messageTitles().isEmpty());
            EXPECT_EQ(env.prompt().beeps(), 0);
        } else {
            EXPECT_EQ(env.prompt().messageTitles(), QStringList({"Unable to write file."}));
            ASSERT_EQ(env.prompt().messageTexts().size(), 1);
            EXPECT_TRUE(env.prompt().messageTexts()[0].startsWith(target + ": "))
                << env.prompt().messageTexts()[0].toStdString();
            EXPECT_EQ(env.prompt().beeps(), 1);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothWindows, CabrilloDialogTest, ::testing::Values(uint8_t{1}, uint8_t{0}),
                         [](const auto& info) {
                             return info.param == 1 ? std::string("Outfrm") : std::string("Infrm");
                         });

// A confirmed replacement rewrites the whole file; the proposed name keeps
// only the leading digits and capitals of the own call.
TEST_F(CabrilloDialogTest, ReplacesAChosenFileWholeAndProposesTheCallStem)
{
    const struct {
        const char* ownCall;
        const char* proposed;
    } calls[] = {{"K9XYZ/M", "K9XYZ.log"}, {"k9xyz", "YourCall.log"}, {"/P", "YourCall.log"}};
    LogWindow& w = open(1);
    const QString target = userDir() + QStringLiteral("/K9XYZ.log");
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100000, '#'));
    f.close();
    for (const auto& c : calls) {
        st.OwnCall = QLatin1String(c.ownCall);
        env.prompt().clear();
        env.prompt().answerFile(target);
        useDialog(w, [&](ZQCabrilloIn& d) { d.Command4_Click(); });
        const auto saves = env.prompt().callsOf(ScriptedPrompt::Kind::SaveFile);
        ASSERT_EQ(saves.size(), 1u);
        EXPECT_EQ(saves[0].text, userDir() + QLatin1Char('/') + QLatin1String(c.proposed));
        const QByteArray bytes = readFile(target);
        EXPECT_TRUE(bytes.startsWith("START-OF-LOG: 2.0\r\n"));
        EXPECT_TRUE(bytes.endsWith("END-OF-LOG:\r\n"));
        EXPECT_FALSE(bytes.contains('#'));
    }
}

// The boxes take no line breaks (a stored one shows as a blank) and only
// typed keys in the operators box become capitals.
TEST_F(CabrilloDialogTest, BoxesKeepEveryHeaderOnOneLine)
{
    storeAddress({"Pat\r\nExample", "Line\none", "", "a@b.c\r"});
    LogWindow& w = open(0);
    const QString target = userDir() + QStringLiteral("/x.log");
    env.prompt().answerFile(target);
    useDialog(w, [&](ZQCabrilloIn& d) {
        EXPECT_EQ(d.Text5->text(), QStringLiteral("Pat  Example"));
        EXPECT_EQ(d.Text6->text(), QStringLiteral("Line one"));
        EXPECT_EQ(d.Text8->text(), QStringLiteral("a@b.c "));

        QApplication::clipboard()->setText(QStringLiteral("two\r\nlines"));
        d.Text11->setFocus();
        d.Text11->paste();
        QTest::keyClicks(d.Text11, QStringLiteral("ok"));
        QTest::keyClick(d.Text11, Qt::Key_Return);
        EXPECT_EQ(d.Text11->text(), QStringLiteral("ok"));

        QApplication::clipboard()->setText(QStringLiteral("n0abc "));
        d.Text1->setFocus();
        d.Text1->paste();
        QTest::keyClicks(d.Text1, QStringLiteral("w1aw"));
        EXPECT_EQ(d.Text1->text(), QStringLiteral("N0ABC W1AW")); // pasted calls in capitals too
        d.Command4_Click();
    });
    const QList<QByteArray> lines = readFile(target).split('\n');
    ASSERT_EQ(lines.size(), 13 + 5 + 1 + 1);
    EXPECT_EQ(lines[8], "NAME: Pat  Example\r");
    EXPECT_EQ(lines[11], "ADDRESS: (e-mail) a@b.c \r");
    EXPECT_EQ(storedAddress(), QStringList({"Pat  Example", "Line one", "", "a@b.c"}));
}

// The claimed score is written with "," grouping whatever the locale the
// score label was formatted in.
TEST_F(CabrilloDialogTest, ClaimedScoreUsesCommaGrouping)
{
    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    LogWindow& w = open(1);
    w.lblTotScore->setText(QLocale().toString(qlonglong(1234567)));
    const QString target = userDir() + QStringLiteral("/score.log");
    env.prompt().answerFile(target);
    useDialog(w, [&](ZQCabrilloIn& d) { d.Command4_Click(); });
    QLocale::setDefault(old);
    EXPECT_EQ(readFile(target).split('\n').value(7), "CLAIMED-SCORE: 1,234,567\r");
}

TEST_F(CabrilloDialogTest, ControlsCaptionsLayoutAndTabOrder)
{
    LogWindow& w = open(1);
    setScreenTwipsForTesting(19200, 14400); // twice the design screen
    useDialog(w, [&](ZQCabrilloIn& d) {
        // Fitted to the screen: positions and sizes doubled (to a pixel).
        const TwipsRect r = controlTwips(*d.Command4);
        const double pixel = twipsPerPixelX(&d) + 1;
        EXPECT_NEAR(r.Left, 2 * 4440, 2 * pixel);
        EXPECT_NEAR(r.Top, 2 * 2640, 2 * pixel);
        EXPECT_NEAR(r.Width, 2 * 3615, 2 * pixel);
        EXPECT_NEAR(controlTwips(*d.Option3).Left, 2 * 960, 2 * pixel);
        // The outer size doubles; the frame around the client area does not.
        const double frame = formTwips(d).Width - formScaleTwips(d).width();
        EXPECT_NEAR(formScaleTwips(d).width(), 2 * 9225 + frame, 2 * pixel);

        const struct {
            const char* name;
            const char* caption;
        } captions[] = {
            {"Frame3", "Location"},       {"Option12", "Carvonia"},
            {"Option11", "World"},        {"Frame1", "Category"},
            {"Option6", "Single Op"},     {"Option5", "Multi One"},
            {"Option9", "Multi Multi"},   {"Option2", "Rover"},
            {"Option8", "QRP"},           {"Frame2", "Power (Single Op Only)"},
            {"Option4", "High"},          {"Option3", "Low (100W)"},
            {"Label6", "Your Name:"},     {"Label9", "Address Line 1:"},
            {"Label8", "Address Line 2:"}, {"Label7", "Email Address:"},
            {"Label1", "If Multi Op, list all calls:"},
            {"Label12", "Soapbox (Add any comments you would like to make about the contest):"},
            {"Command4", "Write Cabrillo File"}, {"Command3", "Done"},
        };
        for (const auto& c : captions) {
            QWidget* control = d.findChild<QWidget*>(QLatin1String(c.name));
            ASSERT_NE(control, nullptr) << c.name;
            QString text;
            if (auto* l = qobject_cast<QLabel*>(control))
                text = l->text();
            else if (auto* b = qobject_cast<QAbstractButton*>(control))
                text = b->text();
            else if (auto* g = qobject_cast<QGroupBox*>(control))
                text = g->title();
            EXPECT_EQ(text, QLatin1String(c.caption)) << c.name;
        }

        QStringList order;
        QWidget* next = d.Option12;
        do {
            // Of the option buttons of a frame only the chosen one is a
            // stop for Tab; the order holds them all.
            if (next->focusPolicy() != Qt::NoFocus)
                order << next->objectName();
            next = next->nextInFocusChain();
        } while (next != d.Option12 && order.size() < 40);
        EXPECT_EQ(order, QStringList({"Option12", "Option11", "Option6", "Option5", "Option2",
                                      "Option8", "Option9", "Option4", "Option3", "Text5", "Text6",
                                      "Text7", "Text8", "Text1", "Text11", "Command4",
                                      "Command3"}));
        d.Command3_Click();
    });
}

// The submission file quotes nothing: a double quote typed or pasted into
// any box reaches its header line as typed, and the remembered values keep
// it.  Ctrl+V and Shift+Insert paste.
TEST_F(CabrilloDialogTest, BoxesTakeDoubleQuotesTypedAndPasted)
{
    LogWindow& w = open(1);
    const QString target = userDir() + QStringLiteral("/q.log");
    env.prompt().answerFile(target);
    useDialog(w, [&](ZQCabrilloIn& d) {
        retype(d.Text5, QStringLiteral("Pat \"Red\" Example"));
        retype(d.Text1, QStringLiteral("k9xyz \"n0abc\""));
        d.Text6->clear();
        QApplication::clipboard()->setText(QStringLiteral("12 \"B\" Street"));
        d.Text6->setFocus();
        QTest::keyClick(d.Text6, Qt::Key_Insert, Qt::ShiftModifier);
        d.Text11->clear();
        QApplication::clipboard()->setText(QStringLiteral("\"Great\" fun"));
        d.Text11->setFocus();
        QTest::keyClick(d.Text11, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(d.Text11->text(), QStringLiteral("\"Great\" fun"));
        d.Command4_Click();
    });
    const QList<QByteArray> lines = readFile(target).split('\n');
    ASSERT_GE(lines.size(), 13);
    EXPECT_EQ(lines[6], "OPERATORS: K9XYZ \"N0ABC\"\r");
    EXPECT_EQ(lines[8], "NAME: Pat \"Red\" Example\r");
    EXPECT_EQ(lines[9], "ADDRESS: 12 \"B\" Street\r");
    EXPECT_EQ(lines[12], "SOAPBOX: \"Great\" fun\r");
    EXPECT_EQ(storedAddress().mid(0, 2), QStringList({"Pat \"Red\" Example", "12 \"B\" Street"}));
}
