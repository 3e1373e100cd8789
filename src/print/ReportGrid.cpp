#include "print/ReportGrid.h"

#include <QPainter>

namespace dyno {

namespace {

const QColor kGridColour(0x00, 0x00, 0x00);
const QColor kRpmGridColour(0x00, 0x00, 0x40);

// Positions start, start + step, ... up to `last` (or below it when `below`).
template <typename Each>
void stepAlong(int start, double step, int last, bool below, Each each) {
    if (!(step > 0.0)) return;
    for (int i = 0;; ++i) {
        const int at = static_cast<int>(start + i * step);
        if (below ? at >= last : at > last) break;
        each(at);
    }
}

// One division line of marks `markWidth` x `markHeight` centred every `step`
// pixels from L to R. Marks closer than their own width touch: the line is then
// drawn as one bar, which looks the same and stays one shape however dense the
// scale.
void drawMarkedRow(QPainter& painter, const ReportGeometry& page, int y, double step, int markWidth,
                   int markHeight, const QColor& colour) {
    const int halfWidth = markWidth / 2;
    const int halfHeight = markHeight / 2;
    if (step < markWidth) {
        painter.fillRect(page.left - halfWidth, y - halfHeight, page.frameWidth() + markWidth,
                         markHeight, colour);
        return;
    }
    stepAlong(page.left, step, page.right, false, [&](int x) {
        painter.fillRect(x - halfWidth, y - halfHeight, markWidth, markHeight, colour);
    });
}

}  // namespace

void drawReportGrid(QPainter& painter, const ReportGeometry& page, double rowSpacing,
                    double columnSpacing) {
    stepAlong(page.top, rowSpacing, page.bottom, true, [&](int y) {
        drawMarkedRow(painter, page, y, 0.1 * columnSpacing, 3, 3, kGridColour);
    });
    const double dotStep = 0.1 * rowSpacing;
    stepAlong(page.left, columnSpacing, page.right, true, [&](int x) {
        if (dotStep < 1.0) {
            painter.fillRect(x, page.top, 1, page.frameHeight() + 1, kGridColour);
            return;
        }
        stepAlong(page.top, dotStep, page.bottom, false,
                  [&](int y) { painter.fillRect(x, y, 1, 1, kGridColour); });
    });
}

void drawReportRpmGrid(QPainter& painter, const ReportGeometry& page, double rowSpacing,
                       double columnSpacing) {
    stepAlong(page.top, rowSpacing, page.bottom, true, [&](int y) {
        drawMarkedRow(painter, page, y, 0.1 * columnSpacing, 9, 3, kRpmGridColour);
    });
}

}  // namespace dyno
