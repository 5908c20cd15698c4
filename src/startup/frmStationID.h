#pragma once
// The station set-up dialog " Setup Information": the operator identifies
// the station before the log window opens.  Loading reads the station
// preferences, checks the UTC offset, builds the country and state tables
// and fills the keyers' settings; Done stores the station, saves the
// preferences, publishes the station in the shared preferences file and
// opens the log window that fits the station.

#include "common/WindowRegistry.h"
#include "startup/StationSetupEntry.h"

#include <QWidget>
#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zq {

class EntryBox;

class frmStationID : public QWidget, public LoadStep {
    Q_OBJECT
public:
    static constexpr int StateOptionCount = 50;

    // Builds the dialog and runs its loading.
    frmStationID();

    // Text1..Text12 (index 0 not used) with their labels Label1..Label12.
    std::array<EntryBox*, 13> Text{};
    std::array<QLabel*, 13> Label{};
    QGroupBox* Frame1 = nullptr;     // "Are you in Carvonia?"
    QRadioButton* Option1 = nullptr; // Yes
    QRadioButton* Option2 = nullptr; // No
    QGroupBox* Frame2 = nullptr;     // "Are you operating as a Rover?"
    QRadioButton* Option4 = nullptr; // Yes
    QRadioButton* Option3 = nullptr; // No
    QGroupBox* Frame3 = nullptr;     // "Please select the state QSO party:"
    std::array<QRadioButton*, StateOptionCount> optState{};
    QPushButton* Command1 = nullptr; // Done

    // Key filters on a typed character code (0 drops the key).
    static void Cap3(int& keyAscii);
    static void NumBerr(int& keyAscii);

    void Command1_Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void Form_Load() override;
    void reportLoadFailure();
    void showStateChoice();
    // Frame2 and its options Yes / No (the rover question).
    void enableRoverChoice(bool enabled);
    void Option1_Click();
    void Option2_Click();
    void optState_Click(int index);
    void Text2_KeyPress(int& keyAscii);
    void Text8_KeyPress(int& keyAscii);
    void Text6_LostFocus();
    // Enter runs Done (and types nothing); the filter then sees the code.
    void doneOnEnter(int& keyAscii);

    bool done_ = false;
};

} // namespace zq
