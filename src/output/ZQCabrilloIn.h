#pragma once
// "Summary Sheet Information": the summary-sheet answers the log does not
// hold (location, category, power, operators, the operator's name, address
// and e-mail, a comment), then the Cabrillo submission file of the whole
// log, written where the operator chooses through the active log window's
// file dialog.  Name, address and e-mail are remembered in the settings
// store and the shared preferences after a successful write.

#include "common/WindowRegistry.h"
#include "output/CabrilloFile.h"

#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zq {

class EntryBox;
class LineControl;

class ZQCabrilloIn : public QDialog, public LoadStep {
    Q_OBJECT
public:
    // Builds the dialog and runs its loading.
    ZQCabrilloIn();

    QGroupBox* Frame3 = nullptr;      // "Location"
    QRadioButton* Option12 = nullptr; // Carvonia
    QRadioButton* Option11 = nullptr; // World
    QGroupBox* Frame1 = nullptr;      // "Category"
    QRadioButton* Option6 = nullptr;  // Single Op
    QRadioButton* Option5 = nullptr;  // Multi One
    QRadioButton* Option9 = nullptr;  // Multi Multi
    QRadioButton* Option2 = nullptr;  // Rover
    QRadioButton* Option8 = nullptr;  // QRP
    QGroupBox* Frame2 = nullptr;      // "Power (Single Op Only)"
    QRadioButton* Option4 = nullptr;  // High
    QRadioButton* Option3 = nullptr;  // Low (100W)

    QLabel* Label6 = nullptr;  // "Your Name:"
    EntryBox* Text5 = nullptr;
    QLabel* Label9 = nullptr;  // "Address Line 1:"
    EntryBox* Text6 = nullptr;
    QLabel* Label8 = nullptr;  // "Address Line 2:"
    EntryBox* Text7 = nullptr;
    QLabel* Label7 = nullptr;  // "Email Address:"
    EntryBox* Text8 = nullptr;
    QLabel* Label1 = nullptr;  // operators
    EntryBox* Text1 = nullptr;
    QLabel* Label12 = nullptr; // soapbox
    EntryBox* Text11 = nullptr;

    QPushButton* Command4 = nullptr; // "Write Cabrillo File"
    QPushButton* Command3 = nullptr; // "Done"
    std::array<LineControl*, 4> Line{};

    // The option groups as they stand now.
    CabrilloLocation location() const;
    CabrilloCategory category() const;
    CabrilloPower power() const;

    static void Text1_KeyPress(int& keyAscii);
    void Command4_Click();
    void Command3_Click();

private:
    void buildControls();
    void Form_Load() override;
    // Remembers the four address boxes after a successful write.
    void rememberAddress();
};

} // namespace zq
