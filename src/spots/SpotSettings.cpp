#include "spots/SpotSettings.h"

#include "platform/QuotedText.h"

#include <QStringList>
#include <vector>

namespace zq {

QString TncSettings::SerialSettings() const
{
    QString baud = BaudRateText;
    while (baud.endsWith(u' '))
        baud.chop(1);
    return baud + u',' + ParityLetter + u',' + DataBitsText + u',' + StopBitsText;
}

namespace {

bool readText(QuotedValueStream& in, QString* out)
{
    return in.nextText(out);
}

template <typename T>
bool readWhole(QuotedValueStream& in, T* out, double lo, double hi)
{
    double v = 0;
    if (!in.nextNumber(&v) || v < lo || v > hi || v != static_cast<double>(static_cast<long long>(v)))
        return false;
    *out = static_cast<T>(v);
    return true;
}

bool readTruth(QuotedValueStream& in, bool* out)
{
    QuotedValue v;
    if (!in.next(&v) || v.quoted)
        return false;
    const QString t = v.text.trimmed();
    if (t.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) == 0)
        *out = true;
    else if (t.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) == 0)
        *out = false;
    else
        return false;
    return true;
}

} // namespace

int parsePackSpot(const QByteArray& content, PackSpotValues& out)
{
    if (content.size() > MaxPackSpotBytes)
        return 0;
    QuotedValueStream in(content);
    TncSettings& t = out.tnc;
    // Bytes are the widest a value can be: comm port and handshaking are
    // whole numbers that fit a byte, the flags small whole numbers.
    if (!readText(in, &t.BaudRateText)) return 0;
    if (!readText(in, &t.ParityLetter)) return 1;
    if (!readText(in, &t.DataBitsText)) return 2;
    if (!readText(in, &t.StopBitsText)) return 3;
    if (!readWhole(in, &t.CommPortNumber, 0, 255)) return 4;
    if (!readText(in, &t.PowerLine)) return 5;
    if (!readText(in, &out.SpotSource)) return 6;
    if (!readWhole(in, &out.ConvertToHex, -32768, 32767)) return 7;
    if (!readWhole(in, &t.HandshakeMode, 0, 255)) return 8;
    if (!readWhole(in, &out.ListDxOnly, -32768, 32767)) return 9;
    if (!readTruth(in, &out.ListDisplay)) return 10;
    if (!readText(in, &out.CommandCharacter)) return 11;
    if (!readText(in, &out.TelnetPort)) return 12;
    if (!readText(in, &out.TelnetHost)) return 13;
    return 14;
}

QByteArray formatPackSpot(const PackSpotValues& v)
{
    const TncSettings& t = v.tnc;
    QByteArray out;
    for (const QString& line :
         {quotedText(t.BaudRateText), quotedText(t.ParityLetter), quotedText(t.DataBitsText),
          quotedText(t.StopBitsText), QString::number(t.CommPortNumber), quotedText(t.PowerLine),
          quotedText(v.SpotSource), QString::number(v.ConvertToHex),
          QString::number(t.HandshakeMode), QString::number(v.ListDxOnly),
          QString::fromLatin1(v.ListDisplay ? "#TRUE#" : "#FALSE#"),
          quotedText(v.CommandCharacter), quotedText(v.TelnetPort), quotedText(v.TelnetHost)})
        out += line.toUtf8() + "\r\n";
    return out;
}

namespace {

const char* const G1 =
    "Use this form to configure your DX spotting options.  After you make your selections, a "
    "list or band map will display on the main form (as selected here) to keep you updated on "
    "the latest packet spots.";
const char* const G2 =
    "The list will show the last 2-3 posts on the main form depending on your screen size.  The "
    "band map will display the prefixes posted for your current band.  To see the whole call and "
    "frequency, move your mouse over the prefix and observe either the tool tip or the Possible "
    "Duplicates box.";
const char* const G3 =
    "The program keeps the last 50 DX posts regardless of band in memory. Your band map will "
    "cycle through these posts as they are received.  Posts received within the last 10 minutes "
    "will be yellow; posts 10-30 minutes old will be white and posts 30-60 minutes old will be "
    "gray.";
const char* const G4 =
    "If you are using the program's rig control features, you can right click any spot displayed "
    "on the main form's band map or HF spectrum map to tune your rig to the spot frequency. Right "
    "clicking will not change frequency when displaying the DX spots in list mode.";
const char* const T1 =
    "If you have an Internet connection (either telephone line or high speed), the Telnet option "
    "is very easy to implement.  Just connect to the Internet by your regular ISP and click Open "
    "on this form.  Type your call sign when prompted and press enter.";
const char* const N1 =
    "To use a Packet TNC, you will have to check your modem documentation for the proper serial "
    "port settings.  Use either Crtl C or the Esc key to send the Hex character to put your TNC "
    "in command mode (you do not have to press enter to send the Hex character).  Otherwise, "
    "just type and press enter to send text.";
const char* const N2 =
    "One nice feature with the packet option is that you don't actually have to connect to "
    "another packet station.  Just click the DX Only check box so that only packets identified "
    "as DX will be displayed.  As long as DX posts are being transmitted the software will check "
    "recent posts to eliminate duplicate posts.  Even if you are connected, it is a good idea to "
    "check this box to eliminate miscellaneous comments, etc.";
const char* const A1 =
    "This program will also interface with the AGW Packet Engine.  The AGW Packet engine will "
    "interface with your existing sound card (or TNC including Baypac) to send and receive "
    "Packet.  To use the AGW Packet Engine:";
const char* const A2 =
    "- Install a packet engine that offers the AGW interface.  Any soundcard modem or TNC "
    "program that serves this interface on TCP port 8000 of this computer (127.0.0.1:8000) will "
    "do.";
const char* const A3 =
    "- Make sure that its AGW interface is switched on and listens on that port before you "
    "click Open.";
const char* const A4 =
    "- Run the Packet Engine software and configure it as described on the AGW Packet Engine "
    "website for your sound card or TNC.";
const char* const A5 = "- Click Open from this program.";
const char* const A6 = "To send a connect request using the AGW packet engine, type in the format of";
const char* const A7 = ":C Brelvox     or to disconnect :D";
const char* const A8 = "and press enter (you can also use the Esc key to add a colon).";
const char* const C1 =
    "When you have configured your DX spotting options, click Open to initiate the "
    "communication.  Then click Done to return to the main form.";
const char* const C2 =
    "If the list is being displayed on the main form, you can click on it to quickly return to "
    "this form.  To return the main form to the original display, select None from the spotting "
    "options.";
const char* const H1 =
    "This code was developed and tested with a Kantronics KPC3+ TNC.  I look forward to hearing "
    "about your experiences with different hardware.";

} // namespace

QString spottingHelpText(const QString& listText)
{
    std::vector<const char*> paragraphs;
    if (listText == QLatin1String("None"))
        paragraphs = {G1, G2, G3, G4, T1, N1, N2, A1, A2, A3, A4, A5, A6, A7, A8, C1, C2, H1};
    else if (listText == QLatin1String("TNC"))
        paragraphs = {N1, N2, C1, C2, H1};
    else if (listText == QLatin1String("Telnet"))
        paragraphs = {T1, C1, C2};
    else if (listText == QLatin1String("AGW Packet Engine"))
        paragraphs = {A1, A2, A3, A4, A5, A6, A7, A8, C1, C2, H1};
    QString out;
    for (const char* p : paragraphs)
        out += QString::fromLatin1(p) + QStringLiteral("\r\n\r\n");
    return out;
}

} // namespace zq
