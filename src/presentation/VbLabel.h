#pragma once

#include <QLabel>

// A caption label with the looks the windows ask for: an optional background colour
// (none = transparent), a flat single-line border or, while pressed, a sunken 3-D border.
class VbLabel : public QLabel
{
    Q_OBJECT
public:
    explicit VbLabel(QWidget *parent = nullptr);

    void setBackColor(const QColor &color); // invalid colour: transparent
    QColor backColor() const { return m_backColor; }
    void setForeColor(const QColor &color);
    QColor foreColor() const;
    // 0: no border, 1: single border.
    void setBorderStyle(int style);
    int borderStyle() const { return m_borderStyle; }
    // 0: flat, 1: 3-D.
    void setAppearance(int appearance);
    int appearance() const { return m_appearance; }

signals:
    void mousePressed(Qt::MouseButton button);
    void mouseReleased(Qt::MouseButton button);
    // A press and a release both inside the label.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QColor m_backColor;
    int m_borderStyle = 0;
    int m_appearance = 0;
    bool m_pressedInside = false;
};
