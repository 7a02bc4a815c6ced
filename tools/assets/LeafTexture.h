#pragma once

#include <QColor>
#include <QRandomGenerator>
#include <QRectF>

class QPainter;

// A bed of small leaves in greens, drawn back to front so that the later, lighter leaves seem to
// lie on top. The same seed always gives the same picture, so the committed assets can be remade.
class LeafTexture
{
public:
    struct Style
    {
        int hueMin = 85;      // degrees, yellow-green
        int hueMax = 145;     // degrees, blue-green
        int valueBack = 45;   // brightness of the first (deepest) leaves
        int valueFront = 150; // brightness of the last leaves
        qreal lengthMin = 7;
        qreal lengthMax = 20;
    };

    explicit LeafTexture(quint32 seed);

    void paint(QPainter &painter, const QRectF &area, int count, const Style &style);

private:
    void paintLeaf(QPainter &painter, const QPointF &base, qreal angle, qreal length, qreal width,
                   const QColor &colour);
    qreal uniform(qreal low, qreal high);

    QRandomGenerator m_random;
};
