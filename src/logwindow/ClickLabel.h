#pragma once
// A label that reports clicks (a press and release of the left button on it).

#include <QLabel>
#include <QMouseEvent>

namespace zq {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& text = QString(), QWidget* parent = nullptr)
        : QLabel(text, parent)
    {
    }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        pressed_ = e->button() == Qt::LeftButton;
        e->accept();
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
        pressed_ = false;
        e->accept();
        if (click)
            emit clicked();
    }

private:
    bool pressed_ = false;
};

} // namespace zq
