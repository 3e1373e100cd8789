#pragma once

#include <QObject>
#include <functional>

#include "model/DynoSettings.h"
#include "print/ReportInputs.h"

class QPrinter;
class QWidget;

namespace dyno {

class Slot1Lock;
class GraphsPage;
class InfoPage;
class PrintOptionsDialog;
class SessionModel;

// "Print" and F9: the remark lines are preset (one line for every session the graph
// shows), the print options dialog asks for lines and font, then the system print
// dialog for the printer; the report is drawn from what the graph shows. Cancel
// prints nothing. The dialog's "Preview" shows the same page first.
class ReportPrinting : public QObject {
    Q_OBJECT
  public:
    struct Sources {
        const SessionModel& model;
        const GraphsPage& graphs;
        const InfoPage& info;  // company, phone and the two pictures
        // The settings as the window's controls hold them now.
        std::function<DynoSettings()> settings;
        // Copies the Remarks page of session 1 into slot 1 before a print.
        std::function<void()> storeRemarksOfSession1;
    };

    // A print reports slot 1: none while `slot1` refuses reading it.
    ReportPrinting(QWidget& window, PrintOptionsDialog& options, Sources sources,
                   const Slot1Lock& slot1);

    // The print choices, company and phone as the window's controls hold them now.
    PrintSettings printSettingsNow() const;
    // The report as it would print now, with the dialog's lines and font.
    ReportInputs currentReport() const;

    // Asks for the printer (the system print dialog); false when cancelled. Tests put
    // a printer to a file in its place.
    void setPrinterChooser(std::function<bool(QPrinter&)> choose) {
        choosePrinter_ = std::move(choose);
    }

  public slots:
    void print();
    void preview();

  private:
    void presetRemarkLines();

    QWidget& window_;
    PrintOptionsDialog& options_;
    Sources sources_;
    const Slot1Lock& slot1_;
    std::function<bool(QPrinter&)> choosePrinter_;
};

}  // namespace dyno
