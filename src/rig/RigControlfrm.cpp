#include "rig/RigControlfrm.h"

#include "common/DoneOnly.h"
#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/Form1.h"
#include "common/ModalShow.h"
#include "common/NamedControls.h"
#include "common/OperatorChoice.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "logstore/StationSettings.h"
#include "platform/PortAccess.h"
#include "platform/Prompt.h"
#include "platform/QuotedText.h"
#include "platform/SafeFile.h"
#include "platform/SerialPort.h"
#include "rig/RigConversions.h"
#include "rig/RigDecoders.h"
#include "rig/RigPoll.h"
#include "rig/frmFrequencyTest.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace zq {

namespace {

const QString kPegasus = QStringLiteral("Ten Tec Pegasus");
const QString kNoResponse = QStringLiteral("No Response");

// The file is a few hundred bytes; the bound keeps a stray file from
// being read whole.
constexpr qint64 MaxRigCntrlFile = 64 * 1024;

int checkValue(const QCheckBox& box)
{
    switch (box.checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void setCheckValue(QCheckBox& box, int value)
{
    box.setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, double left,
                        double top, double width, double height = 375)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    placeControl(*b, left, top, width, height);
    return b;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const char* caption, double left,
                     double top, double width)
{
    auto* c = new QCheckBox(QString::fromLatin1(caption), parent);
    c->setObjectName(QLatin1String(name));
    placeControl(*c, left, top, width, 255);
    return c;
}

QLabel* wrapped(QLabel* l)
{
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

} // namespace

QString& RigControlfrm::RigType()
{
    return StationSettings::instance().RigType;
}

RigControlfrm::RigControlfrm()
{
    setObjectName(QStringLiteral("RigControlfrm"));
    setWindowTitle(QStringLiteral(" Rig Interface Setup"));
    makeDoneOnly(*this);
    comComm1 = new SerialPort(this);
    comComm1->setObjectName(QStringLiteral("comComm1"));
    // A rig whose port went away (a USB adapter pulled) shows as after End
    // Test: no polling, no readings.
    connect(comComm1, &SerialPort::lost, this, [this] { Command2_Click(); });
    tmrGetData = new QTimer(this);
    tmrGetData->setObjectName(QStringLiteral("tmrGetData"));
    tmrGetData->setInterval(1000);
    connect(tmrGetData, &QTimer::timeout, this, [this] { tmrGetData_Timer(); });
    stepTimer_ = new QTimer(this);
    stepTimer_->setSingleShot(true);
    stepTimer_->setTimerType(Qt::PreciseTimer);
    connect(stepTimer_, &QTimer::timeout, this, [this] { runCommandSteps(); });
    buildControls();
}

RigControlfrm::~RigControlfrm() = default;

void RigControlfrm::buildControls()
{
    setFormWidth(*this, 9400);
    setFormHeight(*this, 7000);

    // Column 1: the rig list, the poll strings, "Mode by:" and the boxes.
    Label1 = makeNamedLabel(this, QStringLiteral("Label1"), QStringLiteral("Select Rig:"), 120, 120,
                            2300, 255);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    placeControl(*List1, 120, 400, 2300, 3000);
    Label4 = makeNamedLabel(this, QStringLiteral("Label4"), QStringLiteral("String to read frequency:"),
                            120, 3500, 2300, 255);
    txtFreq = makeNamedBox(this, QStringLiteral("txtFreq"), QString(), 120, 3760, 2300);
    Label3 = makeNamedLabel(this, QStringLiteral("Label3"), QStringLiteral("String to read mode:"),
                            120, 4100, 2300, 255);
    txtMode = makeNamedBox(this, QStringLiteral("txtMode"), QString(), 120, 4360, 2300);

    Frame1 = makeNamedFrame(this, QStringLiteral("Frame1"), QStringLiteral("Mode by:"), 120, 4740,
                            2300, 1150);
    OptRig = makeNamedOption(Frame1, QStringLiteral("OptRig"), QStringLiteral("Rig"), 120, 280, 2000);
    OptFreq = makeNamedOption(Frame1, QStringLiteral("OptFreq"), QStringLiteral("Frequency"), 120,
                              560, 2000);
    OptDont = makeNamedOption(Frame1, QStringLiteral("OptDont"), QStringLiteral("Don't Use"), 120,
                              840, 2000);
    OptRig->setChecked(true);
    chkFrequency = makeCheck(this, "chkFrequency", "Use Frequency", 120, 5980, 2300);
    chkFrequency->setChecked(true);
    chkConvToHex = makeCheck(this, "chkConvToHex", "Convert to Hex", 120, 6260, 2300);
    chkConvToHex->setEnabled(false);
    ChkConvHex = makeCheck(this, "ChkConvHex", "Convert from Hex", 120, 6540, 2300);

    // Column 2: the serial settings.
    const double c2 = 2540, w2 = 2600;
    fraBaud = makeNamedFrame(this, QStringLiteral("fraBaud"), QStringLiteral("Baud Rate (k):"), c2,
                             120, w2, 1260);
    auto baud = [this](const char* name, const char* caption, int i) {
        return makeNamedOption(fraBaud, QLatin1String(name), QLatin1String(caption),
                               120 + (i % 3) * 820, 280 + (i / 3) * 300, 800);
    };
    optBaud12 = baud("optBaud12", "1.2", 0);
    optBaud24 = baud("optBaud24", "2.4", 1);
    optBaud48 = baud("optBaud48", "4.8", 2);
    optBaud96 = baud("optBaud96", "9.6", 3);
    optBaud144 = baud("optBaud144", "14.4", 4);
    optBaud192 = baud("optBaud192", "19.2", 5);
    optBaud288 = baud("optBaud288", "28.8", 6);
    optBaud384 = baud("optBaud384", "38.4", 7);
    optBaud560 = baud("optBaud560", "56", 8);
    optBaud560->setChecked(true);

    auto across = [](QGroupBox* f, const char* name, const char* caption, int i, double step) {
        return makeNamedOption(f, QLatin1String(name), QLatin1String(caption), 120 + i * step, 300,
                               step - 20);
    };
    fraParity = makeNamedFrame(this, QStringLiteral("fraParity"), QStringLiteral("Parity:"), c2, 1480,
                               w2, 660);
    optParityOdd = across(fraParity, "optParityOdd", "Odd", 0, 800);
    optParityNone = across(fraParity, "optParityNone", "None", 1, 800);
    optParityEven = across(fraParity, "optParityEven", "Even", 2, 800);
    optParityNone->setChecked(true);
    fraData = makeNamedFrame(this, QStringLiteral("fraData"), QStringLiteral("Data Bits:"), c2, 2240,
                             w2, 660);
    optData7 = across(fraData, "optData7", "7", 0, 800);
    optData8 = across(fraData, "optData8", "8", 1, 800);
    optData8->setChecked(true);
    fraStop = makeNamedFrame(this, QStringLiteral("fraStop"), QStringLiteral("Stop Bits:"), c2, 3000,
                             w2, 660);
    optStop1 = across(fraStop, "optStop1", "1", 0, 800);
    optStop2 = across(fraStop, "optStop2", "2", 1, 800);
    optStop1->setChecked(true);
    fraPower = makeNamedFrame(this, QStringLiteral("fraPower"), QStringLiteral("Connection Power:"),
                              c2, 3760, w2, 660);
    optPowerNone = across(fraPower, "optPowerNone", "None", 0, 800);
    optPowerRTS = across(fraPower, "optPowerRTS", "RTS", 1, 800);
    optPowerDTR = across(fraPower, "optPowerDTR", "DTR", 2, 800);
    optPowerNone->setChecked(true);
    fraPoll = makeNamedFrame(this, QStringLiteral("fraPoll"), QStringLiteral("Radio Polling Rate:"),
                             c2, 4520, w2, 960);
    optPollFast = makeNamedOption(fraPoll, QStringLiteral("optPollFast"), QStringLiteral("100 ms"),
                                  120, 280, 1200);
    optPollMed = makeNamedOption(fraPoll, QStringLiteral("optPollMed"), QStringLiteral("500 ms"),
                                 1320, 280, 1200);
    optPollSlow = makeNamedOption(fraPoll, QStringLiteral("optPollSlow"), QStringLiteral("2 Sec"),
                                  120, 580, 1200);
    optReallySlow = makeNamedOption(fraPoll, QStringLiteral("optReallySlow"),
                                    QStringLiteral("10 Sec"), 1320, 580, 1200);
    optPollMed->setChecked(true);
    Label10 = wrapped(makeNamedLabel(
        this, QStringLiteral("Label10"),
        QStringLiteral("Icom radio users will have to replace the 64 in the string with the ID for "
                       "your particular radio.  Please check your Icom user's manual for details."),
        c2, 5560, w2, 1300));
    Label10->hide();

    // Column 3: the port, the buttons, the results and the notices.
    const double c3 = 5260, w3 = 4000;
    fraPort = makeNamedFrame(this, QStringLiteral("fraPort"), QStringLiteral("Comm Port:"), c3, 120,
                             w3, 960);
    for (int i = 0; i < 10; ++i)
        optComm.set(i, makeNamedOption(fraPort, QStringLiteral("optComm%1").arg(i),
                                       QString::number(i + 1), 120 + (i % 5) * 760,
                                       280 + (i / 5) * 300, 740));
    optComm(0)->setChecked(true);

    Command1 = makeButton(this, "Command1", "Test", c3, 1200, 1300);
    Command2 = makeButton(this, "Command2", "End Test", c3 + 1400, 1200, 1300);
    Command2->setEnabled(false);
    cmdDone = makeButton(this, "cmdDone", "&Done", c3 + 2800, 1200, 1200);
    // The copy button has a row of its own, wide enough for its caption.
    Command3 = makeButton(this, "Command3", "Change Frequency", c3, 1640, 1900);
    Command4 = makeButton(this, "Command4", "Copy unprocessed data to clipboard", c3, 2080, w3);
    Label2 = makeNamedLabel(this, QStringLiteral("Label2"), QStringLiteral("Polling Rig"), c3, 2520,
                            w3, 255);
    Label2->hide();
    Label7 = makeNamedLabel(this, QStringLiteral("Label7"), QStringLiteral("Frequency:"), c3, 2780,
                            1100, 255);
    lblFreq = makeNamedLabel(this, QStringLiteral("lblFreq"), QString(), c3 + 1150, 2780, 2800, 255);
    Label5 = makeNamedLabel(this, QStringLiteral("Label5"), QStringLiteral("Mode:"), c3, 3040, 1100,
                            255);
    lblMode = makeNamedLabel(this, QStringLiteral("lblMode"), QString(), c3 + 1150, 3040, 1000, 255);
    Label9 = makeNamedLabel(this, QStringLiteral("Label9"), QStringLiteral("Should be PH or CW"),
                            c3 + 2200, 3040, 1800, 255);
    Label6 = makeNamedLabel(this, QStringLiteral("Label6"),
                            QStringLiteral("Unprocessed data returned:"), c3, 3300, w3, 255);
    lblUnProcess = wrapped(makeNamedLabel(this, QStringLiteral("lblUnProcess"), QString(), c3, 3560,
                                          w3, 380));
    lblUnProcess->setTextFormat(Qt::PlainText);
    Line1 = new LineControl(this, c3, 3980, c3 + w3, 3980);
    Line1->setObjectName(QStringLiteral("Line1"));
    Label8 = wrapped(makeNamedLabel(
        this, QStringLiteral("Label8"),
        QStringLiteral(
            "To use the Rig Control interface, select the appropriate parameters for your radio and "
            "click test.  Be sure to select the connection power option if your interface requires "
            "it.  From the main form, when changing bands on your radio the band on this program "
            "should automatically change.  If you need an interface for your rig, please check our "
            "website for hardware purchase options."),
        c3, 4020, w3, 900));
    Label11 = wrapped(makeNamedLabel(
        this, QStringLiteral("Label11"),
        QStringLiteral(
            "Please consider this rig interface section of code a beta version.  I have only been "
            "able to test it personally on a Kenwood radio.  I have received reports of success for "
            "all the listed rigs.  If you have a rig that isn't listed and would like to do some "
            "testing, you can click Other from the list above, send commands as detailed in your "
            "radio's manual and view the radio's response below.  Letting me know the commands for "
            "your radio and the format of the respose will be a huge help for supporting additional "
            "rigs."),
        c3, 4940, w3, 1120));
    Label12 = wrapped(makeNamedLabel(
        this, QStringLiteral("Label12"),
        QStringLiteral(
            "I have added additional code so that by right clicking on a DX spot that is being "
            "displayed on the DX spotting band map, your radio will change to the spot frequency.  "
            "Most Elecrafts, Icoms, Kenwoods and Yaesus are now supported.  If you would like to "
            "help develop and test this feature for other rigs, please click the Change Frequency "
            "button."),
        c3, 6080, w3, 780));
    // The notices in small print.
    for (QLabel* l : {Label8, Label11, Label12, Label10})
        setFontSize(*l, 6);

    // Handlers.
    // Only a choice selects an entry: the focus arriving in the list makes
    // a row current without selecting it, and that chooses nothing.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!List1->selectedItems().isEmpty())
            List1_Click();
    });
    connect(txtFreq, &QLineEdit::textChanged, this, [this] { txtFreq_Change(); });
    connect(txtMode, &QLineEdit::textChanged, this, [this] { txtMode_Change(); });
    connect(txtFreq, &EntryBox::focusGained, this, [this] { Command2_Click(); });
    connect(txtMode, &EntryBox::focusGained, this, [this] { Command2_Click(); });
    connect(chkConvToHex, &QCheckBox::stateChanged, this, [this] { chkConvToHex_Click(); });
    onOperatorChoice(OptRig, this, [this] { OptRig_Click(); });
    onOperatorChoice(OptFreq, this, [this] { OptFreq_Click(); });
    onOperatorChoice(OptDont, this, [this] { OptDont_Click(); });
    for (QGroupBox* frame : {fraBaud, fraParity, fraData, fraStop, fraPort, fraPower, fraPoll}) {
        for (QRadioButton* b : frame->findChildren<QRadioButton*>())
            onOperatorChoice(b, this, [this] { Command2_Click(); });
    }
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
}

