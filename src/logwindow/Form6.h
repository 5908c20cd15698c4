#pragma once
// The multiplier colour dialog: the text colours of a multiplier worked
// and of one still to work in the in-state window's state and province
// grid.  A colour takes effect when it is picked; the Colors item saves the
// preferences and reloads the log when the dialog returns.

#include "common/WindowRegistry.h"

#include <QColor>
#include <QDialog>
#include <cstdint>

class QLabel;
class QPushButton;

namespace zq {

class LineControl;

class Form6 : public QDialog, public LoadStep {
    Q_OBJECT
public:
    Form6();

    QPushButton* Command1 = nullptr; // "Change "Remaining" Color"
    QPushButton* Command3 = nullptr; // "Change "Worked" Color"
    QLabel* Label2 = nullptr;        // sample in RemainingColor
    QLabel* Label1 = nullptr;        // sample in WorkedColor
    QPushButton* Command6 = nullptr; // "Done"
    LineControl* Line1 = nullptr;
    LineControl* Line2 = nullptr;

    void Command1_Click();
    void Command3_Click();
    void Command6_Click();

    // Colours as the preferences hold them: red in the lowest byte, then
    // green, then blue.
    static QColor colorFromStored(int32_t value);
    static int32_t storedFromColor(const QColor& c);

private:
    void Form_Load() override;
    // Lets the operator pick a colour starting from `value`; false when
    // cancelled (value unchanged).
    static bool pickColor(int32_t& value);
    static void showColor(QLabel& sample, int32_t value);
};

} // namespace zq
