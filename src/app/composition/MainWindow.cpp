#include "app/composition/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTabBar>
#include <QUrl>

#include "acquisition/RiderTexts.h"
#include "acquisition/electronics/ElectronicsChoice.h"
#include "acquisition/electronics/Slot1Lock.h"
#include "app/acquisition/CardSession.h"
#include "app/acquisition/CardStartup.h"
#include "app/acquisition/K40Session.h"
#include "app/acquisition/K40StatusPages.h"
#include "app/acquisition/RiderLiveView.h"
#include "app/acquisition/TestControl.h"
#include "app/acquisition/WeatherStationRequest.h"
#include "app/composition/PageList.h"
#include "app/composition/ProgramParts.h"
#include "app/dialogs/AdvancedSetupDialog.h"
#include "app/dialogs/ChannelCalibrationDialog.h"
#include "app/dialogs/LiveViewDialog.h"
#include "app/dialogs/PrintOptionsDialog.h"
#include "app/files/FindSessionsLink.h"
#include "app/files/ReportPrinting.h"
#include "app/files/SessionFileActions.h"
#include "app/files/SettingsBinding.h"
#include "app/files/SettingsFiles.h"
#include "app/pages/AdSettingsPage.h"
#include "app/pages/AnalogPage.h"
#include "app/pages/AnalogPageInputs.h"
#include "app/pages/AnalysisPage.h"
#include "app/pages/FilePage.h"
#include "app/pages/GraphsPage.h"
#include "app/pages/InfoPage.h"
#include "app/pages/ParamPage.h"
#include "app/pages/RemarksPage.h"
#include "app/pages/SetupPage.h"
#include "app/pages/SpeedPage.h"
#include "app/pages/TestPage.h"
#include "app/system/PortList.h"
#include "app/system/UserManual.h"
#include "library/LibraryLocation.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

// "MS Sans Serif" at 13 px where it exists; otherwise a sans face with the same
// metrics, so texts fit the fixed layout.
QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(13);
    return font;
}

}  // namespace

namespace {

std::unique_ptr<ProgramParts> simulatedParts() {
    return std::make_unique<ProgramParts>();
}

}  // namespace

MainWindow::MainWindow(ProgramParts& parts, const QString& startDirectory, QWidget* parent)
    : MainWindow(nullptr, &parts, SessionModel::create(), nullptr, startDirectory, parent) {}

MainWindow::MainWindow(const QString& startDirectory, QWidget* parent)
    : MainWindow(simulatedParts(), nullptr, SessionModel::create(), nullptr, startDirectory,
                 parent) {}

MainWindow::MainWindow(SessionModel& model, const QString& startDirectory, QWidget* parent)
    : MainWindow(simulatedParts(), nullptr, nullptr, &model, startDirectory, parent) {}

MainWindow::MainWindow(ProgramParts& parts, SessionModel& model, const QString& startDirectory,
                       QWidget* parent)
    : MainWindow(nullptr, &parts, nullptr, &model, startDirectory, parent) {}

MainWindow::MainWindow(std::unique_ptr<ProgramParts> ownedParts, ProgramParts* keptParts,
                       std::unique_ptr<SessionModel> owned, SessionModel* kept,
                       const QString& startDirectory, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ownedParts_(std::move(ownedParts)),
      parts_(keptParts != nullptr ? *keptParts : *ownedParts_),
      ownedModel_(std::move(owned)),
      model_(kept != nullptr ? *kept : *ownedModel_),
      startDirectory_(startDirectory),
      pageControl_(new QTabWidget(this)),
      helpButton_(new QPushButton(QStringLiteral("Help"), this)),
      testPage_(new TestPage),
      filePage_(new FilePage),
      paramPage_(new ParamPage),
      remarksPage_(new RemarksPage),
      setupPage_(new SetupPage),
      infoPage_(new InfoPage),
      speedPage_(new SpeedPage),
      analogPage_(nullptr),
      adSettingsPage_(new AdSettingsPage),
      graphsPage_(nullptr),
      analysisPage_(nullptr) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("VKR Korvalis 2.32"));
    setFont(windowFont());
    setFixedSize(kClientWidth, kClientHeight);

    buildElectronics();
    placePages();
    wireSessionFiles();
    wireSettings();
    wireTests();
    wireAnalysis();

    // The window sees function keys before its controls do.
    qApp->installEventFilter(this);
}

