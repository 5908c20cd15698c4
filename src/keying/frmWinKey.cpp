#include "keying/frmWinKey.h"

#include "common/DoneOnly.h"
#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/NamedControls.h"
#include "common/OperatorChoice.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/WinKeyerSettings.h"
#include "logstore/CountyTable.h"
#include "logstore/StationSettings.h"
#include "platform/KeyingPorts.h"
#include "platform/PortAccess.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/QuotedText.h"
#include "platform/SafeFile.h"
#include "platform/WinKeyer.h"

#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace zq {

namespace {

const QString kSettingsFile = QStringLiteral("WK.txt");
constexpr int kPaceMs = 10; // between characters, and between status polls

// The number a box holds, when it holds one.
bool boxNumber(const EntryBox* box, double* out)
{
    return parseNumber(QuotedValue{box->text(), true}, out);
}

// The box's number as a byte (rounded, halves to even); false when it does
// not fit.
bool boxByte(const EntryBox* box, uint8_t* out)
{
    int n = 0;
    if (!parseWholeNumber(QuotedValue{box->text(), true}, 0, 255, &n))
        return false;
    *out = static_cast<uint8_t>(n);
    return true;
}

// Leaving a box whose value goes to the keyer when it lies in lo..hi: a
// text that is not a number (or a value that is no byte) becomes
// `fallback`; a number outside the range is kept and not sent.
void sendRangedBox(EntryBox* box, double lo, double hi, const char* fallback,
                   void (*send)(uint8_t))
{
    double v = 0;
    if (!boxNumber(box, &v)) {
        box->setText(QLatin1String(fallback));
        return;
    }
    if (v < lo || v > hi)
        return;
    uint8_t b = 0;
    if (!boxByte(box, &b)) {
        box->setText(QLatin1String(fallback));
        return;
    }
    send(b);
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, double left,
                        double top)
{
    auto* b = new QPushButton(QLatin1String(caption), parent);
    b->setObjectName(QLatin1String(name));
    placeControl(*b, left, top, 1200, 375);
    return b;
}

} // namespace

