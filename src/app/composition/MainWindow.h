#pragma once

#include <memory>
#include <optional>

#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include "acquisition/card/CardBus.h"
#include "app/composition/FunctionKeys.h"
#include "app/composition/ProgramState.h"

namespace dyno {

class AdSettingsPage;
class AdvancedSetupDialog;
class PrintOptionsDialog;
class ReportPrinting;
class MessageSink;
class SettingsFiles;
class AnalogPage;
class CardSession;
class ElectronicsChoice;
class RiderLiveView;
class LiveViewDialog;
class ChannelCalibrationDialog;
class Slot1Lock;
class WeatherStationRequest;
class FilePage;
class AnalysisPage;
class GraphsPage;
class InfoPage;
class ParamPage;
class RemarksPage;
class SessionFileActions;
class SessionModel;
class SetupPage;
class SpeedPage;
class TestPage;
class K40Session;
class K40StatusPages;
class ProgramParts;
class TestControl;

// Assembles the ten pages, owns the session model for its whole life and routes
// the function keys. Closing the window releases the model with it.
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 791;
    static constexpr int kClientHeight = 574;

    // The program's window on `parts` (kept by the caller): it makes the model and
    // owns it.
    MainWindow(ProgramParts& parts, const QString& startDirectory, QWidget* parent = nullptr);
    // A window on simulated parts (every port name reaches the simulated electronics,
    // the card is the simulated one), which it makes and owns: for tests and tools.
    // Only the program's entry builds a window on the hardware, through `parts`.
    explicit MainWindow(const QString& startDirectory, QWidget* parent = nullptr);
    // A window on a model its caller keeps, for tests that look into the model; on
    // `parts` when given, else on simulated ones as above.
    MainWindow(SessionModel& model, const QString& startDirectory, QWidget* parent = nullptr);
    MainWindow(ProgramParts& parts, SessionModel& model, const QString& startDirectory,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    QTabWidget* pages() const { return pageControl_; }
    GraphsPage* graphsPage() const { return graphsPage_; }
    AnalysisPage* analysisPage() const { return analysisPage_; }
    TestPage* testPage() const { return testPage_; }
    FilePage* filePage() const { return filePage_; }
    ParamPage* paramPage() const { return paramPage_; }
    RemarksPage* remarksPage() const { return remarksPage_; }
    SetupPage* setupPage() const { return setupPage_; }
    InfoPage* infoPage() const { return infoPage_; }
    SpeedPage* speedPage() const { return speedPage_; }
    // The K40 link (serial port or simulated electronics) and the start of a test.
    K40Session* k40Session() const { return k40Session_.get(); }
    TestControl* testControl() const { return testControl_; }
    // The K70/K80 card and its sequence on a worker thread.
    CardSession* cardSession() const { return cardSession_.get(); }
    // The electronics of both kinds, the Setup page's choice picking one, and the
    // lock on slot 1 every part that loads, saves or reads it asks.
    const ElectronicsChoice& electronics() const { return *electronics_; }
    // The rider's live view, fed by both sessions; off until the Analysis page starts it.
    RiderLiveView& riderLiveView() const { return *riderLiveView_; }
    LiveViewDialog* liveViewDialog() const { return liveViewDialog_; }
    ChannelCalibrationDialog* calibrationDialog() const { return calibrationDialog_; }
    const Slot1Lock& slot1Lock() const { return *slot1Lock_; }
    AnalogPage* analogPage() const { return analogPage_; }
    AdSettingsPage* adSettingsPage() const { return adSettingsPage_; }
    // Saving session 1 (F5), loading into slots, preview and the correction buttons.
    SessionFileActions* sessionFileActions() const { return sessionFileActions_; }
    AdvancedSetupDialog* advancedSetupDialog() const { return advancedSetupDialog_; }
    PrintOptionsDialog* printOptionsDialog() const { return printOptionsDialog_; }
    // "Print" and F9: the print options, the printer and the report.
    ReportPrinting* reportPrinting() const { return reportPrinting_; }
    // The values held in force: graph scale, weather constants, transfer delay, ...
    ProgramState& programState() { return programState_; }
    // The two settings files and their buttons.
    SettingsFiles* settingsFiles() const { return settingsFiles_.get(); }
    // Where the settings files report (message boxes unless a test records them).
    void setSettingsMessageSink(MessageSink& messages);
    // The start-up steps after the window is built: read "vkr_dyno.ini" and
    // "vkr_dyno.ana", then open the card bus when the card is the chosen
    // electronics. Returns the exit status when the program must end at once. An
    // empty `openCard` opens nothing now; a card start opens the parts' card then.
    // `calibrateDelays` runs the card's delay-loop calibration (a fraction of a
    // second); tests that do not need it leave it out.
    std::optional<int> startUp(const CardBusOpener& openCard, bool calibrateDelays = false);

  signals:
    // A function key was pressed anywhere in the window, with any modifier.
    void functionKeyPressed(FunctionKeyAction action);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A running card session is stopped and its thread joined before the window goes.
    void closeEvent(QCloseEvent* event) override;

  private:
    void openHelp();
    // The constructor's steps, in this order: each wires what the earlier ones made.
    void buildElectronics();
    void placePages();
    void wireSessionFiles();
    void wireSettings();
    void wireTests();
    void wireAnalysis();
    void serveLiveView();
    void showLiveViewInShownUnits();

    MainWindow(std::unique_ptr<ProgramParts> ownedParts, ProgramParts* keptParts,
               std::unique_ptr<SessionModel> owned, SessionModel* kept,
               const QString& startDirectory, QWidget* parent);

    // Empty when the caller keeps them; the parts outlive everything built on them.
    std::unique_ptr<ProgramParts> ownedParts_;
    ProgramParts& parts_;
    std::unique_ptr<SessionModel> ownedModel_;  // empty when the caller keeps the model
    SessionModel& model_;
    QString startDirectory_;
    QTabWidget* pageControl_;
    QPushButton* helpButton_;
    TestPage* testPage_;
    FilePage* filePage_;
    ParamPage* paramPage_;
    RemarksPage* remarksPage_;
    SetupPage* setupPage_;
    InfoPage* infoPage_;
    SpeedPage* speedPage_;
    AnalogPage* analogPage_;
    AdSettingsPage* adSettingsPage_;
    GraphsPage* graphsPage_;  // reads the Param. and Setup pages
    AnalysisPage* analysisPage_;
    SessionFileActions* sessionFileActions_ = nullptr;
    ProgramState programState_;
    AdvancedSetupDialog* advancedSetupDialog_ = nullptr;
    PrintOptionsDialog* printOptionsDialog_ = nullptr;
    ReportPrinting* reportPrinting_ = nullptr;
    std::unique_ptr<SettingsFiles> settingsFiles_;
    std::unique_ptr<K40StatusPages> k40StatusPages_;
    std::unique_ptr<K40Session> k40Session_;
    TestControl* testControl_ = nullptr;
    // Joined before the pages it draws on are deleted with the window's children.
    std::unique_ptr<CardSession> cardSession_;
    // On the two sessions above, so they go first.
    std::unique_ptr<ElectronicsChoice> electronics_;
    // Fed by both sessions' tees, so it goes before them (the card's worker is joined
    // first).
    std::unique_ptr<RiderLiveView> riderLiveView_;
    LiveViewDialog* liveViewDialog_ = nullptr;
    ChannelCalibrationDialog* calibrationDialog_ = nullptr;
    std::unique_ptr<Slot1Lock> slot1Lock_;
    WeatherStationRequest* weatherStationRequest_ = nullptr;
};

}  // namespace dyno
