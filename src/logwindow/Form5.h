#pragma once
// The help viewer: the help text ReadSQSO.txt of the working folder in a
// scrolling read-only box.  The Help item shows it modally and unloads it
// when it returns, so every opening reads the file afresh.

#include "common/WindowRegistry.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace zq {

// The help text as the viewer shows it.  The file breaks its lines at a
// fixed width; the box wraps again at its own, so the lines of a paragraph
// are joined into one (a blank line ends a paragraph) and only the box
// wraps them.  Headings with their rule lines stay on their own lines, and
// so does each item of a list or table: a line indented, or naming its
// item before a dot leader ("Map ....... the county map"), begins an item,
// and the more deeply indented lines after it continue that item.
QString joinHelpLines(const QString& text);

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
