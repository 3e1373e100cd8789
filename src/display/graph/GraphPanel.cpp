#include "display/graph/GraphPanel.h"

#include "display/GraphPalette.h"
#include "display/graph/GraphBoxPlaces.h"

namespace dyno {

namespace {

using graph::kAxisLabelsAt;
using graph::kGraphAt;
using graph::kLegendAt;
using graph::kPowerLabelsAt;
using graph::kRpmLabelsAt;
constexpr QSize kBoxesSize(782, 421);
// The remark lines: one under the other, left-aligned with the graph.
constexpr int kRemarkLineHeight = 16;
constexpr int kRemarkStripTop = 425;

void drawBox(QPainter& target, QPoint at, const QImage& box) {
    target.drawImage(at, box);
}

void drawBox(QPainter& target, QPoint at, const QPicture& box) {
    target.drawPicture(at, box);
}

template <typename Boxes>
void paintBoxes(QPainter& target, const Boxes& boxes) {
    drawBox(target, kLegendAt, boxes.legend);
    drawBox(target, kPowerLabelsAt, boxes.powerLabels);
    drawBox(target, kGraphAt, boxes.graph);
    drawBox(target, kAxisLabelsAt, boxes.axisLabels);
    drawBox(target, kRpmLabelsAt, boxes.rpmLabels);
}

template <typename Boxes>
void paintPanel(QPainter& target, const Boxes& boxes, const RemarkLines& remarks) {
    target.fillRect(QRect(QPoint(0, 0), graphPanelSize()), graph::buttonFace());
    paintBoxes(target, boxes);
    target.save();
    target.setFont(graph::labelFont());
    // Written as the boxes write their labels, so an image gets the same pixels.
    TextLayouts texts;
    for (int slot = 1; slot <= kSessionSlots; ++slot) {
        const QString& line = remarks[static_cast<std::size_t>(slot - 1)];
        if (line.isEmpty()) continue;
        target.setPen(graph::legendColour(slot));
        graph::drawTextAt(target, texts, kGraphAt.x(),
                          kRemarkStripTop + (slot - 1) * kRemarkLineHeight, line);
    }
    target.restore();
}

}  // namespace

QSize graphBoxesSize() {
    return kBoxesSize;
}

void paintGraphBoxes(QPainter& target, const GraphImages& boxes) {
    paintBoxes(target, boxes);
}

QSize graphPanelSize() {
    return {kBoxesSize.width(), kRemarkStripTop + kSessionSlots * kRemarkLineHeight + 4};
}

GraphPicturePainters::GraphPicturePainters(GraphPictures& pictures)
    : graph_(&pictures.graph),
      powerLabels_(&pictures.powerLabels),
      axisLabels_(&pictures.axisLabels),
      rpmLabels_(&pictures.rpmLabels),
      legend_(&pictures.legend),
      canvas_{graph_, powerLabels_, axisLabels_, rpmLabels_, legend_, texts_} {
    const QColor face = graph::buttonFace();
    graph_.fillRect(0, 0, 600, 400, graph::kBackground);
    powerLabels_.fillRect(0, 0, 21, 415, face);
    axisLabels_.fillRect(0, 0, 601, 15, face);
    rpmLabels_.fillRect(0, 0, 18, 415, face);
    legend_.fillRect(0, 0, 133, 97, face);
}

void paintGraphPanel(QPainter& target, const GraphImages& boxes, const RemarkLines& remarks) {
    paintPanel(target, boxes, remarks);
}

void paintGraphPanel(QPainter& target, const GraphPictures& boxes, const RemarkLines& remarks) {
    paintPanel(target, boxes, remarks);
}

void paintGraphPlot(QPainter& target, const GraphImages& boxes) {
    target.drawImage(0, 0, boxes.graph);
}

void paintGraphPlot(QPainter& target, const GraphPictures& boxes) {
    target.fillRect(0, 0, 600, 400, graph::kBackground);
    target.drawPicture(0, 0, boxes.graph);
}

}  // namespace dyno