frmWinKey::frmWinKey()
{
    setObjectName(QStringLiteral("frmWinKey"));
    setWindowTitle(QStringLiteral(" WinKey Setup"));
    makeDoneOnly(*this);
    resize(twipsToPixelsX(8400), twipsToPixelsY(6360));

    makeNamedLabel(this, QStringLiteral("lblComPort"), QStringLiteral("Com Port:"), 240, 270, 1200,
                   255);
    txtWKComPort = makeNamedBox(this, QStringLiteral("txtWKComPort"), QStringLiteral("5"), 1560,
                                240, 600);
    makeNamedLabel(this, QStringLiteral("lblSettings"), QStringLiteral("Settings:"), 240, 750, 1200,
                   255);

    struct Row {
        EntryBox** box;
        const char* name;
        const char* label;
        const char* value;
        const char* help;
    };
    const Row rows[] = {
        {&txtWKWPM, "txtWKWPM", "WPM:", "18", nullptr},
        {&txtWeight, "txtWeight", "Weight:", "50",
         "Proportional amount added or subtracted (50 is standard)."},
        {&txtLeadIn, "txtLeadIn", "Lead In:", "0",
         "Lead in time for transmitter (10 ms increments)."},
        {&txtTail, "txtTail", "Tail:", "0",
         "Tail time after keying has stopped (10 ms increments)."},
        {&txtRatio, "txtRatio", "Ratio:", "50", "Ratio of dits to dahs (Range: 33 - 66)."},
    };
    double top = 1080;
    for (const Row& r : rows) {
        const QString name = QLatin1String(r.name);
        makeNamedLabel(this, QStringLiteral("lbl") + name.mid(3), QLatin1String(r.label), 240,
                       top + 30, 1200, 255);
        *r.box = makeNamedBox(this, name, QLatin1String(r.value), 1560, top, 600);
        if (r.help)
            makeNamedLabel(this, QStringLiteral("lblHelp") + name.mid(3), QLatin1String(r.help),
                           2280, top + 30, 5880, 255);
        top += 360;
    }

    framePin = makeNamedFrame(this, QStringLiteral("framePin"),
                              QStringLiteral("Pin 5 Configuration"), 240, 2940, 3840, 1500);
    optKey5Out3Off = makeNamedOption(framePin, QStringLiteral("optKey5Out3Off"),
                                     QStringLiteral("P5 Key Out, P3 Off"), 120, 300, 3600);
    optKey5Off3Out = makeNamedOption(framePin, QStringLiteral("optKey5Off3Out"),
                                     QStringLiteral("P5 Off, P3 Key Out"), 120, 570, 3600);
    optTone = makeNamedOption(framePin, QStringLiteral("optTone"), QStringLiteral("Tone"), 120, 840,
                              3600);
    optPTT = makeNamedOption(framePin, QStringLiteral("optPTT"), QStringLiteral("PTT"), 120, 1110,
                             3600);
    optTone->setChecked(true);

    frameMode = makeNamedFrame(this, QStringLiteral("frameMode"), QStringLiteral("Keyer Mode"),
                               4320, 2940, 3840, 1500);
    optBug = makeNamedOption(frameMode, QStringLiteral("optBug"), QStringLiteral("Bug Keyer"), 120,
                             300, 3600);
    optIambicA = makeNamedOption(frameMode, QStringLiteral("optIambicA"),
                                 QStringLiteral("Iambic A"), 120, 570, 3600);
    optIambicB = makeNamedOption(frameMode, QStringLiteral("optIambicB"),
                                 QStringLiteral("Iambic B"), 120, 840, 3600);
    optUltimatic = makeNamedOption(frameMode, QStringLiteral("optUltimatic"),
                                   QStringLiteral("Ultimatic"), 120, 1110, 3600);
    optIambicB->setChecked(true);

    makeNamedLabel(this, QStringLiteral("lblStatusCaption"), QStringLiteral("WinKey Status:"), 240,
                   4620, 1560, 255);
    lblOpenStatus = makeNamedLabel(this, QStringLiteral("lblOpenStatus"), QStringLiteral("Closed"),
                                   1920, 4620, 2400, 255);
    makeNamedLabel(this, QStringLiteral("lblVersionCaption"), QStringLiteral("WinKey Version:"),
                   4320, 4620, 1560, 255);
    lblVersion = makeNamedLabel(this, QStringLiteral("lblVersion"), QStringLiteral("Version #"),
                                6000, 4620, 2160, 255);
    makeNamedLabel(this, QStringLiteral("lblArrows"),
                   QStringLiteral("Up / down arrows from main form change speeds."), 240, 4980, 7920,
                   255);

    cmdOpenWinkey = makeButton(this, "cmdOpenWinkey", "Open", 240, 5520);
    cmdCloseWinkey = makeButton(this, "cmdCloseWinkey", "Close", 1800, 5520);
    Command3 = makeButton(this, "Command3", "Test", 3360, 5520);
    cmdStop = makeButton(this, "cmdStop", "Stop", 4920, 5520);
    cmdDone = makeButton(this, "cmdDone", "&Done", 6960, 5520);

    for (EntryBox* box : {txtWKComPort, txtWKWPM, txtWeight, txtLeadIn, txtTail, txtRatio}) {
        box->onKeyPress = [](int& k) { DigitsOnly(k); };
        box->characterFilter = DigitsOnly;
        box->installEventFilter(this);
    }
    const std::pair<QRadioButton*, uint8_t> pins[] = {
        {optKey5Out3Off, 8}, {optKey5Off3Out, 4}, {optTone, 6}, {optPTT, 5}};
    for (auto [option, value] : pins)
        onOperatorChoice(option, this, [this, v = value] { pinOption_Click(v); });
    const std::pair<QRadioButton*, uint8_t> modes[] = {
        {optBug, 48}, {optIambicA, 16}, {optIambicB, 0}, {optUltimatic, 32}};
    for (auto [option, value] : modes)
        onOperatorChoice(option, this, [this, v = value] { modeOption_Click(v); });

    connect(cmdOpenWinkey, &QPushButton::clicked, this, [this] { cmdOpenWinkey_Click(); });
    connect(cmdCloseWinkey, &QPushButton::clicked, this, [this] { cmdCloseWinkey_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });

    pumpTimer_ = new QTimer(this);
    pumpTimer_->setSingleShot(true);
    pumpTimer_->setTimerType(Qt::PreciseTimer);
    connect(pumpTimer_, &QTimer::timeout, this, [this] { pumpStep(); });
    connect(&WinKeyerLink::instance(), &WinKeyerLink::failed, this, [this] { onLinkFailed(); });
}

