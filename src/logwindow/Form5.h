#pragma once
// The help viewer: the help text ReadSQSO.txt of the working folder in a
// scrolling read-only box.  The Help item shows it modally and unloads it
// when it returns, so every opening reads the file afresh.

#include "common/WindowRegistry.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace zq {

class Form5 : public QDialog, public LoadStep {
    Q_OBJECT
public:
    Form5();

    QPlainTextEdit* Text1 = nullptr; // the help text, read-only
    QPushButton* Command1 = nullptr; // "Close"

    // The help text's file name in the working folder.
    static const QString HelpFileName;

    void Command1_Click();

private:
    void Form_Load() override;
    bool fitWindow();
    void loadHelpText();
};

} // namespace zq
