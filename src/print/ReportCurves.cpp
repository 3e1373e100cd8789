#include "print/ReportCurves.h"

#include <QPainter>
#include <algorithm>
#include <functional>

#include "display/GraphPalette.h"
#include "display/curves/CurvePlot.h"
#include "evaluation/RoadLoad.h"
#include "model/Units.h"

namespace dyno {

namespace {

constexpr int kPlottedSamples = kSamplesPerRun - 1;  // samples 0..1998
const QColor kRoadLoad(0x00, 0xFF, 0xFF);

double span(std::int32_t start, std::int32_t end) {
    return static_cast<double>(end) - static_cast<double>(start);
}

// How one curve's values become page points: x from the speed (or, with engine
// speed across, from the speed times the run's gearing), never left of the frame;
// y from the value on its axis, never below the frame.
struct CurveMapping {
    const ReportGeometry& page;
    double startSpeed;
    double pixelsPerSpeed;
    double valueStart;
    double pixelsPerValue;

    SplinePoint operator()(double speed, double value) const {
        const int x = page.left + toPixel(pixelsPerSpeed * (speed - startSpeed));
        // The position is truncated, not the height above the frame's bottom: a
        // fraction of a pixel up stays in the pixel row it reaches.
        const int y = toPixel(page.bottom - pixelsPerValue * (value - valueStart));
        return {std::max(x, page.left), std::min(y, page.bottom)};
    }
};

void drawCurve(QPainter& painter, const ReportGeometry& page, const EvaluatedCurves& curves,
               const EvaluatedCurves::Curve& values, int first, const CurveMapping& map,
               const std::function<double(double)>& across, ReportCurveScratch& scratch) {
    scratch.points.clear();
    for (int k = first; k < kPlottedSamples; ++k) {
        const auto at = static_cast<std::size_t>(k);
        scratch.points.push_back(map(across(curves.speedCurve[at]), values[at]));
    }
    scratch.polyline.clear();
    appendFramedSplinePolyline(scratch.points, static_cast<int>(scratch.points.size()) - 3,
                               page.frame(), scratch.polyline);
    if (scratch.polyline.size() > 1) {
        painter.drawPolyline(scratch.polyline.data(), static_cast<int>(scratch.polyline.size()));
    }
}

}  // namespace

bool drawSessionCurves(QPainter& painter, const ReportGeometry& page, const ReportInputs& report,
                       int slot, const ReportAxes& axes, ReportCurveScratch& scratch) {
    const auto index = static_cast<std::size_t>(slot - 1);
    const DisplaySelection& selection = report.selections[index];
    const TestSession& session = report.model.slot(slot);
    const EvaluatedCurves& curves = session.curves;
    const GraphScale& s = report.scale;
    const GraphFlags& flags = report.flags;

    // x of a sample: speed across, or with engine speed across the rpm the run's
    // gearing gives at that speed (rpm per km/h, the speed taken in km/h).
    const double unitFactor = flags.speedInMph ? kKmhPerMph : 1.0;
    const double rpmPerKmh = session.values.rpmPer100(std::max(0, selection.selectedRun()));
    const std::function<double(double)> across = [&](double speed) {
        return flags.speedOnXAxis ? speed : rpmPerKmh * unitFactor * speed;
    };
    const double acrossStart = flags.speedOnXAxis ? s.startKmh : s.startRpm;
    const double acrossSpan =
        flags.speedOnXAxis ? span(s.startKmh, s.endKmh) : span(s.startRpm, s.endRpm);

    painter.setPen(QPen(graph::legendColour(slot), std::clamp(report.print.lineWidth, 0, 100),
                        Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const auto plot = [&](const EvaluatedCurves::Curve& values, std::int32_t start,
                          std::int32_t end, bool drawable) {
        const int first = firstPlottedSample(values, start);
        if (first < 0) return false;
        if (!drawable) return true;
        const CurveMapping map{page, acrossStart, page.frameWidth() / acrossSpan,
                               static_cast<double>(start), page.frameHeight() / span(start, end)};
        drawCurve(painter, page, curves, values, first, map, across, scratch);
        return true;
    };

    if (selection.powerShown && !plot(curves.powerCurve, s.startHp, s.endHp, axes.curves)) {
        return false;
    }
    // The engine-speed curve has its scale on the right; with engine speed across
    // there is none, as on the screen.
    if (flags.rpmAxisShown && flags.speedOnXAxis &&
        !plot(curves.rpmCurve, s.startRpm, s.endRpm, axes.curves && axes.rpm)) {
        return false;
    }
    if (selection.torqueShown && !plot(curves.torqueCurve, s.startHp, s.endHp, axes.curves)) {
        return false;
    }
    return true;
}

void drawRoadLoad(QPainter& painter, const ReportGeometry& page, const ReportInputs& report) {
    const GraphScale& s = report.scale;
    // The speed of each page column of the frame, left edge and right edge included.
    const double speedPerColumn = span(s.startKmh, s.endKmh) / page.frameWidth();
    std::vector<double> speeds;
    speeds.reserve(static_cast<std::size_t>(page.frameWidth()) + 1);
    for (int x = page.left; x <= page.right; ++x) {
        speeds.push_back(s.startKmh + (x - page.left) * speedPerColumn);
    }
    const std::vector<double> losses = roadLoadCurve(
        {report.airResistance, report.rollingResistance, report.flags.speedInMph}, speeds);
    const double pixelsPerHp = page.frameHeight() / span(s.startHp, s.endHp);
    std::vector<QPoint> dots;
    dots.reserve(speeds.size());
    for (int x = page.left; x <= page.right; ++x) {
        const double load = losses[static_cast<std::size_t>(x - page.left)];
        if (!(load > s.startHp)) continue;
        const int y = toPixel(page.bottom - (load - s.startHp) * pixelsPerHp);
        if (y >= page.top) dots.emplace_back(x, y);
    }
    painter.setPen(QPen(kRoadLoad, 1));
    painter.drawPoints(dots.data(), static_cast<int>(dots.size()));
}

}  // namespace dyno
