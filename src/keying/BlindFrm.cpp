#include "keying/BlindFrm.h"

#include "common/DoneOnly.h"
#include "platform/Folders.h"
#include "common/NamedControls.h"
#include "common/OperatorChoice.h"
#include "common/TwipsLayout.h"
#include "keying/PhoneFrm.h"
#include "logstore/PrefFile.h"
#include "logstore/StationSettings.h"
#include "platform/WaveDevice.h"

#include "platform/EventHold.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace zq {

std::chrono::milliseconds promptWaitLimit(std::chrono::milliseconds promptLength)
{
    const auto length = std::max(promptLength, std::chrono::milliseconds(0));
    return std::min(length + PlaybackMargin + PromptWaitMargin, PromptWaitCap);
}

BlindFrm::BlindFrm()
{
    setObjectName(QStringLiteral("BlindFrm"));
    setWindowTitle(QStringLiteral("Voice Navigation Settings"));
    makeDoneOnly(*this);
    resize(twipsToPixelsX(6000), twipsToPixelsY(4200));

    QLabel* heading = makeNamedLabel(this, QStringLiteral("Label1"),
                                     QStringLiteral("To Enable Voice Navigation:"), 240, 120, 5400,
                                     255);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    QLabel* howTo = makeNamedLabel(
        this, QStringLiteral("Label2"),
        QStringLiteral("Choose one of the options below.  Select Off to turn the navigation "
                       "function off, Call to indicate the Call field only and All Data Fields to "
                       "provide verbal prompts through all the data fields."),
        240, 420, 5500, 900);
    howTo->setWordWrap(true);
    Frame1 = makeNamedFrame(this, QStringLiteral("Frame1"),
                            QStringLiteral("Choose your preferred option:"), 240, 1380, 5500, 800);
    Option1 = makeNamedOption(Frame1, QStringLiteral("Option1"), QStringLiteral("Off"), 240, 360,
                              1200);
    Option2 = makeNamedOption(Frame1, QStringLiteral("Option2"), QStringLiteral("Call Only"), 1560,
                              360, 1600);
    Option3 = makeNamedOption(Frame1, QStringLiteral("Option3"), QStringLiteral("All Data Fields"),
                              3300, 360, 2000);
    QLabel* note = makeNamedLabel(
        this, QStringLiteral("Label3"),
        QStringLiteral("The navigation wave files (NavEn, NavDis, Call, RstSnt, SerNum, County, "
                       "SPC and Dupe) must be added to this program's working directory."),
        240, 2280, 5500, 720);
    note->setWordWrap(true);
    Label7 = makeNamedLabel(this, QStringLiteral("Label7"), QString(), 240, 3060, 5500, 500);
    Label7->setWordWrap(true);
    Command1 = makeNamedButton(this, QStringLiteral("Command1"), QStringLiteral("Done"), 2400, 3660,
                               1200);

    MMControl1 = new WaveDevice(this);
    MMControl1->setObjectName(QStringLiteral("MMControl1"));

    onOperatorChoice(Option1, this, [this] { Option1_Click(); });
    onOperatorChoice(Option2, this, [this] { Option2_Click(); });
    onOperatorChoice(Option3, this, [this] { Option3_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

void BlindFrm::Form_Load()
{
    fitVoiceWindow(*this); // as the voice keyer's window

    Label7->setText(QStringLiteral("Put the audio wave files in this program's working directory: ")
                    + QDir::toNativeSeparators(Folders::instance().WorkingDirectory));

    // The stored level's option, announced as if clicked.
    setOptionValue(*Option1, false);
    setOptionValue(*Option2, false);
    setOptionValue(*Option3, false);
    switch (StationSettings::instance().VoiceNavigationLevel) {
    case 0: Option1->setChecked(true); Option1_Click(); break;
    case 1: Option2->setChecked(true); Option2_Click(); break;
    case 2: Option3->setChecked(true); Option3_Click(); break;
    default: break;
    }
}

void BlindFrm::BlindKeyPhone(const QString& Name)
{
    MMControl1->Command(QStringLiteral("Close"));
    MMControl1->FileName = Folders::workingFile(Name + QStringLiteral(".wav"));
    if (MMControl1->FileName.trimmed().isEmpty())
        return;
    MMControl1->Command(QStringLiteral("Open"));
    MMControl1->Command(QStringLiteral("Play"));
}

void BlindFrm::waitForPromptEnd()
{
    if (MMControl1->Mode() != WaveDevice::ModePlaying)
        return;
    // The program holds until the device says the prompt has been heard:
    // keys typed meanwhile take effect afterwards, in order, and the
    // program's timers (a CW repeat, a spot tick) wait; the sound plays on.
    EventHold::waitFor(MMControl1, &WaveDevice::playbackEnded,
                       promptWaitLimit(MMControl1->fileLength()));
}

void BlindFrm::Option1_Click()
{
    BlindKeyPhone(QStringLiteral("NavDis"));
}

void BlindFrm::Option2_Click()
{
    BlindKeyPhone(QStringLiteral("NavEn"));
    waitForPromptEnd();
    BlindKeyPhone(QStringLiteral("Call"));
}

void BlindFrm::Option3_Click()
{
    BlindKeyPhone(QStringLiteral("NavEn"));
}

void BlindFrm::Command1_Click()
{
    StationSettings& st = StationSettings::instance();
    st.VoiceNavigationLevel = Option2->isChecked() ? 1 : Option3->isChecked() ? 2 : 0;
    hide();
    WritePrefFile();
}

void BlindFrm::onUnload()
{
    MMControl1->Command(QStringLiteral("Close"));
}

} // namespace zq
