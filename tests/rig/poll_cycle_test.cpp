// The poll cycle against fake radios of every family: the bytes on the
// line, the decoded values in the dialog and in the log window, and
// replies that come short, split, late or garbled.

#include "RigTestSupport.h"

#include "entry/EntryState.h"
#include "logwindow/BandPlanTable.h"
#include "platform/SerialPort.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>

namespace zq::test {
namespace {

using PollCycleTest = RigTest;

struct FamilyCase {
    const char* rig;
    FakeRadio::Family family;
    QList<QByteArray> firstQueries;  // the first send phase
    QList<QByteArray> secondQueries; // the second send phase
    QByteArray frequencyAnswer;      // answer to firstQueries.last() (or the only query)
    QByteArray modeAnswer;           // answer to the mode query (may be empty)
    const char* lblFreq;
    const char* lblMode;
};

TEST_F(PollCycleTest, EveryFamilyQueriesAndDecodesItsExampleReplies)
{
    const QByteArray icomF = bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x03, 0xFD});
    const QByteArray icomM = bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x04, 0xFD});
    const QByteArray omniF = bytesOf({0xFE, 0xFE, 0x04, 0xE0, 0x03, 0xFD});
    const QByteArray omniM = bytesOf({0xFE, 0xFE, 0x04, 0xE0, 0x04, 0xFD});
    const QByteArray yaesuStatus = bytesOf({0, 0, 0, 2, 0x10});
    const FamilyCase cases[] = {
        {"Kenwood", FakeRadio::Family::Kenwood, {"FA;", "MD;"}, {"FA;", "MD;"},
         "FA00007150000;", "MD2;", "7.15000", "PH"},
        {"Elecraft", FakeRadio::Family::Kenwood, {"FA;", "MD;"}, {"FA;", "MD;"},
         "FA00014025000;", "MD3;", "14.02500", "CW"},
        {"Kenwood 2", FakeRadio::Family::Kenwood, {"IF;"}, {"IF;"},
         "IF00021300000     +0000000000" "30" "0000 ;", "", "21.30000", "CW"},
        {"Yaesu FTdx9000", FakeRadio::Family::Kenwood, {"FA;"}, {"MD0;"}, "FA28400000;", "MD02;",
         "28.40000", "PH"},
        {"Icom", FakeRadio::Family::Icom, {icomF}, {icomM},
         bytesOf({0xFE, 0xFE, 0xE0, 0x64, 0x03, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD}),
         bytesOf({0xFE, 0xFE, 0xE0, 0x64, 0x04, 0x03, 0x01, 0xFD}), "14.25000", "CW"},
        {"Icom 735", FakeRadio::Family::Icom, {icomF}, {icomM},
         bytesOf({0xFE, 0xFE, 0xE0, 0x64, 0x03, 0x00, 0x00, 0x25, 0x14, 0xFD}),
         bytesOf({0xFE, 0xFE, 0xE0, 0x64, 0x04, 0x01, 0xFD}), "14.25000", "PH"},
        {"Ten Tec Omni VI", FakeRadio::Family::Icom, {omniF}, {omniM},
         bytesOf({0xFE, 0xFE, 0xE0, 0x04, 0x03, 0x00, 0x00, 0x05, 0x07, 0x00, 0xFD}),
         bytesOf({0xFE, 0xFE, 0xE0, 0x04, 0x04, 0x03, 0xFD}), "7.05000", "CW"},
        {"Yaesu", FakeRadio::Family::Yaesu, {bytesOf({0, 0, 0, 0, 3})}, {bytesOf({0, 0, 0, 0, 3})},
         bytesOf({0x01, 0x42, 0x50, 0x00, 0x82}), "", "14.25000", "CW"},
        {"Yaesu 757 GX II", FakeRadio::Family::Yaesu, {bytesOf({0, 0, 0, 0, 0x10})},
         {bytesOf({0, 0, 0, 0, 0x10})},
         bytesOf({0, 0, 0, 0, 0, 0x00, 0x50, 0x42, 0x01, 0x01, 0, 0}), "", "14.25000", "PH"},
        {"Yaesu 890", FakeRadio::Family::Yaesu, {yaesuStatus}, {yaesuStatus},
         bytesOf({0, 0, 0x15, 0xBE, 0x68, 0, 0, 0x02, 0, 0}), "", "14.25000", "CW"},
        {"Yaesu 920", FakeRadio::Family::Yaesu, {yaesuStatus}, {yaesuStatus},
         bytesOf({0, 0x00, 0xD9, 0x70, 0x10, 0, 0, 0x01}), "", "14.25000", "CW"},
        {"Yaesu 990", FakeRadio::Family::Yaesu, {yaesuStatus}, {yaesuStatus},
         bytesOf({0, 0x15, 0xBE, 0x68, 0, 0, 0, 0x02}), "", "14.25000", "CW"},
        {"Yaesu 1000 D", FakeRadio::Family::Yaesu, {yaesuStatus}, {yaesuStatus},
         bytesOf({0, 0x15, 0xBE, 0x68, 0, 0, 0, 0x00}), "", "14.25000", "PH"},
        {"Yaesu 1000", FakeRadio::Family::Yaesu, {yaesuStatus}, {yaesuStatus},
         bytesOf({0, 0x01, 0x5B, 0xE6, 0x80, 0, 0, 0x02}), "", "14.25000", "CW"},
        {"Ten Tec Fnt Pnl", FakeRadio::Family::TenTecPanel, {"?A\r"}, {"?M\r"},
         bytesOf({'A', 0x00, 0xD9, 0x70, 0x10, 0x0D}), bytesOf({'M', 0x33, 0x33, 0x0D}),
         "14.25000", "CW"},
        {"Ten Tec Orion", FakeRadio::Family::Orion, {"?AF\r", "?RMM\r"}, {"?AF\r", "?RMM\r"},
         "@AF14250000\r", "@RMM0\r", "14.25000", "PH"},
    };
    for (const FamilyCase& c : cases) {
        SCOPED_TRACE(c.rig);
        freshRun();
        begin();
        FakeRadio radio(c.family);
        attach(radio);
        choose(QLatin1String(c.rig));
        RigControlfrm& d = rig();
        d.show();
        for (const QByteArray& q : c.firstQueries + c.secondQueries) {
            if (q.startsWith("MD") || q.startsWith("?RMM") || q == "?M\r"
                || (q.size() == 6 && q[4] == 0x04))
                radio.answer(q, c.modeAnswer);
            else
                radio.answer(q, c.frequencyAnswer);
        }
        const bool opens = isYaesuFiveByte(QLatin1String(c.rig)) || QLatin1String(c.rig) == "Ten Tec Orion";
        const int skip = opens ? 1 : 0;

        startTest(); // the first send phase runs at once (unless the opening bytes pend)
        pollUntil(radio, skip + c.firstQueries.size() + c.secondQueries.size());
        EXPECT_EQ(radio.queries().mid(skip), c.firstQueries + c.secondQueries);

        EXPECT_EQ(d.lblFreq->text(), QLatin1String(c.lblFreq));
        EXPECT_EQ(d.lblMode->text(), QLatin1String(c.lblMode));
        // The raw reply: as hex pairs for the byte-command types.
        const QString raw = d.lblUnProcess->text();
        if (d.ChkConvHex->isChecked())
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^([0-9A-F]{2} )+$")).match(raw).hasMatch())
                << raw.toStdString();
        else
            EXPECT_TRUE(raw.contains(QString::fromLatin1(c.modeAnswer.isEmpty() ? c.frequencyAnswer
                                                                                 : c.modeAnswer)))
                << raw.toStdString();
        EXPECT_EQ(d.AwaitingReply, 0);
        // The log window follows.
        EXPECT_EQ(EntryState::instance().CurrentFrequencyText,
                  formatFrequencyText(QString::fromLatin1(c.lblFreq).toFloat()));
        EXPECT_EQ(st.CurrentBand, bandForFrequency(QString::fromLatin1(c.lblFreq).toFloat()));
        EXPECT_EQ(st.CurrentMode, QLatin1String(c.lblMode));
    }
}

