#include "rig/frmRigTune.h"

#include "common/EntryBox.h"
#include "common/KeyCodes.h"
#include "common/NamedControls.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "common/WindowRegistry.h"
#include "rig/RigCommands.h"
#include "rig/RigControlfrm.h"
#include "rig/RigSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cfloat>
#include <cmath>

namespace zq {

namespace {

struct Band {
    const char* caption;
    const char* mhz;
};
constexpr Band kBands[16] = {
    {"160", "1.9"},   {"80", "3.75"},   {"60", "5.368"}, {"40", "7.15"},
    {"30", "10.13"},  {"20", "14.175"}, {"17", "18.118"}, {"15", "21.225"},
    {"12", "24.94"},  {"10", "28.5"},   {"6", "52"},      {"2", "146"},
    {"1.25", "223.5"}, {"70", "435"},   {"33", "915"},    {"23", "1270"}};

struct Step {
    const char* caption;
    double mhz;
    int column;
};
// Index / 2 gives the row: 0 "10 Hz" (column 5), 1 "1 MHz" (column 1), ...
constexpr Step kSteps[5] = {
    {"10 Hz", 0.00001, 4}, {"1 MHz", 1, 0}, {"5 KHz", 0.005, 1}, {"1 KHz", 0.001, 2},
    {"100 Hz", 0.0001, 3}};

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        double left, double top, double width, double height = 375)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    placeControl(*b, left, top, width, height);
    return b;
}

// A number as the panel's boxes take it, within single precision.
std::optional<float> singleValue(const QString& text)
{
    const std::optional<double> v = readDecimal(text);
    if (!v || std::fabs(*v) > FLT_MAX)
        return std::nullopt;
    return static_cast<float>(*v);
}

} // namespace

