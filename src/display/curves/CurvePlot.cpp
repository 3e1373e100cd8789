#include "display/curves/CurvePlot.h"

#include <QPainter>
#include <span>

#include "display/GraphPalette.h"
#include "display/curves/LinePixels.h"
#include "evaluation/RoadLoad.h"
#include "model/Units.h"

namespace dyno {

namespace {

// Samples 0..1998 are plotted; the last of a run's 2000 never holds a curve value.
constexpr int kPlottedSamples = kSamplesPerRun - 1;

// How values become pixels for the current scale; every conversion truncates.
struct Mapping {
    double startHp, startKmh, startRpm;
    double yScale;       // pixels per hp (kW)
    double xScale;       // pixels per km/h (mph)
    double rpmPerPixel;  // rpm per pixel row of the engine-speed axis
    double rpmSpan;
    double unitFactor;  // km/h per display speed unit

    explicit Mapping(const PlotSettings& settings) {
        const GraphScale& s = settings.scale;
        startHp = s.startHp;
        startKmh = s.startKmh;
        startRpm = s.startRpm;
        yScale = 400.0 / (static_cast<double>(s.endHp) - s.startHp);
        xScale = 600.0 / (static_cast<double>(s.endKmh) - s.startKmh);
        rpmSpan = static_cast<double>(s.endRpm) - s.startRpm;
        rpmPerPixel = rpmSpan * 0.0025;
        unitFactor = settings.speedInMph ? kKmhPerMph : 1.0;
    }

    int row(double value) const { return toPixel(399.0 - (value - startHp) * yScale); }
    int column(double speed) const { return toPixel((speed - startKmh) * xScale); }
    // Fixed gearing with engine speed across: the speed times the gearing (rpm per
    // km/h) gives the engine speed.
    int rpmColumn(double speed, double rpmPerKmh) const {
        return toPixel((rpmPerKmh * unitFactor * speed - startRpm) * 600.0 / rpmSpan);
    }
};

std::size_t at(int k) {
    return static_cast<std::size_t>(k);
}

class SlotPlot {
  public:
    SlotPlot(QPainter& graph, int slot, const TestSession& session, int run,
             const DisplaySelection& selection, const PlotSettings& settings, PlotBuffers& buffers)
        : graph_(graph),
          slot_(slot),
          session_(session),
          curves_(session.curves),
          run_(run),
          selection_(selection),
          settings_(settings),
          buffers_(buffers),
          map_(settings) {}

    PlotOutcome speedPlot(PixelTable& table);
    PlotOutcome fixedGearingPlot(PixelTable& table);

  private:
    void resetBuffers() {
        buffers_.plotY.fill(399);
        buffers_.plotX.fill(0);
    }

    // Yellow dots of the losses (air drag grows with the square of speed, rolling
    // resistance is constant) across the speed axis.
    void drawAirCurve() {
        const GraphScale& s = settings_.scale;
        // The speed of each of the 600 columns, stepped up column by column.
        const double speedStep = (static_cast<double>(s.endKmh) - s.startKmh) / 600.0;
        std::vector<double> speeds(600);
        double speed = s.startKmh;
        for (double& column : speeds) {
            column = speed;
            speed += speedStep;
        }
        const std::vector<double> losses = roadLoadCurve(
            {settings_.airResistance, settings_.rollingResistance, settings_.speedInMph}, speeds);
        std::vector<QPoint> dots;
        dots.reserve(600);
        for (int x = 0; x < 600; ++x) {
            const int height = toPixel((losses[at(x)] - map_.startHp) * map_.yScale);
            if (height > 0) dots.emplace_back(x, 399 - height);
        }
        drawAreaPoints(graph_, dots, graph::kAirCurve);
    }

    template <typename ColumnOf>
    void placeSamples(const EvaluatedCurves::Curve& curve, int first, ColumnOf columnOf) {
        for (int k = first; k < kPlottedSamples; ++k) {
            buffers_.plotY[at(k)] = map_.row(curve[at(k)]);
            buffers_.plotX[at(k)] = columnOf(curves_.speedCurve[at(k)]);
        }
    }

    // Control points from samples first..end-1, at the start of the point list.
    void copyPoints(int first, int end) {
        for (int k = first; k < end; ++k) {
            buffers_.pointList[at(k - first)] = {buffers_.plotX[at(k)], buffers_.plotY[at(k)]};
        }
    }

    void lowerAllPoints() {
        for (int i = 0; i < kPlottedSamples; ++i) buffers_.pointList[at(i)].y = 399;
    }

    void spline(const QColor& colour, int count) {
        drawSpline(graph_, buffers_.pointList, count, colour, buffers_.spline);
    }

    // Engine speed of this run at sample k; nothing recorded past the run's end.
    double rpmSample(int k) const {
        if (k >= kSamplesPerRun) return 0.0;
        return session_.rpmSamples[at(run_ * kSamplesPerRun + k)];
    }

    // Forward average of five samples on the engine-speed axis, from `first` up to
    // the first sample without engine speed. Returns where it stopped.
    int placeRpmSamples(int first) {
        int stop = first;
        while (stop < kPlottedSamples && rpmSample(stop) > 0.0) ++stop;
        // Each sample's rows are worked out once and summed five times, in the order
        // of the average.
        auto& rows = buffers_.rpmRows;
        for (int k = first; k < stop + 4; ++k) {
            rows[at(k)] = (rpmSample(k) - map_.startRpm) / map_.rpmPerPixel;
        }
        for (int k = first; k < stop; ++k) {
            double sum = 0.0;
            for (int j = 0; j < 5; ++j) sum += rows[at(k + j)];
            buffers_.plotY[at(k)] = toPixel(399.0 - 0.2 * sum);
        }
        return stop;
    }

