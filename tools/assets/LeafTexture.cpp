#include "LeafTexture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

LeafTexture::LeafTexture(quint32 seed)
    : m_random(seed)
{ }

qreal LeafTexture::uniform(qreal low, qreal high)
{
    return low + (high - low) * m_random.generateDouble();
}

void LeafTexture::paint(QPainter &painter, const QRectF &area, int count, const Style &style)
{
    painter.save();
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing);
    // Leaves may start a little outside the area so that its edges are covered too.
    const QRectF spread = area.adjusted(-style.lengthMax, -style.lengthMax, 0, 0);
    for (int i = 0; i < count; ++i) {
        const qreal depth = qreal(i) / qMax(1, count - 1);
        const QPointF base(uniform(spread.left(), area.right()),
                           uniform(spread.top(), area.bottom()));
        const qreal length = uniform(style.lengthMin, style.lengthMax);
        const qreal width = length * uniform(0.32, 0.5);
        const int hue = int(uniform(style.hueMin, style.hueMax));
        const int saturation = int(uniform(120, 230));
        const int value = int(style.valueBack + (style.valueFront - style.valueBack) * depth
                              + uniform(-18, 18));
        const QColor colour = QColor::fromHsv(hue, saturation, qBound(0, value, 255));
        paintLeaf(painter, base, uniform(0, 360), length, width, colour);
    }
    painter.restore();
}

void LeafTexture::paintLeaf(QPainter &painter, const QPointF &base, qreal angle, qreal length,
                            qreal width, const QColor &colour)
{
    painter.save();
    painter.translate(base);
    painter.rotate(angle);

    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(length * 0.25, -width * 0.95, length * 0.72, -width * 0.55, length, 0);
    leaf.cubicTo(length * 0.72, width * 0.55, length * 0.25, width * 0.95, 0, 0);

    // Lit from one side: the upper half lighter, the lower darker.
    QLinearGradient shade(0, -width / 2, 0, width / 2);
    shade.setColorAt(0, colour.lighter(130));
    shade.setColorAt(1, colour.darker(135));
    painter.fillPath(leaf, shade);
    painter.setPen(QPen(colour.darker(170), 0.5));
    painter.drawPath(leaf);

    // Stem and midrib.
    painter.setPen(QPen(colour.lighter(155), 0.55, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(-length * 0.12, 0), QPointF(length * 0.85, 0));
    painter.restore();
}
