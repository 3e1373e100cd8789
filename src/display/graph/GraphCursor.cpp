#include "display/graph/GraphCursor.h"

#include <QPainter>
#include <algorithm>
#include <vector>

#include "display/GraphPalette.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

QString oneDecimal(double value) {
    return QString::fromStdString(formatFixed(value, 1));
}

// XOR with white inverts every colour channel; a second pass restores the pixels.
void setInverting(QPainter& graph) {
    graph.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    graph.setPen(QPen(Qt::white, 1));
    graph.setBrush(Qt::NoBrush);
}

}  // namespace

int cursorColumn(int mouseX) {
    return std::clamp(mouseX, 0, PixelTable::kUsedColumns - 1);
}

CursorReadout readCursor(const std::array<DisplaySelection, kSessionSlots>& selections,
                         const std::array<PixelTable, kSessionSlots>& tables, int mouseX) {
    const auto column = static_cast<std::size_t>(cursorColumn(mouseX));
    CursorReadout readout;
    for (int s = 1; s <= kSessionSlots; ++s) {
        const auto index = static_cast<std::size_t>(s - 1);
        const DisplaySelection& selection = selections[index];
        if (!selection.plotted) continue;
        CursorReading reading;
        reading.slot = s;
        reading.y = 10 + 20 * (s - 1);
        reading.colour = graph::powerColour(s);
        reading.power = oneDecimal(tables[index].powerAtColumn[column]);
        if (selection.torqueShown)
            reading.torque = oneDecimal(tables[index].torqueAtColumn[column]);
        readout[index] = reading;
    }
    return readout;
}

void drawCursorReadout(QPainter& graph, const CursorReadout& readout) {
    std::vector<ReadoutField> fields;
    for (const auto& reading : readout) {
        if (!reading) continue;
        fields.push_back({5, reading->y, 11, reading->colour, reading->power});
        if (reading->torque)
            fields.push_back({50, reading->y, 10, reading->colour, *reading->torque});
    }
    drawReadoutFields(graph, fields);
}

void drawReadoutFields(QPainter& graph, std::span<const ReadoutField> fields) {
    graph.save();
    graph.setFont(graph::readoutFont());
    graph.setBackgroundMode(Qt::OpaqueMode);
    graph.setBackground(graph::kBackground);
    for (const ReadoutField& field : fields) {
        graph.setPen(field.colour);
        graph::drawTextAt(graph, field.x, field.y, QString(field.blankChars, QLatin1Char(' ')));
        graph::drawTextAt(graph, field.x, field.y, field.text);
    }
    graph.restore();
}

void drawInvertedCursorLine(QPainter& graph, int x) {
    graph.save();
    setInverting(graph);
    graph.drawLine(x, 0, x, 400);
    graph.restore();
}

void drawInvertedRubberBand(QPainter& graph, QPoint corner, QPoint oppositeCorner) {
    graph.save();
    setInverting(graph);
    // Both corner pixels lie on the band, whichever way the mouse was dragged.
    const QPoint topLeft(std::min(corner.x(), oppositeCorner.x()),
                         std::min(corner.y(), oppositeCorner.y()));
    const QPoint bottomRight(std::max(corner.x(), oppositeCorner.x()),
                             std::max(corner.y(), oppositeCorner.y()));
    // A rectangle drawn with a one-pixel pen reaches one pixel past its width, so the
    // width is the distance between the corners, not the inclusive pixel count.
    graph.drawRect(
        QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y())));
    graph.restore();
}

}  // namespace dyno
