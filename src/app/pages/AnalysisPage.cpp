#include "app/pages/AnalysisPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

#include "acquisition/electronics/Slot1Lock.h"
#include "app/files/SettingsBinding.h"
#include "app/pages/AdSettingsPage.h"
#include "app/pages/ControlBuilders.h"
#include "app/pages/GraphPaintBox.h"
#include "app/pages/SetupPage.h"
#include "display/analog/AnalogView.h"
#include "display/analysis/AnalysisReading.h"
#include "display/graph/GraphBoxPlaces.h"
#include "display/graph/GraphFrame.h"
#include "display/graph/GraphImages.h"
#include "evaluation/ChannelCalibrationRules.h"
#include "evaluation/SessionAnalysis.h"
#include "model/SessionModel.h"
#include "print/ReportFiles.h"
#include "print/ReportGeometry.h"

namespace dyno {

namespace {

// The graph's boxes take the page's top, as on the Graphs page; the choices sit
// under the key to the curves, the figures under the graph.
constexpr int kChoicesLeft = 4;
constexpr int kChoicesWidth = 132;
const QRect kFiguresArea(4, 424, 560, 122);
const QRect kVerdictArea(572, 424, 212, 34);
const QRect kReadingArea(572, 460, 212, 60);
const QRect kLiveViewButton(572, 522, 212, 24);

}  // namespace

AnalysisPage::AnalysisPage(AnalysisSources sources, QWidget* parent)
    : QWidget(parent),
      sources_(std::move(sources)),
      workspace_(AnalysisWorkspace::create()),
      channelCurves_(std::make_unique<SessionChannelCurves>()),
      panel_(GraphImages::create().panel()) {
    choosePrinter_ = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    graphBox_ = new GraphPaintBox("analysisgraph", panel_, this);
    graphBox_->move(0, 0);
    connect(graphBox_, &GraphPaintBox::mousePressed, this, &AnalysisPage::graphMousePressed);
    buildChoices();
    buildFigures();
}

AnalysisPage::~AnalysisPage() = default;

void AnalysisPage::buildChoices() {
    int y = 100;
    const auto next = [&y](int height) {
        const QRect place(kChoicesLeft, y, kChoicesWidth, height);
        y += height + 2;
        return place;
    };
    build::addLabel(this, QStringLiteral("Session"), next(16));
    session_ = new QComboBox(this);
    session_->setObjectName(QStringLiteral("analysissession"));
    for (int slot = 1; slot <= kSessionSlots; ++slot) {
        session_->addItem(QStringLiteral("Test session %1").arg(slot));
    }
    session_->setGeometry(next(22));
    connect(session_, &QComboBox::currentIndexChanged, this, &AnalysisPage::updateAnalysis);
    y += 6;
    for (int r = 0; r < kRunsPerSession; ++r) {
        runs_[static_cast<std::size_t>(r)] =
            build::addCheck(this, QStringLiteral("analysisrun%1").arg(r + 1),
                            QStringLiteral("Run %1").arg(r + 1), next(18), true);
    }
    mean_ = build::addCheck(this, QStringLiteral("analysismean"),
                            QStringLiteral("Mean of the runs"), next(18));
    y += 6;
    wheel_ = build::addCheck(this, QStringLiteral("analysiswheel"), QStringLiteral("Wheel power"),
                             next(18), true);
    loss_ = build::addCheck(this, QStringLiteral("analysisloss"), QStringLiteral("Losses"),
                            next(18), true);
    engine_ = build::addCheck(this, QStringLiteral("analysisengine"), QStringLiteral("Engine side"),
                              next(18), true);
    for (QCheckBox* box : {runs_[0], runs_[1], runs_[2], mean_, wheel_, loss_, engine_}) {
        connect(box, &QCheckBox::toggled, this, &AnalysisPage::updateAnalysis);
    }
    y += 8;
    auto* print = new QPushButton(QStringLiteral("Print"), this);
    print->setObjectName(QStringLiteral("analysisprint"));
    print->setGeometry(next(25));
    connect(print, &QPushButton::clicked, this, &AnalysisPage::print);
    buildChannelChoices(y + 4);
}

void AnalysisPage::buildChannelChoices(int top) {
    auto* calibrate = new QPushButton(QStringLiteral("Channels..."), this);
    calibrate->setObjectName(QStringLiteral("analysiscalibrate"));
    calibrate->setGeometry(kChoicesLeft, top, kChoicesWidth, 20);
    connect(calibrate, &QPushButton::clicked, this, &AnalysisPage::calibrationRequested);
    for (int k = 0; k < kShownChannels; ++k) {
        auto* choice = new QComboBox(this);
        choice->setObjectName(QStringLiteral("analysischannel%1").arg(k + 1));
        choice->setGeometry(kChoicesLeft, top + 22 + 24 * k, kChoicesWidth, 22);
        channels_[static_cast<std::size_t>(k)] = choice;
    }
    relistChannels();
    for (QComboBox* choice : channels_) {
        connect(choice, &QComboBox::activated, this, [this] {
            updateAnalysis();
            emit settingsChanged();
        });
    }
}

// "None", then the five channels by their calibrations' names.
void AnalysisPage::relistChannels() {
    for (std::size_t k = 0; k < channels_.size(); ++k) {
        QComboBox* choice = channels_[k];
        const QSignalBlocker quiet(choice);
        choice->clear();
        choice->addItem(QStringLiteral("None"));
        for (int c = 1; c <= kAnalogChannels; ++c) {
            choice->addItem(QString::fromStdString(
                channelTitle(c, settings_.channels[static_cast<std::size_t>(c - 1)])));
        }
        const int shown = settings_.shownChannels[k];
        choice->setCurrentIndex(shown >= 0 && shown <= kAnalogChannels ? shown : 0);
    }
}

void AnalysisPage::buildFigures() {
    figures_ = new QTableWidget(kAnalysisRows, kAnalysisColumns, this);
    figures_->setObjectName(QStringLiteral("analysistable"));
    figures_->setGeometry(kFiguresArea);
    figures_->verticalHeader()->hide();
    figures_->verticalHeader()->setDefaultSectionSize(17);
    figures_->horizontalHeader()->setFixedHeight(18);
    figures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    figures_->setSelectionMode(QAbstractItemView::NoSelection);
    const std::array<int, kAnalysisColumns> widths{52, 84, 84, 60, 84, 190};
    for (int c = 0; c < kAnalysisColumns; ++c) {
        figures_->setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
    }
    verdict_ = build::addLabel(this, QString(), kVerdictArea, QStringLiteral("analysisverdict"));
    verdict_->setWordWrap(true);
    verdict_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    reading_ = build::addLabel(this, QString(), kReadingArea, QStringLiteral("analysisreading"));
    reading_->setWordWrap(true);
    reading_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* liveView = new QPushButton(QStringLiteral("Live view..."), this);
    liveView->setObjectName(QStringLiteral("analysisliveview"));
    liveView->setGeometry(kLiveViewButton);
    connect(liveView, &QPushButton::clicked, this, &AnalysisPage::liveViewRequested);
}

int AnalysisPage::chosenSlot() const {
    return session_->currentIndex() + 1;
}

void AnalysisPage::chooseSlot(int slot) {
    if (slot >= 1 && slot <= kSessionSlots) session_->setCurrentIndex(slot - 1);
}

AnalysisPlotChoice AnalysisPage::plotChoice() const {
    AnalysisPlotChoice choice;
    for (std::size_t r = 0; r < runs_.size(); ++r) choice.runs[r] = runs_[r]->isChecked();
    choice.asMean = mean_->isChecked();
    choice.wheelPower = wheel_->isChecked();
    choice.lossPower = loss_->isChecked();
    choice.enginePower = engine_->isChecked();
    return choice;
}

void AnalysisPage::showSettings(const AnalysisSettings& settings) {
    settings_ = settings;
    relistChannels();
}

void AnalysisPage::setCalibrations(
    const std::array<ChannelCalibration, kAnalogChannels>& channels) {
    settings_.shownChannels = shownChannels();
    settings_.channels = channels;
    relistChannels();
    updateAnalysis();
}

std::array<int, kShownChannels> AnalysisPage::shownChannels() const {
    std::array<int, kShownChannels> shown{};
    for (std::size_t k = 0; k < channels_.size(); ++k) shown[k] = channels_[k]->currentIndex();
    return shown;
}

AnalysisSettings AnalysisPage::settings() const {
    AnalysisSettings settings = settings_;
    settings.shownChannels = shownChannels();
    return settings;
}

// The units and roller weight the Graphs page evaluates with; engine speed always,
// for the cursor.
EvaluationOptions AnalysisPage::evaluationOptions() const {
    EvaluationOptions options = sources_.setup.evaluationOptions();
    options.rpmCurveShown = true;
    return options;
}

AnalysisUnits AnalysisPage::units() const {
    return {sources_.setup.isPowerInKw(), sources_.setup.isSpeedInMph()};
}

// Each shown channel with its calibration and the delay the A/D Sett. page gives it.
ShownChannels AnalysisPage::shownChannelsWithDelays() const {
    const auto scaling =
        channelScalingOf(sources_.adSettings.channelTexts(), userDecimalSeparator());
    ShownChannels shown{};
    const auto chosen = shownChannels();
    for (std::size_t k = 0; k < shown.size(); ++k) {
        const int channel = chosen[k];
        if (channel < 1 || channel > kAnalogChannels) continue;
        const auto index = static_cast<std::size_t>(channel - 1);
        if (!isCalibrationUsable(settings_.channels[index])) continue;
        shown[k] = {channel, settings_.channels[index], scaling[index].delaySeconds};
    }
    return shown;
}

ChannelOverlay AnalysisPage::channelOverlay() const {
    const ShownChannels shown = shownChannelsWithDelays();
    return channelOverlayOf(*channelCurves_, {shown[0].channel, shown[1].channel},
                            settings_.channels);
}

void AnalysisPage::updateAnalysis() {
    analyse();
}

bool AnalysisPage::analyse() {
    const int slot = chosenSlot();
    if (slot == 1 && sources_.slot1.refuseReading()) return false;
    const EvaluationOptions options = evaluationOptions();
    const TestSession& session = sources_.model.slot(slot);
    analyseSession(session, options, *workspace_);
    analyseChannels(session, options, shownChannelsWithDelays(), *workspace_, *channelCurves_);
    analysedSlot_ = slot;
    analysedUnits_ = units();
    GraphImages images = GraphImages::create();
    {
        GraphPainters boxes(images);
        drawAnalysis(boxes.canvas(), sources_.scaleInForce, *workspace_, plotChoice(),
                     channelOverlay());
    }
    panel_ = images.panel();
    graphBox_->update();
    table_ = analysisTableOf(workspace_->statistics(), analysedUnits_);
    showTable();
    reading_->setText(channelNotes().join(QLatin1Char('\n')));
    return true;
}

// A shown channel whose calibration cannot be used says why; one the session did not
// record says so, rather than drawing a line of nothing.
QStringList AnalysisPage::channelNotes() const {
    QStringList notes;
    const auto chosen = shownChannels();
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        if (chosen[k] < 1 || chosen[k] > kAnalogChannels) continue;
        const ChannelCalibration& calibration =
            settings_.channels[static_cast<std::size_t>(chosen[k] - 1)];
        if (const auto refusal = calibrationRefusal(chosen[k], calibration)) {
            notes << QString::fromStdString(*refusal);
            continue;
        }
        const bool drawn = std::any_of(
            channelCurves_->curves.begin(), channelCurves_->curves.end(),
            [k](const auto& run) { return run[k].status == ChannelCurveStatus::drawn; });
        if (!drawn) {
            notes << QString::fromStdString(channelTitle(chosen[k], calibration)) +
                         QStringLiteral(": not recorded in this session");
        }
    }
    return notes;
}

