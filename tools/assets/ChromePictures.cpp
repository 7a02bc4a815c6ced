#include "ChromePictures.h"

#include "LeafTexture.h"
#include "Ornament.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace ChromePictures {

namespace {

const QColor deepGreen(0x0b, 0x2e, 0x14);
const QColor gold(0xd2, 0xb0, 0x55);

// A small raised box with a soft vertical gradient and a one-pixel edge, for the title strip's
// links: the program draws their text straight onto it.
void raisedBox(QPainter &p, const QRectF &box, const QColor &top, const QColor &bottom,
               const QColor &edge)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setBrush(fill);
    p.setPen(QPen(edge, 1));
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    // a highlight along the upper edge
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(box.topLeft() + QPointF(3, 1.5), box.topRight() + QPointF(-3, 1.5));
    p.restore();
}

// A rounded, darkened pane over the leaves; the leaves still show through a little.
void pane(QPainter &p, const QRectF &area, qreal radius, int opacity)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0, QColor(0x0e, 0x3a, 0x1a, opacity));
    fill.setColorAt(1, QColor(0x07, 0x26, 0x10, opacity));
    p.setBrush(fill);
    p.setPen(QPen(QColor(0x8c, 0xb8, 0x6e), 1));
    p.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(gold.red(), gold.green(), gold.blue(), 140), 1));
    p.drawRoundedRect(area.adjusted(2.5, 2.5, -2.5, -2.5), radius - 2, radius - 2);
    p.restore();
}

void goldStar(QPainter &p, const QPointF &centre, qreal radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(gold.darker(140), 0.8));
    p.setBrush(gold);
    p.drawPath(Ornament::eightPointStar(centre, radius));
    p.setBrush(deepGreen);
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, radius * 0.3, radius * 0.3);
    p.restore();
}

} // namespace

QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

QImage canvas(const QSize &size, int scale, QImage::Format format)
{
    QImage image(size * scale, format);
    image.setDevicePixelRatio(scale);
    return image;
}

QImage background(int scale)
{
    using namespace MainLayout;
    const QRect area(0, 0, 491, 272);
    QImage image = canvas(area.size(), scale, QImage::Format_RGB32);
    image.fill(deepGreen);
    QPainter p(&image);

    LeafTexture leaves(20240601);
    leaves.paint(p, area, 2600, LeafTexture::Style());

    // Title strip: dark enough for the white title and about link.
    const QRectF title(0, 0, area.width(), titleStripHeight);
    QLinearGradient titleFill(title.topLeft(), title.bottomLeft());
    titleFill.setColorAt(0, QColor(0x06, 0x30, 0x16, 235));
    titleFill.setColorAt(1, QColor(0x03, 0x1c, 0x0b, 245));
    p.fillRect(title, titleFill);
    p.fillRect(QRectF(0, titleStripHeight, area.width(), 1), gold);
    p.fillRect(QRectF(0, titleStripHeight + 1, area.width(), 1), QColor(0, 0, 0, 120));

    // A faint ring behind the window icon so that it sits in the strip rather than on it.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(gold.red(), gold.green(), gold.blue(), 150), 1));
    p.setBrush(QColor(0x0e, 0x4a, 0x22));
    p.drawEllipse(QRectF(iconImage).adjusted(-2.5, -2.5, 2.5, 2.5));

    // Teal box under the about link (white text), pale boxes under the minimise mark (window text
    // colour) and the close mark (red), so each reads on its own background.
    raisedBox(p, aboutLink, QColor(0x1f, 0x9c, 0x98), QColor(0x06, 0x62, 0x62),
              QColor(0x7c, 0xd6, 0xcc));
    raisedBox(p, minimiseMark, QColor(0xf0, 0xf6, 0xe6), QColor(0xc4, 0xd8, 0xb4),
              QColor(0x6f, 0x99, 0x62));
    raisedBox(p, closeMark, QColor(0xff, 0xfc, 0xf4), QColor(0xf0, 0xe8, 0xd4),
              QColor(0x9a, 0x7a, 0x52));

    // One large panel behind both frames, the clock and the language row.
    const QRectF panel(5, titleStripHeight + 3, area.width() - 10,
                       statusStripTop - titleStripHeight - 6);
    pane(p, panel, 7, 150);
    Ornament::starLattice(p, panel.adjusted(4, 4, -4, -4), 22, QColor(0xa8, 0xd0, 0x80, 34));
    // Soft shadows under the bands the program draws, so they seem to lie on the panel.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    for (const QRect &band : { timesBand, clockBand, choicesBand, languageBand })
        p.drawRoundedRect(QRectF(band).translated(2, 2), 2, 2);
    // Stars in the open space between the clock and the choices panel.
    goldStar(p, QPointF(clockBand.left() - 13, clockBand.center().y() + 1), 6);
    goldStar(p,
             QPointF(choicesBand.center().x(), (clockBand.bottom() + choicesBand.top()) / 2.0 + 1),
             4.5);

    // Status strip along the bottom, behind the logon box and the Hijri date.
    const QRectF status(0, statusStripTop, area.width(), area.height() - statusStripTop);
    QLinearGradient statusFill(status.topLeft(), status.bottomLeft());
    statusFill.setColorAt(0, QColor(0x05, 0x26, 0x0e, 235));
    statusFill.setColorAt(1, QColor(0x0a, 0x36, 0x17, 235));
    p.fillRect(status, statusFill);
    p.fillRect(QRectF(0, statusStripTop, area.width(), 1), gold);
    p.fillRect(QRectF(0, statusStripTop - 1, area.width(), 1), QColor(0, 0, 0, 110));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 80));
    for (const QRect &band : { logonBand, hijriBand })
        p.drawRoundedRect(QRectF(band).translated(2, 2), 2, 2);
    // The gap between the two status bands carries the star of the title ring.
    const qreal gapMiddle = (logonBand.right() + hijriBand.left()) / 2.0 + 0.5;
    goldStar(p, QPointF(gapMiddle, logonBand.center().y() + 0.5), 7);

    p.end();
    return image;
}