    void fillTables(PixelTable& table, int first, int end) {
        const std::span<const int> columns(buffers_.plotX);
        fillColumnTable(columns, curves_.powerCurve, first, end, table.powerAtColumn,
                        table.columnFilled);
        fillColumnGaps(table.powerAtColumn, table.columnFilled);
        if (!selection_.torqueShown) return;
        fillColumnTable(columns, curves_.torqueCurve, first, end, table.torqueAtColumn,
                        table.columnFilled);
        fillColumnGaps(table.torqueAtColumn, table.columnFilled);
    }

    // The curves run back to speed 0 after the run's last sample; a black edge
    // covers what they leave on the left and bottom borders.
    void drawEdge() {
        const QPoint edge[] = {{0, 0}, {0, 399}, {599, 399}};
        drawPolylinePixels(graph_, edge, graph::kBackground, buffers_.spline.pixels);
    }

    QPainter& graph_;
    int slot_;
    const TestSession& session_;
    const EvaluatedCurves& curves_;
    int run_;
    const DisplaySelection& selection_;
    const PlotSettings& settings_;
    PlotBuffers& buffers_;
    Mapping map_;
};

PlotOutcome SlotPlot::speedPlot(PixelTable& table) {
    resetBuffers();
    if (settings_.showAirCurve && selection_.torqueShown) drawAirCurve();

    const auto speedColumn = [this](double speed) { return map_.column(speed); };
    const int powerFirst = firstPlottedSample(curves_.powerCurve, map_.startHp);
    if (powerFirst < 0) return PlotOutcome::powerBelowScale;
    placeSamples(curves_.powerCurve, powerFirst, speedColumn);
    copyPoints(powerFirst, kPlottedSamples);
    if (selection_.powerShown) spline(graph::powerColour(slot_), kPlottedSamples - powerFirst - 3);
    int rangeFirst = powerFirst;
    int rangeEnd = kPlottedSamples;

    if (settings_.rpmAxisShown) {
        const int stop = placeRpmSamples(powerFirst);
        rangeEnd = stop - 3;
        // The x of the points stay those of the power curve; the three points after
        // the copied ones lie on the bottom row, so the curve ends with a drop.
        lowerAllPoints();
        for (int k = powerFirst; k < rangeEnd; ++k) {
            buffers_.pointList[at(k - powerFirst)].y = buffers_.plotY[at(k)];
        }
        spline(graph::rpmColour(slot_), rangeEnd - powerFirst);
    }

    if (selection_.torqueShown) {
        const int torqueFirst = firstPlottedSample(curves_.torqueCurve, map_.startHp);
        if (torqueFirst < 0) return PlotOutcome::torqueBelowScale;
        placeSamples(curves_.torqueCurve, torqueFirst, speedColumn);
        lowerAllPoints();
        copyPoints(torqueFirst, kPlottedSamples);
        spline(graph::torqueColour(slot_), kPlottedSamples - torqueFirst - 3);
        rangeFirst = torqueFirst;
        rangeEnd = kPlottedSamples;
    }

    fillTables(table, rangeFirst, rangeEnd);
    drawEdge();
    return PlotOutcome::drawn;
}

PlotOutcome SlotPlot::fixedGearingPlot(PixelTable& table) {
    resetBuffers();
    if (settings_.showAirCurve && selection_.torqueShown && settings_.speedOnXAxis) {
        drawAirCurve();
    }

    const double rpmPerKmh = session_.values.rpmPer100(run_);
    const auto columnOf = [this, rpmPerKmh](double speed) {
        return settings_.speedOnXAxis ? map_.column(speed) : map_.rpmColumn(speed, rpmPerKmh);
    };
    int rangeFirst = -1;
    if (selection_.powerShown) {
        const int powerFirst = firstPlottedSample(curves_.powerCurve, map_.startHp);
        if (powerFirst < 0) return PlotOutcome::powerBelowScale;
        placeSamples(curves_.powerCurve, powerFirst, columnOf);
        copyPoints(powerFirst, kPlottedSamples);
        spline(graph::powerColour(slot_), kPlottedSamples - powerFirst - 3);
        rangeFirst = powerFirst;
    }
    if (selection_.torqueShown) {
        const int torqueFirst = firstPlottedSample(curves_.torqueCurve, map_.startHp);
        if (torqueFirst < 0) return PlotOutcome::torqueBelowScale;
        placeSamples(curves_.torqueCurve, torqueFirst, columnOf);
        lowerAllPoints();
        copyPoints(torqueFirst, kPlottedSamples);
        // With engine speed across, torque takes the slot's power colour.
        spline(graph::powerColour(slot_), kPlottedSamples - torqueFirst - 3);
        rangeFirst = torqueFirst;
    }

    if (rangeFirst >= 0) {
        fillTables(table, rangeFirst, kPlottedSamples);
    } else {
        table.powerAtColumn.fill(0.0);
        table.columnFilled.fill(0);
    }
    drawEdge();
    return PlotOutcome::drawn;
}

}  // namespace

int firstPlottedSample(const EvaluatedCurves::Curve& curve, double axisStart) {
    int k = 0;
    while (k < kPlottedSamples - 1 && !(curve[static_cast<std::size_t>(k)] >= axisStart)) ++k;
    if (k == kPlottedSamples - 1) return -1;
    return k > 0 ? k - 1 : k;
}

PlotOutcome plotSession(QPainter& graph, int slot, const TestSession& session, int run,
                        const DisplaySelection& selection, const PlotSettings& settings,
                        PlotBuffers& buffers, PixelTable& table) {
    SlotPlot plot(graph, slot, session, run, selection, settings, buffers);
    return settings.fixedGearing ? plot.fixedGearingPlot(table) : plot.speedPlot(table);
}

}  // namespace dyno
