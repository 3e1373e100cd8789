#include "display/graph/GraphFrame.h"

#include <QPainter>
#include <cstdint>
#include <vector>

#include "display/GraphPalette.h"
#include "display/curves/LinePixels.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

// The strips are filled wider than the boxes on the page; the boxes clip.
const QRect kPowerStripFill(0, 0, 29, 415);
const QRect kAxisStripFill(0, 0, 601, 19);
const QRect kRpmStripFill(0, 0, 41, 417);

QString number(std::int64_t value) {
    return QString::fromStdString(formatFixed(static_cast<double>(value), 0));
}

// Dots of one grid row: x = trunc of the running sum 0, step, 2 step, ..., ending
// with the first dot at x >= 600 (still set, off the area).
std::vector<int> rowDotColumns(double dotStep) {
    std::vector<int> columns;
    double x = 0.0;
    for (;;) {
        const int column = static_cast<int>(x);
        columns.push_back(column);
        if (column >= kGraphWidth) break;
        x += dotStep;
    }
    return columns;
}

// Rows at y = trunc(trunc(spacing) + j x spacing), ending with the first row at
// y >= 398; none when even the first lies there.
void addSpeedFrameRows(std::vector<QPoint>& dots, double rowSpacing, double columnSpacing) {
    const int first = static_cast<int>(rowSpacing);
    if (first >= 398) return;
    const std::vector<int> columns = rowDotColumns(0.1 * columnSpacing);
    for (int j = 0;; ++j) {
        const int y = static_cast<int>(first + j * rowSpacing);
        for (int x : columns) dots.emplace_back(x, y);
        if (y >= 398) break;
    }
}

// Columns at x = m, 2m, ... up to 600 - m; in each, dots at
// y = trunc(trunc(step) + i x step) with step a tenth of the row spacing, ending
// with the first dot at y >= 399.
void addSpeedFrameColumns(std::vector<QPoint>& dots, int columnStep, double rowSpacing) {
    const double dotStep = 0.1 * rowSpacing;
    const int first = static_cast<int>(dotStep);
    if (first >= 399) return;
    std::vector<int> rows;
    for (int i = 0;; ++i) {
        const int y = static_cast<int>(first + i * dotStep);
        rows.push_back(y);
        if (y >= 399) break;
    }
    for (int x = columnStep; x <= kGraphWidth - columnStep; x += columnStep) {
        for (int y : rows) dots.emplace_back(x, y);
    }
}

void drawDots(QPainter& painter, const std::vector<QPoint>& dots, const QColor& colour) {
    drawAreaPoints(painter, dots, colour);
}

void fillLabelStrips(GraphCanvas& canvas) {
    canvas.powerLabels.fillRect(kPowerStripFill, graph::buttonFace());
    canvas.axisLabels.fillRect(kAxisStripFill, graph::buttonFace());
}

// Bottom number at y 390, the next four always, higher ones only below y 380, the
// end of the axis at the top.
void drawPowerLabels(QPainter& painter, TextLayouts& texts, const GraphScale& scale,
                     const PowerAxis& axis) {
    painter.setFont(graph::labelFont());
    painter.setPen(Qt::black);
    graph::drawTextAt(painter, texts, 0, 390, number(scale.startHp));
    for (int k = 1; k <= 15; ++k) {
        const double offset = k * axis.rowSpacing;
        if (k > 4 && !(offset < 380.0)) continue;
        graph::drawTextAt(painter, texts, 0, static_cast<int>(392.0 - offset),
                          number(scale.startHp + k * axis.labelStep));
    }
    graph::drawTextAt(painter, texts, 0, 0, number(scale.endHp));
}

// Start at x 0, the next four always, higher ones only left of x 580, the end at
// x 580. `labelAt(k)` gives the text of label k.
template <typename LabelText>
void drawAcrossLabels(QPainter& painter, TextLayouts& texts, int columnStep, int lastK,
                      const QString& startText, const QString& endText, LabelText labelAt) {
    painter.setFont(graph::labelFont());
    painter.setPen(Qt::black);
    graph::drawTextAt(painter, texts, 0, 0, startText);
    for (int k = 1; k <= lastK; ++k) {
        const std::int64_t x = std::int64_t{k} * columnStep;
        if (k > 4 && x >= 580) continue;
        graph::drawTextAt(painter, texts, static_cast<int>(x - 5), 0, labelAt(k));
    }
    graph::drawTextAt(painter, texts, 580, 0, endText);
}

}  // namespace