frmRigTune::frmRigTune()
{
    setObjectName(QStringLiteral("frmRigTune"));
    setWindowTitle(QStringLiteral(" Change Frequency and Mode (Ctrl G (Go))"));
    setModal(true);
    setFormWidth(*this, 6120);
    setFormHeight(*this, 5400);

    for (int i = 0; i < 16; ++i) {
        QPushButton* b = makeButton(this, QStringLiteral("cmdBand%1").arg(i),
                                    QString::fromLatin1(kBands[i].caption), 120 + (i % 8) * 720,
                                    120 + (i / 8) * 420, 690);
        cmdBand.set(i, b);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdBand_Click(i); });
    }

    const struct {
        QPushButton** button;
        const char* name;
        const char* caption;
        void (frmRigTune::*handler)();
    } modes[] = {{&cmdCW, "cmdCW", "&CW", &frmRigTune::cmdCW_Click},
                 {&cmdUSB, "cmdUSB", "&USB", &frmRigTune::cmdUSB_Click},
                 {&cmdLSB, "cmdLSB", "&LSB", &frmRigTune::cmdLSB_Click},
                 {&cmdAM, "cmdAM", "&AM", &frmRigTune::cmdAM_Click},
                 {&cmdFM, "cmdFM", "&FM", &frmRigTune::cmdFM_Click},
                 {&cmdRTTY, "cmdRTTY", "&RTTY", &frmRigTune::cmdRTTY_Click}};
    for (int i = 0; i < 6; ++i) {
        *modes[i].button = makeButton(this, QLatin1String(modes[i].name),
                                      QLatin1String(modes[i].caption), 120 + i * 960, 1080, 900);
        connect(*modes[i].button, &QPushButton::clicked, this, modes[i].handler);
    }
    Line1 = new LineControl(this, 120, 1560, 5880, 1560);
    Line1->setObjectName(QStringLiteral("Line1"));

    Label1 = makeNamedLabel(this, QStringLiteral("Label1"), QStringLiteral("Frequency in MHz:"), 120,
                            1740, 1560, 255);
    txtFreq = makeNamedBox(this, QStringLiteral("txtFreq"), QString(), 1740, 1700, 1560);
    Command1 = makeButton(this, QStringLiteral("Command1"), QStringLiteral("&Go"), 3420, 1655, 840);
    Line2 = new LineControl(this, 120, 2160, 5880, 2160);
    Line2->setObjectName(QStringLiteral("Line2"));

    Label2 = makeNamedLabel(this, QStringLiteral("Label2"), QStringLiteral(" UP"), 120, 2400, 720,
                            255);
    Label3 = makeNamedLabel(this, QStringLiteral("Label3"), QStringLiteral(" Down"), 120, 2820, 720,
                            255);
    for (QLabel* l : {Label2, Label3}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    for (int i = 0; i < 10; ++i) {
        const Step& s = kSteps[i / 2];
        QPushButton* b = makeButton(this, QStringLiteral("cmdTune%1").arg(i), QString::fromLatin1(s.caption),
                                    960 + s.column * 990, i % 2 == 0 ? 2340 : 2760, 945);
        // Each step has an up and a down button of one caption: read with
        // the row they stand in.
        b->setAccessibleName(QString::fromLatin1(s.caption)
                             + (i % 2 == 0 ? QStringLiteral(" Up") : QStringLiteral(" Down")));
        b->setEnabled(false);
        cmdTune.set(i, b);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdTune_Click(i); });
    }
    Line3 = new LineControl(this, 120, 3300, 5880, 3300);
    Line3->setObjectName(QStringLiteral("Line3"));

    chkScan = new QCheckBox(QStringLiteral("Scan"), this);
    chkScan->setObjectName(QStringLiteral("chkScan"));
    placeControl(*chkScan, 120, 3480, 900, 255);
    Label4 = makeNamedLabel(this, QStringLiteral("Label4"), QStringLiteral("From:"), 1140, 3480,
                            600, 255);
    txtFrom = makeNamedBox(this, QStringLiteral("txtFrom"), QStringLiteral("1.8"), 1740, 3440, 1200);
    Label5 = makeNamedLabel(this, QStringLiteral("Label5"), QStringLiteral("To:"), 3180, 3480, 420,
                            255);
    txtTo = makeNamedBox(this, QStringLiteral("txtTo"), QStringLiteral("54"), 3600, 3440, 1200);

    Frame1 = makeNamedFrame(this, QStringLiteral("Frame1"), QStringLiteral("Scan Steps"), 120, 3840,
                            5760, 660);
    Option5 = makeNamedOption(Frame1, QStringLiteral("Option5"), QStringLiteral("2.5 KHz"), 120, 300,
                              1080);
    Option1 = makeNamedOption(Frame1, QStringLiteral("Option1"), QStringLiteral("500 Hz"), 1260, 300,
                              1080);
    Option2 = makeNamedOption(Frame1, QStringLiteral("Option2"), QStringLiteral("100 Hz"), 2400, 300,
                              1080);
    Option3 = makeNamedOption(Frame1, QStringLiteral("Option3"), QStringLiteral("30 Hz"), 3540, 300,
                              1080);
    Option4 = makeNamedOption(Frame1, QStringLiteral("Option4"), QStringLiteral("10 Hz"), 4680, 300,
                              1000);
    Option4->setChecked(true);
    Line4 = new LineControl(this, 120, 4620, 5880, 4620);
    Line4->setObjectName(QStringLiteral("Line4"));

    cmdDone = makeButton(this, QStringLiteral("cmdDone"), QStringLiteral("&Done"), 2520, 4740, 1095);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(cmdDone, &QPushButton::clicked, this, [this] { cmdDone_Click(); });
    connect(chkScan, &QCheckBox::toggled, this, [this] { chkScan_Click(); });
    connect(txtFreq, &QLineEdit::textChanged, this, [this] { txtFreq_Change(); });
    txtFreq->onKeyPress = [this](int& k) { txtFreq_KeyPress(k); };
    auto digitsOnly = [](int& k) {
        if (k != vk::Back && (k < 46 || k > 57))
            k = 0;
    };
    txtFrom->onKeyPress = digitsOnly;
    txtTo->onKeyPress = digitsOnly;
    for (EntryBox* box : {txtFreq, txtFrom, txtTo})
        box->characterFilter = digitsOnly;

    // Key preview: the window sees every key before the control with the
    // focus.
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
    installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(299);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    Timer1->start();
}

QString frmRigTune::bandFrequency(int index)
{
    return index >= 0 && index < 16 ? QString::fromLatin1(kBands[index].mhz) : QString();
}

double frmRigTune::tuneStep(int index)
{
    if (index < 0 || index > 9)
        return 0;
    const double step = kSteps[index / 2].mhz;
    return index % 2 == 0 ? step : -step;
}