// The electronics: the K40 link draws on the Speed page and shows its status on the
// Setup, Param. and Remarks pages; the card's sequence runs on a worker thread and
// draws on the Speed page. Slot 1 is theirs while they record into it, and every page
// that loads, saves or reads it is made with the lock.
void MainWindow::buildElectronics() {
    MessageSink& messages = parts_.messages();
    k40StatusPages_ =
        std::make_unique<K40StatusPages>(*setupPage_, *speedPage_, *paramPage_, *remarksPage_);
    k40Session_ = std::make_unique<K40Session>(
        parts_.clock(), parts_.k40Links(), model_,
        K40Views{*speedPage_, *speedPage_, *k40StatusPages_, messages});
    cardSession_ = std::make_unique<CardSession>(model_, *speedPage_, *k40StatusPages_, messages);
    cardSession_->setOpener(parts_.cardBusOpener());
    electronics_ = std::make_unique<ElectronicsChoice>(*cardSession_, *k40Session_);
    riderLiveView_ =
        std::make_unique<RiderLiveView>(k40Session_->liveViewTee(), cardSession_->liveViewTee());
    slot1Lock_ = std::make_unique<Slot1Lock>(*electronics_, messages);
    analogPage_ = new AnalogPage(model_, *slot1Lock_);
    graphsPage_ =
        new GraphsPage(model_, programState_.graphScale, *paramPage_, *setupPage_, *slot1Lock_);
    analysisPage_ =
        new AnalysisPage({model_, programState_.graphScale, *setupPage_, *adSettingsPage_,
                          *slot1Lock_, [this] { return reportPrinting_->printSettingsNow(); }});
}

// The eleven pages in their tabs, and "Help" above them.
void MainWindow::placePages() {
    pageControl_->setObjectName(QStringLiteral("PageControl1"));
    pageControl_->setGeometry(0, 0, kClientWidth, kClientHeight);
    QFont bold = windowFont();
    bold.setBold(true);
    pageControl_->tabBar()->setFont(bold);

    // In tab order; each page sets its own component name.
    const std::array<QWidget*, kPages.size()> pagesInOrder{
        graphsPage_, testPage_,  filePage_,   paramPage_,      remarksPage_, setupPage_,
        infoPage_,   speedPage_, analogPage_, adSettingsPage_, analysisPage_};
    for (std::size_t i = 0; i < kPages.size(); ++i) {
        pagesInOrder[i]->setObjectName(QString::fromLatin1(kPages[i].componentName));
        pageControl_->addTab(pagesInOrder[i], QString::fromLatin1(kPages[i].caption));
    }
    pageControl_->setCurrentIndex(kInfoPageIndex);

    helpButton_->setObjectName(QStringLiteral("helpbutton"));
    helpButton_->setGeometry(kClientWidth - 80, 2, 75, 20);
    helpButton_->raise();
    connect(helpButton_, &QPushButton::clicked, this, &MainWindow::openHelp);
    connect(this, &MainWindow::functionKeyPressed, this, [this](FunctionKeyAction action) {
        if (action == FunctionKeyAction::OpenHelp) openHelp();
    });
}