void drawSpeedFrame(GraphCanvas& canvas, const GraphScale& scale) {
    const PowerAxis power = powerAxisOf(scale);
    const SpeedAxis speed = speedAxisOf(scale);

    canvas.graph.fillRect(QRect(0, 0, kGraphWidth, kGraphHeight), graph::kBackground);
    std::vector<QPoint> dots;
    dots.reserve(8192);
    addSpeedFrameRows(dots, power.rowSpacing, speed.columnSpacing);
    addSpeedFrameColumns(dots, speed.columnStep, power.rowSpacing);
    drawDots(canvas.graph, dots, graph::kGridDot);

    fillLabelStrips(canvas);
    drawPowerLabels(canvas.powerLabels, canvas.texts, scale, power);
    drawAcrossLabels(canvas.axisLabels, canvas.texts, speed.columnStep, 18, number(scale.startKmh),
                     number(scale.endKmh),
                     [&](int k) { return number(scale.startKmh + k * speed.labelStep); });
}

void drawRpmScale(GraphCanvas& canvas, const GraphScale& scale) {
    const RpmAxis rpm = rpmAxisOf(scale);
    const double rowSpacing = 400.0 / static_cast<double>(rpm.divisions);
    // The dot spacing follows ten-unit speed steps, whatever the speed divisions.
    const std::int64_t speedTens = (std::int64_t{scale.endKmh} - scale.startKmh) / 10;
    const double columnSpacing = 600.0 / static_cast<double>(speedTens);

    std::vector<QPoint> dots;
    dots.reserve(8192);
    addSpeedFrameRows(dots, rowSpacing, columnSpacing);
    drawDots(canvas.graph, dots, graph::kRpmGridDot);

    QPainter& strip = canvas.rpmLabels;
    strip.fillRect(kRpmStripFill, graph::buttonFace());
    strip.setFont(graph::labelFont());
    strip.setPen(graph::kRpmLabel);
    const auto thousands = [](std::int64_t rpmValue) { return number(rpmValue / 1000); };
    graph::drawTextAt(strip, canvas.texts, 0, 395, thousands(scale.startRpm));
    for (int k = 1; k <= 15; ++k) {
        const double offset = k * rowSpacing;
        if (k > 4 && !(offset < 400.0)) continue;
        graph::drawTextAt(strip, canvas.texts, 0, static_cast<int>(400.0 - offset),
                          thousands(scale.startRpm + k * rpm.step));
    }
    graph::drawTextAt(strip, canvas.texts, 0, 0, thousands(scale.endRpm));
}

void drawRpmFrame(GraphCanvas& canvas, const GraphScale& scale) {
    const PowerAxis power = powerAxisOf(scale);
    const RpmAxis rpm = rpmAxisOf(scale);
    const double columnSpacing = 600.0 / static_cast<double>(rpm.divisions);
    const int columnStep = static_cast<int>(columnSpacing);

    canvas.graph.fillRect(QRect(0, 0, kGraphWidth, kGraphHeight), graph::kBackground);
    std::vector<QPoint> dots;
    dots.reserve(8192);
    // Here rows and columns sit at the running sums themselves, each truncated.
    std::vector<int> rowDots;
    for (double x = 0.0; x < 600.0; x += 0.1 * columnSpacing)
        rowDots.push_back(static_cast<int>(x));
    for (double y = power.rowSpacing; y < 398.0; y += power.rowSpacing) {
        for (int x : rowDots) dots.emplace_back(x, static_cast<int>(y));
    }
    std::vector<int> columnDots;
    for (double y = 0.1 * power.rowSpacing; y < 399.0; y += 0.1 * power.rowSpacing) {
        columnDots.push_back(static_cast<int>(y));
    }
    for (double x = columnSpacing; x <= 601.0 - columnSpacing; x += columnSpacing) {
        for (int y : columnDots) dots.emplace_back(static_cast<int>(x), y);
    }
    drawDots(canvas.graph, dots, graph::kGridDot);

    fillLabelStrips(canvas);
    drawPowerLabels(canvas.powerLabels, canvas.texts, scale, power);
    const auto hundreds = [](std::int64_t rpmValue) { return number(rpmValue / 100); };
    drawAcrossLabels(canvas.axisLabels, canvas.texts, columnStep, 15, hundreds(scale.startRpm),
                     hundreds(scale.endRpm),
                     [&](int k) { return hundreds(scale.startRpm + k * rpm.step); });
}

void clearRpmLabels(GraphCanvas& canvas) {
    canvas.rpmLabels.fillRect(kRpmStripFill, graph::buttonFace());
}

void drawScaleHint(GraphCanvas& canvas, ScaleProblem problem) {
    canvas.graph.fillRect(QRect(0, 0, kGraphWidth, kGraphHeight), graph::kBackground);
    canvas.graph.setPen(graph::kGridDot);
    canvas.graph.setFont(graph::labelFont());
    const std::string_view hint = scaleHint(problem);
    canvas.graph.drawText(QRect(0, 0, kGraphWidth, kGraphHeight), Qt::AlignCenter,
                          QString::fromUtf8(hint.data(), static_cast<qsizetype>(hint.size())));
    fillLabelStrips(canvas);
    clearRpmLabels(canvas);
}

}  // namespace dyno
