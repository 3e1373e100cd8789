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
#include "evaluation/SessionChannels.h"
#include "model/AnalysisSettings.h"
#include "print/AnalysisReport.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPrinter;
class QTableWidget;

namespace dyno {

class AdSettingsPage;
class GraphPaintBox;
class SessionModel;
class SetupPage;
class Slot1Lock;

// What the Analysis page reads of the rest of the window.
struct AnalysisSources {
    const SessionModel& model;
    // The window's one graph scale, as the Graphs page's last update or the settings
    // file left it.
    const GraphScale& scaleInForce;
    const SetupPage& setup;            // units and the typed roller weight
    const AdSettingsPage& adSettings;  // the channels' recording delays
    const Slot1Lock& slot1;            // slot 1 is not analysed while it refuses reading
    // The company and print choices as the window's controls hold them now.
    std::function<PrintSettings()> printSettings;
};

// The Analysis page: one session's runs with the power their coast-downs show the
// losses take, the engine-side power that makes, how the runs agree, and up to two
// analog channels in their own units over the power curves. The graph is drawn on
// the window's graph scale in the units of the Setup page; the session is analysed
// afresh whenever the page comes to the front or a choice changes. The right mouse
// button on the graph reads every curve at its column. "Print" prints the page as
// a report of its own.
class AnalysisPage : public QWidget {
    Q_OBJECT
  public:
    explicit AnalysisPage(AnalysisSources sources, QWidget* parent = nullptr);
    ~AnalysisPage() override;

    // The session chosen (slot 1..4) and what the graph draws of it.
    int chosenSlot() const;
    AnalysisPlotChoice plotChoice() const;
    void chooseSlot(int slot);

    // The file's settings: the calibrations name the channel choices, the shown
    // channels are chosen. settings() gives them back with the channels chosen now.
    void showSettings(const AnalysisSettings& settings);
    AnalysisSettings settings() const;
    std::array<int, kShownChannels> shownChannels() const;
    void setLiveViewSettings(const LiveViewSettings& liveView) { settings_.liveView = liveView; }
    // New calibrations: the channel choices are named by them and drawn anew.
    void setCalibrations(const std::array<ChannelCalibration, kAnalogChannels>& channels);

    // What the cursor reads at column `x` of the graph (the right mouse button).
    QStringList readingAt(int x) const;

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

  signals:
    // The shown channels were chosen anew: the settings file is to keep them.
    void settingsChanged();
    // "Live view...": the rider's live view is to be set up.
    void liveViewRequested();
    // "Channels...": the channels' calibrations are to be edited.
    void calibrationRequested();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildChoices();
    void buildFigures();
    // False, after telling the user, when slot 1 is chosen and may not be read now.
    bool analyse();
    void showTable();
    void buildChannelChoices(int top);
    void relistChannels();
    EvaluationOptions evaluationOptions() const;
    AnalysisUnits units() const;
    ShownChannels shownChannelsWithDelays() const;
    ChannelOverlay channelOverlay() const;
    QStringList channelNotes() const;
    void graphMousePressed(Qt::MouseButton button, QPoint position);

    AnalysisSources sources_;
    std::function<bool(QPrinter&)> choosePrinter_;

    AnalysisSettings settings_;
    std::unique_ptr<AnalysisWorkspace> workspace_;
    std::unique_ptr<SessionChannelCurves> channelCurves_;
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
    std::array<QComboBox*, kShownChannels> channels_{};
    GraphPaintBox* graphBox_ = nullptr;
    QTableWidget* figures_ = nullptr;
    QLabel* verdict_ = nullptr;
    QLabel* reading_ = nullptr;
};

}  // namespace dyno
