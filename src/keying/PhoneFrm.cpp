#include "keying/PhoneFrm.h"

#include "common/EntryBox.h"
#include "common/Folders.h"
#include "common/NamedControls.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "keying/KeyingState.h"
#include "platform/QuotedText.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QRadioButton>
#include <QTimer>

namespace zq {

PhoneFrm::PhoneFrm()
{
    setObjectName(QStringLiteral("PhoneFrm"));
    setWindowTitle(QStringLiteral("Phone Wave Selections"));
    resize(twipsToPixelsX(9000), twipsToPixelsY(4200));

    // Three columns of wave-file boxes: F1..F3, F4..F6, F7..F9.
    for (int i = 1; i <= 9; ++i) {
        const double left = 120 + ((i - 1) / 3) * 2960;
        const double top = 240 + ((i - 1) % 3) * 420;
        makeNamedLabel(this, QStringLiteral("lblF%1").arg(i), QStringLiteral("F%1").arg(i), left,
                       top + 30, 360, 255);
        Text[i] = makeNamedBox(this, QStringLiteral("Text%1").arg(i), QString(), left + 360, top,
                               2400);
    }
    txtPHLoop = makeNamedBox(this, QStringLiteral("txtPHLoop"), QStringLiteral("0"), 480, 1560, 600);
    makeNamedLabel(this, QStringLiteral("lblPHLoop"), QStringLiteral("Loop (Sec)"), 1200, 1590,
                   1200, 255);

    Text[10] = makeNamedBox(this, QStringLiteral("Text10"), QStringLiteral("0"), 480, 2100, 600);
    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    placeControl(*Frame1, 1320, 1980, 3600, 600);
    Option1 = makeNamedOption(Frame1, QStringLiteral("Option1"), QStringLiteral("RTS"), 120, 240,
                              1100);
    Option2 = makeNamedOption(Frame1, QStringLiteral("Option2"), QStringLiteral("DTR"), 1260, 240,
                              1100);
    Option3 = makeNamedOption(Frame1, QStringLiteral("Option3"), QStringLiteral("Parallel"), 2400,
                              240, 1100);
    Option1->setChecked(true);
    Text[11] = makeNamedBox(this, QStringLiteral("Text11"), QStringLiteral("&H378"), 5160, 2100, 1200);

    tmrRepeat = new QTimer(this);
    tmrRepeat->setObjectName(QStringLiteral("tmrRepeat"));
    tmrRepeat->setInterval(0);
    connect(tmrRepeat, &QTimer::timeout, this, [this] { tmrRepeat_Timer(); });

    MMControl1 = new WavePlayer(this);
    MMControl1->setObjectName(QStringLiteral("MMControl1"));
}

void WavePlayer::Command(const QString& command)
{
    if (command == QLatin1String("Play")) {
        // Only a file that exists plays; a missing one leaves the player stopped.
        const QString path =
            QFileInfo(FileName).isRelative() ? Folders::workingFile(FileName) : FileName;
        Mode = !FileName.isEmpty() && QFileInfo(path).isFile() ? ModePlaying : ModeStopped;
    } else if (command == QLatin1String("Stop")) {
        if (Mode != ModeNotOpen)
            Mode = ModeStopped;
    } else if (command == QLatin1String("Close")) {
        Mode = ModeNotOpen;
    }
}

void PhoneFrm::onUnload()
{
    MMControl1->Command(QStringLiteral("Close"));
}

void PhoneFrm::FKeyPhone(int& KeyCode)
{
    if (KeyCode < 112 || KeyCode > 120)
        return;
    MMControl1->Command(QStringLiteral("Stop"));
    MMControl1->FileName = Text[static_cast<size_t>(KeyCode - 111)]->text().trimmed();
    MMControl1->Command(QStringLiteral("Play"));
    if (KeyCode == 112) {
        bool ok = false;
        const int delay = txtPHLoop->text().trimmed().toInt(&ok);
        if (ok && delay > 0) {
            KeyingState::instance().PhoneRepeatActive = 1;
            if (tmrRepeat->interval() <= 0)
                tmrRepeat->setInterval(repeatDelayMs(delay));
            tmrRepeat->start();
        }
    }
}

void PhoneFrm::tmrRepeat_Timer()
{
    if (KeyingState::instance().PhoneRepeatActive != 1) {
        tmrRepeat->stop();
        return;
    }
    if (MMControl1->Mode != WavePlayer::ModePlaying) {
        int f1 = 112;
        FKeyPhone(f1);
    }
}

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
