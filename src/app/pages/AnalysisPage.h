#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "display/analysis/AnalysisPlot.h"
#include "display/analysis/AnalysisTable.h"
#include "display/graph/GraphScale.h"
#include "evaluation/AnalysisWorkspace.h"
#include "evaluation/EvaluationOptions.h"
#include "print/AnalysisReport.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPrinter;
class QTableWidget;

namespace dyno {

class GraphPaintBox;
class SessionModel;
class SetupPage;
class Slot1Lock;

// The Analysis page: one session's runs with the power their coast-downs show the
// losses take, the engine-side power that makes, and how the runs agree. The graph
// is drawn on the window's graph scale in the units of the Setup page; the session
// is analysed afresh whenever the page comes to the front or a choice changes.
// "Print" prints the page as a report of its own.
class AnalysisPage : public QWidget {
    Q_OBJECT
  public:
    // `scaleInForce`: the window's one graph scale, as the Graphs page's last update
    // or the settings file left it. `printSettings`: the company and print choices
    // as the window's controls hold them now. Slot 1 is not analysed while `slot1`
    // refuses reading it.
    AnalysisPage(const SessionModel& model, const GraphScale& scaleInForce,
                 const SetupPage& setupPage, const Slot1Lock& slot1,
                 std::function<PrintSettings()> printSettings, QWidget* parent = nullptr);
    ~AnalysisPage() override;

    // The session chosen (slot 1..4) and what the graph draws of it.
    int chosenSlot() const;
    AnalysisPlotChoice plotChoice() const;
    void chooseSlot(int slot);

    // What the page shows since its last analysis.
    const QImage& panel() const { return panel_; }
    const AnalysisTable& table() const { return table_; }
    const AnalysisWorkspace& analysis() const { return *workspace_; }
    AnalysisReportInputs currentReport() const;

    // Asks for the printer (the system print dialog); false when cancelled. Tests put
    // a printer to a file in its place.
    void setPrinterChooser(std::function<bool(QPrinter&)> choose) {
        choosePrinter_ = std::move(choose);
    }

  public slots:
    void updateAnalysis();
    void print();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildChoices();
    void buildFigures();
    // False, after telling the user, when slot 1 is chosen and may not be read now.
    bool analyse();
    void showTable();
    EvaluationOptions evaluationOptions() const;
    AnalysisUnits units() const;

    const SessionModel& model_;
    const GraphScale& scaleInForce_;
    const SetupPage& setupPage_;
    const Slot1Lock& slot1_;
    std::function<PrintSettings()> printSettings_;
    std::function<bool(QPrinter&)> choosePrinter_;

    std::unique_ptr<AnalysisWorkspace> workspace_;
    AnalysisUnits analysedUnits_;
    int analysedSlot_ = 1;
    QImage panel_;
    AnalysisTable table_;

    QComboBox* session_ = nullptr;
    std::array<QCheckBox*, kRunsPerSession> runs_{};
    QCheckBox* mean_ = nullptr;
    QCheckBox* wheel_ = nullptr;
    QCheckBox* loss_ = nullptr;
    QCheckBox* engine_ = nullptr;
    GraphPaintBox* graphBox_ = nullptr;
    QTableWidget* figures_ = nullptr;
    QLabel* verdict_ = nullptr;
};

}  // namespace dyno