QImage icon(int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0); // drawn on a 32 x 32 grid

    QRadialGradient field(QPointF(12, 11), 24);
    field.setColorAt(0, QColor(0x2c, 0x9a, 0x4e));
    field.setColorAt(1, QColor(0x0a, 0x4a, 0x22));
    p.fillRect(QRectF(0, 0, 32, 32), field);
    p.setPen(QPen(QColor(0x05, 0x2c, 0x12), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.75, 0.75, 30.5, 30.5));

    // Crescent: a disc with an offset disc taken out of it.
    QPainterPath moon;
    moon.addEllipse(QPointF(13, 15), 10.5, 10.5);
    QPainterPath bite;
    bite.addEllipse(QPointF(17.5, 12.5), 8.8, 8.8);
    p.setPen(QPen(QColor(0x8a, 0x62, 0x10), 0.7));
    QLinearGradient moonFill(QPointF(3, 5), QPointF(20, 26));
    moonFill.setColorAt(0, QColor(0xff, 0xe8, 0x8a));
    moonFill.setColorAt(1, QColor(0xe0, 0xa8, 0x2a));
    p.setBrush(moonFill);
    p.drawPath(moon.subtracted(bite));

    // Minaret: shaft, balcony, cone and a finial, pale against the green.
    const QColor stone(0xf4, 0xf0, 0xe0);
    const QColor stoneEdge(0x3a, 0x4a, 0x30);
    p.setPen(QPen(stoneEdge, 0.7));
    p.setBrush(stone);
    p.drawRect(QRectF(22.2, 12, 4.6, 17));    // shaft
    p.drawRect(QRectF(20.8, 15.5, 7.4, 1.8)); // balcony
    QPainterPath cone;
    cone.moveTo(21.7, 12);
    cone.lineTo(24.5, 5.5);
    cone.lineTo(27.3, 12);
    cone.closeSubpath();
    p.drawPath(cone);
    p.drawLine(QPointF(24.5, 5.5), QPointF(24.5, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(stoneEdge);
    p.drawRect(QRectF(23.9, 20, 1.2, 2.6)); // window
    // Ground line.
    p.setPen(QPen(QColor(0x05, 0x2c, 0x12), 1));
    p.drawLine(QPointF(19, 29), QPointF(30, 29));
    p.end();
    return image;
}

QPoint pointerHotSpot()
{
    return QPoint(11, 0);
}

QImage pointer(int scale)
{
    QImage image = canvas(QSize(32, 32), scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // A pointing hand: the index finger straight up with its tip on the hot spot, the other three
    // fingers folded, the thumb along the left side, and a cuff at the wrist.
    // The hot spot is the outline's top pixel; the finger's own edge runs half a pixel below it.
    const QPoint tip = pointerHotSpot() + QPoint(0, 1);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(tip.x() - 2.5, tip.y(), 5.5, 17), 2.75, 2.75); // index finger
    hand.addRoundedRect(QRectF(tip.x() + 3, 10, 4.5, 9), 2.2, 2.2);           // middle
    hand.addRoundedRect(QRectF(tip.x() + 7.5, 11, 4.5, 8.5), 2.2, 2.2);       // ring
    hand.addRoundedRect(QRectF(tip.x() + 12, 12.5, 4, 7.5), 2, 2);            // little finger
    hand.addRoundedRect(QRectF(tip.x() - 2.5, 14.5, 18.5, 12), 4, 4);         // palm
    QPainterPath thumb; // pointing up and to the left, out of the palm's left side
    thumb.addRoundedRect(QRectF(-1, -2.8, 9.5, 5.6), 2.8, 2.8);
    hand.addPath(QTransform().translate(tip.x() - 0.5, 23).rotate(225).map(thumb));
    // The parts overlap: fill their union, not their alternation.
    hand.setFillRule(Qt::WindingFill);
    hand = hand.simplified();

    p.setPen(QPen(Qt::black, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    // Creases between the folded fingers.
    p.setPen(QPen(Qt::black, 0.9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(tip.x() + 3, 12), QPointF(tip.x() + 3, 17));
    p.drawLine(QPointF(tip.x() + 7.5, 13), QPointF(tip.x() + 7.5, 17.5));
    p.drawLine(QPointF(tip.x() + 12, 14.5), QPointF(tip.x() + 12, 18));
    // Cuff.
    p.setPen(QPen(Qt::black, 1.1));
    p.setBrush(QColor(0x1b, 0x7a, 0x3a));
    p.drawRect(QRectF(tip.x() + 0.5, 26.5, 12, 4.5));
    p.end();
    return image;
}

QImage alertStrip(int scale)
{
    const QRect area(0, 0, 288, 30);
    QImage image = canvas(area.size(), scale, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient fill(0, 0, 0, area.height());
    fill.setColorAt(0, QColor(0x0a, 0x5a, 0x22));
    fill.setColorAt(0.5, QColor(0x00, 0x40, 0x00)); // the text label's own green
    fill.setColorAt(1, QColor(0x02, 0x2a, 0x08));
    p.fillRect(area, fill);

    // A few leaves low in contrast along the ends, where the labels leave the strip bare.
    LeafTexture leaves(7031);
    LeafTexture::Style style;
    style.valueBack = 40;
    style.valueFront = 90;
    style.lengthMin = 5;
    style.lengthMax = 11;
    p.setOpacity(0.55);
    leaves.paint(p, QRectF(0, 0, area.width(), area.height()), 260, style);
    p.setOpacity(1);

    // Frame: gold hairline inside a dark edge.
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x01, 0x1a, 0x05), 1));
    p.drawRect(QRectF(0.5, 0.5, area.width() - 1, area.height() - 1));
    p.setPen(QPen(gold, 1));
    p.drawRoundedRect(QRectF(2.5, 2.5, area.width() - 5, area.height() - 5), 3, 3);
    // The text line sits on a slightly darker bed, a touch larger than its label.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0x28, 0, 200));
    p.drawRoundedRect(QRectF(4, 6, 280, 20), 2, 2);
    p.end();
    return image;
}

} // namespace ChromePictures
