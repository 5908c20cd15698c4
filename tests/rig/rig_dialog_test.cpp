// The rig interface dialog: its controls, the rig types' defaults,
// RigCntrl.txt, Test, End Test and Done.

#include "RigTestSupport.h"

#include "common/ModalShow.h"
#include "support/RefusedPort.h"
#include "logstore/PrefFile.h"
#include "platform/SafeFile.h"
#include "platform/SerialPort.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>

namespace zq::test {
namespace {

using RigDialogTest = RigTest;

QString checkedIn(const QList<QRadioButton*>& group)
{
    QString out;
    for (QRadioButton* b : group) {
        if (b->isChecked())
            out += b->text();
    }
    return out;
}

TEST_F(RigDialogTest, ControlsCaptionsAndDefaults)
{
    begin();
    RigControlfrm& d = rig();
    EXPECT_EQ(d.windowTitle(), " Rig Interface Setup");
    EXPECT_FALSE(d.isVisible()); // first use loads without showing
    ASSERT_EQ(d.List1->count(), 19);
    EXPECT_EQ(listEntries(d.List1), rigTypeNames());
    EXPECT_EQ(d.List1->item(0)->text(), "None");
    EXPECT_EQ(d.List1->item(18)->text(), "Other");
    EXPECT_EQ(d.List1->currentRow(), -1);

    struct Named {
        const char* name;
        const char* caption;
    };
    for (const Named& n : {Named{"Command1", "Test"}, Named{"Command2", "End Test"},
                           Named{"cmdDone", "&Done"}, Named{"Command3", "Change Frequency"},
                           Named{"Command4", "Copy unprocessed data to clipboard"}}) {
        auto* b = d.findChild<QPushButton*>(QLatin1String(n.name));
        ASSERT_TRUE(b) << n.name;
        EXPECT_EQ(b->text(), QLatin1String(n.caption));
    }
    for (const Named& n : {Named{"Label1", "Select Rig:"}, Named{"Label4", "String to read frequency:"},
                           Named{"Label3", "String to read mode:"}, Named{"Label2", "Polling Rig"},
                           Named{"Label7", "Frequency:"}, Named{"Label5", "Mode:"},
                           Named{"Label9", "Should be PH or CW"},
                           Named{"Label6", "Unprocessed data returned:"}}) {
        auto* l = d.findChild<QLabel*>(QLatin1String(n.name));
        ASSERT_TRUE(l) << n.name;
        EXPECT_EQ(l->text(), QLatin1String(n.caption));
    }
    EXPECT_TRUE(d.Label10->text().startsWith("Icom radio users will have to replace the 64"));
    for (const char* name : {"fraBaud", "fraParity", "fraData", "fraStop", "fraPort", "fraPower",
                             "fraPoll", "Frame1", "txtFreq", "txtMode", "lblFreq", "lblMode",
                             "lblUnProcess", "chkFrequency", "chkConvToHex", "ChkConvHex",
                             "optComm9", "optReallySlow", "tmrGetData", "Line1"})
        EXPECT_TRUE(d.findChild<QObject*>(QLatin1String(name))) << name;

    // The defaults before anything is chosen.
    EXPECT_EQ(checkedIn({d.optBaud12, d.optBaud24, d.optBaud48, d.optBaud96, d.optBaud144,
                         d.optBaud192, d.optBaud288, d.optBaud384, d.optBaud560}),
              "56");
    EXPECT_TRUE(d.optParityNone->isChecked());
    EXPECT_TRUE(d.optData8->isChecked());
    EXPECT_TRUE(d.optStop1->isChecked());
    EXPECT_TRUE(d.optComm(0)->isChecked());
    EXPECT_TRUE(d.optPowerNone->isChecked());
    EXPECT_TRUE(d.optPollMed->isChecked());
    EXPECT_TRUE(d.OptRig->isChecked());
    EXPECT_TRUE(d.chkFrequency->isChecked());
    EXPECT_FALSE(d.chkConvToHex->isChecked());
    EXPECT_FALSE(d.chkConvToHex->isEnabled());
    EXPECT_FALSE(d.ChkConvHex->isChecked());
    EXPECT_TRUE(d.Label10->isHidden());
    EXPECT_TRUE(d.Label2->isHidden());
    EXPECT_FALSE(d.Command2->isEnabled());
    EXPECT_EQ(d.KenwoodVfo, 10);
    EXPECT_FALSE(d.tmrGetData->isActive());
}

TEST_F(RigDialogTest, EachTypeLoadsItsDefaults)
{
    begin();
    RigControlfrm& d = rig();
    struct Case {
        const char* type;
        const char* baud; // caption of the chosen baud button
        const char* data;
        const char* stop;
        const char* parity;
        const char* freq;
        const char* mode;
        bool hex;
        bool hexEnabled;
        bool note;
    };
    // Each row after a "Yaesu FTdx9000" choice shows what a type leaves as
    // it was; the list is walked in this order.
    const Case cases[] = {
        {"Icom", "1.2", "8", "1", "None", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, false, true},
        {"Yaesu FTdx9000", "4.8", "8", "1", "None", "FA;", "MD0;", false, false, false},
        {"Elecraft", "4.8", "8", "2", "None", "FA;", "MD;", false, false, false},
        {"Icom 735", "1.2", "8", "1", "None", "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, false, true},
        {"Kenwood", "4.8", "8", "2", "None", "FA;", "MD;", false, false, false},
        {"Kenwood 2", "4.8", "8", "2", "None", "IF;", "", false, false, false},
        {"Ten Tec Omni VI", "1.2", "8", "1", "None", "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD", true, false, false},
        {"Ten Tec Orion", "56", "8", "1", "None", "?AF", "?RMM", false, false, false},
        {"Ten Tec Fnt Pnl", "56", "8", "1", "None", "3F 41 0D", "3F 4D 0D", true, false, false},
        {"Ten Tec Pegasus", "56", "8", "1", "None", "", "", false, false, false},
        {"Yaesu", "4.8", "8", "2", "None", "00 00 00 00 03", "", true, false, false},
        {"Yaesu 757 GX II", "4.8", "8", "2", "None", "00 00 00 00 10", "", true, false, false},
        {"Yaesu 890", "4.8", "8", "2", "None", "00 00 00 02 10", "", true, false, false},
        {"Yaesu 920", "4.8", "8", "2", "None", "00 00 00 02 10", "", true, false, false},
        {"Yaesu 990", "4.8", "8", "2", "None", "00 00 00 02 10", "", true, false, false},
        {"Yaesu 1000 D", "4.8", "8", "2", "None", "00 00 00 02 10", "", true, false, false},
        {"Yaesu 1000", "4.8", "8", "2", "None", "00 00 00 02 10", "", true, false, false},
        {"Other", "4.8", "8", "2", "None", "", "", false, true, false},
        {"None", "4.8", "8", "2", "None", "", "", false, false, false},
    };
    for (const Case& c : cases) {
        choose(QLatin1String(c.type));
        EXPECT_EQ(RigControlfrm::RigType(), QLatin1String(c.type));
        EXPECT_EQ(checkedIn({d.optBaud12, d.optBaud24, d.optBaud48, d.optBaud96, d.optBaud144,
                             d.optBaud192, d.optBaud288, d.optBaud384, d.optBaud560}),
                  QLatin1String(c.baud)) << c.type;
        EXPECT_EQ(checkedIn({d.optData7, d.optData8}), QLatin1String(c.data)) << c.type;
        EXPECT_EQ(checkedIn({d.optStop1, d.optStop2}), QLatin1String(c.stop)) << c.type;
        EXPECT_EQ(checkedIn({d.optParityOdd, d.optParityNone, d.optParityEven}),
                  QLatin1String(c.parity)) << c.type;
        EXPECT_EQ(d.txtFreq->text(), QLatin1String(c.freq)) << c.type;
        EXPECT_EQ(d.txtMode->text(), QLatin1String(c.mode)) << c.type;
        EXPECT_EQ(d.RigSettings.FreqPoll, QLatin1String(c.freq)) << c.type;
        EXPECT_EQ(d.RigSettings.ModePoll, QLatin1String(c.mode)) << c.type;
        EXPECT_EQ(d.chkConvToHex->isChecked(), c.hex) << c.type;
        EXPECT_EQ(d.ChkConvHex->isChecked(), c.hex) << c.type; // follows "Convert to Hex"
        EXPECT_EQ(d.chkConvToHex->isEnabled(), c.hexEnabled) << c.type;
        EXPECT_EQ(!d.Label10->isHidden(), c.note) << c.type;
        // A type never changes the port, power, rate or the mode choices.
        EXPECT_TRUE(d.optComm(0)->isChecked()) << c.type;
        EXPECT_TRUE(d.optPowerNone->isChecked()) << c.type;
        EXPECT_TRUE(d.optPollMed->isChecked()) << c.type;
        EXPECT_TRUE(d.chkFrequency->isChecked()) << c.type;
    }
}

TEST_F(RigDialogTest, DoneWritesRigCntrlByteExactAndALaterLoadRestoresTheDialog)
{
    begin();
    FakeRadio radio(FakeRadio::Family::Kenwood);
    attach(radio);
    choose(QStringLiteral("Kenwood"));
    rig().optPollFast->setChecked(true);
    rig().OptFreq->setChecked(true);
    rig().chkFrequency->setChecked(false);
    rig().show();
    rig().cmdDone->click();

    EXPECT_FALSE(rig().isVisible());
    EXPECT_TRUE(rig().tmrGetData->isActive()); // Done tested: polling goes on
    EXPECT_EQ(env.readWorkFile(QStringLiteral("RigCntrl.txt")),
              QByteArray("\"4800 \"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\n\"MD;\"\r\n\"FA;\"\r\n"
                         "\"4800,N,8,2\"\r\n3\r\n\"N\"\r\n\"F\"\r\n\"Kenwood\"\r\n0\r\n0\r\n2\r\n"));
    EXPECT_EQ(savedSettings().RigType, "Kenwood");

    // The next run: the dialog comes back as it was saved.
    freshRun();
    st.RigType = QStringLiteral("None");
    RigControlfrm& d = rig();
    EXPECT_EQ(RigControlfrm::RigType(), "Kenwood");
    ASSERT_TRUE(d.List1->currentItem());
    EXPECT_EQ(d.List1->currentItem()->text(), "Kenwood");
    EXPECT_TRUE(d.optBaud48->isChecked());
    EXPECT_FALSE(d.optBaud560->isChecked());
    EXPECT_TRUE(d.optStop2->isChecked());
    EXPECT_TRUE(d.optComm(2)->isChecked());
    EXPECT_TRUE(d.optPollFast->isChecked());
    EXPECT_TRUE(d.OptFreq->isChecked());
    EXPECT_FALSE(d.chkFrequency->isChecked());
    EXPECT_EQ(d.txtFreq->text(), "FA;");
    EXPECT_EQ(d.txtMode->text(), "MD;");
    EXPECT_EQ(d.RigSettings.BaudRate, "4800 ");
    EXPECT_EQ(d.RigSettings.PortSettings, "4800,N,8,2");
    EXPECT_FALSE(d.tmrGetData->isActive()); // loading starts nothing
}

TEST_F(RigDialogTest, DoneWithoutATestWritesAWholeFileOfDefaults)
{
    begin();
    choose(QStringLiteral("None"));
    rig().show();
    rig().cmdDone->click();
    EXPECT_FALSE(rig().isVisible());
    EXPECT_EQ(env.readWorkFile(QStringLiteral("RigCntrl.txt")),
              QByteArray("\"56000\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n\"\"\r\n\"\"\r\n\"56000,N,8,1\"\r\n"
                         "1\r\n\"N\"\r\n\"M\"\r\n\"None\"\r\n0\r\n1\r\n1\r\n"));
    EXPECT_TRUE(env.prompt().calls().empty());
}

TEST_F(RigDialogTest, AFailedSaveIsReportedAndTheDialogStays)
{
    begin();
    env.writeWorkFile(QStringLiteral("RigCntrl.txt"), "old");
    setWriteFaultForTesting([](const QString& p) { return p.endsWith(QLatin1String("RigCntrl.txt")); });
    rig().show();
    rig().cmdDone->click();
    EXPECT_TRUE(rig().isVisible());
    ASSERT_EQ(env.prompt().messageTitles().size(), 1);
    EXPECT_TRUE(env.prompt().messageTexts()[0].contains("RigCntrl.txt"));
    EXPECT_EQ(env.readWorkFile(QStringLiteral("RigCntrl.txt")), QByteArray("old"));
}

TEST_F(RigDialogTest, LoadingStopsAtTheFirstValueTheFileOrTheControlsCannotTake)
{
    const QByteArray head = "\"4800 \"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\n\"MD;\"\r\n\"FA;\"\r\n\"4800,N,8,2\"\r\n";
    struct Case {
        const char* name;
        QByteArray file;
        const char* rigType;  // RigType after loading
        bool listSelected;    // the list shows the type
        bool portsChanged;    // port and serial buttons set from the file
        bool hexTicked;
    };
    const Case cases[] = {
        {"eleven lines", head + "3\r\n\"N\"\r\n\"S\"\r\n\"Icom\"\r\n", "Icom", false, false, false},
        {"port 11", head + "11\r\n\"N\"\r\n\"S\"\r\n\"Icom\"\r\n1\r\n1\r\n1\r\n", "Icom", true, false, true},
        {"port 300 unreadable", head + "300\r\n\"N\"\r\n\"S\"\r\n\"Icom\"\r\n1\r\n1\r\n1\r\n", "None",
         false, false, false},
        {"check box 3", head + "3\r\n\"N\"\r\n\"S\"\r\n\"Icom\"\r\n3\r\n1\r\n1\r\n", "Icom", false, false, false},
        {"whole", head + "3\r\n\"N\"\r\n\"S\"\r\n\"Icom\"\r\n1\r\n1\r\n0\r\n", "Icom", true, true, true},
        {"lower-case type", head + "3\r\n\"N\"\r\n\"S\"\r\n\"icom\"\r\n0\r\n1\r\n1\r\n", "icom", false, true, false},
    };
    for (const Case& c : cases) {
        freshRun();
        st.RigType = QStringLiteral("None");
        env.writeWorkFile(QStringLiteral("RigCntrl.txt"), c.file);
        RigControlfrm& d = rig();
        EXPECT_EQ(RigControlfrm::RigType(), QLatin1String(c.rigType)) << c.name;
        EXPECT_EQ(d.List1->currentRow() >= 0, c.listSelected) << c.name;
        EXPECT_EQ(d.optComm(2)->isChecked(), c.portsChanged) << c.name;
        EXPECT_EQ(d.optBaud48->isChecked(), c.portsChanged) << c.name;
        EXPECT_EQ(d.optPollSlow->isChecked(), c.portsChanged) << c.name;
        EXPECT_EQ(d.chkConvToHex->isChecked(), c.hexTicked) << c.name;
        EXPECT_TRUE(d.OptRig->isChecked()) << c.name; // 0 and unread leave "Rig"
        EXPECT_FALSE(d.tmrGetData->isActive()) << c.name;
    }
    // The Icom note after loading: "Icom" only.
    freshRun();
    env.writeWorkFile(QStringLiteral("RigCntrl.txt"),
                      head + "3\r\n\"N\"\r\n\"S\"\r\n\"Icom 735\"\r\n1\r\n1\r\n1\r\n");
    EXPECT_TRUE(rig().Label10->isHidden());
}

TEST_F(RigDialogTest, ABaudRateNoButtonMatchesClearsTheGroupAndTestKeepsIt)
{
    begin();
    env.writeWorkFile(QStringLiteral("RigCntrl.txt"),
                      "\"300  \"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n\"\"\r\n\"\"\r\n\"300,N,8,1\"\r\n1\r\n"
                      "\"N\"\r\n\"M\"\r\n\"None\"\r\n0\r\n1\r\n1\r\n");
    RigControlfrm& d = rig();
    for (QRadioButton* b : {d.optBaud12, d.optBaud24, d.optBaud48, d.optBaud96, d.optBaud144,
                            d.optBaud192, d.optBaud288, d.optBaud384, d.optBaud560})
        EXPECT_FALSE(b->isChecked()) << b->objectName().toStdString();
    d.Command1_Click();
    EXPECT_EQ(d.RigSettings.BaudRate, "300  ");
    EXPECT_EQ(d.RigSettings.PortSettings, "300,N,8,1");
}

TEST_F(RigDialogTest, TestWithNoneOnlyCapturesAndAMissingPortIsReported)
{
    begin();
    RigControlfrm& d = rig();
    int modalShows = 0;
    setModalShowHandlerForTesting([&](QWidget& w) { modalShows += &w == &d; });

    // "None": the settings are captured, nothing else happens.
    choose(QStringLiteral("None"));
    d.optComm(4)->setChecked(true);
    d.optBaud96->setChecked(true);
    d.lblFreq->setText(QStringLiteral("keep"));
    d.Command1_Click();
    EXPECT_EQ(d.RigSettings.PortNumber, 5);
    EXPECT_EQ(d.RigSettings.PortSettings, "9600,N,8,1");
    EXPECT_EQ(d.lblFreq->text(), "keep");
    EXPECT_FALSE(d.comComm1->isOpen());
    EXPECT_TRUE(env.prompt().calls().empty());

    // A port without a device: beep, message, and the hidden dialog is
    // shown modally.
    choose(QStringLiteral("Kenwood"));
    d.Command1_Click();
    EXPECT_EQ(env.prompt().beeps(), 1);
    ASSERT_EQ(env.prompt().messageTitles(), QStringList{"Invalid Comm Settings."});
    EXPECT_TRUE(env.prompt().messageTexts()[0].startsWith(
        "The comm port that you selected for rig interface is either in use, invalid"));
    EXPECT_EQ(modalShows, 1);
    EXPECT_EQ(d.lblFreq->text(), "No Response");
    EXPECT_EQ(d.lblMode->text(), "No Response");
    EXPECT_FALSE(d.Command2->isEnabled());
    EXPECT_TRUE(d.Label2->isHidden());
    EXPECT_FALSE(d.tmrGetData->isActive());

    // Shown already: no second modal showing.
    d.show();
    d.Command1_Click();
    EXPECT_EQ(modalShows, 1);
    EXPECT_EQ(env.prompt().messageTitles().size(), 2);
}

// A rig port the operator may not open: the message says why after its own
// text, naming the device, its group and the fix.
TEST_F(RigDialogTest, ARefusedPortIsReportedWithWhyAndTheFix)
{
    begin();
    RigControlfrm& d = rig();
    setModalShowHandlerForTesting([](QWidget&) {});
    RefusedPort refused;
    ASSERT_TRUE(refused.ok());
    env.writeWorkFile("ComPorts.txt", ("3=" + refused.device() + "\n").toUtf8());
    choose(QStringLiteral("Kenwood"));
    d.optComm(2)->setChecked(true);
    refused.asRefusedUser([&] { d.Command1_Click(); });
    setModalShowHandlerForTesting(nullptr);
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Invalid Comm Settings."});
    EXPECT_EQ(env.prompt().messageTexts(),
              QStringList{"The comm port that you selected for rig interface is either in use, "
                          "invalid or the settings that you have selected are invalid.  Please "
                          "select another combination or choose None for your rig selection.\n\n"
                          + refusal(refused)});
    EXPECT_FALSE(d.comComm1->isOpen());
}

TEST_F(RigDialogTest, DoneWithAFailingPortStillSavesAndHides)
{
    begin();
    RigControlfrm& d = rig();
    choose(QStringLiteral("Elecraft"));
    d.optComm(6)->setChecked(true); // no device
    d.show();
    d.cmdDone->click();
    EXPECT_EQ(env.prompt().messageTitles(), QStringList{"Invalid Comm Settings."});
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(savedSettings().RigType, "Elecraft");
    EXPECT_TRUE(env.readWorkFile(QStringLiteral("RigCntrl.txt")).contains("\"Elecraft\""));
    EXPECT_TRUE(env.readWorkFile(QStringLiteral("RigCntrl.txt")).contains("\r\n7\r\n"));
}

TEST_F(RigDialogTest, ThePollStringBoxesRefuseQuotesAndLineBreaks)
{
    begin();
    RigControlfrm& d = rig();
    d.show();
    QApplication::setActiveWindow(&d);
    d.txtFreq->setFocus();
    QTest::keyClicks(d.txtFreq, QStringLiteral("F\"A;"));
    QTest::keyClick(d.txtFreq, Qt::Key_Return);
    EXPECT_EQ(d.txtFreq->text(), "FA;");
    EXPECT_EQ(d.RigSettings.FreqPoll, "FA;");
}

TEST_F(RigDialogTest, StartUpWithTheRadioMissingShowsTheDialogAndWaitsForDone)
{
    st.RigType = QStringLiteral("Kenwood");
    FakeRadio radio(FakeRadio::Family::Kenwood);
    ASSERT_TRUE(radio.ok());
    QStringList order;
    setModalShowHandlerForTesting([&](QWidget& w) {
        order << QStringLiteral("modal ") + w.objectName();
        order << env.prompt().messageTitles().value(env.prompt().messageTitles().size() - 1);
        // The operator plugs the radio in on port 3 and presses Done.
        auto& d = static_cast<RigControlfrm&>(w);
        radio.writeComPorts(env.workDir(), RadioPort);
        d.show();
        d.optComm(RadioPort - 1)->setChecked(true);
        d.cmdDone->click();
        order << (d.isVisible() ? QStringLiteral("shown") : QStringLiteral("hidden"));
    });
    start(1);
    EXPECT_EQ(env.prompt().beeps(), 1);
    EXPECT_EQ(order, (QStringList{"modal RigControlfrm", "Invalid Comm Settings.", "hidden"}));
    EXPECT_TRUE(rig().tmrGetData->isActive());
    EXPECT_TRUE(rig().comComm1->isOpen());
    EXPECT_EQ(rig().RigSettings.PortNumber, RadioPort);
    EXPECT_EQ(env.readWorkFile(QStringLiteral("RigCntrl.txt")).split('\n').value(10), "\"Kenwood\"\r");
}

TEST_F(RigDialogTest, TheSettingsFileHasTheLastWordOnTheRigAtStartUp)
{
    env.writeWorkFile(QStringLiteral("RigCntrl.txt"),
                      "\"4800 \"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\n\"MD;\"\r\n\"FA;\"\r\n\"4800,N,8,2\"\r\n"
                      "3\r\n\"N\"\r\n\"M\"\r\n\"None\"\r\n0\r\n1\r\n1\r\n");
    st.RigType = QStringLiteral("Kenwood");
    start(1);
    ASSERT_TRUE(WindowRegistry::isLoaded<RigControlfrm>());
    EXPECT_EQ(RigControlfrm::RigType(), "None");
    EXPECT_FALSE(rig().tmrGetData->isActive());
    EXPECT_FALSE(env.prompt().messageTitles().contains("Invalid Comm Settings."));
}

TEST_F(RigDialogTest, AnEmptyRigTypeOpensNoPortAtStartUp)
{
    st.RigType = QString();
    start(1);
    EXPECT_FALSE(WindowRegistry::isLoaded<RigControlfrm>());
    EXPECT_FALSE(env.prompt().messageTitles().contains("Invalid Comm Settings."));
}

TEST_F(RigDialogTest, OpeningBytesHandshakingAndPowerLine)
{
    begin();
    RigControlfrm& d = rig();
    FakeRadio yaesu(FakeRadio::Family::Yaesu);
    attach(yaesu);
    choose(QStringLiteral("Yaesu"));
    d.optPowerRTS->setChecked(true);
    startTest();
    pollUntil(yaesu, 2);
    ASSERT_GE(yaesu.queries().size(), 2);
    EXPECT_EQ(yaesu.queries()[0], bytesOf({0, 0, 0, 0, 0}));    // opening
    EXPECT_EQ(yaesu.queries()[1], bytesOf({0, 0, 0, 0, 0x03})); // the first query
    EXPECT_TRUE(d.comComm1->rts());
    EXPECT_FALSE(d.comComm1->dtr());
    EXPECT_EQ(d.comComm1->handshaking(), Handshaking::None);

    // End Test sends nothing and closes.
    yaesu.clearRecord();
    d.Command2_Click();
    pumpFor(30);
    EXPECT_TRUE(yaesu.receivedBytes().isEmpty());
    EXPECT_FALSE(d.comComm1->isOpen());

    FakeRadio orion(FakeRadio::Family::Orion);
    attach(orion);
    choose(QStringLiteral("Ten Tec Orion"));
    d.optPowerDTR->setChecked(true);
    startTest();
    pollUntil(orion, 3);
    ASSERT_GE(orion.queries().size(), 3);
    EXPECT_EQ(orion.queries().mid(0, 3), (QList<QByteArray>{"X\r", "?AF\r", "?RMM\r"}));
    EXPECT_TRUE(d.comComm1->dtr());
    EXPECT_EQ(d.comComm1->handshaking(), Handshaking::Rts);

    // RTS handshaking stays for the rest of the run.
    FakeRadio kenwood(FakeRadio::Family::Kenwood);
    attach(kenwood);
    choose(QStringLiteral("Kenwood"));
    startTest();
    EXPECT_TRUE(d.comComm1->isOpen());
    EXPECT_EQ(d.comComm1->handshaking(), Handshaking::Rts);
}

TEST_F(RigDialogTest, UnloadingWhilePollingAYaesuSendsTheClosingBytesFirst)
{
    begin();
    FakeRadio radio(FakeRadio::Family::Yaesu);
    attach(radio);
    choose(QStringLiteral("Yaesu 890"));
    rig().Command1_Click();
    ASSERT_TRUE(rig().tmrGetData->isActive());
    settle(radio, 2);
    radio.clearRecord();
    WindowRegistry::unload<RigControlfrm>();
    pumpUntil([&] { return radio.receivedBytes().size() >= 5; });
    EXPECT_EQ(radio.receivedBytes(), bytesOf({0, 0, 0, 0, 0x80}));

    // Not polling: nothing is sent.
    attach(radio);
    choose(QStringLiteral("Yaesu"));
    rig().Command1_Click();
    rig().Command2_Click();
    settle(radio, 1);
    radio.clearRecord();
    WindowRegistry::unload<RigControlfrm>();
    pumpFor(50);
    EXPECT_TRUE(radio.receivedBytes().isEmpty());
}

TEST_F(RigDialogTest, ARadioThatHangsUpEndsTheTest)
{
    // The far end of the line goes away (a USB adapter pulled): the port
    // reads end-of-file for ever.  The dialog closes it and shows what End
    // Test shows instead of reading nothing on every turn of the event loop.
    begin();
    FakeRadio radio(FakeRadio::Family::Kenwood);
    attach(radio);
    choose(QStringLiteral("Kenwood"));
    RigControlfrm& d = rig();
    d.Command1_Click();
    ASSERT_TRUE(d.comComm1->isOpen());
    ASSERT_TRUE(d.tmrGetData->isActive());
    radio.hangUp();
    EXPECT_TRUE(pumpUntil([&] { return !d.comComm1->isOpen(); }));
    EXPECT_FALSE(d.tmrGetData->isActive());
    EXPECT_TRUE(d.Label2->isHidden());
    EXPECT_FALSE(d.Command2->isEnabled());
    EXPECT_TRUE(d.lblMode->text().isEmpty());
    EXPECT_TRUE(d.lblFreq->text().isEmpty());
}

TEST_F(RigDialogTest, ChangeFrequencyNeedsPollingCopyTakesTheRawReplyModeByClearsTheMode)
{
    begin();
    RigControlfrm& d = rig();
    d.Command3->click();
    EXPECT_EQ(env.prompt().messageTitles(),
              QStringList{"You must be polling your rig to test this function."});

    d.lblUnProcess->setText(QStringLiteral("FA00014250000;"));
    d.Command4->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "FA00014250000;");

    FakeRadio radio(FakeRadio::Family::Kenwood);
    attach(radio);
    choose(QStringLiteral("Kenwood"));
    d.Command1_Click();
    d.RigMode = QStringLiteral("CW");
    d.OptDont->click();
    EXPECT_EQ(d.lblMode->text(), "No Response");
    EXPECT_TRUE(d.RigMode.isEmpty());
    EXPECT_TRUE(d.tmrGetData->isActive()); // polling goes on

    // A serial option or the focus in a poll-string box ends the test.
    d.optBaud96->click();
    EXPECT_FALSE(d.tmrGetData->isActive());
    EXPECT_FALSE(d.comComm1->isOpen());
    EXPECT_TRUE(d.lblMode->text().isEmpty());
    d.Command1_Click();
    EXPECT_TRUE(d.tmrGetData->isActive());
    EXPECT_EQ(d.tmrGetData->interval(), 250);
    d.show();
    QApplication::setActiveWindow(&d);
    d.txtFreq->setFocus();
    pumpUntil([&] { return !d.tmrGetData->isActive(); }, 1000);
    EXPECT_FALSE(d.tmrGetData->isActive());
}

} // namespace
} // namespace zq::test

