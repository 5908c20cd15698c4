#include "startup/StartupPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace zq {

namespace {

QPixmap canvas(const QSize& size, const QColor& fill)
{
    QPixmap pm(size.isValid() && !size.isEmpty() ? size : QSize(64, 64));
    pm.fill(fill);
    return pm;
}

void drawWaves(QPainter& p, const QPointF& centre, double radius, double step, int count,
               double startDeg, double spanDeg)
{
    for (int i = 0; i < count; ++i) {
        const double r = radius + step * i;
        p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), int(startDeg * 16),
                  int(spanDeg * 16));
    }
}

} // namespace

QPixmap brelvoxLogoPicture(const QSize& size)
{
    QPixmap pm = canvas(size, QColor(16, 32, 96));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = pm.width(), h = pm.height();
    const double d = std::min(w, h) * 0.46;
    const QPointF c(w * 0.38, h * 0.45);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 200, 40));
    p.drawEllipse(c, d / 2, d / 2);

    QFont f(QStringLiteral("Sans Serif"));
    f.setBold(true);
    f.setPixelSize(std::max(8, int(d * 0.62)));
    p.setFont(f);
    p.setPen(QColor(16, 32, 96));
    p.drawText(QRectF(c.x() - d / 2, c.y() - d / 2, d, d), Qt::AlignCenter, QStringLiteral("B"));

    p.setPen(QPen(QColor(240, 200, 40), std::max(1.5, d * 0.05), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    drawWaves(p, c, d * 0.62, d * 0.16, 3, -40, 80);

    f.setPixelSize(std::max(6, int(h * 0.11)));
    f.setBold(false);
    f.setItalic(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, h * 0.78, w, h * 0.2), Qt::AlignCenter, QStringLiteral("Brelvox Software"));
    return pm;
}

QPixmap antennaTowerPicture(const QSize& size)
{
    QPixmap pm = canvas(size, QColor(200, 225, 250));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = pm.width(), h = pm.height();
    const QPointF top(w * 0.4, h * 0.15);
    const double baseY = h * 0.92;
    const double halfBase = w * 0.14;

    p.setPen(QPen(QColor(60, 60, 70), std::max(1.0, w * 0.015)));
    p.drawLine(top, QPointF(top.x() - halfBase, baseY));
    p.drawLine(top, QPointF(top.x() + halfBase, baseY));
    const int rungs = 6;
    for (int i = 1; i <= rungs; ++i) {
        const double t = double(i) / (rungs + 1);
        const double y = top.y() + (baseY - top.y()) * t;
        const double half = halfBase * t;
        p.drawLine(QPointF(top.x() - half, y), QPointF(top.x() + half, y));
        if (i < rungs) {
            const double t2 = double(i + 1) / (rungs + 1);
            const double y2 = top.y() + (baseY - top.y()) * t2;
            p.drawLine(QPointF(top.x() - half, y), QPointF(top.x() + halfBase * t2, y2));
        }
    }
    p.setPen(QPen(QColor(200, 30, 30), std::max(1.0, w * 0.02), Qt::SolidLine, Qt::RoundCap));
    drawWaves(p, top, std::min(w, h) * 0.12, std::min(w, h) * 0.12, 3, -50, 100);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 140, 60));
    p.drawRect(QRectF(0, baseY, w, h - baseY));
    return pm;
}

QPixmap stateOutlinePicture(const QSize& size)
{
    QPixmap pm = canvas(size, QColor(250, 248, 235));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = pm.width(), h = pm.height();
    // A made-up state: straight northern and western borders, a river to
    // the east and a ragged coast to the south.
    const QPointF pts[] = {{0.10, 0.15}, {0.78, 0.15}, {0.82, 0.30}, {0.76, 0.42}, {0.88, 0.55},
                           {0.84, 0.70}, {0.90, 0.86}, {0.62, 0.82}, {0.50, 0.90}, {0.34, 0.80},
                           {0.22, 0.86}, {0.10, 0.78}};
    QPainterPath path;
    path.moveTo(pts[0].x() * w, pts[0].y() * h);
    for (const QPointF& pt : pts)
        path.lineTo(pt.x() * w, pt.y() * h);
    path.closeSubpath();
    p.setPen(QPen(QColor(30, 80, 30), std::max(1.0, w * 0.012)));
    p.setBrush(QColor(120, 190, 100));
    p.drawPath(path);

    // The capital's star.
    const QPointF c(w * 0.46, h * 0.46);
    const double ro = std::min(w, h) * 0.09, ri = ro * 0.4;
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double a = qDegreesToRadians(-90.0 + i * 36.0);
        const double r = (i % 2) ? ri : ro;
        star << QPointF(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    p.drawPolygon(star);
    return pm;
}

} // namespace zq
