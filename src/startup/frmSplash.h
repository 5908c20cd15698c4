#pragma once
// The start-up dialog: the program's first window.  Loading records the
// working folder, shows the logo dialog, fits the dialog to the screen,
// makes the user's folders and loads the shared preferences; Continue goes
// on to the station set-up.  Closing it without Continue ends the program.

#include <QWidget>

class QLabel;
class QPushButton;

namespace zq {

class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash();

    QLabel* Label1 = nullptr;      // "Carvonia State"
    QLabel* Label2 = nullptr;      // "QSO Party Log"
    QLabel* Label3 = nullptr;      // "Brelvox's"
    QLabel* Label4 = nullptr;      // "Version"
    QLabel* lblVersion1 = nullptr; // "2.1"
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QPushButton* Command1 = nullptr; // "Continue"

    // Runs once, before the dialog is first shown.
    void Form_Load();
    void Command1_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool continued_ = false;
};

} // namespace zq
