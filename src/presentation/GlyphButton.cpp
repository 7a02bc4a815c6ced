#include "presentation/GlyphButton.h"

#include <QFontInfo>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>

GlyphButton::GlyphButton(QWidget *parent)
    : QPushButton(parent)
{ }

void GlyphButton::setFaceColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Button, color);
    setPalette(p);
}

bool GlyphButton::faceHasGlyphs() const
{
    return QFontInfo(font()).family().compare(QLatin1String("Webdings"), Qt::CaseInsensitive) == 0;
}

void GlyphButton::paintEvent(QPaintEvent *event)
{
    const QString caption = text();
    const bool symbol = caption == QLatin1String("4") || caption == QLatin1String("<");
    if (!symbol || faceHasGlyphs()) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isEnabled() ? QColor(0, 0, 0)
                                 : palette().color(QPalette::Disabled, QPalette::ButtonText));
    const int side = qMin(width(), height()) * 11 / 20;
    QRectF box((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    if (isDown())
        box.translate(1, 1);
    if (caption == QLatin1String("4")) {
        QPainterPath triangle;
        triangle.moveTo(box.left() + side * 0.12, box.top());
        triangle.lineTo(box.right(), box.center().y());
        triangle.lineTo(box.left() + side * 0.12, box.bottom());
        triangle.closeSubpath();
        painter.drawPath(triangle);
    } else {
        painter.drawRect(box.adjusted(side * 0.1, side * 0.1, -side * 0.1, -side * 0.1));
    }
}
