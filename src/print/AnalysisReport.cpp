#include "print/AnalysisReport.h"

#include <QPaintDevice>
#include <QPainter>
#include <cmath>

#include "display/graph/GraphImages.h"
#include "model/Cp1252.h"
#include "print/PageAt600Dpi.h"
#include "print/ReportGeometry.h"
#include "print/ReportTexts.h"

namespace dyno {

namespace {

QString textOf(const TestSession::VehicleText& text) {
    return QString::fromStdString(fromWindows1252(text.view()));
}

QFont pageFont(QFont font, double scale = 1.0) {
    if (font.pointSizeF() > 0) {
        font.setPixelSize(std::max(
            1, static_cast<int>(std::lround(scale * font.pointSizeF() * kReportDpi / 72.0))));
    }
    return font;
}

// The graph's boxes as the page draws them, made once for the report.
QImage graphPanel(const AnalysisReportInputs& report) {
    GraphImages images = GraphImages::create();
    {
        GraphPainters painters(images);
        drawAnalysis(painters.canvas(), report.scale, report.analysis, report.choice,
                     report.channels);
    }
    return images.panel();
}

// The table in columns across the page's width, heading first.
int drawTable(QPainter& painter, const QRect& area, const AnalysisTable& table, int lineHeight) {
    const std::array<double, kAnalysisColumns> columnShare{0.0, 0.10, 0.24, 0.38, 0.48, 0.62};
    int y = area.top();
    const auto drawRow = [&](const AnalysisRow& row) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            const int x = area.left() + static_cast<int>(columnShare[c] * area.width());
            painter.drawText(QPoint(x, y + lineHeight), row[c]);
        }
        y += lineHeight;
    };
    QFont bold = painter.font();
    bold.setBold(true);
    const QFont plain = painter.font();
    painter.setFont(bold);
    drawRow(table.heading);
    painter.setFont(plain);
    for (const AnalysisRow& row : table.rows) drawRow(row);
    return y;
}

}  // namespace

QString analysisReportTitle(const AnalysisReportInputs& report) {
    QString title = QStringLiteral("Analysis of Test session %1").arg(report.slot);
    const QString vehicle = QStringList{textOf(report.session.make), textOf(report.session.model)}
                                .join(QLatin1Char(' '))
                                .trimmed();
    if (!vehicle.isEmpty()) title += QStringLiteral(": ") + vehicle;
    const QString owner = textOf(report.session.owner).trimmed();
    if (!owner.isEmpty()) title += QStringLiteral(", ") + owner;
    return title;
}

void paintAnalysisReport(QPainter& painter, QSize pageSize, const AnalysisReportInputs& report) {
    painter.save();
    const int margin = pageSize.width() / 12;
    const int width = pageSize.width() - 2 * margin;
    painter.setPen(Qt::black);

    painter.setFont(pageFont(report.font, 1.5));
    const int titleHeight = painter.fontMetrics().height();
    painter.drawText(QPoint(margin, margin + titleHeight), analysisReportTitle(report));

    // The graph's boxes, pixel for pixel as on the page, scaled to the page's width.
    const QImage panel = graphPanel(report);
    const int panelHeight = width * panel.height() / panel.width();
    const QRect panelArea(margin, margin + 2 * titleHeight, width, panelHeight);
    painter.drawImage(panelArea, panel);

    painter.setFont(pageFont(report.font));
    const int lineHeight = painter.fontMetrics().height() * 3 / 2;
    const AnalysisTable table = analysisTableOf(report.analysis.statistics(), report.units);
    const QRect tableArea(margin, panelArea.bottom() + lineHeight, width, 0);
    const int below = drawTable(painter, tableArea, table, lineHeight);
    int y = below + 2 * lineHeight;
    painter.drawText(QPoint(margin, y), table.verdict);
    for (int k = 0; k < kShownChannels; ++k) {
        if (!report.channels.shows(k)) continue;
        y += lineHeight;
        painter.drawText(QPoint(margin, y),
                         channelAtPeakPowerLine(report.channels, k, report.analysis));
    }
    if (report.print.printOwnerName) {
        painter.drawText(QPoint(margin, y + 2 * lineHeight), measuredByText(report.print));
    }
    painter.restore();
}

void paintAnalysisReport(QPaintDevice& page, const AnalysisReportInputs& report) {
    paintAt600Dpi(page, [&report](QPainter& painter, QSize size) {
        paintAnalysisReport(painter, size, report);
    });
}

}  // namespace dyno
