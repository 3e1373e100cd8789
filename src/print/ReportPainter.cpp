#include "print/ReportPainter.h"

#include <QPaintDevice>
#include <QPainter>
#include <cmath>

#include "display/GraphPalette.h"
#include "display/TextLayouts.h"
#include "display/graph/GraphAxes.h"
#include "print/PageAt600Dpi.h"
#include "print/ReportCurves.h"
#include "print/ReportGeometry.h"
#include "print/ReportGrid.h"
#include "print/ReportTexts.h"

namespace dyno {

namespace {

// The header picture's part (0,0)-(1600,450) goes to (400,50)-(2000,500), the small
// picture's (0,0)-(205,93) to (L+7, T+15): both unscaled.
const QRect kHeaderSource(0, 0, 1600, 450);
const QPoint kHeaderAt(400, 50);
const QRect kSmallPictureSource(0, 0, 205, 93);

// The chosen font at its size on a 600-dpi page, whatever the device's resolution.
QFont pageFont(QFont font) {
    if (font.pointSizeF() > 0) {
        font.setPixelSize(
            std::max(1, static_cast<int>(std::lround(font.pointSizeF() * kReportDpi / 72.0))));
    }
    return font;
}

// Written as the screen's boxes write their labels: a page drawn unscaled into an
// image gets their pixels, a PDF page its text.
void drawTexts(QPainter& painter, const std::vector<PageText>& texts) {
    TextLayouts layouts;
    for (const PageText& text : texts) {
        graph::drawTextAt(painter, layouts, text.x, text.y, text.text);
    }
}

void drawPicture(QPainter& painter, QPoint at, const QImage& picture, const QRect& source) {
    if (picture.isNull()) return;
    const QRect part = source & picture.rect();
    if (!part.isEmpty()) painter.drawImage(at + part.topLeft(), picture, part);
}

class ReportPage {
  public:
    ReportPage(QPainter& painter, QSize size, const ReportInputs& report)
        : painter_(painter), page_(size.width(), size.height()), report_(report) {}

    void paint() {
        painter_.setFont(pageFont(report_.font));
        painter_.setPen(QPen(Qt::black, reportFrameWidth(report_.print.lineWidth)));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(page_.frameOutline());
        if (report_.print.printHeader)
            drawPicture(painter_, kHeaderAt, report_.headerPicture, kHeaderSource);
        drawPicture(painter_, {page_.left + 7, page_.top + 15}, report_.smallPicture,
                    kSmallPictureSource);
        painter_.setPen(Qt::black);
        if (const auto owner = ownerLine(page_, report_.print)) drawTexts(painter_, {*owner});
        const ReportAxes axes = drawScales();
        drawSessions(axes);
    }

  private:
    // Scales and grid of the axes that have divisions; a line under the frame names
    // the limits to check for the others.
    ReportAxes drawScales() {
        const GraphScale& scale = report_.scale;
        const GraphFlags& flags = report_.flags;
        const std::vector<ScaleProblem> problems = scaleProblems(scale, flags.rpmAxisShown);
        const auto has = [&](ScaleProblem p) {
            return std::find(problems.begin(), problems.end(), p) != problems.end();
        };
        ReportAxes axes;
        const bool rpmAcross = !flags.speedOnXAxis;
        axes.curves = !has(ScaleProblem::powerScale) && !has(ScaleProblem::speedScale) &&
                      !(rpmAcross && has(ScaleProblem::rpmScale));
        axes.rpm = flags.rpmAxisShown && !rpmAcross && !has(ScaleProblem::rpmScale);

        painter_.setPen(Qt::black);
        if (!has(ScaleProblem::powerScale))
            drawTexts(painter_, powerScaleTexts(page_, scale, flags.powerInKw));
        if (rpmAcross) {
            if (!has(ScaleProblem::rpmScale))
                drawTexts(painter_, rpmAcrossScaleTexts(page_, scale));
        } else if (!has(ScaleProblem::speedScale)) {
            drawTexts(painter_, speedScaleTexts(page_, scale, flags.speedInMph));
        }
        const double across = acrossDivision();
        if (axes.curves)
            drawReportGrid(painter_, page_, rowDivision(reportPowerAxisOf(scale).divisions),
                           across);
        if (axes.rpm) {
            painter_.setPen(Qt::black);
            drawTexts(painter_, rpmScaleTexts(page_, scale));
            if (!has(ScaleProblem::speedScale)) {
                drawReportRpmGrid(painter_, page_, rowDivision(rpmAxisOf(scale).divisions), across);
            }
        }

        if (!problems.empty()) {
            QString hint;
            for (ScaleProblem problem : problems) {
                const std::string_view text = scaleHint(problem);
                if (!hint.isEmpty()) hint += QStringLiteral(";  ");
                hint += QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
            }
            painter_.setPen(Qt::black);
            drawTexts(painter_, {{page_.textLeft(), page_.lineBelowFrame(8.0), hint}});
        }
        return axes;
    }

    double rowDivision(std::int64_t divisions) const {
        return page_.frameHeight() / static_cast<double>(divisions);
    }

    // One division of the horizontal axis in pixels; 0 when it has none.
    double acrossDivision() const {
        const std::int64_t divisions = report_.flags.speedOnXAxis
                                           ? speedAxisOf(report_.scale).divisions
                                           : rpmAxisOf(report_.scale).divisions;
        return divisions > 0 ? page_.frameWidth() / static_cast<double>(divisions) : 0.0;
    }

    void drawSessions(const ReportAxes& axes) {
        const bool anyTorque = std::any_of(report_.selections.begin(), report_.selections.end(),
                                           [](const DisplaySelection& s) { return s.torqueShown; });
        if (axes.curves && report_.flags.showAirCurve && report_.flags.speedOnXAxis && anyTorque) {
            drawRoadLoad(painter_, page_, report_);
        }
        ReportCurveScratch scratch;
        for (int slot = 1; slot <= kSessionSlots; ++slot) {
            const auto index = static_cast<std::size_t>(slot - 1);
            if (report_.selections[index].selectedRun() < 0) continue;
            if (!drawSessionCurves(painter_, page_, report_, slot, axes, scratch)) continue;
            painter_.setPen(graph::legendColour(slot));
            drawTexts(painter_, sessionBlockTexts(page_, slot, report_.model.slot(slot),
                                                  report_.remarkLines[index], report_.flags,
                                                  report_.print.torqueInFtLbs));
        }
    }

    QPainter& painter_;
    ReportGeometry page_;
    const ReportInputs& report_;
};

}  // namespace

void paintReport(QPainter& painter, QSize pageSize, const ReportInputs& report) {
    painter.save();
    ReportPage(painter, pageSize, report).paint();
    painter.restore();
}

void paintReport(QPaintDevice& page, const ReportInputs& report) {
    paintAt600Dpi(page,
                  [&report](QPainter& painter, QSize size) { paintReport(painter, size, report); });
}

}  // namespace dyno
