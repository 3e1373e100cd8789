#include "display/GraphImages.h"

#include "display/GraphPalette.h"

namespace dyno {

namespace {

// Positions of the boxes on the Graphs page.
constexpr QPoint kLegendAt(0, 0);
constexpr QPoint kPowerLabelsAt(140, 0);
constexpr QPoint kGraphAt(161, 4);
constexpr QPoint kAxisLabelsAt(160, 406);
constexpr QPoint kRpmLabelsAt(764, 0);
constexpr QSize kPanelSize(782, 421);

}  // namespace

GraphImages GraphImages::create() {
    const QColor face = graph::buttonFace();
    using graph::filledImage;
    return {filledImage({600, 400}, graph::kBackground), filledImage({21, 415}, face),
            filledImage({601, 15}, face), filledImage({18, 415}, face),
            filledImage({133, 97}, face)};
}

QImage GraphImages::panel() const {
    QImage image = graph::filledImage(kPanelSize, graph::buttonFace());
    QPainter painter(&image);
    painter.drawImage(kLegendAt, legend);
    painter.drawImage(kPowerLabelsAt, powerLabels);
    painter.drawImage(kGraphAt, graph);
    painter.drawImage(kAxisLabelsAt, axisLabels);
    painter.drawImage(kRpmLabelsAt, rpmLabels);
    return image;
}

GraphPainters::GraphPainters(GraphImages& images)
    : graph_(&images.graph),
      powerLabels_(&images.powerLabels),
      axisLabels_(&images.axisLabels),
      rpmLabels_(&images.rpmLabels),
      legend_(&images.legend),
      canvas_{graph_, powerLabels_, axisLabels_, rpmLabels_, legend_} {}

}  // namespace dyno
