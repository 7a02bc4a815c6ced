#include "presentation/VolumeSlider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>

VolumeSlider::VolumeSlider(QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
{
    setRange(0, 100);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(10);
    setPageStep(5);
}

void VolumeSlider::setSelLength(int length)
{
    m_selLength = qBound(0, length, maximum() - minimum());
    update();
}

void VolumeSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);

    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderTickmarks;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);

    // The selected range: from the minimum to minimum + SelLength, inside the groove.
    const QRect groove
            = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle
            = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    const int end = groove.left() + handle.width() / 2
            + QStyle::sliderPositionFromValue(minimum(), maximum(), minimum() + m_selLength, span);
    const QRect selection(groove.left() + handle.width() / 2, groove.center().y() - 2,
                          end - groove.left() - handle.width() / 2, 4);
    painter.fillRect(selection, QColor(0x31, 0x6a, 0xc5));

    option.subControls = QStyle::SC_SliderHandle;
    if (isSliderDown())
        option.activeSubControls = QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}

void VolumeSlider::mouseReleaseEvent(QMouseEvent *event)
{
    QSlider::mouseReleaseEvent(event);
    emit mouseUp(event->button(), event->modifiers(), event->position().toPoint());
}
