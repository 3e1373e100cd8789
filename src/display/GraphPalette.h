#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

class QPainter;

namespace dyno {
class TextLayouts;
}

// Colours and lettering shared by the graph, its label strips, the legend and the
// cursor readout. Slot colours are the same in every view: 1 red, 2 blue, 3 green,
// 4 purple, in a darker form on the light strips and a bright form on the black graph.
namespace dyno::graph {

inline const QColor kBackground{0x00, 0x00, 0x00};
inline const QColor kGridDot{0xFF, 0xFF, 0xFF};
inline const QColor kRpmGridDot{0x7F, 0x7F, 0xFF};
inline const QColor kRpmLabel{0x00, 0x00, 0xFF};
inline const QColor kAirCurve{0xFF, 0xFF, 0x00};

// Slots 1..4.
QColor legendColour(int slot);
QColor powerColour(int slot);  // also the cursor readout
QColor rpmColour(int slot);
QColor torqueColour(int slot);

// The background of the label strips and the legend box: the desktop's button face.
QColor buttonFace();

// An image of a paint box, filled with one colour, in the format the drawing writes
// to directly.
QImage filledImage(QSize size, const QColor& colour);

// The strips' font: "MS Sans Serif" at 13 pixels, or the nearest the system has.
QFont labelFont();
// The cursor readout's font: 7 points.
QFont readoutFont();

// Text with its top-left corner at (x, y), as the positions of the labels are given.
void drawTextAt(QPainter& painter, int x, int y, const QString& text);
// The same from the drawer's `layouts` where that gives the same pixels faster: on an
// image, unscaled, on a transparent background.
void drawTextAt(QPainter& painter, TextLayouts& layouts, int x, int y, const QString& text);

}  // namespace dyno::graph
