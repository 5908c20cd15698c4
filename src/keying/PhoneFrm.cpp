#include "keying/PhoneFrm.h"

#include "common/DoneOnly.h"
#include "common/EntryBox.h"
#include "platform/Folders.h"
#include "common/ModalShow.h"
#include "common/NamedControls.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "common/WindowRegistry.h"
#include "keying/KeyingState.h"
#include "keying/MorseCode.h"
#include "platform/ComPorts.h"
#include "platform/KeyingPorts.h"
#include "platform/PortAccess.h"
#include "platform/Prompt.h"
#include "platform/QuotedText.h"
#include "platform/SafeFile.h"
#include "platform/WaveDevice.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cmath>

namespace zq {

namespace {

const QString kInvalidPttPort = QStringLiteral(
    "The port you have selected for Phone keying is invalid.  Please select another or enter 0 "
    "for none.");

QLabel* wrappedLabel(QWidget* parent, const QString& name, const QString& text, double left,
                     double top, double width, double height)
{
    QLabel* l = makeNamedLabel(parent, name, text, left, top, width, height);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

} // namespace

std::optional<double> phoneBoxNumber(const QString& text)
{
    if (const auto n = boxNumber(text.trimmed()))
        return n;
    if (const auto h = parsePortAddress(text.trimmed()))
        return static_cast<double>(*h);
    return std::nullopt;
}

PhoneFrm::PhoneFrm()
{
    setObjectName(QStringLiteral("PhoneFrm"));
    setWindowTitle(QStringLiteral("Phone Wave Selections"));
    makeDoneOnly(*this);
    resize(twipsToPixelsX(9000), twipsToPixelsY(6400));

    QLabel* setup = makeNamedLabel(this, QStringLiteral("Label1"), QStringLiteral("Setup:"), 120, 120,
                                   2000, 255);
    QFont bold = setup->font();
    bold.setBold(true);
    setup->setFont(bold);
    wrappedLabel(this, QStringLiteral("Label2"),
                 QStringLiteral("Record your messages first with the system's sound recorder at CD "
                                "quality.  Connect the sound card's line output to the "
                                "transceiver's audio input and raise the output level gradually "
                                "from its lowest setting so as not to overdrive the radio.  Each "
                                "wave file belongs to one function key and is played from the "
                                "main logging window with the transmitter keyed."),
                 120, 400, 8700, 900);

    // Three columns of wave-file boxes: F1..F3, F4..F6, F7..F9, each with its
    // Browse button (Command2 for F1 ... Command10 for F9).
    for (int i = 1; i <= 9; ++i) {
        const double left = 120 + ((i - 1) / 3) * 2940;
        const double top = 1380 + ((i - 1) % 3) * 420;
        makeNamedLabel(this, QStringLiteral("lblF%1").arg(i), QStringLiteral("F%1").arg(i), left,
                       top + 30, 300, 255);
        Text[i] = makeNamedBox(this, QStringLiteral("Text%1").arg(i), QString(), left + 300, top,
                               1840);
        Browse[i] = makeNamedButton(this, QStringLiteral("Command%1").arg(i + 1),
                                    QStringLiteral("Browse"), left + 2160, top - 30, 700, 345);
        // Nine buttons of one caption: each is read with the key it serves.
        Browse[i]->setAccessibleName(QStringLiteral("Browse F%1").arg(i));
        connect(Browse[i], &QPushButton::clicked, this, [this, i] { Browse_Click(i); });
    }
    makeNamedLabel(this, QStringLiteral("lblPHLoop"),
                   QStringLiteral("Seconds before F1 repeats (0 for no repeat):"), 120, 2730, 3900,
                   255);
    txtPHLoop = makeNamedBox(this, QStringLiteral("txtPHLoop"), QStringLiteral("0"), 4080, 2700, 600);

    wrappedLabel(this, QStringLiteral("Label3"),
                 QStringLiteral("When playing the wave file, you can either key your transmitter "
                                "manually, use VOX or an interface connected to your PC's serial "
                                "port.  To use the serial port, please enter the valid comm "
                                "setting (or 0 for none) and select whether you want to use the "
                                "RTS or DTR line to key your radio."),
                 120, 3120, 8700, 660);
    makeNamedLabel(this, QStringLiteral("lblComm"), QStringLiteral("Comm port:"), 120, 3930, 1100,
                   255);
    Text[10] = makeNamedBox(this, QStringLiteral("Text10"), QStringLiteral("0"), 1260, 3900, 600);
    Frame1 = makeNamedFrame(this, QStringLiteral("Frame1"), QString(), 2040, 3780, 3600, 540);
    Option1 = makeNamedOption(Frame1, QStringLiteral("Option1"), QStringLiteral("RTS"), 120, 180,
                              1100);
    Option2 = makeNamedOption(Frame1, QStringLiteral("Option2"), QStringLiteral("DTR"), 1260, 180,
                              1100);
    Option3 = makeNamedOption(Frame1, QStringLiteral("Option3"), QStringLiteral("Parallel"), 2400,
                              180, 1100);
    Option1->setChecked(true);
    makeNamedLabel(this, QStringLiteral("lblAddress"), QStringLiteral("Parallel address:"), 5820,
                   3930, 1500, 255);
    Text[11] = makeNamedBox(this, QStringLiteral("Text11"), QStringLiteral("&H378"), 7380, 3900, 1200);
    QLabel* caution = makeNamedLabel(this, QStringLiteral("Label4"),
                                     QStringLiteral("Caution, RF feedback can damage your PC!"), 120,
                                     4500, 8700, 255);
    caution->setFont(bold);

    QLabel* toUse = makeNamedLabel(this, QStringLiteral("Label5"), QStringLiteral("To Use:"), 120,
                                   4860, 2000, 255);
    toUse->setFont(bold);
    wrappedLabel(this, QStringLiteral("Label6"),
                 QStringLiteral("Press the function key of a message in the main logging window: "
                                "its wave file plays with the transmitter keyed.  Esc stops it; "
                                "any key ends the automatic repeat of F1."),
                 120, 5100, 8700, 480);
    Command11 = makeNamedButton(this, QStringLiteral("Command11"), QStringLiteral("Test"), 120, 5760,
                                1100);
    makeNamedLabel(this, QStringLiteral("Label7"), QStringLiteral("Plays F1 Command"), 1320, 5820,
                   1800, 255);
    makeNamedLabel(this, QStringLiteral("Label8"), QStringLiteral("(You  must be in Phone mode)"),
                   3240, 5820, 2800, 255);
    Command1 = makeNamedButton(this, QStringLiteral("Command1"), QStringLiteral("Done"), 7500, 5760,
                               1100);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(40);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    tmrRepeat = new QTimer(this);
    tmrRepeat->setObjectName(QStringLiteral("tmrRepeat"));
    tmrRepeat->setInterval(0);
    connect(tmrRepeat, &QTimer::timeout, this, [this] { tmrRepeat_Timer(); });

    MMControl1 = new WaveDevice(this);
    MMControl1->setObjectName(QStringLiteral("MMControl1"));
    // The device's end releases PTT at once, without waiting for the next
    // poll.  Queued: a Close that a new message's key sends ends the last
    // playback, and by then the new one plays, so PTT stays keyed.
    connect(MMControl1, &WaveDevice::playbackEnded, this, [this] {
        if (Timer1->isActive())
            Timer1_Timer();
    }, Qt::QueuedConnection);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
    connect(Text[10], &EntryBox::focusGained, this, [this] { Text[10]->selectAll(); });
    connect(Text[10], &EntryBox::focusLost, this, [this] { Text10_LostFocus(); });
    connect(txtPHLoop, &EntryBox::focusLost, this, [this] { txtPHLoop_LostFocus(); });
    txtPHLoop->onKeyPress = [](int& k) {
        if (k != 8 && k != '.' && !(k >= '0' && k <= '9'))
            k = 0;
    };
    txtPHLoop->characterFilter = txtPHLoop->onKeyPress;
    Text[11]->onKeyPress = [](int& k) {
        if (k == '"')
            k = 0;
        else if (k >= 'a' && k <= 'z')
            k -= 32;
    };
    Text[11]->setCapitals(true);
}

void fitVoiceWindow(QWidget& form)
{
    FitParameters p;
    p.placement = FitParameters::Placement::Centred;
    p.windowFont = FitParameters::WindowFont::NewWidthOverDesign;
    p.controlFont = FitParameters::ControlFont::ScreenWidthCapped;
    p.onError = FitParameters::OnError::Silent;
    FitWindow(form, p);
}

void PhoneFrm::Form_Load()
{
    fitVoiceWindow(*this);
}

void PhoneFrm::onUnload()
{
    Timer1->stop();
    tmrRepeat->stop();
    releasePtt();
    KeyingPorts::instance().release(KeyingOwner::Ptt);
    KeyingPorts::instance().release(KeyingOwner::PttParallel);
    MMControl1->Command(QStringLiteral("Close"));
}

// ---------------------------------------------------------------------------
// Playing a message

void PhoneFrm::releasePtt()
{
    // The lines raised at keying, whatever the settings say now; a line
    // another keyer took meanwhile was dropped when it was closed.
    std::vector<Raised> raised;
    raised.swap(raised_);
    for (const Raised& r : raised)
        r.line->up(r.signal);
}

void PhoneFrm::remember(const std::shared_ptr<KeyLine>& line, KeySignal s)
{
    for (const Raised& r : raised_)
        if (r.line == line && r.signal == s)
            return;
    raised_.push_back({line, s});
}

void PhoneFrm::FKeyPhone(int& KeyCode)
{
    if (KeyCode < 112 || KeyCode > 120)
        return;
    MMControl1->Command(QStringLiteral("Close"));
    const EntryBox* box = Text[static_cast<size_t>(KeyCode - 111)];
    if (KeyCode == 112) {
        const auto pause = phoneBoxNumber(txtPHLoop->text());
        if (!pause)
            return; // a failure: F1 plays nothing
        if (*pause > 0)
            KeyingState::instance().PhoneRepeatActive = 1;
    }
    MMControl1->FileName = box->text();
    if (MMControl1->FileName.trimmed().isEmpty())
        return; // a running poll releases PTT

    const auto port = phoneBoxNumber(Text[10]->text());
    if (!port)
        return; // a failure: no key plays
    KeyingPorts& ports = KeyingPorts::instance();
    auto keyFailed = [this] {
        // Nothing may stay keyed: drop what was raised, and let the poll run.
        releasePtt();
        Timer1->start();
    };
    if (*port > 0) {
        if (!ports.line(KeyingOwner::Ptt))
            PhoneSetup();
        if (auto line = ports.line(KeyingOwner::Ptt)) {
            const KeySignal s = Option2->isChecked() ? KeySignal::Dtr : KeySignal::Rts;
            if (!line->down(s)) {
                keyFailed();
                return;
            }
            remember(line, s);
        }
    }
    if (Option3->isChecked()) {
        const QString address = Text[11]->text().trimmed();
        if (!parsePortAddress(address)) {
            keyFailed();
            return;
        }
        auto line = ports.line(KeyingOwner::PttParallel);
        if (!line || line->port().parallelAddress != address)
            line = ports.claimLine(KeyingOwner::PttParallel, KeyLinePort::parallel(address));
        if (!line || !line->down(KeySignal::Rts)) {
            keyFailed();
            return;
        }
        remember(line, KeySignal::Rts);
    }
    MMControl1->Command(QStringLiteral("Open"));
    MMControl1->Command(QStringLiteral("Play"));
    Timer1->start();
}

void PhoneFrm::Timer1_Timer()
{
    if (MMControl1->Mode() == WaveDevice::ModePlaying)
        return;
    Timer1->stop();
    releasePtt();
    if (KeyingState::instance().PhoneRepeatActive == 1 && tmrRepeat->interval() > 0)
        tmrRepeat->start();
    // A machine without sound output: said once a run, with PTT released.
    if (WaveDevice::takeNoOutputNotice())
        prompt().message(WaveDevice::noOutputReason(), QStringLiteral("No sound output."),
                         MsgButtons::Ok);
}

void PhoneFrm::tmrRepeat_Timer()
{
    tmrRepeat->stop();
    int f1 = 112;
    FKeyPhone(f1);
}

// ---------------------------------------------------------------------------
// The PTT port

void PhoneFrm::reportInvalidPort(const QString& permission)
{
    prompt().beep();
    prompt().message(withPortPermission(kInvalidPttPort, permission),
                     QStringLiteral("Invalid port."), MsgButtons::Ok);
    if (!isVisible())
        showModal(*this);
}

void PhoneFrm::PhoneSetup()
{
    const auto n = phoneBoxNumber(Text[10]->text());
    if (n && *n <= 0)
        return; // no port wanted; an open PTT port stays open
    // Claiming closes a serial CW key line and the WinKeyer, whatever their
    // port, and this window's own serial port; a parallel line stays.
    bool opened = false;
    QString permission;
    if (n && *n < 1e6) {
        const int port = static_cast<int>(roundHalfEven(*n));
        opened = KeyingPorts::instance().claimLine(KeyingOwner::Ptt, KeyLinePort::serial(port),
                                                   nullptr, &permission)
            != nullptr;
    }
    if (!opened) {
        KeyingPorts::instance().release(KeyingOwner::Ptt);
        reportInvalidPort(permission);
    }
}

void PhoneFrm::Text10_LostFocus()
{
    if (!phoneBoxNumber(Text[10]->text()))
        Text[10]->setText(QStringLiteral("0"));
    PhoneSetup();
}

void PhoneFrm::txtPHLoop_LostFocus()
{
    const auto n = phoneBoxNumber(txtPHLoop->text());
    if (n && *n >= 0 && *n < 60) {
        tmrRepeat->setInterval(static_cast<int>(roundHalfEven(*n * 1000)));
        return;
    }
    txtPHLoop->setText(QStringLiteral("0"));
    tmrRepeat->setInterval(0);
}

// ---------------------------------------------------------------------------
// Buttons

void PhoneFrm::Browse_Click(int box)
{
    const QString path =
        prompt().openFile(QStringLiteral("Wave file for F%1").arg(box), QString(),
                          QStringLiteral("(*.wav)"));
    if (path.isEmpty()) {
        prompt().beep(); // cancelled: the box keeps its text
        return;
    }
    Text[static_cast<size_t>(box)]->setText(path);
    Folders::makeWorkingFolderCurrent();
    Command1->setFocus();
}

void PhoneFrm::Command11_Click()
{
    int f1 = 112;
    FKeyPhone(f1);
    if (isVisible())
        Command1->setFocus();
}

void PhoneFrm::Command1_Click()
{
    hide();
    Folders::makeWorkingFolderCurrent();
    QString error;
    if (!writeFileAtomically(Folders::workingFile(QStringLiteral("wave2.txt")),
                             formatPhoneSettings(currentSettings()), &error)) {
        prompt().beep();
        prompt().message(error, QStringLiteral("Unable to write file."), MsgButtons::Ok);
    }
}

// ---------------------------------------------------------------------------
// wave2.txt

void PhoneFrm::applySettings(const PhoneSettingsRead& read)
{
    const PhoneSettings& s = read.settings;
    const int n = read.valuesRead;
    for (int i = waveline::Text1; i <= waveline::Text10 && i <= n; ++i)
        Text[i]->setText(s.Text[i]);
    if (n >= waveline::PttLine) {
        switch (s.PttLine) {
        case 0: Option1->setChecked(true); break;
        case 1: Option2->setChecked(true); break;
        case 2: Option3->setChecked(true); break;
        default: break;
        }
    }
    if (n >= waveline::txtPHLoop) {
        txtPHLoop->setText(s.txtPHLoop);
        tmrRepeat->setInterval(s.repeatIntervalMs);
    }
    if (n >= waveline::Text11)
        Text[11]->setText(s.Text[11]);
}

PhoneSettings PhoneFrm::currentSettings() const
{
    PhoneSettings s;
    for (int i = 1; i <= 11; ++i)
        s.Text[i] = Text[i]->text();
    s.PttLine = Option2->isChecked() ? 1 : Option3->isChecked() ? 2 : 0;
    s.txtPHLoop = txtPHLoop->text();
    s.repeatIntervalMs = tmrRepeat->interval();
    return s;
}

WaveSettingsLoad LoadWaveSettings()
{
    const QString path = Folders::workingFile(QStringLiteral("wave2.txt"));
    if (!QFileInfo(path).isFile())
        return WaveSettingsLoad::Missing;
    const auto content = readWholeFile(path, nullptr, kMaxSettingsFileBytes);
    if (!content)
        return WaveSettingsLoad::Failed;
    const PhoneSettingsRead read = parsePhoneSettings(*content);
    DefaultInstance<PhoneFrm>().applySettings(read);
    return read.complete ? WaveSettingsLoad::Ok : WaveSettingsLoad::Failed;
}

} // namespace zq