void frmWinKey::Form_Load()
{
    const QSizeF screen = workAreaTwips(this); // the available area, frame included
    ResizeFormToSize(*this, static_cast<float>(screen.width()), static_cast<float>(screen.height()),
                     9600, 7200, 0, 1.0f, QStringLiteral("Arial"));

    KeyingState& ks = KeyingState::instance();
    ks.WinKeyerPinConfig = 6;
    ks.WinKeyerKeyMode = 0;

    bool complete = true;
    const QString folder = Folders::instance().UserDirectory;
    if (!folder.isEmpty() && fileExistsIn(folder, kSettingsFile)) {
        const auto content = readWholeFile(fileIn(folder, kSettingsFile));
        const WinKeyerSettingsRead read =
            content ? parseWinKeyerSettings(*content) : WinKeyerSettingsRead{};
        const WinKeyerSettings& s = read.settings;
        const int n = read.valuesRead;
        if (n >= wkline::WinKeyerPort)
            ks.WinKeyerPort = s.WinKeyerPort;
        EntryBox* boxes[] = {txtWKWPM, txtWeight, txtLeadIn, txtTail, txtRatio};
        const QString* values[] = {&s.txtWKWPM, &s.txtWeight, &s.txtLeadIn, &s.txtTail,
                                   &s.txtRatio};
        for (int i = 0; i < 5 && wkline::txtWKWPM + i <= n; ++i)
            boxes[i]->setText(*values[i]);
        if (n >= wkline::WinKeyerPinConfig)
            ks.WinKeyerPinConfig = s.WinKeyerPinConfig;
        if (n >= wkline::WinKeyerKeyMode)
            ks.WinKeyerKeyMode = s.WinKeyerKeyMode;
        complete = read.complete;
    }
    // The keyer starts at the CW speed, unless the file broke off (then the
    // speed box keeps what it read).
    if (complete)
        txtWKWPM->setText(DefaultInstance<CWFrm>().Text[11]->text());
    // The port box and the options always show the values in force, so the
    // window never shows one port or pin setting while another is used.
    txtWKComPort->setText(QString::number(ks.WinKeyerPort));
    selectOptions();
}

void frmWinKey::selectOptions()
{
    const KeyingState& ks = KeyingState::instance();
    QRadioButton* pin = nullptr;
    switch (ks.WinKeyerPinConfig) {
    case 5: pin = optPTT; break;
    case 6: pin = optTone; break;
    case 4: pin = optKey5Off3Out; break;
    case 8: pin = optKey5Out3Off; break;
    default: break;
    }
    QRadioButton* mode = nullptr;
    switch (ks.WinKeyerKeyMode) {
    case 16: mode = optIambicA; break;
    case 0: mode = optIambicB; break;
    case 32: mode = optUltimatic; break;
    case 48: mode = optBug; break;
    default: break;
    }
    const uint8_t pinValue = ks.WinKeyerPinConfig;
    const uint8_t modeValue = ks.WinKeyerKeyMode;
    if (pin) {
        pin->setChecked(true);
        pinOption_Click(pinValue);
    }
    if (mode) {
        mode->setChecked(true);
        modeOption_Click(modeValue);
    }
}

void frmWinKey::onUnload()
{
    unloading_ = true;
    stopPump();
    opening_ = false;
    wk_close();
    KeyingPorts::instance().release(KeyingOwner::WinKeyer);
    KeyingState::instance().WinKeyerOpen = 0;
}

bool frmWinKey::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::FocusOut) {
        // Leaving a box for another control; not the window losing the
        // focus to another window.
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == txtWKComPort) txtWKComPort_LostFocus();
            else if (watched == txtWKWPM) txtWKWPM_LostFocus();
            else if (watched == txtWeight) txtWeight_LostFocus();
            else if (watched == txtLeadIn) txtLeadIn_LostFocus();
            else if (watched == txtTail) txtTail_LostFocus();
            else if (watched == txtRatio) txtRatio_LostFocus();
        }
    }
    return QDialog::eventFilter(watched, e);
}

void frmWinKey::DigitsOnly(int& KeyAscii)
{
    DigitKey(KeyAscii);
}

QString frmWinKey::openResultText(long result)
{
    switch (result) {
    case wkresult::Success: return QStringLiteral("WK Success!");
    case wkresult::NoEchoResponse: return QStringLiteral("No Echo Response");
    case wkresult::EchoMismatch: return QStringLiteral("Echo Mismatch");
    case wkresult::NoOpenResponse: return QStringLiteral("No Open Response");
    case wkresult::ComOpenFailed: return QStringLiteral("Com Open Failed");
    case wkresult::GetComStateFailed: return QStringLiteral("Get Com ST Failed");
    case wkresult::SetComStateFailed: return QStringLiteral("Set Com ST Failed");
    case wkresult::AlreadyOpen: return QStringLiteral("WK Already Open");
    case wkresult::NotOpen: return QStringLiteral("WK Not Open");
    default: return {};
    }
}

void frmWinKey::focusDone()
{
    if (isVisible())
        cmdDone->setFocus();
}

// ---------------------------------------------------------------------------
// Open and close