void RigControlfrm::Form_Load()
{
    FitWindow(*this, FitParameters::toWorkAreaCentred(FitParameters::ControlRatios::OuterAfterOverBefore,
                                                      FitParameters::ControlFont::WidthRatioCapped));

    const QSignalBlocker block(List1);
    List1->addItems(rigTypeNames());
    List1->setCurrentRow(-1);
    LoadingRigSettings = 1;
    LoadRigSettings();
    LoadingRigSettings = 0;
    LoadBandPlan();
    KenwoodVfo = 10;
}

// ---------------------------------------------------------------------------
// Rig types and settings

QList<QPair<QRadioButton*, QString>> RigControlfrm::baudButtons() const
{
    return {{optBaud12, QStringLiteral("1200")},   {optBaud24, QStringLiteral("2400")},
            {optBaud48, QStringLiteral("4800")},   {optBaud96, QStringLiteral("9600")},
            {optBaud144, QStringLiteral("14400")}, {optBaud192, QStringLiteral("19200")},
            {optBaud288, QStringLiteral("28800")}, {optBaud384, QStringLiteral("38400")},
            {optBaud560, QStringLiteral("56000")}};
}

QList<QPair<QRadioButton*, QString>> RigControlfrm::parityButtons() const
{
    return {{optParityOdd, QStringLiteral("O")},
            {optParityNone, QStringLiteral("N")},
            {optParityEven, QStringLiteral("E")}};
}