void frmRigTune::Form_Load()
{
    FitParameters p;
    p.target = FitParameters::Target::Screen;
    p.placement = FitParameters::Placement::Centred;
    p.ratios = FitParameters::ControlRatios::TargetOverDesign;
    p.windowFont = FitParameters::WindowFont::SameAsControls;
    p.controlFont = FitParameters::ControlFont::ScreenWidthCapped;
    p.onError = FitParameters::OnError::Silent;
    FitWindow(*this, p);
}

bool frmRigTune::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        int code = keyPressCode(static_cast<QKeyEvent*>(event));
        if (code != 0)
            Form_KeyPress(code);
    }
    return QDialog::eventFilter(watched, event);
}

void frmRigTune::Form_KeyPress(int& keyAscii)
{
    (void)keyAscii;
    if (chkScan->isChecked())
        chkScan->setChecked(false); // runs chkScan_Click
}

void frmRigTune::Command1_Click()
{
    const std::optional<float> mhz = singleValue(txtFreq->text());
    if (!mhz || isNoRig(RigControlfrm::RigType()))
        return;
    DefaultInstance<RigControlfrm>().ChangeFrequency(*mhz);
}

void frmRigTune::cmdBand_Click(int index)
{
    txtFreq->setText(bandFrequency(index));
    Command1_Click();
}

void frmRigTune::cmdTune_Click(int index)
{
    const std::optional<double> v = readDecimal(txtFreq->text());
    if (!v)
        return;
    txtFreq->setText(decimalText(*v + tuneStep(index), 15));
    Command1_Click();
    cmdDone->setFocus();
}

void frmRigTune::modeButton(const QString& mode)
{
    DefaultInstance<RigControlfrm>().ChangeMode(0, mode);
    cmdDone->setFocus();
}

void frmRigTune::cmdCW_Click()
{
    modeButton(QStringLiteral("CW"));
}

void frmRigTune::cmdUSB_Click()
{
    modeButton(QStringLiteral("USB"));
}

void frmRigTune::cmdLSB_Click()
{
    modeButton(QStringLiteral("LSB"));
}

void frmRigTune::cmdAM_Click()
{
    modeButton(QStringLiteral("AM"));
}

void frmRigTune::cmdFM_Click()
{
    modeButton(QStringLiteral("FM"));
}

void frmRigTune::cmdRTTY_Click()
{
    modeButton(QStringLiteral("RTTY"));
}

void frmRigTune::cmdDone_Click()
{
    hide();
}

void frmRigTune::chkScan_Click()
{
    if (chkScan->isChecked() && !readDecimal(txtFreq->text()))
        txtFreq->setText(txtFrom->text());
    Command1->setFocus();
}

float frmRigTune::scanStep() const
{
    if (Option1->isChecked())
        return 0.0005f;
    if (Option2->isChecked())
        return 0.0001f;
    if (Option3->isChecked())
        return 0.00003f;
    if (Option4->isChecked())
        return 0.00001f;
    if (Option5->isChecked())
        return 0.0025f;
    return 0;
}

void frmRigTune::Timer1_Timer()
{
    if (!chkScan->isChecked())
        return;
    const std::optional<float> from = singleValue(txtFrom->text());
    const std::optional<float> to = singleValue(txtTo->text());
    if (!from || !to)
        return;
    const std::optional<float> now = singleValue(txtFreq->text());
    if (!now)
        return;
    float f = *now + scanStep();
    if (f > *to)
        f = *from;
    txtFreq->setText(scanFrequencyText(f));
    Command1_Click();
}

void frmRigTune::txtFreq_Change()
{
    const bool number = readDecimal(txtFreq->text()).has_value();
    for (const auto& [index, button] : cmdTune)
        button->setEnabled(number);
}

void frmRigTune::txtFreq_KeyPress(int& keyAscii)
{
    if (keyAscii == vk::Return) {
        Command1_Click();
        txtFreq->setFocus();
        txtFreq->setCursorPosition(static_cast<int>(txtFreq->text().size()));
        keyAscii = 0;
    }
    if (keyAscii != vk::Back && (keyAscii < 46 || keyAscii > 57))
        keyAscii = 0;
}

} // namespace zq
