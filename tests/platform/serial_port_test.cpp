// The serial port layer against a radio on a pseudo-terminal.

#include "platform/SerialPort.h"
#include "support/FakeRadio.h"
#include "support/TestEnv.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <termios.h>

namespace zq::test {
namespace {

TEST(SerialSettings, ParsesTheSettingsTextAndRefusesAnythingElse)
{
    struct Case {
        const char* text;
        bool ok;
        qint32 baud;
        QSerialPort::Parity parity;
        QSerialPort::DataBits data;
        QSerialPort::StopBits stop;
    };
    const Case cases[] = {
        {"4800,N,8,2", true, 4800, QSerialPort::NoParity, QSerialPort::Data8, QSerialPort::TwoStop},
        {"56000, e ,7, 1", true, 56000, QSerialPort::EvenParity, QSerialPort::Data7, QSerialPort::OneStop},
        {"1200,O,5,1.5", true, 1200, QSerialPort::OddParity, QSerialPort::Data5, QSerialPort::OneAndHalfStop},
        {"9600,M,6,1", true, 9600, QSerialPort::MarkParity, QSerialPort::Data6, QSerialPort::OneStop},
        {"", false}, {"4800,N,8", false}, {"4800,N,8,2,1", false}, {"0,N,8,1", false},
        {"-9600,N,8,1", false}, {"48OO,N,8,1", false}, {"4800,X,8,1", false},
        {"4800,N,9,1", false}, {"4800,N,8,3", false}, {"4800,NN,8,1", false},
    };
    for (const Case& c : cases) {
        const auto s = parseSerialSettings(QString::fromLatin1(c.text));
        ASSERT_EQ(s.has_value(), c.ok) << c.text;
        if (!c.ok)
            continue;
        EXPECT_EQ(s->baud, c.baud) << c.text;
        EXPECT_EQ(s->parity, c.parity) << c.text;
        EXPECT_EQ(s->dataBits, c.data) << c.text;
        EXPECT_EQ(s->stopBits, c.stop) << c.text;
    }
}

class SerialPortTest : public ::testing::Test {
protected:
    TestEnv env;
    FakeRadio radio{FakeRadio::Family::Raw};

