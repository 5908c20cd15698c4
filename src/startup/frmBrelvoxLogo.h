#pragma once
// The logo dialog shown modally while the program starts: the maker's logo,
// a second picture after a moment, and a close after a little longer.  A
// picture "splash.jpg" in the shared folder replaces the logo and stays a
// little longer on its own.

#include "common/WindowRegistry.h"

#include <QDialog>

class QLabel;
class QTimer;

namespace zq {

class frmBrelvoxLogo : public QDialog, public LoadStep {
    Q_OBJECT
public:
    frmBrelvoxLogo();

    QLabel* Image1 = nullptr; // the large picture
    QLabel* Image2 = nullptr; // the smaller picture, hidden at first
    QTimer* Timer1 = nullptr; // closes the dialog
    QTimer* Timer2 = nullptr; // shows Image2

    void Timer1_Timer();
    void Timer2_Timer();
    void Image1_Click();

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load() override;
    void unloadDialog();
};

} // namespace zq
