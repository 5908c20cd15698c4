#pragma once
// The code-practice window "On the Air Code Practice": random character
// groups, pasted or typed text, or keys typed live, handed one character
// at a time to the CW keyer's send buffer and keyed by the CW keyer with
// its own key line and speed (software keying or the WinKeyer).

#include "common/WindowRegistry.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace zq {

class EntryBox;

class frmCodePractice : public QDialog, public LoadStep {
    Q_OBJECT
public:
    frmCodePractice();

    QStringList PracticeAlphabet; // entries 1..41
    QString PracticeText;         // the working copy of a Send pass

    QPlainTextEdit* Text1 = nullptr; // text to send
    QPlainTextEdit* Text2 = nullptr; // text sent
    EntryBox* Text3 = nullptr;       // number of groups
    EntryBox* Text4 = nullptr;       // characters per group
    EntryBox* Text5 = nullptr;       // live keyboard sending; stays empty
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option1 = nullptr; // Letters Only
    QRadioButton* Option2 = nullptr; // All
    QPushButton* Command1 = nullptr; // Paste from Clipboard
    QPushButton* Command2 = nullptr; // Generate Random Characters
    QPushButton* Command3 = nullptr; // Send
    QPushButton* Command4 = nullptr; // Stop
    QPushButton* Command5 = nullptr; // Clear (text sent)
    QPushButton* Command6 = nullptr; // Clear (text to send)
    QPushButton* Command7 = nullptr; // Faster
    QPushButton* Command8 = nullptr; // Slower
    QLabel* Label8 = nullptr;        // the speed, WPM

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Text5_KeyPress(int& KeyAscii);

protected:
    // Closing empties the send buffer and the working copy; it is refused
    // while a character is being keyed, which that emptying has stopped.
    void closeEvent(QCloseEvent* e) override;
    void reject() override; // Esc closes as the close control does

private:
    void Form_Load() override;
    void appendSent(QChar c);
    bool closeRefused();
    // With the WinKeyer as key line: runs the event loop until the keyer
    // has taken the buffer; false when the window went away meanwhile.
    static bool waitForWinKeyer(const QPointer<frmCodePractice>& self);
};

} // namespace zq
