#include "ui/emblem.h"

#include <QPainter>
#include <QPainterPath>

QPixmap DrawEmblem(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QRectF globe(s * 0.06, s * 0.06, s * 0.88, s * 0.88);
    QRadialGradient sea(globe.center() - QPointF(s * 0.15, s * 0.15), s * 0.6);
    sea.setColorAt(0, QColor(120, 180, 230));
    sea.setColorAt(1, QColor(20, 70, 140));
    p.setBrush(sea);
    p.setPen(QPen(QColor(10, 40, 90), qMax<qreal>(1, s / 32)));
    p.drawEllipse(globe);
    // Graticule: three meridians and three parallels.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(230, 240, 255, 200), qMax<qreal>(0.8, s / 48)));
    for (qreal k : {0.25, 0.55}) {
        QRectF meridian = globe;
        meridian.setWidth(globe.width() * k);
        meridian.moveCenter(globe.center());
        p.drawEllipse(meridian);
    }
    p.drawLine(QPointF(globe.center().x(), globe.top()), QPointF(globe.center().x(), globe.bottom()));
    for (qreal t : {-0.28, 0.0, 0.28}) {
        const qreal y = globe.center().y() + t * globe.height();
        const qreal half = std::sqrt(0.25 - t * t) * globe.width();
        p.drawLine(QPointF(globe.center().x() - half, y), QPointF(globe.center().x() + half, y));
    }
    // Triangulation mark: a red triangle with its station point.
    QPainterPath triangle;
    triangle.moveTo(s * 0.5, s * 0.2);
    triangle.lineTo(s * 0.78, s * 0.72);
    triangle.lineTo(s * 0.22, s * 0.72);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(200, 20, 20), qMax<qreal>(1.2, s / 20), Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.drawPath(triangle);
    p.setBrush(QColor(255, 220, 40));
    p.setPen(QPen(QColor(120, 20, 20), qMax<qreal>(0.8, s / 64)));
    const qreal r = qMax<qreal>(1.5, s * 0.06);
    p.drawEllipse(QPointF(s * 0.5, s * 0.55), r, r);
    return pixmap;
}

QIcon EmblemIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) icon.addPixmap(DrawEmblem(size));
    return icon;
}
