#include "keying/CWFrm.h"

#include "common/EntryBox.h"
#include "common/Folders.h"
#include "common/NamedControls.h"
#include "common/TwipsLayout.h"
#include "common/WindowRegistry.h"
#include "keying/KeyingState.h"
#include "logstore/CountyTable.h"
#include "logstore/StationSettings.h"
#include "logwindow/Infrm.h"
#include "logwindow/Outfrm.h"
#include "platform/QuotedText.h"

#include <QCoreApplication>

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QRadioButton>
#include <QTimer>

namespace zq {

CWFrm::CWFrm()
{
    setObjectName(QStringLiteral("CWFrm"));
    setWindowTitle(QStringLiteral("CW String Selections"));
    resize(twipsToPixelsX(9000), twipsToPixelsY(4920));

    // The message boxes: F1..F9, then F10 (Text12) and F11 (Text13).
    const int messageBoxes[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13};
    for (int row = 0; row < 11; ++row) {
        const int i = messageBoxes[row];
        const double top = 240 + row * 360;
        makeNamedLabel(this, QStringLiteral("lblF%1").arg(row + 1),
                       QStringLiteral("F%1").arg(row + 1), 120, top + 30, 420, 255);
        Text[i] = makeNamedBox(this, QStringLiteral("Text%1").arg(i), QString(), 600, top, 4200);
    }

    Frame1 = makeNamedFrame(this, QStringLiteral("Frame1"), QStringLiteral("Keying Options"), 5040,
                            240, 3720, 2040);
    auto option = [this](const char* name, const char* caption, double top) {
        return makeNamedOption(Frame1, QLatin1String(name), QLatin1String(caption), 120, top, 1200);
    };
    Option1 = option("Option1", "RTS", 300);
    Option2 = option("Option2", "DTR", 600);
    Option3 = option("Option3", "Printer", 900);
    Option4 = option("Option4", "None", 1200);
    Option5 = option("Option5", "WinKey", 1500);
    Option4->setChecked(true);
    makeNamedLabel(Frame1, QStringLiteral("lblSerial"), QStringLiteral("Serial"), 1680, 300, 1200,
                   255);
    Text[10] = makeNamedBox(Frame1, QStringLiteral("Text10"), QStringLiteral("0"), 1680, 560, 720);
    makeNamedLabel(Frame1, QStringLiteral("lblParallel"), QStringLiteral("Parallel"), 1680, 960,
                   1200, 255);
    Text[14] = makeNamedBox(Frame1, QStringLiteral("Text14"), QStringLiteral("&H378"), 1680, 1220,
                            1200);

    Text[11] = makeNamedBox(this, QStringLiteral("Text11"), QStringLiteral("13"), 5040, 2400, 600);
    makeNamedLabel(this, QStringLiteral("lblWPM"), QStringLiteral("WPM"), 5760, 2430, 1200, 255);
    txtSpace = makeNamedBox(this, QStringLiteral("txtSpace"), QStringLiteral("0"), 5040, 2800, 600);
    makeNamedLabel(this, QStringLiteral("lblSpace"), QStringLiteral("Word Space"), 5760, 2830, 1500,
                   255);
    txtCWLoop = makeNamedBox(this, QStringLiteral("txtCWLoop"), QStringLiteral("0"), 5040, 3200, 600);
    makeNamedLabel(this, QStringLiteral("lblCWLoop"), QStringLiteral("Loop (Sec)"), 5760, 3230, 1500,
                   255);

    Check1 = new QCheckBox(QStringLiteral("Display CW text on main form (NA for WinKey)."), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    placeControl(*Check1, 600, 4320, 5400, 255);
    Check1->setChecked(true);

    tmrRepeat = new QTimer(this);
    tmrRepeat->setObjectName(QStringLiteral("tmrRepeat"));
    tmrRepeat->setInterval(0);
    connect(tmrRepeat, &QTimer::timeout, this, [this] { tmrRepeat_Timer(); });
}

void CWFrm::applySettings(const CwSettingsRead& read)
{
    const CwSettings& s = read.settings;
    const int n = read.valuesRead;
    for (int i = cwline::Text1; i <= cwline::Text13 && i <= n; ++i)
        Text[i]->setText(s.Text[i]);
    if (n >= cwline::txtSpace)
        txtSpace->setText(s.txtSpace);
    if (n >= cwline::CwKeyingMethod)
        KeyingState::instance().CwKeyingMethod = s.CwKeyingMethod;
    if (n >= cwline::Text14)
        Text[14]->setText(s.Text[14]);
    if (n >= cwline::Check1)
        Check1->setChecked(s.Check1 != 0);
    if (n >= cwline::txtCWLoop)
        txtCWLoop->setText(s.txtCWLoop);
    if (!read.complete)
        return;
    tmrRepeat->setInterval(s.repeatIntervalMs);

    setOptionValue(*Option1, false);
    setOptionValue(*Option2, false);
    setOptionValue(*Option3, false);
    switch (KeyingState::instance().CwKeyingMethod) {
    case 1: Option1->setChecked(true); break;
    case 2: Option2->setChecked(true); break;
    case 3: Option3->setChecked(true); break;
    case 0: Option4->setChecked(true); break;
    case 5: Option5->setChecked(true); break;
    default: break; // no option for it: the visible choice stays
    }
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

// ---------------------------------------------------------------------------
// Procedures the log windows call

namespace {

WinKeyerLink* winKeyer = nullptr;

// The number a box holds, 0 when it holds none.
int boxNumber(const EntryBox* box)
{
    bool ok = false;
    const int n = box->text().trimmed().toInt(&ok);
    return ok ? n : 0;
}

// The own county as sent: its abbreviation when that is shorter.
QString countyForCw(const QString& county)
{
    const CountyTable& t = CountyTable::instance();
    for (int i = 1; i <= t.count(); ++i) {
        const auto n = static_cast<size_t>(i);
        if (QString::compare(t.CountyName[n], county, Qt::CaseInsensitive) == 0)
            return t.CountyAbbrev[n].size() < t.CountyName[n].size() ? t.CountyAbbrev[n] : county;
    }
    return county;
}

LogWindow* activeLogWindow()
{
    if (StationSettings::instance().OutOfStateFlag == 1)
        return WindowRegistry::existing<Outfrm>();
    return WindowRegistry::existing<Infrm>();
}

} // namespace

QString CWFrm::expandMacros(const QString& message) const
{
    const KeyingState& ks = KeyingState::instance();
    QString rst = ks.CwMacroRst;
    if (rst.isEmpty() || rst == QLatin1String("599"))
        rst = QStringLiteral("5NN");
    rst = rst.trimmed();
    QString out;
    for (QChar c : message) {
        if (c == u'$')
            out += ks.CwMacroCall;
        else if (c == u'*')
            out += rst;
        else if (c == u'^')
            out += countyForCw(ks.CwMacroCounty);
        else
            out += c;
    }
    return out;
}

void CWFrm::FKeyCW(int& KeyCode)
{
    KeyingState& ks = KeyingState::instance();
    ks.CwSendBuffer.clear();
    if (ks.CwKeyingMethod != 0 && ((KeyCode >= 112 && KeyCode <= 124) || ks.KeyboardCwMode == 1)) {
        QString message;
        if (KeyCode >= 112 && KeyCode <= 120)
            message = Text[static_cast<size_t>(KeyCode - 111)]->text();
        else if (KeyCode == 124)
            message = Text[12]->text();
        else if (KeyCode == 122)
            message = Text[13]->text();
        if (KeyCode == 112) {
            const int delay = boxNumber(txtCWLoop);
            if (delay > 0) {
                ks.CwRepeatActive = 1;
                if (tmrRepeat->interval() <= 0)
                    tmrRepeat->setInterval(repeatDelayMs(delay));
                tmrRepeat->start();
            }
        }
        if (!message.isEmpty()) {
            ks.CwSendBuffer += expandMacros(message);
            LoopThroughCWBuffer();
        }
    }
    QCoreApplication::processEvents();
}

void CWFrm::tmrRepeat_Timer()
{
    KeyingState& ks = KeyingState::instance();
    if (ks.CwRepeatActive != 1) {
        tmrRepeat->stop();
        return;
    }
    if (ks.CwSendingBusy == 0) {
        int f1 = 112;
        FKeyCW(f1);
    }
}

void CWFrm::UpDown1_UpClick()
{
    Text[11]->setText(QString::number(boxNumber(Text[11]) + 1));
}

void CWFrm::UpDown1_DownClick()
{
    Text[11]->setText(QString::number(boxNumber(Text[11]) - 1));
}

void CWFrm::LoopThroughCWBuffer()
{
    KeyingState& ks = KeyingState::instance();
    if (ks.CwKeyingMethod == 5) {
        wk_sendtext(ks.CwSendBuffer);
        ks.CwSendBuffer.clear();
        return;
    }
    ks.CwSendingBusy = 1;
    while (!ks.CwSendBuffer.isEmpty()) {
        const QChar c = ks.CwSendBuffer.at(0);
        ks.CwSendBuffer.remove(0, 1);
        if (c == u'!') {
            LogWindow* w = activeLogWindow();
            if (w && !w->txtCall->text().isEmpty())
                w->Mains();
        } else if (keyCharacter) {
            keyCharacter(c);
        }
        QCoreApplication::processEvents();
    }
    ks.CwSendingBusy = 0;
    if (ks.KeyboardCwMode == 1 && Check1->isChecked()) {
        if (LogWindow* w = activeLogWindow())
            w->lblDialog->setText(QStringLiteral("Keyboard CW Mode is on.  Press F12 to exit."));
    }
}

void setWinKeyerLink(WinKeyerLink* link)
{
    winKeyer = link;
}

int32_t wk_getstatus()
{
    return winKeyer ? winKeyer->getStatus() : 0;
}

void wk_clearbuf()
{
    if (winKeyer)
        winKeyer->clearBuffer();
}

void wk_backspace()
{
    if (winKeyer)
        winKeyer->backspace();
}

void wk_sendtext(const QString& text)
{
    if (winKeyer)
        winKeyer->sendText(text);
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

} // namespace zq
