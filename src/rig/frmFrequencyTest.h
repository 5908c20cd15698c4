#pragma once
// "Test Change Frequency Function": tries commands on the polled radio, a
// whole command typed by hand (as text, or as spaced hex bytes) or a
// frequency in MHz through the rig dialog's own set-frequency command.
// Opened modally by the rig dialog's Change Frequency while it polls.

#include "common/WindowRegistry.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace zq {

class EntryBox;
class LineControl;

class frmFrequencyTest : public QDialog, public LoadStep {
    Q_OBJECT
public:
    frmFrequencyTest();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    EntryBox* Text1 = nullptr;   // the raw command
    QCheckBox* Check1 = nullptr; // "Convert to Hex"
    QPushButton* Command1 = nullptr;
    QLabel* Label3 = nullptr;
    LineControl* Line1 = nullptr;
    QLabel* Label4 = nullptr;
    EntryBox* Text2 = nullptr; // frequency in MHz
    QPushButton* Command2 = nullptr;

    // Send: writes Text1 (blanks around it stripped) to the rig port as it
    // stands, or as bytes when "Convert to Hex" is ticked.  Nothing is
    // appended, nothing read back; a text that converts to nothing, a
    // character that is not one byte or a closed port sends nothing.
    void Command1_Click();
    // Send: tunes the radio to Text2 MHz (a point separates the decimals in
    // every locale); nothing when it is not a number.
    void Command2_Click();

private:
    void Form_Load() override;
};

} // namespace zq
