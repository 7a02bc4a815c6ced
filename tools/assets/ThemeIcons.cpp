#include "ThemeIcons.h"

#include "ChromePictures.h"

#include <QPainter>
#include <QPainterPath>

namespace ThemeIcons {

QImage icon(int size)
{
    QImage image = ChromePictures::icon(size).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0); // the window icon's 32 x 32 grid

    // Everything outside the rounded square goes, so a dark or light panel shows through the
    // corners instead of the square's edge.
    QPainterPath outside;
    outside.addRect(QRectF(0, 0, 32, 32));
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0, 0, 32, 32), 4, 4);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillPath(outside.subtracted(tile), Qt::transparent);

    // The window icon's frame line follows the new corners (same colour and width).
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(QPen(QColor(0x05, 0x2c, 0x12), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.75, 0.75, 30.5, 30.5), 3.25, 3.25);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QString relativePath(int size)
{
    return QStringLiteral("%1x%1/apps/%2.png").arg(size).arg(name);
}

} // namespace ThemeIcons