void AnalysisPage::showTable() {
    for (int c = 0; c < kAnalysisColumns; ++c) {
        const auto column = static_cast<std::size_t>(c);
        figures_->setHorizontalHeaderItem(c, new QTableWidgetItem(table_.heading[column]));
        for (int r = 0; r < kAnalysisRows; ++r) {
            auto* cell = new QTableWidgetItem(table_.rows[static_cast<std::size_t>(r)][column]);
            if (r == workspace_->statistics().flaggedRun) cell->setForeground(Qt::red);
            figures_->setItem(r, c, cell);
        }
    }
    verdict_->setText(table_.verdict);
}

QStringList AnalysisPage::readingAt(int x) const {
    return analysisReadingAt(x, sources_.scaleInForce, *workspace_, plotChoice(), channelOverlay(),
                             analysedUnits_);
}

void AnalysisPage::graphMousePressed(Qt::MouseButton button, QPoint position) {
    const QPoint inGraph = position - graph::kGraphAt;
    if (button != Qt::RightButton || inGraph.x() < 0 || inGraph.x() >= kGraphWidth) return;
    reading_->setText(readingAt(inGraph.x()).join(QLatin1Char('\n')));
}

AnalysisReportInputs AnalysisPage::currentReport() const {
    AnalysisReportInputs report(sources_.model.slot(analysedSlot_), *workspace_);
    report.slot = analysedSlot_;
    report.scale = sources_.scaleInForce;
    report.units = analysedUnits_;
    report.choice = plotChoice();
    report.channels = channelOverlay();
    if (sources_.printSettings) report.print = sources_.printSettings();
    return report;
}

void AnalysisPage::print() {
    if (!analyse()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(kReportDpi);
    printer.setDocName(QStringLiteral("vkr analysis"));
    printer.setPageLayout(reportPageLayout());
    if (!choosePrinter_(printer)) return;
    paintAnalysisReport(printer, currentReport());
}

void AnalysisPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updateAnalysis();
}

}  // namespace dyno
