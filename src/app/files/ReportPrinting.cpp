#include "app/files/ReportPrinting.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "acquisition/electronics/Slot1Lock.h"
#include "app/dialogs/PrintOptionsDialog.h"
#include "app/pages/GraphsPage.h"
#include "app/pages/InfoPage.h"
#include "print/ReportFiles.h"
#include "print/ReportGeometry.h"
#include "print/ReportPainter.h"

namespace dyno {

namespace {

// The page is laid out for 600 dpi; the document is called "vkr print" in the queue.
void prepare(QPrinter& printer) {
    printer.setResolution(kReportDpi);
    printer.setDocName(QStringLiteral("vkr print"));
    printer.setPageLayout(reportPageLayout());
}

}  // namespace

ReportPrinting::ReportPrinting(QWidget& window, PrintOptionsDialog& options, Sources sources,
                               const Slot1Lock& slot1)
    : QObject(&window),
      window_(window),
      options_(options),
      sources_(std::move(sources)),
      slot1_(slot1) {
    choosePrinter_ = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, &window_);
        return dialog.exec() == QDialog::Accepted;
    };
    connect(&options_, &PrintOptionsDialog::previewRequested, this, &ReportPrinting::preview);
}

PrintSettings ReportPrinting::printSettingsNow() const {
    PrintSettings print = printSettingsOf(sources_.settings ? sources_.settings() : DynoSettings{});
    print.companyName = sources_.info.companyName().toStdString();
    print.companyPhone = sources_.info.phone().toStdString();
    return print;
}

ReportInputs ReportPrinting::currentReport() const {
    if (sources_.storeRemarksOfSession1) sources_.storeRemarksOfSession1();
    ReportInputs report = reportOfGraph(sources_.model, sources_.graphs.graphState());
    report.print = printSettingsNow();
    for (int slot = 1; slot <= kSessionSlots; ++slot) {
        report.remarkLines[static_cast<std::size_t>(slot - 1)] = options_.remarkLines(slot);
    }
    report.font = options_.printFont();
    report.headerPicture = sources_.info.printLogo();
    report.smallPicture = sources_.info.smallPrintLogo();
    return report;
}

void ReportPrinting::presetRemarkLines() {
    const GraphState& graph = sources_.graphs.graphState();
    for (int slot = 1; slot <= kSessionSlots; ++slot) {
        options_.setRemarkLines(
            slot, graph.selections[static_cast<std::size_t>(slot - 1)].plotted ? 1 : 0);
    }
}

void ReportPrinting::print() {
    if (slot1_.refuseReading()) return;
    presetRemarkLines();
    if (options_.exec() != QDialog::Accepted) return;
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer);
    if (!choosePrinter_(printer)) return;
    paintReport(printer, currentReport());
}

void ReportPrinting::preview() {
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer);
    QPrintPreviewDialog dialog(&printer, &options_);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* page) { paintReport(*page, currentReport()); });
    dialog.exec();
}

}  // namespace dyno
