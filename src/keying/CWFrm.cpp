#include "keying/CWFrm.h"

#include "common/DoneOnly.h"
#include "common/EntryBox.h"
#include "common/Form1.h"
#include "common/LogWindowLink.h"
#include "platform/Folders.h"
#include "common/ModalShow.h"
#include "common/NamedControls.h"
#include "common/OperatorChoice.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "keying/CntyAbbCW.h"
#include "keying/KeyingState.h"
#include "keying/MorseCode.h"
#include "keying/frmCodePractice.h"
#include "keying/frmWinKey.h"
#include "logstore/CountyTable.h"
#include "logstore/StationSettings.h"
#include "platform/EventHold.h"
#include "platform/KeyingPorts.h"
#include "platform/PortAccess.h"
#include "platform/Prompt.h"
#include "platform/QuotedText.h"
#include "platform/WinKeyer.h"
#include "platform/SafeFile.h"
#include "platform/SettingsStore.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <chrono>
#include <cmath>

namespace zq {

namespace {

ActiveLogWindow* activeLogWindow()
{
    return Form1::loadedLogWindow(StationSettings::instance().OutOfStateFlag == 1);
}

// Logs the active window's contact when its call box is not empty; while the
// program holds for a spoken prompt, right after it.
void logActiveContact()
{
    EventHold::runAfter([] {
        if (ActiveLogWindow* w = activeLogWindow())
            w->logKeyedContact();
    });
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, double left,
                        double top, double width, double height = 360)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    placeControl(*b, left, top, width, height);
    return b;
}

QLabel* makeText(QWidget* parent, const char* name, const QString& text, double left, double top,
                 double width, double height)
{
    QLabel* l = makeNamedLabel(parent, QLatin1String(name), text, left, top, width, height);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

// Key filter of the port and speed boxes: Backspace and "0".."9", ":".
void portKeyFilter(int& keyAscii)
{
    if (keyAscii != 8 && (keyAscii < 48 || keyAscii > 58))
        keyAscii = 0;
}

const QString kInvalidPortText = QStringLiteral(
    "The port you have selected for CW keying is invalid.  Please select another or enter 0 "
    "for none.");

} // namespace

CWFrm::CWFrm()
{
    setObjectName(QStringLiteral("CWFrm"));
    setWindowTitle(QStringLiteral("CW String Selections"));
    makeDoneOnly(*this);
    resize(twipsToPixelsX(9480), twipsToPixelsY(7080));

    // The message boxes: F1..F9, then F10 (Text12) and F11 (Text13).
    const int messageBoxes[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13};
    for (int row = 0; row < 11; ++row) {
        const int i = messageBoxes[row];
        const double top = 120 + row * 340;
        makeNamedLabel(this, QStringLiteral("lblF%1").arg(row + 1),
                       QStringLiteral("F%1").arg(row + 1), 120, top + 30, 420, 255);
        Text[i] = makeNamedBox(this, QStringLiteral("Text%1").arg(i), QString(), 600, top, 4200);
        Text[i]->onKeyPress = [](int& k) { UpperKey(k); };
        Text[i]->setCapitals(true);
    }
    Check1 = new QCheckBox(QStringLiteral("Display CW text on main form (NA for WinKey)."), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    placeControl(*Check1, 600, 3900, 4200, 255);
    Check1->setChecked(true);
    makeText(this, "lblWildcards",
             QStringLiteral("Wildcards are $ for Call, * for RST  # for Num and ^ for County "
                            "(where applicable)."),
             600, 4200, 4200, 420);

    // Keying options.
    Frame1 = makeNamedFrame(this, QStringLiteral("Frame1"), QStringLiteral("Keying Options"), 5040,
                            120, 4320, 1800);
    auto option = [this](const char* name, const char* caption, double top) {
        return makeNamedOption(Frame1, QLatin1String(name), QLatin1String(caption), 120, top, 1300);
    };
    Option1 = option("Option1", "RTS", 280);
    Option2 = option("Option2", "DTR", 560);
    Option3 = option("Option3", "Printer", 840);
    Option4 = option("Option4", "None", 1120);
    Option5 = option("Option5", "WinKey", 1400);
    Option4->setChecked(true);
    makeNamedLabel(Frame1, QStringLiteral("lblSerial"), QStringLiteral("Serial"), 1560, 280, 1200,
                   255);
    Text[10] = makeNamedBox(Frame1, QStringLiteral("Text10"), QStringLiteral("0"), 1560, 540, 720);
    makeNamedLabel(Frame1, QStringLiteral("lblParallel"), QStringLiteral("Parallel"), 1560, 900,
                   1200, 255);
    Text[14] = makeNamedBox(Frame1, QStringLiteral("Text14"), QStringLiteral("&H378"), 1560, 1160,
                            1000);
    cmdConfWinkey = makeButton(Frame1, "cmdConfWinkey", QStringLiteral("Configure Winkey"), 2640,
                               1320, 1560);
    cmdConfWinkey->setVisible(false);

    // Speed, word space, repeat.
    Text[11] = makeNamedBox(this, QStringLiteral("Text11"), QStringLiteral("13"), 5040, 2040, 600);
    makeNamedLabel(this, QStringLiteral("lblWPM"), QStringLiteral("WPM"), 5700, 2070, 600, 255);
    Command2 = makeButton(this, "Command2", QStringLiteral("Faster"), 6360, 2000, 900);
    Command3 = makeButton(this, "Command3", QStringLiteral("Slower"), 7320, 2000, 900);
    txtSpace = makeNamedBox(this, QStringLiteral("txtSpace"), QStringLiteral("0"), 5040, 2480, 600);
    makeNamedLabel(this, QStringLiteral("lblSpace"), QStringLiteral("Word Space"), 5700, 2510, 1200,
                   255);
    Command5 = makeButton(this, "Command5", QStringLiteral("Less"), 6960, 2440, 780);
    Command6 = makeButton(this, "Command6", QStringLiteral("More"), 7800, 2440, 780);
    txtCWLoop = makeNamedBox(this, QStringLiteral("txtCWLoop"), QStringLiteral("0"), 5040, 2920, 600);
    makeNamedLabel(this, QStringLiteral("lblCWLoop"), QStringLiteral("Loop (Sec)"), 5700, 2950,
                   1200, 255);

    // Timing options and the Loop method's calibration.
    makeNamedLabel(this, QStringLiteral("lblTiming"), QStringLiteral("Timing Options: "), 5040,
                   3330, 1500, 255);
    Frame2 = makeNamedFrame(this, QStringLiteral("Frame2"), QString(), 6540, 3240, 2820, 420);
    optTimer = makeNamedOption(Frame2, QStringLiteral("optTimer"), QStringLiteral("Timer"), 60, 90,
                               900);
    OptSleep = makeNamedOption(Frame2, QStringLiteral("OptSleep"), QStringLiteral("Sleep"), 960, 90,
                               900);
    optLoop = makeNamedOption(Frame2, QStringLiteral("optLoop"), QStringLiteral("Loop"), 1860, 90,
                              900);
    optTimer->setToolTip(QStringLiteral("Times by Windows System time."));
    OptSleep->setToolTip(QStringLiteral("Times by Windows System time."));
    optLoop->setToolTip(QStringLiteral("Times by a For Next loop."));
    optTimer->setChecked(true);
    txtLoop = makeNamedBox(this, QStringLiteral("txtLoop"), QStringLiteral("0"), 5040, 3760, 1200);
    txtLoop->setToolTip(QStringLiteral("Loops per 60 ms"));
    lblLoop = makeNamedLabel(this, QStringLiteral("lblLoop"), QStringLiteral("Loop Delay"), 6300,
                             3790, 1000, 255);
    cmdLoopFaster = makeButton(this, "cmdLoopFaster", QStringLiteral("F"), 7380, 3720, 420);
    cmdLoopFaster->setToolTip(QStringLiteral("Speed up CW"));
    cmdLoopSlower = makeButton(this, "cmdLoopSlower", QStringLiteral("S"), 7860, 3720, 420);
    cmdLoopSlower->setToolTip(QStringLiteral("Slow Down CW"));
    // Read by what they do, not by their letters.
    cmdLoopFaster->setAccessibleName(cmdLoopFaster->toolTip());
    cmdLoopSlower->setAccessibleName(cmdLoopSlower->toolTip());
    enableLoopControls(false);

    // Fixed texts.
    makeText(this, "lblProsigns",
             QStringLiteral("Prosigns\nAR  [\nSK  ]\nKN  ;\nCL  \\\nBT  ="), 5040, 4200, 1000,
             1500);
    makeText(this, "lblCWMode", QStringLiteral("You must be in CW mode."), 6240, 4200, 3000, 255);
    makeText(this, "lblArrows", QStringLiteral("Up / Down arrows on main form change speed."), 6240,
             4500, 3000, 480);
    makeText(this, "lblKeyboard", QStringLiteral("Keyboard"), 6240, 5040, 1000, 255);
    makeText(this, "lblF12", QStringLiteral("F12"), 7260, 5040, 600, 255);
    // How to use the messages, in smaller print, under the keyboard note;
    // how to set up, under the messages.
    makeText(this, "lblToUse", QStringLiteral("To Use:"), 6240, 5300, 1200, 255);
    QLabel* toUse = makeText(this, "lblToUseText",
             QStringLiteral("Each text box corresponds to a function key.  Enter the characters "
                            "you would like to associate with the function key. From the main "
                            "logging page, press the appropriate function key each time you wish "
                            "to send the string.  A ! in the string enters the contact."),
             6240, 5540, 3120, 1020);
    setFontSize(*toUse, fontSize(*toUse) * 0.8);
    makeText(this, "lblSetup", QStringLiteral("Setup:"), 120, 4680, 1200, 255);
    makeText(this, "lblSetupText",
             QStringLiteral("Connect a keying interface to a serial or parallel port and choose "
                            "its key line under Keying Options.\n"
                            "Enter the serial port number (0 for none) or the parallel port's "
                            "address in hexadecimal (&H378).\n"
                            "Test with the F9 message on a clear frequency; no side tone is "
                            "generated.\n"
                            "Enter the speed and the word space adjustment (0 is standard, -8 is "
                            "no spacing)."),
             120, 4920, 4680, 2130);

    // Buttons.
    Command1 = makeButton(this, "Command1", QStringLiteral("Done"), 5040, 6600, 1000);
    Command4 = makeButton(this, "Command4", QStringLiteral("&Test"), 6120, 6600, 1000);
    Command7 = makeButton(this, "Command7", QStringLiteral("Send Code Practice"), 7200, 6600, 2160);
    Label23 = makeNamedLabel(this, QStringLiteral("Label23"), QStringLiteral("Sending!"), 5040, 6300,
                             1100, 255);
    Label23->setVisible(false);

    tmrRepeat = new QTimer(this);
    tmrRepeat->setObjectName(QStringLiteral("tmrRepeat"));
    tmrRepeat->setInterval(0);
    // A coarse timer may fire 5 % early or late: seconds off the delay.
    tmrRepeat->setTimerType(Qt::PreciseTimer);
    connect(tmrRepeat, &QTimer::timeout, this, [this] { tmrRepeat_Timer(); });
    repeatLead_ = new QTimer(this);
    repeatLead_->setSingleShot(true);
    repeatLead_->setTimerType(Qt::PreciseTimer);
    connect(repeatLead_, &QTimer::timeout, this, [this] { startRepeat(0); });

    keyer = new MorseKeyer(KeyingState::instance().CwSendBuffer, this);
    keyer->needLine = [this](const MorseSettings& s) { return lineForKeying(s); };
    keyer->exclamation = [] { logActiveContact(); };
    keyer->characterDone = [this] { echoBuffer(); };

    // Handlers.
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { UpDown1_UpClick(); });
    connect(Command3, &QPushButton::clicked, this, [this] { UpDown1_DownClick(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(cmdConfWinkey, &QPushButton::clicked, this, [this] { cmdConfWinkey_Click(); });
    connect(cmdLoopFaster, &QPushButton::clicked, this, [this] { cmdLoopFaster_Click(); });
    connect(cmdLoopSlower, &QPushButton::clicked, this, [this] { cmdLoopSlower_Click(); });
    auto onClick = [this](QRadioButton* b, void (CWFrm::*handler)()) {
        onOperatorChoice(b, this, [this, handler] { (this->*handler)(); });
    };
    onClick(Option1, &CWFrm::Option1_Click);
    onClick(Option2, &CWFrm::Option2_Click);
    onClick(Option3, &CWFrm::Option3_Click);
    onClick(Option4, &CWFrm::Option4_Click);
    onClick(Option5, &CWFrm::Option5_Click);
    onClick(optTimer, &CWFrm::optTimer_Click);
    onClick(OptSleep, &CWFrm::OptSleep_Click);
    onClick(optLoop, &CWFrm::optLoop_Click);

    for (EntryBox* box : {Text[10], Text[11]}) {
        box->onKeyPress = portKeyFilter;
        box->characterFilter = portKeyFilter;
        connect(box, &EntryBox::focusGained, box, [box] { box->selectAll(); });
        connect(box, &EntryBox::focusLost, this, [this, box] {
            if (!boxNumber(box->text()))
                box->setText(QStringLiteral("0"));
            if (box == Text[10])
                CWSetup();
        });
    }
    connect(Text[11], &QLineEdit::textChanged, this, [this] { Text11_Change(); });
    // The keyer asks for its line again when the port changes.
    for (EntryBox* box : {Text[10], Text[14]})
        connect(box, &QLineEdit::textChanged, this, [this] { pushSettings(); });

    txtSpace->onKeyPress = [](int& k) {
        if (k != 8 && (k < 45 || k > 58))
            k = 0;
    };
    txtSpace->characterFilter = txtSpace->onKeyPress;
    connect(txtSpace, &QLineEdit::textChanged, this, [this] {
        if (const auto n = boxNumber(txtSpace->text()); n && *n < -8)
            txtSpace->setText(QStringLiteral("-8"));
        pushSettings();
    });
    connect(txtSpace, &EntryBox::focusLost, this, [this] {
        if (!boxNumber(txtSpace->text()))
            txtSpace->setText(QStringLiteral("0"));
    });

    txtCWLoop->onKeyPress = [](int& k) {
        if (k != 8 && k != '.' && (k < '0' || k > '9'))
            k = 0;
    };
    txtCWLoop->characterFilter = txtCWLoop->onKeyPress;
    connect(txtCWLoop, &EntryBox::focusLost, this, [this] { txtCWLoop_LostFocus(); });

    connect(txtLoop, &QLineEdit::textChanged, this, [this] {
        if (const auto n = boxNumber(txtLoop->text())) {
            LoopsPer60ms = *n;
            pushSettings();
        }
    });
}

void CWFrm::Form_Load()
{
    // Control fonts follow the whole screen's width.
    FitWindow(*this, FitParameters::toWorkAreaCentred(FitParameters::ControlRatios::OuterAfterOverBefore,
                                                      FitParameters::ControlFont::ScreenWidthCapped));

    // The calibration first, so that choosing "Loop" finds it.
    if (const auto n = boxNumber(GetSetting(QStringLiteral("UserCWLoopOffset"))))
        LoopsPer60ms = *n;
    txtLoop->setText(bareNumber(LoopsPer60ms));
    // An absent key reads as "", which selects nothing: "Timer" stays.
    const QString timing = GetSetting(QStringLiteral("UserCWSelection"));
    if (timing == QLatin1String("Timer")) {
        optTimer->setChecked(true);
        optTimer_Click();
    } else if (timing == QLatin1String("Sleep")) {
        OptSleep->setChecked(true);
        OptSleep_Click();
    } else if (timing == QLatin1String("Loop")) {
        optLoop->setChecked(true);
        optLoop_Click();
    }
    pushSettings();
}

void CWFrm::onUnload()
{
    tmrRepeat->stop();
    keyer->abort();
    KeyingPorts::instance().release(KeyingOwner::CwKeyLine);
}

// ---------------------------------------------------------------------------
// Settings file

void CWFrm::applySettings(const CwSettingsRead& read)
{
    const CwSettings& s = read.settings;
    const int n = read.valuesRead;
    for (int i = cwline::Text1; i <= cwline::Text13 && i <= n; ++i)
        Text[i]->setText(s.Text[i]);
    if (n >= cwline::txtSpace)
        txtSpace->setText(s.txtSpace);
    if (n >= cwline::CwKeyingMethod) {
        // The method and its button always agree.
        setOptionValue(*Option1, false);
        setOptionValue(*Option2, false);
        setOptionValue(*Option3, false);
        switch (s.CwKeyingMethod) {
        case 1: Option1->setChecked(true); Option1_Click(); break;
        case 2: Option2->setChecked(true); Option2_Click(); break;
        case 3: Option3->setChecked(true); Option3_Click(); break;
        case 5: Option5->setChecked(true); Option5_Click(); break;
        default: Option4->setChecked(true); Option4_Click(); break;
        }
    }
    if (n >= cwline::Text14)
        Text[14]->setText(s.Text[14]);
    if (n >= cwline::Check1)
        Check1->setChecked(s.Check1 != 0);
    if (n >= cwline::txtCWLoop)
        txtCWLoop->setText(s.txtCWLoop);
    if (read.complete)
        tmrRepeat->setInterval(s.repeatIntervalMs);
}

CwSettings CWFrm::currentSettings() const
{
    CwSettings s;
    for (int i = 1; i <= 14; ++i)
        s.Text[i] = Text[i]->text();
    s.txtSpace = txtSpace->text();
    s.CwKeyingMethod = KeyingState::instance().CwKeyingMethod;
    s.Check1 = Check1->isChecked() ? 1 : 0;
    s.txtCWLoop = txtCWLoop->text();
    s.repeatIntervalMs = tmrRepeat->interval();
    return s;
}

void CWFrm::Command1_Click()
{
    Folders::makeWorkingFolderCurrent();
    const QString path = Folders::workingFile(QStringLiteral("CW.txt"));
    QString why;
    if (!writeFileAtomically(path, formatCwSettings(currentSettings()), &why)) {
        prompt().message(QStringLiteral("Unable to write CW.txt: %1").arg(why),
                         QStringLiteral("File Error"), MsgButtons::Ok, MsgIcon::Critical);
        hide();
        return;
    }
    QString timing;
    if (optTimer->isChecked())
        timing = QStringLiteral("Timer");
    else if (optLoop->isChecked())
        timing = QStringLiteral("Loop");
    else if (OptSleep->isChecked())
        timing = QStringLiteral("Sleep");
    SaveSetting(QStringLiteral("UserCWSelection"), timing);
    SaveSetting(QStringLiteral("UserCWLoopOffset"), bareNumber(LoopsPer60ms));
    hide();
}

void ReadCWSettings()
{
    const QString path = Folders::workingFile(QStringLiteral("cw.txt"));
    if (!QFileInfo(path).isFile())
        return;
    const auto content = readWholeFile(path, nullptr, kMaxSettingsFileBytes);
    if (!content)
        return;
    const CwSettingsRead read = parseCwSettings(*content);
    if (read.valuesRead == 0)
        return;
    DefaultInstance<CWFrm>().applySettings(read);
}

// ---------------------------------------------------------------------------
// The dialog's buttons

void CWFrm::Command4_Click()
{
    QPointer<CWFrm> self(this);
    Label23->setVisible(true);
    QCoreApplication::processEvents();
    int f9 = 120;
    FKeyCW(f9);
    if (!self)
        return;
    Label23->setVisible(false);
    if (isVisible())
        Text[1]->setFocus();
}

void CWFrm::Command5_Click()
{
    txtSpace->setText(steppedNumber(txtSpace->text(), -1).value_or(QStringLiteral("0")));
}

void CWFrm::Command6_Click()
{
    txtSpace->setText(steppedNumber(txtSpace->text(), 1).value_or(QStringLiteral("0")));
}

void CWFrm::Command7_Click()
{
    showModal(DefaultInstance<frmCodePractice>());
    WindowRegistry::unload<frmCodePractice>();
    KeyingState::instance().CwSendBuffer.clear();
}

// ---------------------------------------------------------------------------
// Key line and timing options

void CWFrm::setKeyingMethod(uint8_t method)
{
    KeyingState::instance().CwKeyingMethod = method;
    pushSettings();
}

void CWFrm::Option1_Click()
{
    setKeyingMethod(1);
}

void CWFrm::Option2_Click()
{
    setKeyingMethod(2);
}

void CWFrm::Option3_Click()
{
    setKeyingMethod(3);
}

void CWFrm::Option4_Click()
{
    setKeyingMethod(0);
}

void CWFrm::Option5_Click()
{
    cmdConfWinkey->setVisible(true);
    winKeyer();
    setKeyingMethod(5);
}

frmWinKey& CWFrm::winKeyer()
{
    frmWinKey& wk = DefaultInstance<frmWinKey>();
    connect(&wk, &frmWinKey::transmitEnded, this, &CWFrm::winKeyerTransmitEnded,
            Qt::UniqueConnection);
    return wk;
}

void CWFrm::cmdConfWinkey_Click()
{
    showModal(winKeyer());
    Command1->setFocus();
}

void CWFrm::enableLoopControls(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{txtLoop, lblLoop, cmdLoopFaster, cmdLoopSlower})
        w->setEnabled(on);
}

void CWFrm::optTimer_Click()
{
    enableLoopControls(false);
    pushSettings();
}

void CWFrm::OptSleep_Click()
{
    enableLoopControls(false);
    pushSettings();
}

void CWFrm::optLoop_Click()
{
    enableLoopControls(true);
    QCoreApplication::processEvents();
    if (LoopsPer60ms == 0)
        CalibrateLoop();
    txtLoop->setText(bareNumber(LoopsPer60ms));
    pushSettings();
}

void CWFrm::CalibrateLoop()
{
    // Timed on the loop the keying thread counts; a measurement of no
    // time leaves the count of passes and txtLoop as they were.
    LoopsPer60ms = kCalibrationPasses;
    if (const auto n = MorseKeyer::calibrateLoop()) {
        LoopsPer60ms = *n;
        txtLoop->setText(bareNumber(LoopsPer60ms));
    }
}

void CWFrm::cmdLoopFaster_Click()
{
    txtLoop->setText(loopFaster(txtLoop->text()));
    Command1->setFocus();
}

void CWFrm::cmdLoopSlower_Click()
{
    txtLoop->setText(loopSlower(txtLoop->text()));
    Command1->setFocus();
}

void CWFrm::pushSettings()
{
    MorseSettings s;
    s.method = KeyingState::instance().CwKeyingMethod;
    s.wpm = boxNumber(Text[11]->text());
    s.space = boxNumber(txtSpace->text());
    s.timing = optTimer->isChecked()   ? CwTiming::Timer
               : OptSleep->isChecked() ? CwTiming::Sleep
               : optLoop->isChecked()  ? CwTiming::Loop
                                       : CwTiming::None;
    s.loopsPer60ms = LoopsPer60ms;
    s.port = s.lineKind() == KeyLinePort::Kind::Parallel ? Text[14]->text() : Text[10]->text();
    keyer->setSettings(s);
}

// ---------------------------------------------------------------------------
// The key line

void CWFrm::reportInvalidPort(const QString& permission)
{
    prompt().beep();
    prompt().message(withPortPermission(kInvalidPortText, permission),
                     QStringLiteral("Invalid port."), MsgButtons::Ok);
    if (!isVisible())
        showModal(*this);
}

bool CWFrm::CWSetup()
{
    KeyingPorts& ports = KeyingPorts::instance();
    ports.release(KeyingOwner::CwKeyLine);
    const auto n = boxNumber(Text[10]->text());
    if (n && *n <= 0)
        return true; // no port wanted
    bool opened = false;
    QString permission;
    if (n && *n < 1e6) {
        const int port = static_cast<int>(roundHalfEven(*n));
        opened = ports.claimLine(KeyingOwner::CwKeyLine, KeyLinePort::serial(port), nullptr,
                                 &permission)
                 != nullptr;
    }
    if (!opened)
        reportInvalidPort(permission);
    return opened;
}

MorseKeyer::LineAnswer CWFrm::lineForKeying(const MorseSettings& s)
{
    KeyingPorts& ports = KeyingPorts::instance();
    const KeyLinePort::Kind kind = s.lineKind();
    auto held = [&]() -> std::shared_ptr<KeyLine> {
        auto l = ports.line(KeyingOwner::CwKeyLine);
        if (l && l->port().kind == kind
            && (kind != KeyLinePort::Kind::Parallel
                || l->port().parallelAddress == Text[14]->text()))
            return l;
        return nullptr;
    };
    if (auto l = held())
        return {l, false};
    if (invalidPortReported_)
        return {nullptr, true};

    if (kind == KeyLinePort::Kind::Serial) {
        const auto n = boxNumber(Text[10]->text());
        if (n && *n <= 0) {
            ports.release(KeyingOwner::CwKeyLine);
            return {nullptr, false}; // port "0": timed, no line
        }
        invalidPortReported_ = !CWSetup();
    } else {
        QString permission;
        const auto line = ports.claimLine(KeyingOwner::CwKeyLine,
                                          KeyLinePort::parallel(Text[14]->text()), nullptr,
                                          &permission);
        if (!line) {
            invalidPortReported_ = true;
            reportInvalidPort(permission);
        }
    }
    // The operator may have put the port right while the window was shown.
    if (auto l = held())
        return {l, false};
    return {nullptr, true};
}

// ---------------------------------------------------------------------------
// Message keys and the send buffer

void CWFrm::FKeyCW(int& KeyCode)
{
    KeyingState& ks = KeyingState::instance();
    ks.CwSendBuffer.clear();
    // The repeat of the sending this one replaces waits for this one's end.
    repeatLead_->stop();
    if (ks.CwKeyingMethod != 0) {
        QString message;
        if (KeyCode >= 112 && KeyCode <= 120)
            message = Text[static_cast<size_t>(KeyCode - 111)]->text();
        else if (KeyCode == 124)
            message = Text[12]->text();
        else if (KeyCode == 122)
            message = Text[13]->text();
        if (KeyCode == 112) {
            const auto delay = boxNumber(txtCWLoop->text());
            if (!delay)
                return; // a failure: nothing sent, no events run
            if (*delay > 0) {
                ks.CwRepeatActive = 1;
                if (tmrRepeat->interval() <= 0)
                    tmrRepeat->setInterval(repeatDelayMs(static_cast<int>(std::min(*delay, 1e9))));
            }
        }
        if (!message.isEmpty()) {
            ks.CwSendBuffer = ExpandCwMacros(message, ks);
            QPointer<CWFrm> self(this);
            LoopThroughCWBuffer();
            if (!self)
                return;
        }
    }
    QCoreApplication::processEvents();
}

void CWFrm::tmrRepeat_Timer()
{
    tmrRepeat->stop();
    int f1 = 112;
    FKeyCW(f1);
}

void CWFrm::UpDown1_UpClick()
{
    if (const auto t = steppedNumber(Text[11]->text(), 1))
        Text[11]->setText(*t);
}

void CWFrm::UpDown1_DownClick()
{
    if (const auto t = steppedNumber(Text[11]->text(), -1))
        Text[11]->setText(*t);
}

void CWFrm::Text11_Change()
{
    pushSettings();
    const KeyingState& ks = KeyingState::instance();
    const auto n = boxNumber(Text[11]->text());
    if (n && *n > 4 && *n < 100 && ks.WinKeyerOpen != 0 && ks.CwKeyingMethod == 5)
        wk_wpm(static_cast<uint8_t>(roundHalfEven(*n)));
}

void CWFrm::txtCWLoop_LostFocus()
{
    const auto n = boxNumber(txtCWLoop->text());
    if (n && *n >= 0 && *n < 60) {
        tmrRepeat->setInterval(static_cast<int>(roundHalfEven(*n * 1000)));
        return;
    }
    txtCWLoop->setText(QStringLiteral("0"));
    tmrRepeat->setInterval(0);
    if (!n)
        prompt().beep();
}

void CWFrm::echoBuffer()
{
    if (!Check1->isChecked())
        return;
    if (ActiveLogWindow* w = activeLogWindow())
        w->dialogLabel().setText(KeyingState::instance().CwSendBuffer.text());
}

void CWFrm::startRepeat(double leadMs)
{
    if (KeyingState::instance().CwRepeatActive != 1 || tmrRepeat->interval() <= 0)
        return;
    const int lead = static_cast<int>(std::lround(leadMs));
    if (lead > 0)
        repeatLead_->start(lead);
    else
        tmrRepeat->start();
}

void CWFrm::winKeyerTransmitEnded(bool failed)
{
    // The delay runs from the hand-over of the message's last character.
    // A keyer that could not be reached is not tried again by the repeat.
    if (!repeatAfterHandOver_)
        return;
    repeatAfterHandOver_ = false;
    if (!failed)
        startRepeat(0);
}

bool CWFrm::LastSendFailed() const
{
    if (KeyingState::instance().CwKeyingMethod == 5) {
        const frmWinKey* wk = WindowRegistry::existing<frmWinKey>();
        return wk && wk->lastTransmitFailed();
    }
    return sendFailed_;
}

void CWFrm::LoopThroughCWBuffer()
{
    KeyingState& ks = KeyingState::instance();
    if (ks.CwKeyingMethod == 5) {
        if (ks.CwSendBuffer.text().contains(u'!'))
            logActiveContact();
        // The keyer is fed from the event loop; the repeat's delay starts
        // once it has taken the whole text (transmitEnded).
        if (ks.CwRepeatActive == 1)
            repeatAfterHandOver_ = true;
        winKeyer().WKTransmit();
        return;
    }
    QPointer<CWFrm> self(this);
    if (!keyer->draining())
        invalidPortReported_ = false;
    ks.CwSendingBusy = 1;
    pushSettings();
    keyer->drain();
    if (!self) {
        ks.CwSendingBusy = 0;
        return;
    }
    sendFailed_ = invalidPortReported_;
    // The drain is over with its last change of the key line; the key-up
    // that ends the message is still running.  A port that could not be
    // opened is not tried again by the repeat.
    if (!sendFailed_)
        startRepeat(keyer->msUntilScheduleEnd());
    ks.CwSendingBusy = 0;
    if (Check1->isChecked()) {
        if (ActiveLogWindow* w = activeLogWindow())
            w->dialogLabel().setText(ks.KeyboardCwMode == 1
                                      ? QStringLiteral("Keyboard CW Mode is on.  Press F12 to exit.")
                                      : QString());
    }
}

} // namespace zq
