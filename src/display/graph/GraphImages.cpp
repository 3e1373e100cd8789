#include "display/graph/GraphImages.h"

#include "display/GraphPalette.h"
#include "display/graph/GraphPanel.h"

namespace dyno {

GraphImages GraphImages::create() {
    const QColor face = graph::buttonFace();
    using graph::filledImage;
    return {filledImage({600, 400}, graph::kBackground),
            filledImage({21, 415}, face),
            filledImage({601, 15}, face),
            filledImage({18, 415}, face),
            filledImage({133, 97}, face),
            TextLayouts{}};
}

QImage GraphImages::panel() const {
    QImage image = graph::filledImage(graphBoxesSize(), graph::buttonFace());
    QPainter painter(&image);
    paintGraphBoxes(painter, *this);
    return image;
}

GraphPainters::GraphPainters(GraphImages& images)
    : graph_(&images.graph),
      powerLabels_(&images.powerLabels),
      axisLabels_(&images.axisLabels),
      rpmLabels_(&images.rpmLabels),
      legend_(&images.legend),
      canvas_{graph_, powerLabels_, axisLabels_, rpmLabels_, legend_, images.texts} {}

}  // namespace dyno
