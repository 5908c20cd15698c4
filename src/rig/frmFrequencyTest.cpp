#include "rig/frmFrequencyTest.h"

#include "common/EntryBox.h"
#include "common/NamedControls.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "common/WindowRegistry.h"
#include "platform/SerialPort.h"
#include "rig/RigCommands.h"
#include "rig/RigControlfrm.h"
#include "rig/RigConversions.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <cfloat>
#include <cmath>

namespace zq {

namespace {

QLabel* instruction(QWidget* parent, const char* name, const char* caption, double top,
                    double height)
{
    QLabel* l = makeNamedLabel(parent, QLatin1String(name), QLatin1String(caption), 120, top, 5295,
                               height);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QPushButton* sendButton(QWidget* parent, const char* name, double left, double top)
{
    auto* b = new QPushButton(QStringLiteral("Send"), parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    placeControl(*b, left, top, 615, 375);
    return b;
}

} // namespace

frmFrequencyTest::frmFrequencyTest()
{
    setObjectName(QStringLiteral("frmFrequencyTest"));
    setWindowTitle(QStringLiteral("Test Change Frequency Function"));
    setModal(true);
    setFormWidth(*this, 5640);
    setFormHeight(*this, 4440);

    Label1 = instruction(this, "Label1",
                         "Please use the text box below to enter a complete command to send to "
                         "your radio.  The default example is the command used for Kenwood "
                         "radios.",
                         120, 615);
    Label2 = instruction(this, "Label2",
                         "If your radio requires a hexidecimal format, please enter in the format "
                         "of XX XX XX (using spaces between each two digits) and click the Convert "
                         "to Hex check box below.",
                         840, 735);
    Text1 = makeNamedBox(this, QStringLiteral("Text1"), QStringLiteral("FA00028475000;"), 120, 1605,
                         2800);
    Check1 = new QCheckBox(QStringLiteral("Convert to Hex"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    placeControl(*Check1, 3000, 1560, 1740, 375);
    Command1 = sendButton(this, "Command1", 4800, 1560);
    Label3 = instruction(this, "Label3",
                         "Once you have a working command, please e-mail me the exact command and "
                         "the frequency (in Mhz) specified in the command.",
                         2000, 620);
    Line1 = new LineControl(this, 120, 2640, 5400, 2640);
    Line1->setObjectName(QStringLiteral("Line1"));
    Label4 = instruction(this, "Label4",
                         "Most Elecrafts, Icoms, Kenwoods and Yaesus are now supported. For any "
                         "supported radio, you should be able to enter a frequency in Mhz, click "
                         "send and your radio should switch to the specified frequency.",
                         2700, 840);
    Text2 = makeNamedBox(this, QStringLiteral("Text2"), QString(), 1800, 3630, 855);
    Command2 = sendButton(this, "Command2", 2880, 3600);

    // The instructions over the two boxes are read as their descriptions;
    // the boxes are named by what they hold.
    Text1->setAccessibleName(QStringLiteral("Command"));
    Text1->setAccessibleDescription(Label2->text());
    Text2->setAccessibleName(QStringLiteral("Frequency in MHz"));
    Text2->setAccessibleDescription(Label4->text());
    // The two Send buttons are read with what each sends.
    Command1->setAccessibleName(QStringLiteral("Send Command"));
    Command2->setAccessibleName(QStringLiteral("Send Frequency"));

    setTabOrder(Text1, Check1);
    setTabOrder(Check1, Command1);
    setTabOrder(Command1, Text2);
    setTabOrder(Text2, Command2);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void frmFrequencyTest::Form_Load()
{
    FitWindow(*this, FitParameters::toScreenCentred(FitParameters::ControlFont::ScreenWidthCapped));
    Text2->setText(QStringLiteral("28.475"));
}

void frmFrequencyTest::Command1_Click()
{
    const QString text = Text1->text().trimmed();
    QByteArray command;
    if (Check1->checkState() != Qt::Unchecked) {
        command = SpacedHexToBytes(text);
    } else {
        for (QChar c : text) {
            if (c.unicode() > 0xFF)
                return; // not one byte: nothing is sent
        }
        command = text.toLatin1();
    }
    RigControlfrm* rig = WindowRegistry::existing<RigControlfrm>();
    if (command.isEmpty() || !rig)
        return;
    rig->comComm1->output(command);
}

void frmFrequencyTest::Command2_Click()
{
    const std::optional<double> mhz = readDecimal(Text2->text());
    if (!mhz || std::fabs(*mhz) > FLT_MAX)
        return;
    DefaultInstance<RigControlfrm>().ChangeFrequency(static_cast<float>(*mhz));
}

} // namespace zq