TEST_F(PollCycleTest, TheNextContactCarriesThePolledFrequencyIntoTheLog)
{
    LogWindow& w = open(1);
    env.prompt().clear();
    FakeRadio radio(FakeRadio::Family::Kenwood);
    attach(radio);
    radio.answer("FA;", "FA00007041000;");
    radio.answer("MD;", "MD3;");
    choose(QStringLiteral("Kenwood"));
    st.CurrentMode = QStringLiteral("PH");
    startTest();
    settle(radio, 2);
    tick();
    EXPECT_EQ(st.CurrentBand, "40");
    EXPECT_EQ(st.CurrentMode, "CW");
    EXPECT_EQ(rig().lblFreq->text(), "No Response"); // the hidden dialog shows nothing
    EXPECT_EQ(w.Label24->text(), "40");

    w.txtCall->setText(QStringLiteral("W5ABC"));
    w.txtSec->setText(QStringLiteral("Ashcombe"));
    w.txtRSTR->setText(QStringLiteral("599"));
    w.txtRSTS->setText(QStringLiteral("599"));
    w.Mains();
    ASSERT_EQ(ContactLog::instance().ContactCount, 1);
    const QByteArray line = logFile().trimmed();
    EXPECT_TRUE(line.startsWith("\"W5ABC\"")) << line.toStdString();
    EXPECT_TRUE(line.endsWith(",\"7.041\"")) << line.toStdString();
    EXPECT_TRUE(line.contains("\"CW\",\"40\"")) << line.toStdString();
}

