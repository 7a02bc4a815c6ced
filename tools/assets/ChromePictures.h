#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

// The pictures of the main window and the alert strip: the window background, the window and tray
// icon, the hand pointer of the title strip's links and the alert strip's background.
namespace ChromePictures {

// Controls are placed in twips; at the design resolution 15 twips make one pixel.
QRect fromTwips(int left, int top, int width, int height);

// Places of the main window's controls that the background is drawn around.
namespace MainLayout {
inline const QRect iconImage = fromTwips(120, 60, 255, 255);        // Image2
inline const QRect aboutLink = fromTwips(615, 60, 1350, 255);       // Label5
inline const QRect minimiseMark = fromTwips(6495, 75, 345, 255);    // Label4
inline const QRect closeMark = fromTwips(6885, 90, 345, 255);       // Label1
inline const QRect timesBand = fromTwips(150, 450, 3405, 2505);     // LB(33), around Frame1
inline const QRect clockBand = fromTwips(3930, 450, 3045, 555);     // LB(32), around Label3
inline const QRect choicesBand = fromTwips(3660, 1200, 3555, 2235); // LB(34), around Frame2
inline const QRect languageBand = fromTwips(240, 3030, 3255, 420);  // Command2 .. Label7
inline const QRect logonBand = fromTwips(210, 3645, 3585, 315);     // LB(25)
inline const QRect hijriBand = fromTwips(4320, 3645, 2865, 315);    // LB(37)
} // namespace MainLayout

inline constexpr int titleStripHeight = 27;
inline constexpr int statusStripTop = 240;

// Each picture is drawn for a device pixel ratio: scale 2 gives the name@2x.png picture, twice
// as many pixels drawn from the same outlines (not the 1x one enlarged), for screens at 125 % and
// more. The sizes below are the 1x ones.
QImage background(int scale = 1); // 491 x 272, no alpha
QImage icon(int size);            // size x size, no alpha
QImage pointer(int scale = 1);    // 32 x 32 with alpha
QPoint pointerHotSpot();          // the finger tip of pointer(), in 1x pixels
QImage alertStrip(int scale = 1); // 288 x 30, no alpha

// An empty picture of size times scale pixels whose painter works in 1x pixels.
QImage canvas(const QSize &size, int scale, QImage::Format format);

} // namespace ChromePictures