    void SetUp() override
    {
        ASSERT_TRUE(radio.ok());
        radio.writeComPorts(env.workDir(), 3);
    }
};

TEST_F(SerialPortTest, OpensTheMappedDeviceAndCarriesEveryByteValueBothWays)
{
    SerialPort port;
    port.setCommPort(3);
    EXPECT_EQ(port.deviceName(), radio.devicePath());
    ASSERT_TRUE(port.setSettings(QStringLiteral("4800,N,8,2")));
    ASSERT_TRUE(port.open()) << port.errorString().toStdString();
    EXPECT_FALSE(port.open()); // already open

    // Nothing received: input returns at once with nothing.
    EXPECT_TRUE(port.input().isEmpty());

    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    ASSERT_TRUE(port.output(all));
    ASSERT_TRUE(pumpUntil([&] { return radio.receivedBytes().size() >= 256; }));
    EXPECT_EQ(radio.receivedBytes(), all);

    // Text goes out as Latin-1, one byte per character.
    radio.clearRecord();
    ASSERT_TRUE(port.outputText(QString::fromLatin1("\xE9\xFF;")));
    ASSERT_TRUE(pumpUntil([&] { return radio.receivedBytes().size() >= 3; }));
    EXPECT_EQ(radio.receivedBytes(), QByteArray("\xE9\xFF;"));

    radio.send(all);
    QByteArray got;
    ASSERT_TRUE(pumpUntil([&] {
        got += port.input();
        return got.size() >= 256;
    }));
    EXPECT_EQ(got, all);
    radio.send("\xB0\x0D");
    QString text;
    ASSERT_TRUE(pumpUntil([&] {
        text += port.inputText();
        return text.size() >= 2;
    }));
    EXPECT_EQ(text, QString::fromLatin1("\xB0\x0D"));
    EXPECT_TRUE(port.input().isEmpty()); // read once, gone
}

TEST_F(SerialPortTest, ALineThatTakesNothingKeepsThePortOpenAndTheBytesQueued)
{
    SerialPort port;
    port.setCommPort(3);
    ASSERT_TRUE(port.open()) << port.errorString().toStdString();
    // The device stops reading: the line fills, the rest waits in the layer.
    radio.setListening(false);
    const QByteArray filler(256 * 1024, 'x');
    ASSERT_TRUE(port.output(filler));
    pumpFor(50);
    ASSERT_GE(port.outBufferCount(), 1);
    // Writing more then is no failure.
    ASSERT_TRUE(port.output("FA;"));
    pumpFor(50);
    EXPECT_TRUE(port.isOpen()) << port.errorString().toStdString();
    radio.setListening(true);
    ASSERT_TRUE(pumpUntil([&] { return radio.receivedBytes().size() >= filler.size() + 3; }, 10000));
    EXPECT_TRUE(radio.receivedBytes().endsWith("xFA;"));
    EXPECT_EQ(port.outBufferCount(), 0);
}

TEST_F(SerialPortTest, ModemLinesAreLastAskedForAndAPseudoTerminalRefusingThemIsNoFailure)
{
    SerialPort port;
    port.setCommPort(3);
    port.setDTREnable(false);
    port.setRTSEnable(false);
    ASSERT_TRUE(port.open());
    EXPECT_FALSE(port.dtr());
    EXPECT_FALSE(port.rts());
    port.setRTSEnable(true);
    EXPECT_TRUE(port.rts());
    EXPECT_FALSE(port.dtr());
    port.setDTREnable(true);
    EXPECT_TRUE(port.dtr());
    // Still a working port.
    ASSERT_TRUE(port.output("ok"));
    ASSERT_TRUE(pumpUntil([&] { return radio.receivedBytes() == "ok"; }));
}

TEST_F(SerialPortTest, SettingsAndHandshakingReachTheLine)
{
    SerialPort port;
    port.setCommPort(3);
    // (A pseudo-terminal may refuse parity and 7 data bits, so the line
    // checks stay with what every one takes.)
    ASSERT_TRUE(port.setSettings(QStringLiteral("56000,N,8,1")));
    port.setHandshaking(Handshaking::Rts);
    ASSERT_TRUE(port.open()) << port.errorString().toStdString();
    EXPECT_TRUE(radio.lineCFlags() & CRTSCTS);
    EXPECT_FALSE(radio.lineCFlags() & CSTOPB);

    ASSERT_TRUE(port.setSettings(QStringLiteral("4800,N,8,2")));
    EXPECT_TRUE(radio.lineCFlags() & CSTOPB);
    EXPECT_FALSE(port.setSettings(QStringLiteral("4800,Q,8,2")));
    EXPECT_EQ(port.settings(), QStringLiteral("4800,N,8,2"));

    // RTS/CTS and Xon/Xoff together.
    port.setHandshaking(Handshaking::RtsXonXoff);
    EXPECT_TRUE(radio.lineCFlags() & CRTSCTS);
    EXPECT_TRUE(radio.lineIFlags() & IXON);
    EXPECT_TRUE(radio.lineIFlags() & IXOFF);
    port.setHandshaking(Handshaking::None);
    EXPECT_FALSE(radio.lineCFlags() & CRTSCTS);
    EXPECT_FALSE(radio.lineIFlags() & IXON);
}

TEST_F(SerialPortTest, AClosedOrMissingPortFailsCleanly)
{
    SerialPort port;
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.outBufferCount(), 0);
    EXPECT_FALSE(port.output("x"));
    EXPECT_TRUE(port.input().isEmpty());
    EXPECT_TRUE(port.drain(50));

    port.setCommPort(4); // mapped to a device that does not exist
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.errorString().isEmpty());
    EXPECT_FALSE(port.isOpen());
    port.setCommPort(0);
    EXPECT_FALSE(port.open());

    port.setCommPort(3);
    ASSERT_TRUE(port.open());
    ASSERT_TRUE(port.output("abc"));
    EXPECT_TRUE(port.drain(500));
    EXPECT_EQ(port.outBufferCount(), 0);
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.output("x"));
}

TEST_F(SerialPortTest, AHungUpLineClosesThePortAndIsReportedOnce)
{
    // The far end goes away while the program is not reading, then while
    // it writes; the port closes by itself and says so once.
    SerialPort port;
    port.setCommPort(3);
    ASSERT_TRUE(port.open());
    QSignalSpy lost(&port, &SerialPort::lost);
    radio.hangUp();
    EXPECT_TRUE(pumpUntil([&] { return !port.isOpen(); }));
    EXPECT_EQ(lost.count(), 1);
    EXPECT_FALSE(port.errorString().isEmpty());
    EXPECT_FALSE(port.output("x"));
    pumpFor(20);
    EXPECT_EQ(lost.count(), 1);

    // The owner closing first hears nothing of a loss.
    FakeRadio other(FakeRadio::Family::Raw);
    ASSERT_TRUE(other.ok());
    other.writeComPorts(env.workDir(), 3);
    ASSERT_TRUE(port.open());
    other.hangUp();
    port.input(); // Qt notices the hang-up inside this read
    port.close();
    pumpFor(20);
    EXPECT_EQ(lost.count(), 1);
    EXPECT_FALSE(port.isOpen());
}

} // namespace
} // namespace zq::test
