#pragma once
// The log window of a station inside the home state: the exchange is the
// other station's state, province or country, plus its county when it is
// in the home state.  The states and provinces worked show in a grid.

#include "logwindow/LogWindow.h"

#include <QColor>
#include <cstdint>

namespace zq {

class Infrm : public LogWindow {
    Q_OBJECT
public:
    Infrm();

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

    // A colour as stored in the preferences (red in the low byte).
    static QColor storedColor(int32_t value);

protected:
    QString greetingText() const override;
    std::vector<ColumnSpec> contactListColumns() const override;
    void afterContactListColumns() override;
    void applySavedOptions() override;
    void showStation() override;
    std::vector<QListWidget*> followingSideLists() const override;
    void beforeReloadCount() override;
    bool refreshDisplays() override;
    void afterBandChangeRefresh() override;
    void afterModeChange(const QString& mode) override;
    void unloadVariantToolWindows() override;

    // The state and province grid and the DX list.
    virtual bool RebuildStateMatrix() { return true; }
    virtual bool RecolourStateGrid() { return true; }
    virtual bool RebuildDXList() { return true; }
    // The country check of the typed state, province or country.
    virtual void txtCntry_Change() {}

    void mnuChangeCounty_Click();

private:
    void buildStateGrid();
};

} // namespace zq