TEST_F(PollCycleTest, NoFrequencyReachesTheLogWindowUntilOneIsKnown)
{
    begin();
    FakeRadio radio(FakeRadio::Family::Kenwood);
    attach(radio);
    radio.answer("FA;", "");
    radio.answer("MD;", "MD3;");
    choose(QStringLiteral("Kenwood"));
    st.CurrentMode = QStringLiteral("PH");
    rig().show();
    startTest();
    settle(radio, 2);
    tick();
    EXPECT_EQ(st.CurrentMode, "CW");
    EXPECT_EQ(rig().lblFreq->text(), "No Response"); // 0 is not shown
    EXPECT_TRUE(EntryState::instance().CurrentFrequencyText.isEmpty());
}

TEST_F(PollCycleTest, ShortSplitLateAndGarbledRepliesChangeNothingTheyMustNot)
{
    begin();
    RigControlfrm& d = rig();
    d.show();

    // Kenwood: garbage in front is passed over; a short reply gives nothing.
    {
        FakeRadio radio(FakeRadio::Family::Kenwood);
        attach(radio);
        choose(QStringLiteral("Kenwood"));
        radio.setFault(FakeRadio::Fault::Garbage);
        startTest();
        settle(radio, 2);
        tick();
        EXPECT_EQ(d.lblFreq->text(), "14.25000");
        EXPECT_EQ(d.lblMode->text(), "CW");

        radio.answer("FA;", "FA00007150000;");
        radio.answer("MD;", "MD2;");
        radio.setFault(FakeRadio::Fault::Short);
        tick();
        settle(radio, 4);
        tick();
        EXPECT_FLOAT_EQ(d.RigFrequency, 14.25f);
        EXPECT_EQ(d.RigMode, "CW");

        radio.setFault(FakeRadio::Fault::Junk);
        tick();
        settle(radio, 6);
        tick();
        EXPECT_FLOAT_EQ(d.RigFrequency, 14.25f);
        EXPECT_EQ(d.lblUnProcess->text(), QString::fromLatin1("\x11\xEE#@?\x11\xEE#@?"));
    }

    // Yaesu: a late or split answer is dropped before the next query, so
    // it never shifts the next reply.
    {
        FakeRadio radio(FakeRadio::Family::Yaesu);
        attach(radio);
        choose(QStringLiteral("Yaesu"));
        radio.setFault(FakeRadio::Fault::Split, 60);
        startTest();
        settle(radio, 2);
        tick(); // half an answer: nothing
        EXPECT_FLOAT_EQ(d.RigFrequency, 14.25f);
        radio.answer(bytesOf({0, 0, 0, 0, 3}), bytesOf({0x00, 0x70, 0x25, 0x00, 0x01}));
        radio.setFault(FakeRadio::Fault::None);
        pumpFor(120); // the rest of the old answer arrives
        tick();
        settle(radio, 3);
        tick();
        EXPECT_FLOAT_EQ(d.RigFrequency, 7.025f);
        EXPECT_EQ(d.RigMode, "PH");

        radio.setFault(FakeRadio::Fault::Late, 80);
        radio.answer(bytesOf({0, 0, 0, 0, 3}), bytesOf({0x02, 0x10, 0x00, 0x00, 0x82}));
        tick();
        settle(radio, 4);
        tick(); // nothing yet
        EXPECT_FLOAT_EQ(d.RigFrequency, 7.025f);
        EXPECT_EQ(d.AwaitingReply, 0);
        radio.setFault(FakeRadio::Fault::None);
        radio.answer(bytesOf({0, 0, 0, 0, 3}), bytesOf({0x01, 0x80, 0x00, 0x00, 0x82}));
        pumpFor(150);
        tick();
        settle(radio, 5);
        tick();
        EXPECT_FLOAT_EQ(d.RigFrequency, 18.0f);
        EXPECT_EQ(d.RigMode, "CW");
    }
}

