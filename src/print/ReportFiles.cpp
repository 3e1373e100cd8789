#include "print/ReportFiles.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>

#include "print/ReportGeometry.h"
#include "print/ReportPainter.h"

namespace dyno {

namespace {

constexpr double kBorderMm = 5.0;
constexpr int kDotsPerMetre = 23622;  // 600 dpi

}  // namespace

QPageLayout reportPageLayout(QPageSize::PageSizeId size) {
    return QPageLayout(QPageSize(size), QPageLayout::Portrait,
                       QMarginsF(kBorderMm, kBorderMm, kBorderMm, kBorderMm),
                       QPageLayout::Millimeter);
}

QSize reportPageSize(const QPageLayout& layout) {
    return layout.paintRectPixels(kReportDpi).size();
}

QImage reportImage(const ReportInputs& report, const QPageLayout& layout) {
    QImage image(reportPageSize(layout), QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMetre);
    image.setDotsPerMeterY(kDotsPerMetre);
    image.fill(Qt::white);
    paintReport(image, report);
    return image;
}

bool writeReportPdf(const QString& file, const ReportInputs& report, const QPageLayout& layout,
                    const AnalysisReportInputs* analysisPage) {
    {
        QFile probe(file);
        if (!probe.open(QIODevice::WriteOnly)) return false;
    }
    QPdfWriter pdf(file);
    pdf.setTitle(QStringLiteral("vkr print"));
    pdf.setCreator(QStringLiteral("VKR Korvalis"));
    pdf.setResolution(kReportDpi);
    pdf.setPageLayout(layout);
    // One painter for both pages: a writer whose painter has ended starts its file anew.
    QPainter painter(&pdf);
    const QSize size(pdf.width(), pdf.height());
    paintReport(painter, size, report);
    if (analysisPage != nullptr) {
        pdf.newPage();
        paintAnalysisReport(painter, size, *analysisPage);
    }
    return true;
}

}  // namespace dyno
