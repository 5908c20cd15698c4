#include "spots/PacketSpotfrm.h"

#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/Form1.h"
#include "common/KeyCodes.h"
#include "common/ModalShow.h"
#include "common/NamedControls.h"
#include "common/OperatorChoice.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "logstore/ContactLog.h"
#include "logstore/StationSettings.h"
#include "platform/AgwEngine.h"
#include "platform/PortAccess.h"
#include "platform/Prompt.h"
#include "platform/SafeFile.h"
#include "platform/SerialPort.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTcpSocket>
#include <QTextCursor>
#include <QTimer>
#include <QValidator>
#include <cctype>
#include <optional>

namespace zq {

namespace {

const QString kCrLf2 = QStringLiteral("\r\n\r\n");

// Refuses characters that have no single-byte form: the send box's text
// goes out one byte per character.
class Latin1Validator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        for (QChar c : input)
            if (c.unicode() > 0xFF)
                return Invalid;
        return Acceptable;
    }
};

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, double left,
                        double top, double width)
{
    return makeNamedButton(parent, QLatin1String(name), QLatin1String(caption), left, top, width);
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const char* caption, double left,
                     double top, double width)
{
    return makeNamedCheck(parent, QLatin1String(name), QLatin1String(caption), left, top, width);
}

// The pane's text as the widget shows it: CR LF and a lone CR end a line.
QString displayForm(const QString& text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

// A position in the held text as a position in its display form.
qsizetype displayPosition(const QString& text, qsizetype pos)
{
    qsizetype removed = 0;
    for (qsizetype i = 0; i + 1 < text.size() && i < pos; ++i)
        if (text[i] == u'\r' && text[i + 1] == u'\n')
            ++removed;
    return pos - removed;
}

// The command character from two hex digits: "03" gives 3, "FF" 255;
// nothing for text that is not a hexadecimal number of one byte.
std::optional<char> commandCharacter(const QString& hex)
{
    if (hex.isEmpty())
        return std::nullopt;
    bool ok = false;
    const uint v = hex.toUInt(&ok, 16);
    if (!ok || v > 255)
        return std::nullopt;
    for (QChar c : hex)
        if (c.unicode() > 0x7F || !std::isxdigit(static_cast<unsigned char>(c.toLatin1())))
            return std::nullopt;
    return static_cast<char>(v);
}

using ButtonValues = QList<QPair<QRadioButton*, QString>>;

} // namespace

PacketSpotfrm::PacketSpotfrm()
{
    setObjectName(QStringLiteral("PacketSpotfrm"));
    setWindowTitle(QStringLiteral(" DX Spotting Setup"));
    comComm1 = new SerialPort(this);
    comComm1->setObjectName(QStringLiteral("comComm1"));
    // A TNC whose port went away (a USB adapter pulled) shows as a closed
    // port, as after Close Port.
    connect(comComm1, &SerialPort::lost, this, [this] {
        if (isSource("TNC"))
            Command2_Click();
    });
    telnetLink = new TelnetLink({[this](const QString& chunk) { Winsock1_DataArrival(chunk); },
                                 [this](int number) { Winsock1_Error(number); }},
                                this);
    Winsock1 = telnetLink->socket();
    agwEngine = new AgwEngine(this);
    connect(agwEngine, &AgwEngine::registered, this, [this](bool ok) { onAgwRegistered(ok); });
    connect(agwEngine, &AgwEngine::linkLost, this, [this] {
        if (isSource("AGW Packet Engine"))
            Command2_Click();
    });
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(333);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    buildControls();
}

PacketSpotfrm::~PacketSpotfrm() = default;