TEST_F(PollCycleTest, AlternationOutputPendingAndAReceivePhaseCap)
{
    begin();
    RigControlfrm& d = rig();

    // Icom poll strings too short: nothing is sent, the query still
    // alternates.
    FakeRadio icom(FakeRadio::Family::Icom);
    attach(icom);
    choose(QStringLiteral("Icom"));
    d.txtFreq->setText(QStringLiteral("FE FE 64 E0 03"));
    startTest();
    EXPECT_EQ(d.AlternateQuery, 1);
    EXPECT_EQ(d.AwaitingReply, 1);
    tick();
    tick();
    EXPECT_EQ(d.AlternateQuery, 0);
    settle(icom, 1);
    EXPECT_EQ(icom.queries(), QList<QByteArray>{bytesOf({0xFE, 0xFE, 0x64, 0xE0, 0x04, 0xFD})});

    // Output still pending: no query, no alternation, the phase counts.
    FakeRadio other(FakeRadio::Family::Raw);
    attach(other);
    choose(QStringLiteral("Other"));
    other.setListening(false);
    const QString big(30000, QLatin1Char('A')); // more than the line holds
    d.txtFreq->setText(big);
    startTest();
    EXPECT_EQ(d.AwaitingReply, 0); // the cycle went on where it stood: a receive phase
    tick();
    ASSERT_GT(d.comComm1->outBufferCount(), 0);
    EXPECT_EQ(d.AwaitingReply, 1);
    tick();
    tick(); // a send phase with output pending
    EXPECT_EQ(d.AwaitingReply, 1);
    other.setListening(true);
    pumpUntil([&] { return d.comComm1->outBufferCount() == 0 && other.receivedBytes().size() >= big.size(); });
    pumpFor(50);
    EXPECT_EQ(other.receivedBytes().size(), big.size()); // sent once only

    // A flood: one receive phase keeps at most 4096 bytes.
    d.show();
    d.txtFreq->setText(QStringLiteral("x"));
    tick(); // receive
    tick(); // send "x"
    settle(other, 1);
    other.send(QByteArray(6000, 'Z') + "END"); // within what the line holds
    pumpFor(50);
    tick();
    EXPECT_EQ(d.lblUnProcess->text().size(), RigControlfrm::MaxReply);
    EXPECT_TRUE(d.lblUnProcess->text().endsWith("END"));
}

TEST_F(PollCycleTest, OtherSendsTextOrHexAndShowsTheRawReplyAsHex)
{
    begin();
    RigControlfrm& d = rig();
    d.show();
    FakeRadio radio(FakeRadio::Family::Raw);
    attach(radio);
    choose(QStringLiteral("Other"));
    d.chkConvToHex->setChecked(true);
    EXPECT_TRUE(d.ChkConvHex->isChecked());
    d.txtFreq->setText(QStringLiteral("FE 01 0D"));
    d.txtMode->setText(QStringLiteral("41"));
    radio.responder = [](const QByteArray&) { return bytesOf({0x0D, 0x0A, 0xFF}); };
    startTest();
    pumpUntil([&] { return radio.receivedBytes().size() >= 4; });
    EXPECT_EQ(radio.receivedBytes(), bytesOf({0xFE, 0x01, 0x0D, 0x41}));
    pumpFor(30);
    tick();
    EXPECT_TRUE(d.lblUnProcess->text().startsWith("0D 0A FF "));
    EXPECT_TRUE(d.lblFreq->text() == "No Response"); // no decoder, no frequency

    radio.clearRecord();
    d.chkConvToHex->setChecked(false);
    EXPECT_FALSE(d.ChkConvHex->isChecked());
    tick();
    pumpUntil([&] { return radio.receivedBytes().size() >= 10; });
    EXPECT_EQ(radio.receivedBytes(), QByteArray("FE 01 0D41"));
}

