#pragma once

// Helpers of the drawing tests: render into images of the page's box sizes, then
// look at pixels.

#include <QImage>
#include <QPainter>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "display/GraphPalette.h"
#include "display/graph/GraphImages.h"

namespace dyno::graph_testing {

using Pixel = std::pair<int, int>;  // (x, y)

inline std::set<Pixel> pixelsOfColour(const QImage& image, const QColor& colour) {
    std::set<Pixel> found;
    const QRgb wanted = colour.rgb();
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] | 0xFF000000u) == (wanted | 0xFF000000u)) found.insert({x, y});
        }
    }
    return found;
}

// A label strip as it should look: the button face with `texts` at their top-left
// corners, in the strip's font and colour.
struct ExpectedLabel {
    int x;
    int y;
    QString text;
    QColor colour = Qt::black;
};

inline QImage stripWithLabels(QSize size, const std::vector<ExpectedLabel>& labels,
                              const std::optional<QColor>& colour = std::nullopt) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(graph::buttonFace());
    QPainter painter(&image);
    painter.setFont(graph::labelFont());
    TextLayouts layouts;
    for (const auto& label : labels) {
        painter.setPen(colour.value_or(label.colour));
        graph::drawTextAt(painter, layouts, label.x, label.y, label.text);
    }
    return image;
}

}  // namespace dyno::graph_testing