void PacketSpotfrm::buildControls()
{
    setFormWidth(*this, 9600);
    setFormHeight(*this, 7300);

    // Column 1: the source, the buttons, the display choice.
    Label1 = makeNamedLabel(this, QStringLiteral("Label1"), QStringLiteral("Select Option:"), 120,
                            120, 2600, 255);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    placeControl(*List1, 120, 400, 2600, 1100);
    Command1 = makeButton(this, "Command1", "Open Port", 120, 1580, 1250);
    Command2 = makeButton(this, "Command2", "Close Port", 1470, 1580, 1250);
    cmdDone = makeButton(this, "cmdDone", "&Done", 120, 2020, 1250);
    Command3 = makeButton(this, "Command3", "&Spot Last", 1470, 2020, 1250);
    Label4 = makeNamedLabel(this, QStringLiteral("Label4"), QStringLiteral("Listening"), 120, 2480,
                            2600, 255);
    Label4->hide();
    Frame2 = makeNamedFrame(this, QStringLiteral("Frame2"), QStringLiteral("Main Form Display"), 120,
                            2800, 2600, 900);
    OptBand = makeNamedOption(Frame2, QStringLiteral("OptBand"), QStringLiteral("Band Map"), 120,
                              280, 2300);
    OptList = makeNamedOption(Frame2, QStringLiteral("OptList"), QStringLiteral("List"), 120, 560,
                              2300);
    OptBand->setChecked(true);

    // Column 2: the serial port of the TNC.
    const double c2 = 2800, w2 = 3000;
    fraPort = makeNamedFrame(this, QStringLiteral("fraPort"), QStringLiteral("Comm Port"), c2, 120,
                             w2, 900);
    for (int i = 0; i < 10; ++i)
        optComm.set(i, makeNamedOption(fraPort, QStringLiteral("optComm(%1)").arg(i),
                                       QString::number(i + 1), 120 + (i % 5) * 560,
                                       280 + (i / 5) * 300, 540));
    optComm(0)->setChecked(true);
    // The TNC's baud rate, under columns 2 and 3: its caption needs both.
    fraBaud = makeNamedFrame(
        this, QStringLiteral("fraBaud"),
        QStringLiteral("Baud Rate of Com Port to TNC (not necessarily transmitted baud rate)"), c2,
        3980, 9400 - c2, 600);
    auto baud = [this](const char* name, const char* caption, int i) {
        return makeNamedOption(fraBaud, QLatin1String(name), QLatin1String(caption), 120 + i * 1000,
                               280, 980);
    };
    optBaud12 = baud("optBaud12", "1.2k", 0);
    optBaud24 = baud("optBaud24", "2.4k", 1);
    optBaud48 = baud("optBaud48", "4.8k", 2);
    optBaud96 = baud("optBaud96", "9.6k", 3);
    optBaud144 = baud("optBaud144", "14.4k", 4);
    optBaud192 = baud("optBaud192", "19.2k", 5);
    optBaud192->setChecked(true);

    auto across = [](QGroupBox* f, const char* name, const char* caption, int i) {
        return makeNamedOption(f, QLatin1String(name), QLatin1String(caption), 120 + i * 950, 280,
                               930);
    };
    fraParity = makeNamedFrame(this, QStringLiteral("fraParity"), QStringLiteral("Parity"), c2, 1100,
                               w2, 600);
    optParityOdd = across(fraParity, "optParityOdd", "Odd", 0);
    optParityNone = across(fraParity, "optParityNone", "None", 1);
    optParityEven = across(fraParity, "optParityEven", "Even", 2);
    optParityNone->setChecked(true);
    fraData = makeNamedFrame(this, QStringLiteral("fraData"), QStringLiteral("Data Bits"), c2, 1780,
                             w2, 600);
    optData7 = across(fraData, "optData7", "7", 0);
    optData8 = across(fraData, "optData8", "8", 1);
    optData8->setChecked(true);
    fraStop = makeNamedFrame(this, QStringLiteral("fraStop"), QStringLiteral("Stop Bits"), c2, 2460,
                             w2, 600);
    optStop1 = across(fraStop, "optStop1", "1", 0);
    optStop2 = across(fraStop, "optStop2", "2", 1);
    optStop1->setChecked(true);

    // Column 3: power, handshaking, the command character, Telnet.
    const double c3 = 5900, w3 = 3500;
    fraPower = makeNamedFrame(this, QStringLiteral("fraPower"), QStringLiteral("Connection Power"),
                              c3, 120, w3, 600);
    optPowerNone = across(fraPower, "optPowerNone", "None", 0);
    optPowerRTS = across(fraPower, "optPowerRTS", "RTS", 1);
    optPowerDTR = across(fraPower, "optPowerDTR", "DTR", 2);
    optPowerNone->setChecked(true);
    Frame1 = makeNamedFrame(this, QStringLiteral("Frame1"), QStringLiteral("Handshaking"), c3, 800,
                            w3, 900);
    auto hs = [this](const char* name, const char* caption, int i) {
        return makeNamedOption(Frame1, QLatin1String(name), QLatin1String(caption),
                               120 + (i % 2) * 1500, 280 + (i / 2) * 300, 1480);
    };
    Option1 = hs("Option1", "None", 0);
    Option2 = hs("Option2", "Xon Xoff", 1);
    Option3 = hs("Option3", "RTS", 2);
    Option4 = hs("Option4", "RTS OnOff", 3);
    Option1->setChecked(true);
    Label2 = makeNamedLabel(this, QStringLiteral("Label2"),
                            QStringLiteral("TNC cmd mode hex character:"), c3, 1820, 2800, 255);
    txtHex = makeNamedBox(this, QStringLiteral("txtHex"), QString(), c3 + 2900, 1800, 600);
    txtHex->setTypedLimit(2);
    Label7 = makeNamedLabel(this, QStringLiteral("Label7"), QStringLiteral("Telnet Host:"), c3, 2200,
                            w3, 255);
    txtTelnetHost = makeNamedBox(this, QStringLiteral("txtTelnetHost"), QString(), c3, 2460, w3);
    Label3 = makeNamedLabel(this, QStringLiteral("Label3"), QStringLiteral("Telnet Port:"), c3, 2860,
                            1200, 255);
    txtTelnetPort = makeNamedBox(this, QStringLiteral("txtTelnetPort"), QString(), c3 + 1300, 2840,
                                 900);
    txtTelnetPort->setTypedLimit(5);
    chkDX = makeCheck(this, "chkDX", "List DX Only (also controls main form)", c3, 3300, w3);
    chkConvToHex = makeCheck(this, "chkConvToHex", "Convert to Hex", c3, 3640, w3);

    // Across the bottom: the send box and the receive pane.
    Line1 = new LineControl(this, 120, 4680, 9400, 4680);
    Line1->setObjectName(QStringLiteral("Line1"));
    Label6 = makeNamedLabel(this, QStringLiteral("Label6"),
                            QStringLiteral("Send text  (Ctrl  C or Esc for TNC Command mode):"), 120,
                            4780, 9200, 255);
    txtSent = new QLineEdit(this);
    txtSent->setObjectName(QStringLiteral("txtSent"));
    txtSent->setValidator(new Latin1Validator(txtSent));
    placeControl(*txtSent, 120, 5050, 9200, 285);
    QFont sentFont(QStringLiteral("Arial"));
    sentFont.setPointSizeF(9);
    sentFont.setBold(true);
    txtSent->setFont(sentFont);
    txtUnProcessed = new QPlainTextEdit(this);
    txtUnProcessed->setObjectName(QStringLiteral("txtUnProcessed"));
    txtUnProcessed->setReadOnly(true);
    txtUnProcessed->setAccessibleName(QStringLiteral("Received text"));
    txtUnProcessed->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont paneFont(QStringLiteral("Courier New"));
    paneFont.setStyleHint(QFont::Monospace);
    paneFont.setPointSizeF(9);
    txtUnProcessed->setFont(paneFont);
    placeControl(*txtUnProcessed, 120, 5430, 9200, 1370);

    // Handlers.  Option buttons run their click handlers for the operator's
    // clicks here; where the code sets one, it calls the handler itself.
    // A source is chosen by selecting it.  The list's current row alone is
    // no choice: the list sets one of its own when it takes the focus with
    // nothing selected (the window's first showing).
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = List1->selectedItems();
        const int row = selected.isEmpty() ? -1 : List1->row(selected.first());
        if (row < 0 || row == pickedRow_)
            return;
        pickedRow_ = row;
        List1_Click();
    });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(txtSent, &QLineEdit::textChanged, this, [this] { txtSent_Change(); });
    for (QGroupBox* frame : {fraPort, fraBaud, fraParity, fraData, fraStop, fraPower, Frame1}) {
        for (QRadioButton* b : frame->findChildren<QRadioButton*>())
            onOperatorChoice(b, this, [this] { serialOptionClick(); });
    }

    // Key preview: the window's key handler sees every key first.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
}

