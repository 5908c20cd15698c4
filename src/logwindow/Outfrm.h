#pragma once
// The log window of a station outside the home state: the exchange is the
// county of a home-state station; the multipliers are the counties worked.

#include "logwindow/LogWindow.h"

class QMenu;

namespace zq {

class Outfrm : public LogWindow {
    Q_OBJECT
public:
    Outfrm();

    using LogWindow::mnu160_Click;
    using LogWindow::mnuDigital_Click;
    using LogWindow::mnuSSB_Click;
    using LogWindow::DupCheck2;
    void Mains() override;

    QLabel* Label10 = nullptr;    // "Total CW Contacts ......"
    QLabel* lblSectogo = nullptr; // CW contacts
    QLabel* Label13 = nullptr;    // "Total Multipliers ..........."
    QMenu* mnuSetup = nullptr;

protected:
    QString greetingText() const override;
    std::vector<double> contactListWidths() const override;
    void applySavedOptions() override;
    void showStation() override;
    std::vector<QListWidget*> followingSideLists() const override;
    void refreshDisplays() override;
    void afterModeChange(const QString& mode) override;
    QLabel* cwTotalLabel() const override { return lblSectogo; }
};

} // namespace zq