QList<QPair<QRadioButton*, QString>> RigControlfrm::dataButtons() const
{
    return {{optData7, QStringLiteral("7")}, {optData8, QStringLiteral("8")}};
}

QList<QPair<QRadioButton*, QString>> RigControlfrm::stopButtons() const
{
    return {{optStop1, QStringLiteral("1")}, {optStop2, QStringLiteral("2")}};
}

QList<QPair<QRadioButton*, QString>> RigControlfrm::powerButtons() const
{
    return {{optPowerNone, QStringLiteral("N")},
            {optPowerRTS, QStringLiteral("R")},
            {optPowerDTR, QStringLiteral("D")}};
}

QList<QPair<QRadioButton*, QString>> RigControlfrm::pollButtons() const
{
    return {{optPollFast, QStringLiteral("F")},
            {optPollMed, QStringLiteral("M")},
            {optPollSlow, QStringLiteral("S")},
            {optReallySlow, QStringLiteral("R")}};
}

void RigControlfrm::selectByText(const QList<QPair<QRadioButton*, QString>>& group,
                                 const QString& text)
{
    for (const auto& [button, value] : group)
        setOptionValue(*button, value == text);
}

void RigControlfrm::List1_Click()
{
    if (LoadingRigSettings == 1)
        return;
    Command2_Click();
    const QList<QListWidgetItem*> chosen = List1->selectedItems();
    RigType() = chosen.isEmpty() ? QString() : chosen.first()->text();

    txtFreq->setText(QString());
    txtMode->setText(QString());
    setCheckValue(*chkConvToHex, 0);
    chkConvToHex->setEnabled(false);
    Label10->hide();

    const std::optional<RigTypeDefaults> d = rigTypeDefaults(RigType());
    if (!d)
        return;
    // Selecting a serial option from code ends the test as a click does;
    // the test has just been ended, so only the selection matters here.
    auto select = [](const QList<QPair<QRadioButton*, QString>>& group, const QString& text) {
        if (text.isEmpty())
            return;
        for (const auto& [button, value] : group) {
            if (value == text)
                button->setChecked(true);
        }
    };
    select(baudButtons(), d->baud);
    select(dataButtons(), d->dataBits);
    select(stopButtons(), d->stopBits);
    select(parityButtons(), d->parity);
    txtFreq->setText(d->freqPoll);
    txtMode->setText(d->modePoll);
    Label10->setVisible(d->icomNote);
    setCheckValue(*chkConvToHex, d->convertToHex);
    if (RigType() == QLatin1String("Other"))
        chkConvToHex->setEnabled(true);
}

