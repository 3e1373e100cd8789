#include "app/pages/AnalysisPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>

#include "acquisition/electronics/Slot1Lock.h"
#include "app/pages/ControlBuilders.h"
#include "app/pages/GraphPaintBox.h"
#include "app/pages/SetupPage.h"
#include "display/graph/GraphImages.h"
#include "evaluation/SessionAnalysis.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"
#include "print/ReportFiles.h"
#include "print/ReportGeometry.h"

namespace dyno {

namespace {

// The graph's boxes take the page's top, as on the Graphs page; the choices sit
// under the key to the curves, the figures under the graph.
constexpr int kChoicesLeft = 4;
constexpr int kChoicesWidth = 132;
const QRect kFiguresArea(4, 424, 560, 122);
const QRect kVerdictArea(572, 424, 212, 122);

}  // namespace

AnalysisPage::AnalysisPage(const SessionModel& model, const GraphScale& scaleInForce,
                           const SetupPage& setupPage, const Slot1Lock& slot1,
                           std::function<PrintSettings()> printSettings, QWidget* parent)
    : QWidget(parent),
      model_(model),
      scaleInForce_(scaleInForce),
      setupPage_(setupPage),
      slot1_(slot1),
      printSettings_(std::move(printSettings)),
      workspace_(AnalysisWorkspace::create()),
      panel_(GraphImages::create().panel()) {
    choosePrinter_ = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    graphBox_ = new GraphPaintBox("analysisgraph", panel_, this);
    graphBox_->move(0, 0);
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
    y += 12;
    auto* print = new QPushButton(QStringLiteral("Print"), this);
    print->setObjectName(QStringLiteral("analysisprint"));
    print->setGeometry(next(25));
    connect(print, &QPushButton::clicked, this, &AnalysisPage::print);
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

// The units and roller weight the Graphs page evaluates with.
EvaluationOptions AnalysisPage::evaluationOptions() const {
    EvaluationOptions options;
    options.speedInMph = setupPage_.isSpeedInMph();
    options.powerInKw = setupPage_.isPowerInKw();
    options.useTypedRollerWeight = setupPage_.isRollerWeightForLoadedTests();
    options.typedRollerWeightKg = leadingNumber(setupPage_.rollerWeightText());
    return options;
}

AnalysisUnits AnalysisPage::units() const {
    return {setupPage_.isPowerInKw(), setupPage_.isSpeedInMph()};
}

void AnalysisPage::updateAnalysis() {
    analyse();
}

bool AnalysisPage::analyse() {
    const int slot = chosenSlot();
    if (slot == 1 && slot1_.refuseReading()) return false;
    analyseSession(model_.slot(slot), evaluationOptions(), *workspace_);
    analysedSlot_ = slot;
    analysedUnits_ = units();
    GraphImages images = GraphImages::create();
    {
        GraphPainters boxes(images);
        drawAnalysis(boxes.canvas(), scaleInForce_, *workspace_, plotChoice());
    }
    panel_ = images.panel();
    graphBox_->update();
    table_ = analysisTableOf(workspace_->statistics(), analysedUnits_);
    showTable();
    return true;
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

AnalysisReportInputs AnalysisPage::currentReport() const {
    AnalysisReportInputs report(model_.slot(analysedSlot_), *workspace_);
    report.slot = analysedSlot_;
    report.scale = scaleInForce_;
    report.units = analysedUnits_;
    report.choice = plotChoice();
    if (printSettings_) report.print = printSettings_();
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
