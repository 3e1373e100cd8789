#pragma once

#include <QPainter>
#include <QPicture>
#include <QSize>
#include <QString>
#include <array>

#include "display/graph/GraphCanvas.h"
#include "display/graph/GraphImages.h"
#include "model/SessionLayout.h"

// The Graphs page's drawing as one picture, as `dynotool graph` writes it and the
// manual shows it: the five paint boxes at their places on the page and, under them,
// the four remark lines in the slot colours. The boxes are either images (PNG, JPEG,
// BMP) or recorded pictures that a PDF page replays as vectors; the same update
// draws both.
namespace dyno {

using RemarkLines = std::array<QString, kSessionSlots>;

// The five boxes laid out as on the page: 782 x 421.
QSize graphBoxesSize();
// The boxes with the strip of remark lines below them.
QSize graphPanelSize();

// The five boxes recorded as vector pictures, each in its own pixel coordinates.
struct GraphPictures {
    QPicture graph{}, powerLabels{}, axisLabels{}, rpmLabels{}, legend{};

    static GraphPictures create() {
        return {QPicture(), QPicture(), QPicture(), QPicture(), QPicture()};
    }
};

// Painters recording into the five pictures for as long as this object lives; each
// box starts filled with its background as the images do.
class GraphPicturePainters {
  public:
    explicit GraphPicturePainters(GraphPictures& pictures);
    GraphPicturePainters(const GraphPicturePainters&) = delete;
    GraphPicturePainters& operator=(const GraphPicturePainters&) = delete;

    GraphCanvas& canvas() { return canvas_; }

  private:
    QPainter graph_, powerLabels_, axisLabels_, rpmLabels_, legend_;
    TextLayouts texts_;  // pictures replay text as drawn: never taken from layouts
    GraphCanvas canvas_;
};

// The five boxes alone, as on the page, onto `target` from its top-left corner.
void paintGraphBoxes(QPainter& target, const GraphImages& boxes);

// The whole panel onto `target` from its top-left corner.
void paintGraphPanel(QPainter& target, const GraphImages& boxes, const RemarkLines& remarks);
void paintGraphPanel(QPainter& target, const GraphPictures& boxes, const RemarkLines& remarks);

// The bare 600 x 400 plot.
void paintGraphPlot(QPainter& target, const GraphImages& boxes);
void paintGraphPlot(QPainter& target, const GraphPictures& boxes);

}  // namespace dyno
