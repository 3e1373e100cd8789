#pragma once

#include "print/AnalysisReport.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include "print/ReportInputs.h"

// The report as a file: a PDF with real text and vector curves, or a 600-dpi PNG.
namespace dyno {

// The report's page: portrait, with a 5 mm border all round that a printer can
// reach. The window offers it to the print dialog; the files use it as it is.
QPageLayout reportPageLayout(QPageSize::PageSizeId size = QPageSize::A4);

// The printable area of `layout` in pixels at 600 dpi.
QSize reportPageSize(const QPageLayout& layout);

// The report drawn on a white image of the page's printable area at 600 dpi.
QImage reportImage(const ReportInputs& report, const QPageLayout& layout);

// Writes the report as a PDF titled "vkr print": one page, or two with the Analysis
// page's report after it; false when the file cannot be written.
bool writeReportPdf(const QString& file, const ReportInputs& report, const QPageLayout& layout,
                    const AnalysisReportInputs* analysisPage = nullptr);

}  // namespace dyno