void RigControlfrm::txtFreq_Change()
{
    RigSettings.FreqPoll = txtFreq->text();
}

void RigControlfrm::txtMode_Change()
{
    RigSettings.ModePoll = txtMode->text();
}

void RigControlfrm::chkConvToHex_Click()
{
    ChkConvHex->setCheckState(chkConvToHex->checkState());
}

void RigControlfrm::captureSettings()
{
    ::zq::RigSettings& s = RigSettings;
    for (int i = 0; i <= 9; ++i) {
        if (optComm(i)->isChecked())
            s.PortNumber = static_cast<uint8_t>(i + 1);
    }
    auto first = [](const QList<QPair<QRadioButton*, QString>>& group, QString& into, int width) {
        for (const auto& [button, value] : group) {
            if (button->isChecked()) {
                into = fixedWidth(value, width);
                return;
            }
        }
    };
    first(baudButtons(), s.BaudRate, 5);
    first(parityButtons(), s.Parity, 1);
    first(dataButtons(), s.DataBits, 1);
    first(stopButtons(), s.StopBits, 1);
    s.PortSettings = portSettingsOf(s);
    first(powerButtons(), s.PowerLine, 1);
    first(pollButtons(), s.PollRate, 1);
}

void RigControlfrm::LoadRigSettings()
{
    const QString path = Folders::workingFile(QStringLiteral("RigCntrl.txt"));
    QFile f;
    if (!openRegularFile(f, path))
        return;
    const RigCntrlRead r = parseRigCntrl(f.read(MaxRigCntrlFile), RigSettings, RigType());
    f.close();
    RigSettings = r.settings;
    RigType() = r.RigType;
    if (!r.complete())
        return; // the controls are set only from a whole file

    // A value the controls do not take ends the loading there.
    if (r.ConvToHex < 0 || r.ConvToHex > 2)
        return;
    setCheckValue(*chkConvToHex, r.ConvToHex);
    if (r.UseFrequency < 0 || r.UseFrequency > 2)
        return;
    setCheckValue(*chkFrequency, r.UseFrequency);
    switch (r.ModeBy) {
    case 1: OptRig->setChecked(true); OptRig_Click(); break;
    case 2: OptFreq->setChecked(true); OptFreq_Click(); break;
    case 3: OptDont->setChecked(true); OptDont_Click(); break;
    default: break; // "Mode by:" stays as it was
    }
    txtFreq->setText(RigSettings.FreqPoll);
    txtMode->setText(RigSettings.ModePoll);

    const QList<QListWidgetItem*> found = List1->findItems(RigType(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty())
        List1->setCurrentRow(-1);
    else
        List1->setCurrentItem(found.first());
    if (RigType() == QLatin1String("Other"))
        chkConvToHex->setEnabled(true);
    if (RigType() == QLatin1String("Icom"))
        Label10->show();

    if (RigSettings.PortNumber < 1 || RigSettings.PortNumber > 10)
        return;
    optComm(RigSettings.PortNumber - 1)->setChecked(true);
    QString baud = RigSettings.BaudRate;
    while (baud.endsWith(QLatin1Char(' ')))
        baud.chop(1);
    selectByText(baudButtons(), baud);
    selectByText(parityButtons(), RigSettings.Parity);
    selectByText(dataButtons(), RigSettings.DataBits);
    selectByText(stopButtons(), RigSettings.StopBits);
    selectByText(powerButtons(), RigSettings.PowerLine);
    selectByText(pollButtons(), RigSettings.PollRate);
    // Selecting the options ends the test, as their clicks do.
    Command2_Click();
}

bool RigControlfrm::SaveRigSettings()
{
    int modeBy = 1;
    if (OptFreq->isChecked())
        modeBy = 2;
    if (OptDont->isChecked())
        modeBy = 3;
    const QByteArray content = formatRigCntrl(RigSettings, RigType(), checkValue(*chkConvToHex),
                                              checkValue(*chkFrequency), modeBy);
    QString error;
    if (!writeFileAtomically(Folders::workingFile(QStringLiteral("RigCntrl.txt")), content, &error)) {
        prompt().beep();
        prompt().message(QStringLiteral("The rig settings could not be saved in RigCntrl.txt.\n%1")
                             .arg(error),
                         QStringLiteral("Error writing file."), MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Test, End Test, Done

void RigControlfrm::Command1_Click()
{
    const QString t = RigType();
    if (!isNoRig(t)) {
        lblMode->setText(kNoResponse);
        lblFreq->setText(kNoResponse);
        Command2->setEnabled(true);
        Label2->show();
        RigMode.clear();
    }
    captureSettings();
    if (isNoRig(t))
        return;
    if (t != kPegasus)
        OpenRigPort();
    if (comComm1->isOpen() || t == kPegasus) {
        tmrGetData_Timer();
        StartPolling();
    } else {
        Command2->setEnabled(false);
        Label2->hide();
    }
}

void RigControlfrm::OpenRigPort()
{
    const QString t = RigType();
    comComm1->close();
    comComm1->setCommPort(RigSettings.PortNumber);
    if (t == QLatin1String("Ten Tec Fnt Pnl") || t == QLatin1String("Ten Tec Orion"))
        comComm1->setHandshaking(Handshaking::Rts); // and so for the rest of the run
    bool ok = comComm1->setSettings(RigSettings.PortSettings);
    if (ok) {
        comComm1->setDTREnable(false);
        comComm1->setRTSEnable(false);
        ok = comComm1->open();
    }
    if (ok) {
        if (RigSettings.PowerLine == QLatin1String("R"))
            comComm1->setRTSEnable(true);
        else if (RigSettings.PowerLine == QLatin1String("D"))
            comComm1->setDTREnable(true);
        if (isYaesuFiveByte(t))
            ok = comComm1->output(QByteArray(5, '\0'));
        if (ok && t == QLatin1String("Ten Tec Orion"))
            ok = comComm1->output("X\r");
    }
    if (ok)
        return;
    prompt().beep();
    prompt().message(
        withPortPermission(
            QStringLiteral("The comm port that you selected for rig interface is either in use, "
                           "invalid or the settings that you have selected are invalid.  Please "
                           "select another combination or choose None for your rig selection."),
            comComm1->permissionText()),
        QStringLiteral("Invalid Comm Settings."), MsgButtons::Ok, MsgIcon::Information);
    if (!isVisible())
        showModal(*this);
}

void RigControlfrm::StartPolling()
{
    if (const std::optional<int> ms = pollIntervalMs(RigSettings.PollRate))
        tmrGetData->setInterval(*ms);
    tmrGetData->start();
}

void RigControlfrm::Command2_Click()
{
    lblMode->setText(QString());
    lblFreq->setText(QString());
    lblUnProcess->setText(QString());
    tmrGetData->stop();
    Label2->hide();
    Command2->setEnabled(false);
    comComm1->close();
}

void RigControlfrm::cmdDone_Click()
{
    if (!isNoRig(RigType()))
        Command1_Click();
    DefaultInstance<Form1>().SavePref();
    if (!SaveRigSettings())
        return;
    hide();
}

void RigControlfrm::Command3_Click()
{
    if (tmrGetData->isActive()) {
        showModal(DefaultInstance<frmFrequencyTest>());
        WindowRegistry::unload<frmFrequencyTest>();
        return;
    }
    prompt().message(QStringLiteral("You must be polling your rig to test this function.  Please "
                                    "select your rig type and click the Test command button."),
                     QStringLiteral("You must be polling your rig to test this function."),
                     MsgButtons::Ok, MsgIcon::Information);
}

void RigControlfrm::Command4_Click()
{
    QClipboard* c = QGuiApplication::clipboard();
    c->clear();
    c->setText(lblUnProcess->text());
    cmdDone->setFocus();
}

void RigControlfrm::OptRig_Click()
{
    lblMode->setText(kNoResponse);
    RigMode.clear();
}

void RigControlfrm::OptFreq_Click()
{
    OptRig_Click();
}

void RigControlfrm::OptDont_Click()
{
    OptRig_Click();
}

// ---------------------------------------------------------------------------
// The poll cycle

void RigControlfrm::tmrGetData_Timer()
{
    // A tick that arrives while one is still running (a message box of the
    // log window's band change runs its own event loop) waits for the next.
    if (inTick_)
        return;
    inTick_ = true;
    if (AwaitingReply == 0)
        sendPhase();
    else
        receivePhase();
    inTick_ = false;
}

void RigControlfrm::sendPhase()
{
    const QString t = RigType();
    if (t != kPegasus && !comComm1->isOpen())
        return; // a failed phase: the next tick tries again
    if (comComm1->outBufferCount() == 0) {
        const PollQuery q = buildQuery(t, RigSettings, AlternateQuery,
                                       chkConvToHex->checkState() == Qt::Checked);
        if (q.dropInputFirst)
            comComm1->discardInput();
        for (const QByteArray& w : q.writes) {
            if (!comComm1->output(w))
                return;
        }
        if (q.alternates)
            AlternateQuery = AlternateQuery == 0 ? 1 : 0;
    }
    AwaitingReply = 1;
    RigReply.clear();
}

void RigControlfrm::receivePhase()
{
    const QString t = RigType();
    if (t != kPegasus) {
        if (!comComm1->isOpen())
            return; // a failed phase: the next tick reads again
        RigReply = comComm1->input();
        if (RigReply.size() > MaxReply)
            RigReply = RigReply.right(MaxReply);
    }
    if (t == kPegasus || !RigReply.isEmpty()) {
        const RigReading r = t == kPegasus
                                 ? ReadPegasusFile()
                                 : decodeReply(t, RigReply, AlternateQuery == 1,
                                               RigSettings.FreqPoll, RigSettings.ModePoll);
        if (r.frequency)
            RigFrequency = *r.frequency;
        if (r.mode)
            RigMode = *r.mode;
        if (r.vfo)
            KenwoodVfo = *r.vfo;
        if (OptFreq->isChecked())
            ModeFromSubBand();
        if (isVisible()) {
            if (RigFrequency > 0)
                lblFreq->setText(formatRigFrequency(RigFrequency));
            lblMode->setText(RigMode);
            lblUnProcess->setText(ChkConvHex->checkState() == Qt::Checked
                                      ? BytesToSpacedHex(RigReply)
                                      : QString::fromLatin1(RigReply));
        }
        // No frequency is known until a reply gave one: a contact never
        // gets 0 as its frequency.
        if (chkFrequency->checkState() == Qt::Checked && RigFrequency > 0)
            DefaultInstance<Form1>().BandFreqConversion(RigFrequency);
        if (!OptDont->isChecked())
            DefaultInstance<Form1>().ModeSelection(RigMode);
    }
    RigReply.clear();
    AwaitingReply = 0;
}

void RigControlfrm::ModeFromSubBand()
{
    if (const std::optional<QString> m = modeFromSubBand(RigFrequency))
        RigMode = *m;
}

void RigControlfrm::onUnload()
{
    cancelCommands();
    if (isYaesuFiveByte(RigType()) && tmrGetData->isActive()) {
        if (comComm1->output(QByteArray("\0\0\0\0\x80", 5)))
            comComm1->drain(CloseDrainMs);
    }
    tmrGetData->stop();
    comComm1->close();
}

} // namespace zq