TEST_F(PollCycleTest, ModeByFrequencyAndDontUse)
{
    begin();
    RigControlfrm& d = rig();
    FakeRadio radio(FakeRadio::Family::Kenwood);
    attach(radio);
    choose(QStringLiteral("Kenwood"));
    radio.answer("FA;", "FA00010130000;");
    radio.answer("MD;", "MD2;"); // the radio says phone
    d.OptFreq->setChecked(true);
    st.CurrentMode = QStringLiteral("PH");
    startTest();
    settle(radio, 2);
    tick();
    EXPECT_EQ(d.RigMode, "CW"); // 10.13 MHz is CW by the sub-band
    EXPECT_EQ(st.CurrentMode, "CW");

    radio.answer("FA;", "FA00014150000;"); // an edge: no row, the radio's mode
    tick();
    settle(radio, 4);
    tick();
    EXPECT_EQ(d.RigMode, "PH");

    d.OptDont->setChecked(true);
    st.CurrentMode = QStringLiteral("CW");
    tick();
    settle(radio, 6);
    tick();
    EXPECT_EQ(d.RigMode, "PH");
    EXPECT_EQ(st.CurrentMode, "CW"); // not handed over
}

TEST_F(PollCycleTest, PegasusReadsItsFileWithoutAPort)
{
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", env.workDir().toLocal8Bit());
    begin();
    RigControlfrm& d = rig();
    QDir().mkpath(env.workDir() + QStringLiteral("/Pegasus"));
    QFile f(env.workDir() + QStringLiteral("/Pegasus/PEGASUS.OUT"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("21.025,\"CW\"\r\n");
    f.close();
    choose(QStringLiteral("Ten Tec Pegasus"));
    d.Command1_Click();
    EXPECT_FALSE(d.comComm1->isOpen());
    EXPECT_TRUE(d.tmrGetData->isActive());
    d.tmrGetData->stop();
    tick(); // receive: the file
    qputenv("HOME", oldHome);
    EXPECT_FLOAT_EQ(d.RigFrequency, 21.025f);
    EXPECT_EQ(st.CurrentBand, "15");
    EXPECT_EQ(st.CurrentMode, "CW");
    EXPECT_TRUE(env.prompt().messageTitles().isEmpty()) << env.prompt().messageTitles().join('|').toStdString();
}

} // namespace
} // namespace zq::test

namespace zq::test {
namespace {

// The front-panel radio takes its poll strings as three bytes once a
// string has seven characters: the last pair may be a single digit.
TEST_F(PollCycleTest, FrontPanelPollOfSevenCharactersSendsThreeBytes)
{
    begin();
    RigControlfrm& d = rig();
    FakeRadio radio(FakeRadio::Family::Raw);
    attach(radio);
    choose(QStringLiteral("Ten Tec Fnt Pnl"));
    d.txtFreq->setText(QStringLiteral("3F 41 0"));
    d.txtMode->setText(QStringLiteral("3F 4D")); // too short: nothing, the turn still passes
    startTest();
    pumpUntil([&] { return radio.receivedBytes().size() >= 3; });
    EXPECT_EQ(radio.receivedBytes(), bytesOf({0x3F, 0x41, 0x00}));
    EXPECT_EQ(d.AlternateQuery, 1);
    tick(); // receive
    tick(); // the mode's turn
    EXPECT_EQ(d.AlternateQuery, 0);
    tick();
    tick(); // the frequency again
    pumpUntil([&] { return radio.receivedBytes().size() >= 6; });
    EXPECT_EQ(radio.receivedBytes(), bytesOf({0x3F, 0x41, 0x00, 0x3F, 0x41, 0x00}));
}

} // namespace
} // namespace zq::test