void PacketSpotfrm::Form_Load()
{
    FitParameters p;
    p.target = FitParameters::Target::Screen;
    p.placement = FitParameters::Placement::FixedTop;
    p.fixedTop = 2;
    p.ratios = FitParameters::ControlRatios::TargetOverDesign;
    p.windowFont = FitParameters::WindowFont::NewWidthOverDesign;
    p.controlFont = FitParameters::ControlFont::ScreenWidthCapped;
    p.parkedControls = true;
    p.onError = FitParameters::OnError::Silent;
    FitWindow(*this, p);

    {
        const QSignalBlocker block(List1);
        List1->addItems({QStringLiteral("None"), QStringLiteral("TNC"), QStringLiteral("Telnet"),
                         QStringLiteral("AGW Packet Engine")});
        List1->setCurrentRow(-1);
    }
    chkConvToHex->setEnabled(false);
    DisableSpotControls();
    LoadingSettings = 1;
    ReadSpotSettings();
    LoadingSettings = 0;
    StreamBuffer.reset();
}

QString PacketSpotfrm::sourceText() const
{
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

bool PacketSpotfrm::isSource(const char* name) const
{
    return SpotSource.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// ---------------------------------------------------------------------------
// The receive pane

void PacketSpotfrm::paneReplace(const QString& text)
{
    pane_.setText(text);
    showPane(text.size());
}

void PacketSpotfrm::paneAppend(const QString& text)
{
    pane_.append(text);
    showPane(pane_.text().size());
}

void PacketSpotfrm::showPane(qsizetype caret)
{
    const QString& text = pane_.text();
    if (text != shownPane_) {
        if (text.startsWith(shownPane_) && !shownPane_.isEmpty() && !shownPane_.endsWith(u'\r')) {
            QTextCursor end(txtUnProcessed->document());
            end.movePosition(QTextCursor::End);
            end.insertText(displayForm(text.mid(shownPane_.size())));
        } else {
            txtUnProcessed->setPlainText(displayForm(text));
        }
        shownPane_ = text;
    }
    QTextCursor c = txtUnProcessed->textCursor();
    c.setPosition(static_cast<int>(std::min<qsizetype>(displayPosition(text, caret),
                                                       txtUnProcessed->document()->characterCount() - 1)));
    txtUnProcessed->setTextCursor(c);
}

void PacketSpotfrm::TrimSpotDisplay()
{
    pane_.trim();
    const qsizetype n = pane_.text().size();
    showPane(n > 2 ? n - 1 : 0);
}

void PacketSpotfrm::ShowSpottingHelp()
{
    pane_.setText(spottingHelpText(sourceText()));
    showPane(std::min<qsizetype>(1, pane_.text().size()));
}

// ---------------------------------------------------------------------------
// Control sets

void PacketSpotfrm::DisableSpotControls()
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             Command1, Command2, Frame2, OptBand, OptList, chkDX, txtSent, Label6, txtHex, Label2,
             Frame1, fraBaud, fraParity, fraData, fraStop, fraPort, fraPower, txtTelnetHost,
             txtTelnetPort, Label7, Label3, chkConvToHex})
        w->setEnabled(false);
}