void frmWinKey::cmdOpenWinkey_Click()
{
    openKeyer({});
}

namespace {

// The keyer's claim on the keying ports: another keyer taking a port
// closes it, as its "Close" would.
void claimKeyingPort()
{
    KeyingPorts::instance().claim(KeyingOwner::WinKeyer, [] {
        WinKeyerLink& link = WinKeyerLink::instance();
        if (!link.isOpen() && !link.isBusyOpening())
            return;
        if (frmWinKey* w = WindowRegistry::existing<frmWinKey>())
            w->cmdCloseWinkey_Click();
        else
            wk_close();
    });
}

} // namespace

void frmWinKey::openKeyer(std::function<void()> after)
{
    const int port = KeyingState::instance().WinKeyerPort;
    QPointer<frmWinKey> self(this);
    // One serial port at a time serves keying: a CW key line and the voice
    // keyer's push-to-talk on serial ports give theirs up (the parallel
    // port is no serial port and stays).  An open or opening link keeps
    // its claim (the open then reports it is open already).
    WinKeyerLink& link = WinKeyerLink::instance();
    if (!link.isOpen() && !link.isBusyOpening())
        claimKeyingPort();
    wk_open(port, [self, port, after = std::move(after)](long result, uint8_t version) {
        if (!WinKeyerLink::instance().isOpen())
            KeyingPorts::instance().release(KeyingOwner::WinKeyer);
        if (!self || self->unloading_)
            return;
        if (result != wkresult::AlreadyOpen && version == 0)
            prompt().message(
                withPortPermission(
                    QStringLiteral("Unable to establish connection with WinKey on com port ")
                        + QString::number(port)
                        + QStringLiteral(".  Please check to make sure that you have specified "
                                         "the correct port and that the Winkey device is "
                                         "properly connected."),
                    result == wkresult::ComOpenFailed ? WinKeyerLink::instance().permissionText()
                                                      : QString()),
                QStringLiteral("Unable to establish connection with Winkey."));
        if (!self || self->unloading_)
            return;
        const QString text = openResultText(result);
        if (!text.isEmpty())
            self->lblOpenStatus->setText(text);
        if (result != wkresult::AlreadyOpen) {
            self->SendWinKeySettings();
            if (version > 0) {
                KeyingState::instance().WinKeyerOpen = version;
                self->lblVersion->setText(QStringLiteral("Version # ") + QString::number(version));
            }
        }
        self->focusDone();
        if (after)
            after();
    });
}

void frmWinKey::cmdCloseWinkey_Click()
{
    if (pumping_) {
        // The text that was waiting for the keyer goes with it.
        KeyingState::instance().CwSendBuffer.clear();
        endTransmit(true);
    }
    wk_close();
    KeyingPorts::instance().release(KeyingOwner::WinKeyer);
    lblOpenStatus->setText(QStringLiteral("Closed"));
    lblVersion->setText(QStringLiteral("Version #"));
    KeyingState::instance().WinKeyerOpen = 0;
    focusDone();
}

void frmWinKey::onLinkFailed()
{
    KeyingPorts::instance().release(KeyingOwner::WinKeyer);
    KeyingState& ks = KeyingState::instance();
    ks.WinKeyerOpen = 0;
    ks.WinKeyerStatus = 0;
    lblOpenStatus->setText(QStringLiteral("Closed"));
    lblVersion->setText(QStringLiteral("Version #"));
    if (pumping_ || opening_) {
        ks.CwSendBuffer.clear();
        endTransmit(true);
    }
}

// ---------------------------------------------------------------------------
// Settings

void frmWinKey::SendWinKeySettings()
{
    txtWKWPM_LostFocus();
    txtWeight_LostFocus();
    txtLeadIn_LostFocus(); // sends the tail too
    txtRatio_LostFocus();
    const KeyingState& ks = KeyingState::instance();
    wk_pincfg(ks.WinKeyerPinConfig);
    wk_setmode(ks.WinKeyerKeyMode);
}

void frmWinKey::txtWKComPort_LostFocus()
{
    double v = 0;
    if (!boxNumber(txtWKComPort, &v))
        txtWKComPort->setText(QStringLiteral("0"));
    uint8_t port = 0;
    KeyingState::instance().WinKeyerPort = boxByte(txtWKComPort, &port) ? port : 0;
}

void frmWinKey::txtWKWPM_LostFocus()
{
    sendRangedBox(txtWKWPM, 0, 99, "18", &wk_wpm);
}

void frmWinKey::txtWeight_LostFocus()
{
    sendRangedBox(txtWeight, 0, 99, "50", &wk_weight);
}

