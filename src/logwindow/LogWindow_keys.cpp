// The log window's keys for the whole window, whatever control has the
// focus: Ctrl shortcuts to the tool windows, the function keys of the voice
// and CW keyers, the CW speed on the arrow keys, keyboard-CW mode on F12,
// Esc, and the quote characters, which are dropped.  Any key ends an
// automatic repeat of the F1 message.

#include "logwindow/LogWindow.h"

#include "common/EntryBox.h"
#include "common/EventOnItsWay.h"
#include "platform/Folders.h"
#include "common/KeyCodes.h"
#include "common/ModalShow.h"
#include "common/WindowRegistry.h"
#include "entry/TextCompare.h"
#include "keying/CWFrm.h"
#include "keying/KeyingState.h"
#include "keying/PhoneFrm.h"
#include "platform/WaveDevice.h"
#include "logstore/CountyTable.h"
#include "logstore/StationSettings.h"
#include "platform/WinKeyer.h"
#include "rig/frmRigTune.h"
#include "spots/PacketSpotfrm.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace zq {

namespace {

const QColor kKeyboardCwColour(255, 255, 192);

bool isMode(const char* mode)
{
    return sameText(StationSettings::instance().CurrentMode, QString::fromLatin1(mode));
}

// Shows a modeless tool window in its normal state.
void showInNormalState(QWidget& w)
{
    w.setWindowState(w.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    w.show();
}

// Passes each key event to the window's handlers before the control that
// has the focus; a key or character they consume goes no further.  Qt
// delivers a key and its character as one event, so a key pressed with Ctrl
// consumes its own character and nothing after it.
//
// The filter watches the window and its controls.  A key its control does
// not take travels on up to the window, where the filter sees the same event
// again: it was handled at its control and is let through, whatever the
// handlers did to the focus meanwhile (a message box or a modal window takes
// it away, and it comes back later).  A key sent to the window itself is
// handled there.
class KeyPreview final : public QObject {
public:
    explicit KeyPreview(LogWindow* w) : QObject(w), window_(w) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        if (handled_.is(e) && isAbove(watched, handled_.at())) {
            // On its way up from the control that had it: its last stop is
            // the window.
            if (watched == window_)
                handled_.forget();
            return false;
        }
        const bool consumed = handle(static_cast<QKeyEvent*>(e));
        if (consumed)
            e->accept();
        else if (watched != window_)
            handled_.remember(e, watched); // for the rest of its way up
        return consumed;
    }

private:
    // Runs the window's handlers; true when they consumed the key.
    bool handle(QKeyEvent* ke)
    {
        int code = keyDownCode(ke);
        int shift = shiftState(ke);
        const int pressed = code;
        window_->Form_KeyDown(code, shift);
        bool consumed = pressed != 0 && code == 0;
        // A paste key is the field's editing command, not a character the
        // Ctrl handling could consume.
        if (!consumed && !isPasteKey(ke)) {
            int ascii = keyPressCode(ke);
            if (ascii != 0) {
                window_->Form_KeyPress(ascii);
                consumed = ascii == 0;
            }
        }
        window_->CtrlKeyHandled = 0;
        return consumed;
    }

    // True when `w` is a parent widget, near or far, of `control`.
    static bool isAbove(const QObject* w, const QObject* control)
    {
        for (const QObject* p = control ? control->parent() : nullptr; p; p = p->parent())
            if (p == w)
                return true;
        return false;
    }

    LogWindow* window_;
    // The event handled at a control, while it may still be on its way up.
    EventOnItsWay handled_{this};
};

} // namespace

void LogWindow::installKeyPreview()
{
    auto* preview = new KeyPreview(this);
    installEventFilter(preview);
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child->window() == this && child->focusPolicy() != Qt::NoFocus)
            child->installEventFilter(preview);
    }
}