void PacketSpotfrm::EnableTNCControls()
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             Command1, Command2, Frame2, OptBand, OptList, chkDX, txtSent, Label6, txtHex, Label2,
             Frame1, fraBaud, fraParity, fraData, fraStop, fraPort, fraPower, Label4, Label1})
        w->setEnabled(true);
}

void PacketSpotfrm::EnableTelnetControls()
{
    for (QWidget* w : std::initializer_list<QWidget*>{Command1, Command2, Frame2, OptBand, OptList,
                                                       chkDX, txtSent, Label6, txtTelnetHost,
                                                       txtTelnetPort, Label7, Label3})
        w->setEnabled(true);
}

void PacketSpotfrm::EnableAGWControls()
{
    for (QWidget* w : std::initializer_list<QWidget*>{Command1, Command2, Frame2, OptBand, OptList,
                                                       chkDX, txtSent, Label6})
        w->setEnabled(true);
}

// ---------------------------------------------------------------------------
// Source selection, Open Port, Close Port, Done, Spot Last

void PacketSpotfrm::setOption(QRadioButton* button, bool value)
{
    setOptionValue(*button, value);
    if (value)
        serialOptionClick(); // setting an option runs its click handler
}

void PacketSpotfrm::serialOptionClick()
{
    if (LoadingSettings == 0)
        Command2_Click();
}

void PacketSpotfrm::List1_Click()
{
    chkDX->setChecked(false);
    if (LoadingSettings == 0) {
        Command2_Click();
        DisableSpotControls();
        SpotSource = sourceText();
        if (isSource("TNC")) {
            setOption(optBaud96, true);
            setOption(optParityNone, true);
            setOption(optData8, true);
            setOption(optStop1, true);
            setOption(Option3, true);
            txtHex->setText(QStringLiteral("03"));
            EnableTNCControls();
        }
    }
    ShowSpottingHelp();
    if (isSource("Telnet"))
        EnableTelnetControls();
    if (isSource("AGW Packet Engine"))
        EnableAGWControls();
    if (isSource("TNC"))
        Label6->setText(QStringLiteral("Send text  (Ctrl C or Esc for TNC Command mode):"));
    else if (isSource("AGW Packet Engine"))
        Label6->setText(QStringLiteral("Send text (use : to send cmds such as :C Brelvox or :D)"));
    else if (isSource("Telnet"))
        Label6->setText(QStringLiteral("Type text to send and press enter:"));
}

void PacketSpotfrm::Command1_Click()
{
    ++busy_;
    paneReplace(QStringLiteral("** Attempting to Open Port **") + kCrLf2);
    if (comComm1->isOpen())
        comComm1->close();
    // A new session's text starts afresh: a line cut by a close is never
    // glued to what the next session sends.
    StreamBuffer.reset();
    waitingInput_.clear();
    if (!isSource("None")) {
        Label4->show();
        if (isVisible() && txtSent->isEnabled())
            txtSent->setFocus();
    }
    if (isSource("TNC"))
        CollectTNCSettings();
    if (isSource("AGW Packet Engine"))
        ConnectAGW();
    if (isSource("Telnet"))
        ConnectTelnet();
    --busy_;
}

void PacketSpotfrm::sendDisconnectFrame()
{
    agwEngine->putData(ConnectedCall, QString(), 'd');
}

void PacketSpotfrm::Command2_Click()
{
    if (Label4->isHidden())
        return;
    ++busy_;
    Label4->hide();
    pane_.append(kCrLf2 + QStringLiteral("** Port Closed **"));
    TrimSpotDisplay();
    if (comComm1->isOpen())
        comComm1->close();
    telnetLink->close();
    if (isSource("AGW Packet Engine")) {
        agwAwaiting_ = false;
        if (!ConnectedCall.isEmpty()) {
            sendDisconnectFrame();
            setWindowTitle(QStringLiteral("DX Spotting Setup"));
            ConnectedCall.clear();
        }
        agwEngine->close();
    }
    Timer1->stop();
    --busy_;
}

