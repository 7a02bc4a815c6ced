#pragma once

#include <QPushButton>

// A push button with a coloured face. Its caption is the state ("4" play, "<" stop, as the
// Webdings face draws them); where that face is missing it paints the triangle or the square.
class GlyphButton : public QPushButton
{
    Q_OBJECT
public:
    explicit GlyphButton(QWidget *parent = nullptr);
    void setFaceColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool faceHasGlyphs() const;
};
