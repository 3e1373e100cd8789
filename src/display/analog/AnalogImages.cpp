#include "display/analog/AnalogImages.h"

#include "display/GraphPalette.h"

namespace dyno {

namespace {

// Positions of the boxes on the Analog page.
constexpr QPoint kLeftScaleAt(4, 0);
constexpr QPoint kPlotAt(44, 2);
constexpr QPoint kRightScaleAt(648, 0);
constexpr QSize kPanelSize(689, 421);

}  // namespace

AnalogImages AnalogImages::create() {
    const QColor face = graph::buttonFace();
    using graph::filledImage;
    return {filledImage({600, 400}, graph::kBackground), filledImage({37, 421}, face),
            filledImage({41, 421}, face), TextLayouts{}};
}

QImage AnalogImages::panel() const {
    QImage image = graph::filledImage(kPanelSize, graph::buttonFace());
    QPainter painter(&image);
    painter.drawImage(kLeftScaleAt, leftScale);
    painter.drawImage(kPlotAt, plot);
    painter.drawImage(kRightScaleAt, rightScale);
    return image;
}

AnalogPainters::AnalogPainters(AnalogImages& images)
    : plot_(&images.plot),
      leftScale_(&images.leftScale),
      rightScale_(&images.rightScale),
      canvas_{plot_, leftScale_, rightScale_, images.texts} {}

}  // namespace dyno
