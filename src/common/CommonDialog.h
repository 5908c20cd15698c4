#pragma once
// The log window's file dialog control: its properties stay set from one
// use to the next, and showing it goes through the prompt layer.

#include <QObject>
#include <QString>

namespace zq {

class CommonDialog : public QObject {
    Q_OBJECT
public:
    explicit CommonDialog(QObject* parent = nullptr) : QObject(parent) {}

    QString DialogTitle;
    QString InitDir;
    QString FileName;   // proposed before showing, the chosen path after
    QString Filter;     // "Text (*.txt)|*.txt|All (*.*)|*.*" style pairs
    QString DefaultExt;
    int FilterIndex = 1;
    int Flags = 0;      // OverwritePrompt: the save dialog asks before replacing

    static constexpr int OverwritePrompt = 2;

    // True with FileName set to the chosen path; false when cancelled
    // (FileName then keeps its value).  The save dialog refuses the
    // contest's own files with a message, and is then false too.
    bool ShowSave();
    bool ShowOpen();

    // The Filter pairs as a Qt name filter ("Text (*.txt);;All (*.*)").
    QString qtFilter() const;

private:
    QString initialPath() const;
};

} // namespace zq
