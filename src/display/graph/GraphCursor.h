#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <array>
#include <optional>
#include <span>

#include "display/curves/PixelTable.h"
#include "display/graph/DisplaySelection.h"
#include "model/SessionLayout.h"

class QPainter;

// The right-button cursor: a vertical line over the graph and, top left, the power
// (and torque) each plotted slot shows at that column. Also the left-button rubber
// band. Lines and the band are drawn inverting, so drawing them again removes them.
namespace dyno {

struct CursorReading {
    int slot = 0;  // 1..4
    int y = 0;     // row of the reading: 10, 30, 50, 70
    QColor colour;
    QString power;                  // "%.1f"
    std::optional<QString> torque;  // "%.1f", when the slot shows torque
};

using CursorReadout = std::array<std::optional<CursorReading>, kSessionSlots>;

// The column read for a mouse position: positions left or right of the graph (the
// button may be held outside it) read the nearest column.
int cursorColumn(int mouseX);

// The readings at mouse position x of every slot plotted so far.
CursorReadout readCursor(const std::array<DisplaySelection, kSessionSlots>& selections,
                         const std::array<PixelTable, kSessionSlots>& tables, int mouseX);

// Writes the readings opaque on black, each over a blank field so that a shorter
// reading covers the previous one.
void drawCursorReadout(QPainter& graph, const CursorReadout& readout);

// One text of a readout: `blankChars` spaces at (x, y), then the text over them.
struct ReadoutField {
    int x = 0;
    int y = 0;
    int blankChars = 0;
    QColor colour;
    QString text;
};

// Writes the fields in the readout font, opaque on black, in order.
void drawReadoutFields(QPainter& graph, std::span<const ReadoutField> fields);

// The cursor line at column x from row 0 to row 400, inverting.
void drawInvertedCursorLine(QPainter& graph, int x);

// The rubber band between two corners, inverting.
void drawInvertedRubberBand(QPainter& graph, QPoint corner, QPoint oppositeCorner);

}  // namespace dyno
