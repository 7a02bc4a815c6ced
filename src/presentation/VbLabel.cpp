#include "presentation/VbLabel.h"

#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

VbLabel::VbLabel(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setTextFormat(Qt::PlainText);
}

void VbLabel::setBackColor(const QColor &color)
{
    m_backColor = color;
    setAutoFillBackground(color.isValid());
    if (color.isValid()) {
        QPalette p = palette();
        p.setColor(QPalette::Window, color);
        setPalette(p);
    }
    update();
}

void VbLabel::setForeColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

QColor VbLabel::foreColor() const
{
    return palette().color(QPalette::WindowText);
}

void VbLabel::setBorderStyle(int style)
{
    m_borderStyle = style;
    // The text keeps clear of the border line.
    setContentsMargins(style ? 1 : 0, style ? 1 : 0, style ? 1 : 0, style ? 1 : 0);
    update();
}

void VbLabel::setAppearance(int appearance)
{
    m_appearance = appearance;
    update();
}

void VbLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (hasFocus()) {
        // Only labels that take the keyboard (a prayer's name, for its menu) ever have it.
        QPainter focus(this);
        focus.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        focus.drawRect(rect().adjusted(2, 2, -3, -3));
    }
    if (m_borderStyle == 0)
        return;
    QPainter painter(this);
    const QRect r = rect();
    if (m_appearance == 1) {
        qDrawShadePanel(&painter, r, palette(), true, 1);
    } else {
        painter.setPen(QColor(0, 0, 0));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

void VbLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressedInside = event->button() == Qt::LeftButton;
    emit mousePressed(event->button());
    QLabel::mousePressEvent(event);
}

void VbLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool inside = rect().contains(event->position().toPoint());
    const bool click = m_pressedInside && inside && event->button() == Qt::LeftButton;
    m_pressedInside = false;
    emit mouseReleased(event->button());
    if (click)
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}
