#pragma once

#include <QImage>
#include <QPainter>
#include <QPoint>

#include "display/TextLayouts.h"
#include "display/graph/GraphCanvas.h"

namespace dyno {

// The five paint boxes of the Graphs page as images of their sizes on the page.
struct GraphImages {
    QImage graph;        // 600 x 400
    QImage powerLabels;  // 21 x 415
    QImage axisLabels;   // 601 x 15
    QImage rpmLabels;    // 18 x 415
    QImage legend;       // 133 x 97
    // The labels' layouts, kept from update to update of these boxes.
    TextLayouts texts;

    // Images of the page's sizes: the graph black, the others in the button face.
    static GraphImages create();

    // The boxes laid out as on the page (graph at (161,4), the strips left, below and
    // right of it, the legend box top left) on the button face: 782 x 421.
    QImage panel() const;
};

// Painters open on the five images for as long as this object lives.
class GraphPainters {
  public:
    explicit GraphPainters(GraphImages& images);
    GraphPainters(const GraphPainters&) = delete;
    GraphPainters& operator=(const GraphPainters&) = delete;

    GraphCanvas& canvas() { return canvas_; }

  private:
    QPainter graph_, powerLabels_, axisLabels_, rpmLabels_, legend_;
    GraphCanvas canvas_;
};

}  // namespace dyno
