#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// The geometric ornaments shared by the pictures: the eight-pointed star and a faint lattice of
// such stars, as on tiled walls.
namespace Ornament {

// Two squares turned 45 degrees against each other, as one outline.
QPainterPath eightPointStar(const QPointF &centre, qreal radius);

// Star outlines on a square grid, thin and in the given (usually faint) colour, clipped to area.
void starLattice(QPainter &painter, const QRectF &area, qreal step, const QColor &colour);

// A horizontal gold rule with a small diamond at its middle.
void rule(QPainter &painter, qreal left, qreal right, qreal y, const QColor &colour);

} // namespace Ornament
