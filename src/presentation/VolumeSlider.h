#pragma once

#include <QSlider>

// The volume slider: 0..100, with a selected range from the start of the track whose length
// the program sets (it follows the value).
class VolumeSlider : public QSlider
{
    Q_OBJECT
public:
    explicit VolumeSlider(QWidget *parent = nullptr);
    void setSelLength(int length);
    int selLength() const { return m_selLength; }

signals:
    // Mouse notification carrying button, shift state and position.
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_selLength = 0;
};
