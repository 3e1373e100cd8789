#pragma once

#include <QFont>
#include <QSize>
#include <QString>

#include "display/analysis/AnalysisPlot.h"
#include "display/analysis/AnalysisTable.h"
#include "display/graph/GraphScale.h"
#include "evaluation/AnalysisWorkspace.h"
#include "model/TestSession.h"
#include "print/ReportInputs.h"

class QPaintDevice;
class QPainter;

// The Analysis page as a report of its own: which session it is, the graph of
// wheel, loss and engine-side power as the page draws it, the table of the runs'
// figures and whether they agree. The same drawing goes to a printer, a PDF and an
// image; `dynotool report --analysis` adds it as the report's second page.
namespace dyno {

struct AnalysisReportInputs {
    AnalysisReportInputs(const TestSession& shown, const AnalysisWorkspace& analysed)
        : session(shown), analysis(analysed) {}

    const TestSession& session;
    const AnalysisWorkspace& analysis;  // of `session`, in `units`
    int slot = 1;
    GraphScale scale;
    AnalysisUnits units;
    AnalysisPlotChoice choice;
    ChannelOverlay channels;  // the channels drawn over the curves, on `analysis`'s runs
    PrintSettings print;
    QFont font = defaultReportFont();
};

// Draws the report on `page`, laid out for 600 dpi and scaled to the device's
// resolution as the test report is.
void paintAnalysisReport(QPaintDevice& page, const AnalysisReportInputs& report);

// The same on an open painter whose units are pixels at 600 dpi.
void paintAnalysisReport(QPainter& painter, QSize pageSize, const AnalysisReportInputs& report);

// The report's heading: "Analysis of Test session N" and the vehicle's texts.
QString analysisReportTitle(const AnalysisReportInputs& report);

}  // namespace dyno