void LogWindow::Form_KeyDown(int& keyCode, int& shift)
{
    KeyingState& ks = KeyingState::instance();

    // Ctrl shortcuts.
    if (shift == shiftmask::Ctrl) {
        // Ctrl itself (or another modifier) types no character to consume.
        if (keyCode != vk::Control && keyCode != vk::Shift && keyCode != vk::Menu)
            CtrlKeyHandled = 1;
        QDir::setCurrent(Folders::instance().WorkingDirectory);
        bool opened = true;
        switch (keyCode) {
        case 'B': mnuSpectrumMap_Click(); break;
        case 'C':
        case 'S': showInNormalState(DefaultInstance<CWFrm>()); break;
        case 'D': showInNormalState(DefaultInstance<PacketSpotfrm>()); break;
        case 'F': mnuPrivileges_Click(); break;
        case 'G':
            showModal(DefaultInstance<frmRigTune>());
            WindowRegistry::unload<frmRigTune>();
            break;
        case 'P': showInNormalState(DefaultInstance<PhoneFrm>()); break;
        case 'R': mnuRigInterface_Click(); break;
        default: opened = false; break;
        }
        if (opened) {
            keyCode = 0;
            CtrlKeyHandled = 0; // the consumed key brings no character
            return;
        }
    }

    // Any other key ends an automatic repeat.
    if (ks.CwRepeatActive == 1) {
        if (ks.WinKeyerOpen != 0)
            wk_clearbuf();
        ks.CwSendBuffer.clear();
        ks.CwRepeatActive = 0;
        if (CWFrm* cw = WindowRegistry::existing<CWFrm>())
            cw->tmrRepeat->stop();
    }
    if (ks.PhoneRepeatActive == 1) {
        ks.PhoneRepeatActive = 0;
        if (PhoneFrm* phone = WindowRegistry::existing<PhoneFrm>())
            phone->tmrRepeat->stop();
    }

    if (isMode("PH")) {
        if (keyCode == vk::F10)
            keyCode = 0;
        else if (keyCode >= vk::F1 && keyCode <= vk::F9)
            DefaultInstance<PhoneFrm>().FKeyPhone(keyCode);
        return;
    }
    if (!isMode("CW") || ks.CwKeyingMethod == 0)
        return;

    if (keyCode == vk::Down || keyCode == vk::Up) {
        CWFrm& cw = DefaultInstance<CWFrm>();
        if (keyCode == vk::Down)
            cw.UpDown1_DownClick();
        else
            cw.UpDown1_UpClick();
        lblDialog->setText(cw.Text[11]->text() + QStringLiteral(" WPM"));
        keyCode = 0;
        return;
    }
    if (keyCode < vk::F1 || keyCode > vk::F12)
        return;
    if (keyCode == vk::F10)
        keyCode = 124;
    if (keyCode != vk::F12) {
        DefaultInstance<CWFrm>().FKeyCW(keyCode);
        return;
    }

    // F12: keyboard-CW mode on or off.
    lblDialog->setAutoFillBackground(true);
    QPalette p = lblDialog->palette();
    if (ks.KeyboardCwMode == 0) {
        ks.KeyboardCwMode = 1;
        lblDialog->setText(variant() == Variant::OutOfState
                               ? QStringLiteral("Keyboard CW mode is ON!  Press F12 to exit.")
                               : QStringLiteral("Press F12 to exit keyboard CW mode."));
        p.setColor(QPalette::Window, kKeyboardCwColour);
        lblDialog->setPalette(p);
    } else {
        ks.KeyboardCwMode = 0;
        lblDialog->clear();
        setDialogRed(false);
    }
}

void LogWindow::Form_KeyPress(int& keyAscii)
{
    KeyingState& ks = KeyingState::instance();

    if (CtrlKeyHandled == 1) {
        CtrlKeyHandled = 0;
        keyAscii = 0;
        return;
    }
    if (keyAscii == vk::Escape && isMode("PH")) {
        PhoneFrm* phone = WindowRegistry::existing<PhoneFrm>();
        if (phone && phone->MMControl1->Mode() == WaveDevice::ModePlaying) {
            phone->MMControl1->Command(QStringLiteral("Stop"));
            keyAscii = 0;
            return;
        }
    }
    if (keyAscii == '\'' || keyAscii == '"') {
        keyAscii = 0;
        return;
    }
    if (keyAscii == vk::Escape && ks.CwKeyingMethod == 5 && ks.WinKeyerOpen != 0) {
        ks.WinKeyerStatus = wk_getstatus();
        if (ks.WinKeyerStatus > 0) {
            wk_clearbuf();
            ks.CwSendBuffer.clear();
            keyAscii = 0;
            return;
        }
    }
    if (keyAscii == vk::Escape) {
        if (ks.CwSendingBusy == 0)
            ClearEntry();
        else
            ks.CwSendBuffer.clear(); // keying stops after the current character
        keyAscii = 0;
        return;
    }
    if (ks.WinKeyerOpen != 0)
        ks.WinKeyerStatus = wk_getstatus();
    if (keyAscii == vk::Back && ks.KeyboardCwMode == 1 && ks.WinKeyerStatus > 0) {
        wk_backspace();
        keyAscii = 0;
        return;
    }
    if (keyAscii == vk::Back && ks.CwSendingBusy == 1 && !ks.CwSendBuffer.isEmpty()
        && ks.KeyboardCwMode == 1) {
        ks.CwSendBuffer.chop(1);
        keyAscii = 0;
        return;
    }
    if (isMode("CW") && ks.KeyboardCwMode == 1) {
        UpperKey(keyAscii);
        if (keyAscii != 0)
            ks.CwSendBuffer += QChar(keyAscii);
        keyAscii = 0;
        if (ks.CwSendingBusy == 0)
            DefaultInstance<CWFrm>().LoopThroughCWBuffer();
    }
}

} // namespace zq
