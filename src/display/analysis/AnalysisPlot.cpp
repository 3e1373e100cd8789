#include "display/analysis/AnalysisPlot.h"

#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <cstddef>
#include <span>

#include "display/GraphPalette.h"
#include "display/graph/GraphAxes.h"
#include "display/graph/GraphFrame.h"

namespace dyno {

namespace {

enum class PowerKind { wheel, loss, engine };

QPen penFor(int run, PowerKind kind) {
    QPen pen(analysisRunColour(run));
    pen.setWidth(kind == PowerKind::engine ? 2 : 1);
    if (kind == PowerKind::loss) pen.setStyle(Qt::DashLine);
    return pen;
}

void drawCurve(QPainter& graph, const AnalysisMapping& mapping, std::span<const double> speed,
               std::span<const double> power, const QPen& pen) {
    if (speed.size() < 2) return;
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(speed.size()));
    for (std::size_t k = 0; k < speed.size(); ++k) {
        line.append(QPointF(mapping.x(speed[k]), mapping.y(power[k])));
    }
    graph.setPen(pen);
    graph.drawPolyline(line);
}

void drawRun(QPainter& graph, const AnalysisMapping& mapping, const RunAnalysis& run, int r,
             const AnalysisPlotChoice& choice) {
    const auto wheel =
        static_cast<std::size_t>(accelerationPoints(run.evaluation.evalCount, run.loss.peakIndex));
    if (choice.wheelPower) {
        drawCurve(graph, mapping, std::span(run.curves.speedCurve).first(wheel),
                  std::span(run.curves.powerCurve).first(wheel), penFor(r, PowerKind::wheel));
    }
    const auto loss = static_cast<std::size_t>(run.loss.points);
    if (choice.lossPower) {
        drawCurve(graph, mapping, std::span(run.loss.speed).first(loss),
                  std::span(run.loss.lossPower).first(loss), penFor(r, PowerKind::loss));
    }
    const auto engine = static_cast<std::size_t>(run.engine.points);
    if (choice.enginePower && run.engine.hasEngineSide) {
        drawCurve(graph, mapping, std::span(run.engine.speed).first(engine),
                  std::span(run.engine.power).first(engine), penFor(r, PowerKind::engine));
    }
}

void drawMean(QPainter& graph, const AnalysisMapping& mapping, const AnalysisWorkspace& analysis,
              const AnalysisPlotChoice& choice) {
    const SessionStatistics& statistics = analysis.statistics();
    const MeanEngineSide& mean = analysis.meanEngineSide();
    const std::span speed(statistics.meanCurveSpeed);
    const auto points = static_cast<std::size_t>(statistics.meanCurvePoints);
    if (choice.wheelPower) {
        drawCurve(graph, mapping, speed.first(points),
                  std::span(statistics.meanCurvePower).first(points),
                  penFor(kRunsPerSession, PowerKind::wheel));
    }
    if (!mean.hasEngineSide) return;
    const auto first = static_cast<std::size_t>(mean.firstPoint);
    const auto count = static_cast<std::size_t>(mean.lastPoint - mean.firstPoint + 1);
    if (choice.lossPower) {
        drawCurve(graph, mapping, speed.subspan(first, count),
                  std::span(mean.lossPower).subspan(first, count),
                  penFor(kRunsPerSession, PowerKind::loss));
    }
    if (choice.enginePower) {
        drawCurve(graph, mapping, speed.subspan(first, count),
                  std::span(mean.enginePower).subspan(first, count),
                  penFor(kRunsPerSession, PowerKind::engine));
    }
}

// The key: a line of each kind in the first shown colour, then the runs' colours.
void drawKey(QPainter& legend, TextLayouts& texts, const AnalysisPlotChoice& choice) {
    legend.fillRect(legend.viewport(), graph::buttonFace());
    legend.setFont(graph::labelFont());
    const int sample = choice.asMean ? kRunsPerSession : 0;
    const std::array<std::pair<PowerKind, const char*>, 3> kinds{
        {{PowerKind::wheel, "Wheel"}, {PowerKind::loss, "Losses"}, {PowerKind::engine, "Engine"}}};
    int y = 0;
    for (const auto& [kind, name] : kinds) {
        QPen pen = penFor(sample, kind);
        pen.setColor(Qt::black);
        legend.setPen(pen);
        legend.drawLine(0, y + 8, 24, y + 8);
        legend.setPen(Qt::black);
        graph::drawTextAt(legend, texts, 30, y, QString::fromLatin1(name));
        y += 16;
    }
    if (choice.asMean) {
        legend.setPen(graph::legendColour(kRunsPerSession + 1));
        graph::drawTextAt(legend, texts, 0, y, QStringLiteral("Mean of the runs"));
        return;
    }
    for (int r = 0; r < kRunsPerSession; ++r) {
        if (!choice.runs[static_cast<std::size_t>(r)]) continue;
        legend.setPen(graph::legendColour(r + 1));
        graph::drawTextAt(legend, texts, 44 * r, y, QStringLiteral("Run %1").arg(r + 1));
    }
}

}  // namespace

AnalysisMapping::AnalysisMapping(const GraphScale& scale)
    : startSpeed_(scale.startKmh),
      startPower_(scale.startHp),
      pixelsPerSpeed_(kGraphWidth / (static_cast<double>(scale.endKmh) - scale.startKmh)),
      pixelsPerPower_(kGraphHeight / (static_cast<double>(scale.endHp) - scale.startHp)) {}

QColor analysisRunColour(int run) {
    return graph::powerColour(run + 1);
}

void drawAnalysis(GraphCanvas& canvas, const GraphScale& scale, const AnalysisWorkspace& analysis,
                  const AnalysisPlotChoice& choice, const ChannelOverlay& channels) {
    const ScaleProblem problem = scaleProblem(scale, false);
    drawKey(canvas.legend, canvas.texts, choice);
    if (problem != ScaleProblem::none) {
        drawScaleHint(canvas, problem);
        return;
    }
    drawSpeedFrame(canvas, scale);
    clearRpmLabels(canvas);
    const AnalysisMapping mapping(scale);
    canvas.graph.setRenderHint(QPainter::Antialiasing, false);
    if (choice.asMean) {
        drawMean(canvas.graph, mapping, analysis, choice);
    } else {
        for (int r = 0; r < kRunsPerSession; ++r) {
            if (choice.runs[static_cast<std::size_t>(r)]) {
                drawRun(canvas.graph, mapping, analysis.run(r), r, choice);
            }
        }
    }
    drawChannelOverlay(canvas.graph, canvas.texts, mapping, analysis, choice, channels);
}

}  // namespace dyno
