#include "display/AnalogImages.h"

#include "display/GraphPalette.h"

namespace dyno {

namespace {

// Positions of the boxes on the Analog page.
constexpr QPoint kLeftScaleAt(4, 0);
constexpr QPoint kPlotAt(44, 2);
constexpr QPoint kRightScaleAt(648, 0);
constexpr QSize kPanelSize(689, 421);

QImage filled(QSize size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

}  // namespace

AnalogImages AnalogImages::create() {
    const QColor face = graph::buttonFace();
    return {filled({600, 400}, graph::kBackground), filled({37, 421}, face),
            filled({41, 421}, face)};
}

QImage AnalogImages::panel() const {
    QImage image = filled(kPanelSize, graph::buttonFace());
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
      canvas_{plot_, leftScale_, rightScale_} {}

}  // namespace dyno
