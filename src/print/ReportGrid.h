#pragma once

#include "print/ReportGeometry.h"

class QPainter;

// The dotted grid of the report, drawn inside the frame.
namespace dyno {

// Black 3 x 3 squares along every power division line (from the frame's top down)
// every tenth of a horizontal division, and single black pixels down every
// horizontal division line every tenth of a power division. Spacings in pixels.
void drawReportGrid(QPainter& painter, const ReportGeometry& page, double rowSpacing,
                    double columnSpacing);

// Dark-blue 9 x 3 dashes along every engine-speed division line, every tenth of a
// horizontal division.
void drawReportRpmGrid(QPainter& painter, const ReportGeometry& page, double rowSpacing,
                       double columnSpacing);

}  // namespace dyno
