#pragma once
// A single-line entry box whose typed keys pass through key-down and
// key-press handlers first.  A handler may change a code or set it to 0 to
// drop the key.  Double quotes, CR and LF never enter the box, typed or
// pasted.  The length limit applies to typed keys only: text set by code is
// kept whole.

#include <QLineEdit>
#include <functional>

namespace zq {

class EntryBox : public QLineEdit {
    Q_OBJECT
public:
    explicit EntryBox(QWidget* parent = nullptr);

    std::function<void(int& keyCode, int shift)> onKeyDown;
    std::function<void(int& keyAscii)> onKeyPress;

    void setTypedLimit(int chars) { typedLimit_ = chars; }
    int typedLimit() const { return typedLimit_; }

signals:
    void focusLost();
    void focusGained();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;

private:
    int typedLimit_ = 0; // 0: no limit
};

} // namespace zq