// Saving, loading and finding sessions; the Graphs and Analog pages' links to the others.
void MainWindow::wireSessionFiles() {
    MessageSink& messages = parts_.messages();
    sessionFileActions_ = new SessionFileActions(model_, *paramPage_, *remarksPage_, *filePage_,
                                                 messages, *slot1Lock_, this);
    linkFindSessions(*filePage_, *sessionFileActions_, defaultLibraryFile(), this);
    connect(this, &MainWindow::functionKeyPressed, this, [this](FunctionKeyAction action) {
        if (action == FunctionKeyAction::SaveSession1) sessionFileActions_->saveSession1();
        if (action == FunctionKeyAction::ShowCalculator) paramPage_->showCalculator();
    });

    // The Graphs page: F2 is "Update Display"; copying session 1 takes the Remarks
    // page's texts of session 1 along and shows them in the boxes of the target slot.
    graphsPage_->setStoreRemarksOfSession1(
        [this] { remarksPage_->storeRemarksOfSession1(model_.slot(1)); });
    connect(graphsPage_, &GraphsPage::sessionCopied, this,
            [this](int slot) { remarksPage_->showSessionTexts(slot, model_.slot(slot)); });
    connect(this, &MainWindow::functionKeyPressed, this, [this](FunctionKeyAction action) {
        if (action == FunctionKeyAction::UpdateDisplay) graphsPage_->updateDisplay();
    });

    // The Analog page reads the A/D Sett. page, the units and the power axis in force.
    analogPage_->setOtherPagesReader([this](AnalogView& view) {
        readAnalogInputs({*adSettingsPage_, *setupPage_, *graphsPage_}, programState_.graphScale,
                         view);
    });
}

// Settings: the K40 ports of this machine, the advanced setup dialog and the
// two settings files with their buttons.
void MainWindow::wireSettings() {
    MessageSink& messages = parts_.messages();
    setupPage_->setPortChoices(k40PortChoicesOfThisMachine());
    // The two dialogs live as long as the window: print options and advanced setup.
    printOptionsDialog_ = new PrintOptionsDialog(this);
    advancedSetupDialog_ = new AdvancedSetupDialog(this);
    const SettingsPages settingsPages{*setupPage_, *paramPage_, *advancedSetupDialog_, *infoPage_};
    reportPrinting_ =
        new ReportPrinting(*this, *printOptionsDialog_,
                           {model_, *graphsPage_, *infoPage_,
                            [settingsPages] { return settingsFromPages(settingsPages); },
                            [this] { remarksPage_->storeRemarksOfSession1(model_.slot(1)); }},
                           *slot1Lock_);
    connect(graphsPage_, &GraphsPage::printRequested, reportPrinting_, &ReportPrinting::print);
    settingsFiles_ =
        std::make_unique<SettingsFiles>(settingsPages, programState_, messages, startDirectory_);
    settingsFiles_->setInitialFolderTarget(
        [this](const QString& folder) { filePage_->setInitialFolder(folder); });
    connect(setupPage_->saveSettingsButton(), &QPushButton::clicked, this,
            [this] { settingsFiles_->saveProgramSettings(); });
    connect(adSettingsPage_->saveSettingsButton(), &QPushButton::clicked, this,
            [this] { settingsFiles_->saveAnalogSettings(*adSettingsPage_); });
    connect(setupPage_->advancedSetupButton(), &QPushButton::clicked, this,
            [this] { advancedSetupDialog_->exec(); });
    connect(advancedSetupDialog_, &AdvancedSetupDialog::remoteButtonDelayChanged, this,
            [this](std::uint32_t delayMs) { programState_.remoteButtonDelayMs = delayMs; });
}