namespace zq::test {
namespace {

// QSOpref.txt names the rig, RigCntrl.txt is missing or ends early: the
// start-up polls it, and opening the dialog (the focus arriving in the
// list) chooses nothing, so polling goes on and Done keeps the rig.  The
// dialog is left by Done only: Esc and a close request do nothing.
TEST_F(RigDialogTest, OpeningTheDialogChoosesNoRig)
{
    const QByteArray elevenLines = "\"4800 \"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\n\"MD;\"\r\n\"FA;\"\r\n"
                                   "\"4800,N,8,2\"\r\n1\r\n\"N\"\r\n\"M\"\r\n\"Kenwood\"\r\n";
    for (const QByteArray& file : {QByteArray(), elevenLines}) {
        SCOPED_TRACE(file.isEmpty() ? "no RigCntrl.txt" : "eleven lines");
        freshRun();
        FakeRadio radio(FakeRadio::Family::Kenwood);
        ASSERT_TRUE(radio.ok());
        radio.writeComPorts(env.workDir(), 1);
        if (!file.isEmpty())
            env.writeWorkFile(QStringLiteral("RigCntrl.txt"), file);
        st.RigType = QStringLiteral("Kenwood");
        LogWindow& w = begin();
        ASSERT_TRUE(rig().tmrGetData->isActive());

        w.mnuRigInterface->trigger();
        RigControlfrm& d = rig();
        ASSERT_TRUE(d.isVisible());
        QApplication::setActiveWindow(&d);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        d.List1->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        EXPECT_TRUE(d.List1->selectedItems().isEmpty());
        EXPECT_EQ(RigControlfrm::RigType(), "Kenwood");
        EXPECT_TRUE(d.tmrGetData->isActive());

        QTest::keyClick(d.List1, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        EXPECT_FALSE(d.close());
        EXPECT_TRUE(d.isVisible());

        d.cmdDone->click();
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(savedSettings().RigType, "Kenwood");
        EXPECT_EQ(env.readWorkFile(QStringLiteral("RigCntrl.txt")).split('\n').value(10),
                  "\"Kenwood\"\r");
        EXPECT_TRUE(d.tmrGetData->isActive());
    }
}

} // namespace
} // namespace zq::test