void PacketSpotfrm::cmdDone_Click()
{
    if (!isSource("None") && Label4->isHidden())
        Command1_Click();
    DefaultInstance<Form1>().SavePref();
    if (!WriteSpotSettings())
        return;
    DefaultInstance<Form1>().PacketResize();
    hide();
}

void PacketSpotfrm::Command3_Click()
{
    const ContactLog& log = ContactLog::instance();
    const int n = log.ContactCount;
    const QString last = n >= 1 && n <= ContactLog::Capacity ? log[n].LogCall : QString();
    txtSent->setText(QStringLiteral("DX Frequency in kHz ") + last);
    if (!txtSent->isEnabled())
        return;
    txtSent->setFocus();
    txtSent->setSelection(3, 16);
}

void PacketSpotfrm::Form_Activate()
{
    if (isSource("None"))
        return;
    TrimSpotDisplay();
    if (txtSent->isEnabled())
        txtSent->setFocus();
}

void PacketSpotfrm::Form_Unload()
{
    if (!ConnectedCall.isEmpty())
        sendDisconnectFrame();
    if (isSource("AGW Packet Engine"))
        agwEngine->close();
    Timer1->stop();
    comComm1->close();
    telnetLink->close();
}

void PacketSpotfrm::onUnload()
{
    Form_Unload();
}

void PacketSpotfrm::closeEvent(QCloseEvent* e)
{
    e->accept();
    WindowRegistry::unload<PacketSpotfrm>();
}

