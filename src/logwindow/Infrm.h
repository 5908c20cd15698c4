#pragma once
// The log window of a station inside the home state: the exchange is the
// other station's state, province or country, plus its county when it is
// in the home state.  The states and provinces worked show in a grid.

#include "logstore/ContactLog.h"
#include "logwindow/LogWindow.h"

#include <cstdint>

namespace zq {

class Infrm : public LogWindow {
    Q_OBJECT
public:
    Infrm();

    void Mains() override;

    QListWidget* List3 = nullptr; // counties still to work
    ControlArray<ClickLabel> Label10; // 1..59: the state and province grid
    QLabel* Label13 = nullptr;    // "Total CW Contacts......"
    QLabel* lblsectogo = nullptr; // CW contacts
    QLabel* Label6 = nullptr;     // "Total Multipliers ..........."
    QLabel* lblSecOne = nullptr;
    QLabel* lblSecTwo = nullptr;
    QLabel* lblSecThre = nullptr;
    QLabel* lblSecFour = nullptr;
    QLabel* lblSecFive = nullptr;
    QLabel* lblSecSix6 = nullptr; // "6"
    QLabel* lblSecSix = nullptr;  // "7"
    QLabel* lblSecEight = nullptr;
    QLabel* lblSecNine = nullptr;
    QLabel* lblSecZero = nullptr;
    QLabel* lblSecCA = nullptr;
    QAction* mnuChangeCounty = nullptr;

    // The index in the rover's county list of the county being re-logged;
    // 0 while no re-logging is under way.
    int RoverCountyIndex = 0;

protected:
    QString greetingText() const override;
    std::vector<double> contactListWidths() const override;
    void afterContactListColumns() override;
    void applySavedOptions() override;
    void showStation() override;
    std::vector<QListWidget*> followingSideLists() const override;
    void beforeReloadCount() override;
    void refreshDisplays() override;
    void afterBandChangeRefresh() override;
    void afterModeChange(const QString& mode) override;
    void unloadVariantToolWindows() override;

    // The state and province grid and the DX list (InfrmEntry.cpp).
    void RebuildStateMatrix();
    void RecolourStateGrid();
    void RebuildDXList();
    void UpdateDXList();
    void MarkStateWorked();
    void Label10_Click(int index);
    void Label10_MouseMove(int index);
    void List1_Click();
    void Label25_Change();
    // The section check of the logging step and the duplicate lock.
    void CheckSection();
    void ReleaseDupeLock();

    QListWidget* countiesToGoList() const override { return List3; }
    QLabel* workedCountiesCaption() const override { return lblStation(8); }
    QLabel* cwTotalLabel() const override { return lblsectogo; }
    int stateMultipliers() const override;
    void afterRowCleared() override;
    void afterCallKeyPress() override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    // The country check of the typed state, province or country.
    void txtCntry_Change() override;
    void txtCntry_GotFocus() override;
    void txtSec_GotFocus() override;
    void LookupCallCountry() override;

    void mnuChangeCounty_Click();

    // Recall and rover re-logging (LogWindow_rover.cpp).  After Mains has
    // stored justStored: logs it again for every further county of a rover
    // on a county line.
    void roverHandOff(const ContactRecord& justStored);
    void RelogRoverCounties(const ContactRecord& justStored);

private:
    void buildStateGrid();
    void wireStateGrid();
    // Shows the state or province of the grid as worked or still needed:
    // in the colour the operator chose for it, and in the name it is read by.
    void paintGridLabel(int index, bool worked);
};

} // namespace zq