// Tests: starting (F3) and stopping them, what may change between runs, and the
// weather station, whose readings are turned into air data and a factor with the
// constants, units and standard in force when they arrive.
void MainWindow::wireTests() {
    MessageSink& messages = parts_.messages();
    k40Session_->setWeatherSetupSource([this] {
        return K40WeatherSetup{programState_.weatherConstants, paramPage_->airUnits(),
                               paramPage_->correctionStandard()};
    });
    // "Stop" on the Speed page ends a session of either electronics (Escape too, see
    // eventFilter).
    connect(speedPage_->stopButton(), &QPushButton::clicked, this,
            [this] { electronics_->stopRunning(); });
    // Test control: F3 is "Start Test".
    testControl_ = new TestControl(
        TestStartPages{*testPage_, *setupPage_, *paramPage_, *adSettingsPage_, *graphsPage_},
        *pageControl_, *speedPage_, *electronics_, *slot1Lock_, model_, programState_, messages,
        this);
    connect(testControl_, &TestControl::graphChoiceLatched, graphsPage_,
            &GraphsPage::latchGraphChoice);
    connect(testControl_, &TestControl::slot1Recording, filePage_,
            [this] { filePage_->slotOverwritten(1); });
    // What the rider may change between runs of a K40 test counts from the next run on.
    k40Session_->setSessionSetupRefresh([this](SessionSetup& setup) {
        const TestStartEntries entries = testControl_->readEntries();
        setup.gearbox = entries.gearbox;
        setup.rollerWeightKg = leadingNumber(entries.rollerWeightText);
        if (isKnownDynoModel(entries.dynoModelIndex)) {
            setup.dynoModel = static_cast<DynoModel>(entries.dynoModelIndex);
        }
        if (const auto electronics = namedElectronicsOf(entries.electronicsIndex)) {
            setup.electronics = *electronics;
        }
    });
    weatherStationRequest_ =
        new WeatherStationRequest({*setupPage_, *testControl_, *electronics_, *slot1Lock_}, this);
    connect(this, &MainWindow::functionKeyPressed, this, [this](FunctionKeyAction action) {
        if (action == FunctionKeyAction::StartTest) testPage_->startTest();
        // F9 is the Graphs page's "Print" button.
        if (action == FunctionKeyAction::Print) emit graphsPage_->printRequested();
    });
}

// The Analysis page: its own settings file, the rider's live view it sets up, and
// the Graphs page following each run as it arrives when the user asks for it.
void MainWindow::wireAnalysis() {
    connect(analysisPage_, &AnalysisPage::settingsChanged, this,
            [this] { settingsFiles_->saveAnalysisSettings(analysisPage_->settings()); });
    calibrationDialog_ = new ChannelCalibrationDialog(this);
    connect(analysisPage_, &AnalysisPage::calibrationRequested, this, [this] {
        calibrationDialog_->showCalibrations(analysisPage_->settings().channels);
        calibrationDialog_->exec();
    });
    connect(calibrationDialog_, &ChannelCalibrationDialog::applied, this,
            [this](const std::array<ChannelCalibration, kAnalogChannels>& channels) {
                analysisPage_->setCalibrations(channels);
                settingsFiles_->saveAnalysisSettings(analysisPage_->settings());
            });
    liveViewDialog_ = new LiveViewDialog(*riderLiveView_, this);
    connect(analysisPage_, &AnalysisPage::liveViewRequested, this, [this] {
        liveViewDialog_->showSettings(analysisPage_->settings().liveView);
        liveViewDialog_->exec();
    });
    connect(liveViewDialog_, &LiveViewDialog::applied, this,
            [this](const LiveViewSettings& liveView) {
                analysisPage_->setLiveViewSettings(liveView);
                settingsFiles_->saveAnalysisSettings(analysisPage_->settings());
                serveLiveView();
            });
    // A K40 run is whole after its "Data OK", when the rider is asked for the next (the
    // run number has moved on past it; at the session's start it is 1); the window's
    // thread wrote it. The third is drawn once the finished session has been stamped
    // with its set-up, right after "Test session finished". The card's worker writes
    // slot 1 until its session has ended.
    connect(speedPage_, &SpeedPage::riderInstructionShown, this, [this](const QString& text) {
        if (!analysisPage_->settings().liveView.showEachRun) return;
        if (electronics_->isEitherWritingSlot1Meanwhile()) return;
        const auto is = [&text](std::string_view shown) {
            return text == QLatin1String(shown.data(), static_cast<qsizetype>(shown.size()));
        };
        const int run = speedPage_->runNumber();
        if (is(kPressRemoteText) && run > 1) graphsPage_->showRunOfSlot1(run - 1);
        if (is(kSessionFinishedText)) {
            QMetaObject::invokeMethod(
                this, [this, run] { graphsPage_->showRunOfSlot1(run); }, Qt::QueuedConnection);
        }
    });
    // Each test's runs reach the live view in the units shown when it starts.
    connect(testControl_, &TestControl::slot1Recording, this,
            [this] { showLiveViewInShownUnits(); });
    connect(cardSession_.get(), &CardSession::sessionEnded, this,
            [this](const SessionOutcome& outcome) {
                if (!analysisPage_->settings().liveView.showEachRun) return;
                if (outcome.completedRuns > 0) graphsPage_->showRunOfSlot1(outcome.completedRuns);
            });
}