void PacketSpotfrm::changeEvent(QEvent* e)
{
    QDialog::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

// ---------------------------------------------------------------------------
// Settings

namespace {

ButtonValues baudButtons(const PacketSpotfrm& f)
{
    return {{f.optBaud12, QStringLiteral("1200")},   {f.optBaud24, QStringLiteral("2400")},
            {f.optBaud48, QStringLiteral("4800")},   {f.optBaud96, QStringLiteral("9600")},
            {f.optBaud144, QStringLiteral("14400")}, {f.optBaud192, QStringLiteral("19200")}};
}
ButtonValues parityButtons(const PacketSpotfrm& f)
{
    return {{f.optParityOdd, QStringLiteral("O")},
            {f.optParityNone, QStringLiteral("N")},
            {f.optParityEven, QStringLiteral("E")}};
}
ButtonValues dataButtons(const PacketSpotfrm& f)
{
    return {{f.optData7, QStringLiteral("7")}, {f.optData8, QStringLiteral("8")}};
}
ButtonValues stopButtons(const PacketSpotfrm& f)
{
    return {{f.optStop1, QStringLiteral("1")}, {f.optStop2, QStringLiteral("2")}};
}
ButtonValues powerButtons(const PacketSpotfrm& f)
{
    return {{f.optPowerNone, QStringLiteral("N")},
            {f.optPowerRTS, QStringLiteral("R")},
            {f.optPowerDTR, QStringLiteral("D")}};
}

// The value of the first chosen button of a group; `into` keeps its value
// when none is chosen.
void collect(const ButtonValues& group, QString& into)
{
    for (const auto& [button, value] : group) {
        if (button->isChecked()) {
            into = value;
            return;
        }
    }
}

QString withoutTrailingBlanks(QString s)
{
    while (s.endsWith(u' '))
        s.chop(1);
    return s;
}

} // namespace

void PacketSpotfrm::CollectTNCSettings()
{
    if (isSource("None"))
        return;
    Label4->show();
    ::zq::TncSettings& t = TncSettings;
    for (int i = 0; i <= 9; ++i)
        if (optComm(i)->isChecked())
            t.CommPortNumber = static_cast<quint8>(i + 1);
    collect(baudButtons(*this), t.BaudRateText);
    collect(parityButtons(*this), t.ParityLetter);
    collect(dataButtons(*this), t.DataBitsText);
    collect(stopButtons(*this), t.StopBitsText);
    collect(powerButtons(*this), t.PowerLine);
    const QRadioButton* modes[] = {Option1, Option2, Option3, Option4};
    for (int i = 0; i < 4; ++i)
        if (modes[i]->isChecked())
            t.HandshakeMode = static_cast<quint8>(i + 1);
    if (isSource("TNC"))
        OpenTNCPort();
}

void PacketSpotfrm::ReadSpotSettings()
{
    const QString path = Folders::workingFile(QStringLiteral("PackSpot.txt"));
    QFile f;
    if (!openRegularFile(f, path))
        return;
    PackSpotValues v;
    v.tnc = TncSettings;
    v.SpotSource = SpotSource;
    const int read = parsePackSpot(f.read(MaxPackSpotBytes + 1), v);
    f.close();
    TncSettings = v.tnc;
    SpotSource = v.SpotSource;
    if (read < 14)
        return; // a short or damaged file: nothing reaches the controls

    if (v.ConvertToHex >= 0 && v.ConvertToHex <= 2)
        chkConvToHex->setCheckState(v.ConvertToHex == 1   ? Qt::Checked
                                    : v.ConvertToHex == 2 ? Qt::PartiallyChecked
                                                          : Qt::Unchecked);
    setOptionValue(*OptList, v.ListDisplay);
    txtHex->setText(v.CommandCharacter);
    txtTelnetPort->setText(v.TelnetPort);
    txtTelnetHost->setText(v.TelnetHost);

    for (int i = 0; i < List1->count(); ++i)
        if (List1->item(i)->text().compare(SpotSource, Qt::CaseInsensitive) == 0)
            List1->setCurrentRow(i); // runs the source selection

    // A value outside its range (a port or handshaking of 0, as a file
    // written before the serial settings were ever collected holds) is
    // passed over: the rest of the settings and the link still come back.
    const ::zq::TncSettings& t = TncSettings;
    if (t.CommPortNumber >= 1 && t.CommPortNumber <= 10) {
        setOption(optComm(t.CommPortNumber - 1), true);
    }
    auto select = [this](const ButtonValues& group, const QString& value) {
        for (const auto& [button, text] : group)
            setOption(button, text.compare(value, Qt::CaseInsensitive) == 0);
    };
    select(baudButtons(*this), withoutTrailingBlanks(t.BaudRateText));
    select(parityButtons(*this), t.ParityLetter);
    select(dataButtons(*this), t.DataBitsText);
    select(stopButtons(*this), t.StopBitsText);
    select(powerButtons(*this), t.PowerLine);
    QRadioButton* modes[] = {Option1, Option2, Option3, Option4};
    if (t.HandshakeMode >= 1 && t.HandshakeMode <= 4)
        setOption(modes[t.HandshakeMode - 1], true);

    LoadingSettings = 0;
    if (isSource("TNC"))
        EnableTNCControls();
    if (isSource("Telnet"))
        EnableTelnetControls();
    if (isSource("AGW Packet Engine"))
        EnableAGWControls();
    if (!isSource("None"))
        Command1_Click();
}

bool PacketSpotfrm::WriteSpotSettings()
{
    PackSpotValues v;
    v.tnc = TncSettings;
    v.SpotSource = SpotSource;
    v.ConvertToHex = chkConvToHex->checkState() == Qt::Checked          ? 1
                     : chkConvToHex->checkState() == Qt::PartiallyChecked ? 2
                                                                          : 0;
    v.ListDxOnly = chkDX->isChecked() ? 1 : 0;
    v.ListDisplay = OptList->isChecked();
    v.CommandCharacter = txtHex->text();
    v.TelnetPort = txtTelnetPort->text();
    v.TelnetHost = txtTelnetHost->text();
    QString error;
    if (writeFileAtomically(Folders::workingFile(QStringLiteral("PackSpot.txt")), formatPackSpot(v),
                            &error))
        return true;
    prompt().beep();
    prompt().message(
        QStringLiteral("The spotting settings could not be saved in PackSpot.txt.\n%1").arg(error),
        QStringLiteral("Error writing file."), MsgButtons::Ok, MsgIcon::Critical);
    return false;
}

// ---------------------------------------------------------------------------
// The intake

void PacketSpotfrm::Timer1_Timer()
{
    // A tick while a link opens or closes, or while another tick runs (a
    // message box runs the event loop), waits for the next one.
    if (busy_ > 0)
        return;
    ++busy_;
    if (isSource("TNC"))
        ReadTNCInput();
    if (isSource("AGW Packet Engine"))
        PollAGWFrames();
    LabelUpdateTimeCounter += 1;
    if (LabelUpdateTimeCounter > 360) {
        LabelUpdateTimeCounter = 0;
        Form1& facade = DefaultInstance<Form1>();
        if (facade.lblDXVisible())
            facade.DisplayBandMapLabels();
    }
    --busy_;
}

void PacketSpotfrm::SplitSpotLines()
{
    const int taken = ::zq::SplitSpotLines(
        StreamBuffer, pane_, chkDX->isChecked(),
        [this](const QString& frequency, const QString& call, const QString& line) {
            QString f = frequency, c = call, l = line;
            ForwardSpot(f, c, l);
        });
    if (taken > 0)
        TrimSpotDisplay();
}

void PacketSpotfrm::ForwardSpot(QString& frequency, QString& call, QString& line)
{
    LabelUpdateTimeCounter = 0;
    QString record = trimBlanks(QStringView(line).mid(std::min<qsizetype>(3, line.size())));
    DefaultInstance<Form1>().BandMapSpots(call, frequency, record);
}

// ---------------------------------------------------------------------------
// The TNC link

void PacketSpotfrm::OpenTNCPort()
{
    ++busy_;
    const ::zq::TncSettings& t = TncSettings;
    if (comComm1->isOpen())
        comComm1->close();
    comComm1->setCommPort(t.CommPortNumber);
    bool ok = comComm1->setSettings(t.SerialSettings());
    if (ok) {
        comComm1->setDTREnable(false);
        comComm1->setRTSEnable(false);
        switch (t.HandshakeMode) {
        case 1: comComm1->setHandshaking(Handshaking::None); break;
        case 3:
            comComm1->setHandshaking(Handshaking::Rts);
            comComm1->setRTSEnable(true);
            break;
        case 4:
            comComm1->setHandshaking(Handshaking::RtsXonXoff);
            comComm1->setRTSEnable(true);
            break;
        case 2: comComm1->setHandshaking(Handshaking::XonXoff); break;
        default: break;
        }
        ok = comComm1->open();
    }
    if (ok) {
        if (t.PowerLine.compare(QLatin1String("R"), Qt::CaseInsensitive) == 0)
            comComm1->setRTSEnable(true);
        else if (t.PowerLine.compare(QLatin1String("D"), Qt::CaseInsensitive) == 0)
            comComm1->setDTREnable(true);
        if (comComm1->isOpen())
            Timer1->start();
        paneAppend(QStringLiteral("** TNC Serial Port Open **") + kCrLf2);
        --busy_;
        return;
    }
    prompt().beep();
    paneAppend(QStringLiteral("** Unable to open TNC Serial Port **") + kCrLf2);
    prompt().message(
        withPortPermission(
            QStringLiteral("The comm port that you selected for DX Spotting is either in use, "
                           "invalid or the settings that you have selected are invalid.  Please "
                           "select another combination or choose None for your DX Spot "
                           "selection."),
            comComm1->permissionText()),
        QStringLiteral("Invalid Comm Settings."), MsgButtons::Ok, MsgIcon::Information);
    if (!isVisible())
        showModal(*this);
    Command2_Click();
    Timer1->stop();
    --busy_;
}

void PacketSpotfrm::ReadTNCInput()
{
    if (waitingInput_.size() < IntakePortion && comComm1->isOpen())
        waitingInput_ += comComm1->inputText();
    if (waitingInput_.size() > MaxWaitingInput)
        waitingInput_.remove(0, waitingInput_.size() - MaxWaitingInput);
    TncInput = waitingInput_.left(IntakePortion);
    waitingInput_.remove(0, TncInput.size());
    if (TncInput.isEmpty())
        return;
    StreamBuffer.add(TncInput);
    if (StreamBuffer.buffer().size() > 2)
        SplitSpotLines();
    TncInput.clear();
}

void PacketSpotfrm::Form_KeyDown(int& KeyCode, int Shift)
{
    if (!(KeyCode == vk::Escape || (KeyCode == 'C' && Shift == shiftmask::Ctrl)))
        return;
    chkDX->setChecked(false);
    if (Label4->isHidden())
        Command1_Click();
    if (comComm1->isOpen() && isSource("TNC")) {
        const std::optional<char> ch = commandCharacter(txtHex->text());
        if (!ch || !comComm1->output(QByteArray(1, *ch)))
            return;
        KeyCode = 0;
        if (txtSent->isEnabled())
            txtSent->setFocus();
    }
    if (txtSent->text().isEmpty() && txtSent->isEnabled())
        txtSent->setFocus();
}

void PacketSpotfrm::txtSent_KeyPress(int& KeyAscii)
{
    if (KeyAscii == vk::Return) {
        if (Label4->isHidden())
            Command1_Click();
        if (isSource("TNC") && comComm1->isOpen())
            comComm1->outputText(txtSent->text() + u'\r');
        if (isSource("Telnet"))
            SendTelnetText();
        if (Timer1->isActive() && isSource("AGW Packet Engine"))
            SendAGWText();
        txtSent->clear();
    }
    if (isSource("AGW Packet Engine") && KeyAscii == vk::Escape)
        KeyAscii = ':';
    if (KeyAscii == vk::Escape || KeyAscii == vk::Return)
        KeyAscii = 0;
}

// ---------------------------------------------------------------------------
// The Telnet link

void PacketSpotfrm::ConnectTelnet()
{
    telnetIntake_.reset();
    // An empty host or a port that is not 1 to 65535 is reported at once
    // as an invalid setting, so "Listening" never stands over no
    // connection.
    const QString target = telnetLink->connectTo(txtTelnetHost->text(), txtTelnetPort->text());
    if (target.isEmpty())
        return; // failed at once; reported
    paneReplace(QStringLiteral("Attempting connection to: ") + target + kCrLf2);
    Timer1->start();
}

void PacketSpotfrm::Winsock1_DataArrival(const QString& chunk)
{
    telnetIntake_.take(
        chunk, pane_, chkDX->isChecked(),
        [this](const QString& frequency, const QString& call, const QString& line) {
            forwardSpot(frequency, call, line);
        },
        [this] { TrimSpotDisplay(); });
}

void PacketSpotfrm::forwardSpot(const QString& frequency, const QString& call, const QString& line)
{
    QString f = frequency;
    QString c = call;
    QString l = line;
    ForwardSpot(f, c, l);
}

void PacketSpotfrm::Winsock1_Error(int Number)
{
    // The link reports each failure once, and none after our own close.
    pane_.append(winsockErrorText(Number));
    Command2_Click();
    TrimSpotDisplay();
    prompt().beep();
}

void PacketSpotfrm::SendTelnetText()
{
    if (telnetLink->sendLine(txtSent->text()))
        return;
    pane_.append(QStringLiteral("**  Connection not yet established.  Please wait a moment and try "
                                "again.")
                 + kCrLf2);
    TrimSpotDisplay();
}

// ---------------------------------------------------------------------------
// The AGW Packet Engine link

void PacketSpotfrm::ConnectAGW()
{
    const QString title = AgwSpotLink::registrationTitle(DefaultInstance<Form1>().windowTitle());
    if (!agwLink.startRegistration(*agwEngine, StationSettings::instance().OwnCall, title)) {
        prompt().beep();
        prompt().message(QStringLiteral("Please enter your call sign on the setup form to transmit!"),
                         QStringLiteral("Call Sign Required!"), MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    agwAwaiting_ = true; // answered through registered()
}

void PacketSpotfrm::onAgwRegistered(bool ok)
{
    if (!agwAwaiting_ || !isSource("AGW Packet Engine"))
        return;
    agwAwaiting_ = false;
    if (ok) {
        Timer1->start();
        paneAppend(AgwSpotLink::registeredNotice());
        return;
    }
    ++busy_;
    prompt().message(AgwSpotLink::unableMessage(),
                     QStringLiteral("Unable to connect to the AGW Packet Engine."), MsgButtons::Ok,
                     MsgIcon::Information);
    // The report closes the link itself: Close Port finds "Listening"
    // hidden and would leave the engine's connection open.
    Label4->hide();
    paneAppend(AgwSpotLink::unablePaneText());
    if (!isVisible())
        show();
    Command2_Click();
    agwEngine->close();
    Timer1->stop();
    --busy_;
}

void PacketSpotfrm::SendAGWText()
{
    if (!agwLink.sendText(txtSent->text(), *agwEngine))
        prompt().message(QStringLiteral("You must enter a call sign to connect to such as :C Brelvox"),
                         QStringLiteral("Call sign Required"), MsgButtons::Ok, MsgIcon::Information);
}

void PacketSpotfrm::txtSent_Change()
{
    const QString t = txtSent->text();
    if (!Timer1->isActive() || !isSource("AGW Packet Engine") || !AgwSpotLink::wrapDue(t))
        return;
    {
        const QSignalBlocker block(txtSent);
        txtSent->setText(t.left(t.size() - 1));
    }
    SendAGWText();
    txtSent->clear();
}

void PacketSpotfrm::PollAGWFrames()
{
    AgwSpotEvents events;
    events.forward = [this](const QString& frequency, const QString& call, const QString& line) {
        forwardSpot(frequency, call, line);
    };
    events.paneChanged = [this] { TrimSpotDisplay(); };
    events.connected = [this](const QString& call) {
        setWindowTitle(QStringLiteral("DX Spotting Setup - Connected to ") + call);
        prompt().beep();
    };
    events.disconnected = [this](const QString&) {
        prompt().beep();
        prompt().beep();
        setWindowTitle(QStringLiteral("DX Spotting Setup"));
    };
    agwLink.poll(*agwEngine, pane_, chkDX->isChecked(), events);
}

// ---------------------------------------------------------------------------
// Keys

bool PacketSpotfrm::handleKey(QObject* target, QKeyEvent* e)
{
    int code = keyDownCode(e);
    if (code != 0) {
        Form_KeyDown(code, shiftState(e));
        if (code == 0)
            return true;
    }
    if (target != txtSent)
        return false;
    int ascii = keyPressCode(e);
    if (ascii == 0)
        return false;
    const int typed = ascii;
    txtSent_KeyPress(ascii);
    if (ascii == 0)
        return true;
    if (ascii != typed) {
        txtSent->insert(QString(QChar(ascii)));
        return true;
    }
    return false;
}

bool PacketSpotfrm::eventFilter(QObject* watched, QEvent* e)
{
    // Only controls that take the focus are watched, so a key passed on to
    // the frames around one is not handled twice.
    if (e->type() == QEvent::KeyPress && watched->isWidgetType())
        return handleKey(watched, static_cast<QKeyEvent*>(e));
    return QDialog::eventFilter(watched, e);
}

void PacketSpotfrm::keyPressEvent(QKeyEvent* e)
{
    // Keys the focused control did not take (Esc, Enter) stop here: the
    // window has no default or cancel button.
    if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

} // namespace zq
