#include "Ornament.h"

#include <QPainter>
#include <QtMath>

namespace Ornament {

QPainterPath eightPointStar(const QPointF &centre, qreal radius)
{
    QPainterPath star;
    for (int i = 0; i < 16; ++i) {
        // Alternate between the tips and the inner corners where the edges of the two squares
        // cross, at radius / (cos 22.5 + sin 22.5).
        const qreal r = (i % 2 == 0) ? radius : radius * 0.765367;
        const qreal a = qDegreesToRadians(-90.0 + i * 22.5);
        const QPointF p = centre + QPointF(r * qCos(a), r * qSin(a));
        if (i == 0)
            star.moveTo(p);
        else
            star.lineTo(p);
    }
    star.closeSubpath();
    return star;
}

void starLattice(QPainter &painter, const QRectF &area, qreal step, const QColor &colour)
{
    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 0.8));
    painter.setBrush(Qt::NoBrush);
    for (qreal y = area.top(); y <= area.bottom() + step; y += step) {
        for (qreal x = area.left(); x <= area.right() + step; x += step) {
            painter.drawPath(eightPointStar(QPointF(x, y), step * 0.42));
            // Small diamonds in the gaps tie the stars into one pattern.
            const QPointF gap(x + step / 2, y + step / 2);
            const qreal d = step * 0.12;
            painter.drawPolygon(QPolygonF({ gap + QPointF(0, -d), gap + QPointF(d, 0),
                                            gap + QPointF(0, d), gap + QPointF(-d, 0) }));
        }
    }
    painter.restore();
}

void rule(QPainter &painter, qreal left, qreal right, qreal y, const QColor &colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal middle = (left + right) / 2;
    QLinearGradient fade(left, y, right, y);
    QColor clear = colour;
    clear.setAlpha(0);
    fade.setColorAt(0, clear);
    fade.setColorAt(0.5, colour);
    fade.setColorAt(1, clear);
    painter.setPen(QPen(QBrush(fade), 1));
    painter.drawLine(QPointF(left, y), QPointF(right, y));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const qreal d = 3;
    painter.drawPolygon(QPolygonF({ QPointF(middle, y - d), QPointF(middle + d * 1.6, y),
                                    QPointF(middle, y + d), QPointF(middle - d * 1.6, y) }));
    painter.restore();
}

} // namespace Ornament