void frmWinKey::txtRatio_LostFocus()
{
    sendRangedBox(txtRatio, 32, 67, "50", &wk_ditdah_ratio);
}

void frmWinKey::txtLeadIn_LostFocus()
{
    leadTailLostFocus(txtLeadIn);
}

void frmWinKey::txtTail_LostFocus()
{
    leadTailLostFocus(txtTail);
}

void frmWinKey::leadTailLostFocus(EntryBox* left)
{
    uint8_t lead = 0;
    uint8_t tail = 0;
    if (boxByte(txtLeadIn, &lead) && boxByte(txtTail, &tail)) {
        wk_ptt_leadtail(lead, tail);
        return;
    }
    left->setText(QStringLiteral("0"));
}

void frmWinKey::pinOption_Click(uint8_t config)
{
    KeyingState::instance().WinKeyerPinConfig = config;
    if (KeyingState::instance().WinKeyerOpen != 0)
        SendWinKeySettings();
}

void frmWinKey::modeOption_Click(uint8_t mode)
{
    KeyingState::instance().WinKeyerKeyMode = mode;
    if (KeyingState::instance().WinKeyerOpen != 0)
        SendWinKeySettings();
}

// ---------------------------------------------------------------------------
// Sending

void frmWinKey::WKTransmit()
{
    if (opening_ || pumping_)
        return; // the running transmission takes the buffer as it stands
    transmitFailed_ = false;
    if (KeyingState::instance().WinKeyerOpen == 0) {
        opening_ = true;
        openKeyer([this] {
            if (!opening_)
                return;
            if (KeyingState::instance().WinKeyerOpen == 0) {
                KeyingState::instance().CwSendBuffer.clear();
                endTransmit(true);
                return;
            }
            opening_ = false;
            pumping_ = true;
            pumpStep();
        });
        return;
    }
    pumping_ = true;
    pumpStep();
}

void frmWinKey::pumpStep()
{
    if (!pumping_)
        return;
    KeyingState& ks = KeyingState::instance();
    if (!WinKeyerLink::instance().isOpen()) {
        ks.CwSendBuffer.clear();
        endTransmit(true);
        return;
    }
    if (ks.CwSendBuffer.isEmpty()) {
        endTransmit(false); // every character handed over
        return;
    }
    ks.WinKeyerStatus = wk_getstatus();
    if (!pumping_)
        return; // reading found the link broken
    QChar c;
    if (ks.WinKeyerStatus < 5 && ks.CwSendBuffer.takeFirst(&c)) {
        if (const auto byte = wkCharacterByte(c))
            wk_char(*byte);
    }
    if (pumping_)
        pumpTimer_->start(kPaceMs);
}

void frmWinKey::stopPump()
{
    pumping_ = false;
    pumpTimer_->stop();
}

void frmWinKey::endTransmit(bool failed)
{
    const bool running = pumping_ || opening_;
    stopPump();
    opening_ = false;
    if (!running)
        return;
    transmitFailed_ = failed;
    emit transmitEnded(failed);
}

void frmWinKey::Command3_Click()
{
    KeyingState& ks = KeyingState::instance();
    const bool wasEmpty = ks.CwSendBuffer.isEmpty();
    ks.CwSendBuffer += QStringLiteral("VVV TEST DE ") + StationSettings::instance().OwnCall;
    if (wasEmpty)
        WKTransmit();
    focusDone();
}

void frmWinKey::cmdStop_Click()
{
    wk_clearbuf();
    KeyingState::instance().CwSendBuffer.clear();
    focusDone();
}

void frmWinKey::cmdDone_Click()
{
    const KeyingState& ks = KeyingState::instance();
    WinKeyerSettings s;
    s.WinKeyerPort = ks.WinKeyerPort;
    s.txtWKWPM = txtWKWPM->text();
    s.txtWeight = txtWeight->text();
    s.txtLeadIn = txtLeadIn->text();
    s.txtTail = txtTail->text();
    s.txtRatio = txtRatio->text();
    s.WinKeyerPinConfig = ks.WinKeyerPinConfig;
    s.WinKeyerKeyMode = ks.WinKeyerKeyMode;

    const QString folder = Folders::instance().UserDirectory;
    QString error;
    if (!QDir().mkpath(folder)
        || !writeFileAtomically(fileIn(folder, kSettingsFile), formatWinKeyerSettings(s), &error)) {
        if (error.isEmpty())
            error = QStringLiteral("The folder %1 cannot be created.").arg(folder);
        prompt().beep();
        prompt().message(error, QStringLiteral("Unable to write file."));
    }
    hide();
}

} // namespace zq