// The live view's figures in the units the Setup page shows.
void MainWindow::showLiveViewInShownUnits() {
    EvaluationOptions units;
    units.speedInMph = setupPage_->isSpeedInMph();
    units.powerInKw = setupPage_->isPowerInKw();
    riderLiveView_->setEvaluationOptions(units);
}

// The live view as the Analysis page's settings say.
void MainWindow::serveLiveView() {
    showLiveViewInShownUnits();
    if (!riderLiveView_->start(analysisPage_->settings().liveView)) {
        parts_.messages().show(MessageKind::Warning, kDynoCaption,
                               riderLiveView_->errorText().toStdString());
    }
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    // The card's worker feeds the live view, which goes first.
    cardSession_->stopAndWait();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    cardSession_->stopAndWait();
    QWidget::closeEvent(event);
}

void MainWindow::setSettingsMessageSink(MessageSink& messages) {
    settingsFiles_->setMessageSink(messages);
}

std::optional<int> MainWindow::startUp(const CardBusOpener& openCard, bool calibrateDelays) {
    if (calibrateDelays) {
        QElapsedTimer clock;
        clock.start();
        programState_.delayCounts = calibrateDelayLoops([&clock] { return clock.elapsed(); });
    }
    infoPage_->loadPrintLogo(QDir(startDirectory_).filePath(QStringLiteral("vkrprint.bmp")));
    settingsFiles_->readProgramSettings();
    settingsFiles_->readAnalogSettings(*adSettingsPage_);
    analysisPage_->showSettings(settingsFiles_->readAnalysisSettings());
    if (analysisPage_->settings().liveView.isOn) serveLiveView();
    // Start-up greets the electronics the settings name, and none for an index the
    // list does not have.
    const TestStartEntries entries = testControl_->readEntries();
    const std::optional<Electronics> named = namedElectronicsOf(entries.electronicsIndex);
    const StationRequest reach = prepareStationRequest(entries, testControl_->inForce());
    CardStartup card;
    if (named) card = connectCard(*named, reach.cardChoice, openCard, settingsFiles_->messages());
    if (openCard) cardSession_->setOpener(openCard);
    cardSession_->useBus(std::move(card.bus), card.timing, reach.cardChoice);
    if (named == Electronics::UsbSerial) {
        // The K40 electronics answer with their firmware version and sample setting.
        k40Session_->sendStartUp(reach.portName, reach.transferDelay, settingsFiles_->messages());
    }
    return card.exitStatus;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape && electronics_->isEitherSessionRunning()) {
        electronics_->stopRunning();
        return true;
    }
    const auto action = functionKeyAction(key);
    if (!action) return false;
    emit functionKeyPressed(*action);
    return true;
}

void MainWindow::openHelp() {
    const QUrl help = helpUrl(startDirectory_, pages()->currentIndex(), manualLocations());
    if (help.isEmpty()) {
        QMessageBox::information(this, QStringLiteral("VKR dyno"),
                                 QStringLiteral("Neither the help file Vkr.hlp nor the manual "
                                                "was found."));
        return;
    }
    if (!QDesktopServices::openUrl(help)) {
        QMessageBox::information(
            this, QStringLiteral("VKR dyno"),
            QStringLiteral("No browser is set up to show %1.").arg(help.toString()));
    }
}

}  // namespace dyno
