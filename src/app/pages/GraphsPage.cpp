#include "app/pages/GraphsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "acquisition/electronics/Slot1Lock.h"
#include "app/pages/ControlLookup.h"
#include "app/pages/GraphPaintBox.h"
#include "app/pages/ParamPage.h"
#include "app/pages/SetupPage.h"
#include "display/GraphPalette.h"
#include "display/graph/GraphBoxPlaces.h"
#include "display/graph/GraphPresets.h"
#include "display/graph/GraphZoom.h"
#include "evaluation/EvaluationWorkspace.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

constexpr std::array<const char*, 4> kClearHints{
    "Deselect display of red graph", "Deselect display of blue graph",
    "Deselect display of green graph", "Deselect display of purple graph"};

constexpr std::array<const char*, 3> kCopyCaptions{"Copy sess. 1->2", "Copy sess. 1->3",
                                                   "Copy sess. 1->4"};
constexpr std::array<const char*, 3> kCopyHints{"Copy test1 (red) to test2 (blue)",
                                                "Copy test1 (red) to test3 (green)",
                                                "Copy test1 (red) to test3 (purple)"};

// Where the controls sit; the paint boxes have the sizes of the graph code's images
// and the places its panel gives them.
using graph::kAxisLabelsAt;
using graph::kGraphAt;
using graph::kLegendAt;
using graph::kPowerLabelsAt;
using graph::kRpmLabelsAt;
constexpr int kSlotPanelLeft = 145;
constexpr int kSlotPanelTop = 425;
constexpr int kSlotPanelWidth = 81;

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QCheckBox* namedCheck(const QString& name, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QPushButton* namedButton(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// Chooses item `index` of a radio group, or none for -1 (radio buttons that are
// exclusive cannot be unticked one by one).
void chooseItem(const QGroupBox* group, int index) {
    const auto items = controls::radioItems(group);
    for (int i = 0; i < items.size(); ++i) {
        items[i]->setAutoExclusive(false);
        items[i]->setChecked(i == index);
        items[i]->setAutoExclusive(true);
    }
}

int chosenItem(const QGroupBox* group) {
    const auto items = controls::radioItems(group);
    for (int i = 0; i < items.size(); ++i) {
        if (items[i]->isChecked()) return i;
    }
    return -1;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

}  // namespace

GraphsPage::GraphsPage(SessionModel& model, GraphScale& scaleInForce, ParamPage& paramPage,
                       const SetupPage& setupPage, const Slot1Lock& slot1, QWidget* parent)
    : QWidget(parent),
      model_(model),
      slot1_(slot1),
      scaleInForce_(scaleInForce),
      paramPage_(paramPage),
      setupPage_(setupPage),
      workspace_(EvaluationWorkspace::create()),
      state_(std::make_unique<GraphState>()),
      images_(GraphImages::create()) {
    setObjectName(QStringLiteral("grafside1"));
    // In this order: the tab order follows the order of creation.
    buildPaintBoxes();
    buildDisplayChoices();
    buildPresets();
    buildCopyBoxes();
    buildPrintButton();
    buildRemarkLinesAndSlots();
    buildManualSmoothing();
}

// The graph over a black shape one pixel larger all round, its strips and legend.
void GraphsPage::buildPaintBoxes() {
    auto* shape = new QWidget(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setGeometry(kGraphAt.x() - 1, kGraphAt.y() - 1, 602, 402);
    shape->setAutoFillBackground(true);
    QPalette black = shape->palette();
    black.setColor(QPalette::Window, graph::kBackground);
    shape->setPalette(black);

    graphBox_ = new GraphPaintBox("grafwin", images_.graph, this);
    graphBox_->move(kGraphAt);
    stripsAndLegend_ = {new GraphPaintBox("lodret", images_.powerLabels, this),
                        new GraphPaintBox("vandret", images_.axisLabels, this),
                        new GraphPaintBox("lodret2", images_.rpmLabels, this),
                        new GraphPaintBox("data1", images_.legend, this)};
    stripsAndLegend_[0]->move(kPowerLabelsAt);
    stripsAndLegend_[1]->move(kAxisLabelsAt);
    stripsAndLegend_[2]->move(kRpmLabelsAt);
    stripsAndLegend_[3]->move(kLegendAt);
    connect(graphBox_, &GraphPaintBox::mousePressed, this, &GraphsPage::graphMousePressed);
    connect(graphBox_, &GraphPaintBox::mouseMoved, this, &GraphsPage::graphMouseMoved);
    connect(graphBox_, &GraphPaintBox::mouseReleased, this,
            [this](Qt::MouseButton button, QPoint) { graphMouseReleased(button); });
}

void GraphsPage::buildDisplayChoices() {
    auto* updatebutton = namedButton("updatebutton", QStringLiteral("Update Display"), this);
    updatebutton->setGeometry(4, 102, 130, 25);
    updatebutton->setDefault(true);
    connect(updatebutton, &QPushButton::clicked, this, &GraphsPage::updateDisplay);

    graphChoice_ = new QGroupBox(QStringLiteral("Show"), this);
    graphChoice_->setObjectName(QStringLiteral("scalegroup"));
    graphChoice_->setGeometry(4, 130, 130, 56);
    const std::array<QString, 2> scaleItems{QStringLiteral("Speed"), QStringLiteral("Speed + Rpm")};
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(scaleItems[static_cast<std::size_t>(i)], graphChoice_);
        item->setGeometry(8, 16 + 18 * i, 118, 18);
        item->setChecked(i == 0);
        connect(item, &QRadioButton::clicked, this, &GraphsPage::updateDisplay);
    }

    // Read by the update; ticking it alone does not redraw.
    fixedGearing_ =
        namedCheck(QStringLiteral("fixed_gearing_check"), QStringLiteral("Fixed Gearing"), this);
    fixedGearing_->setGeometry(8, 188, 126, 18);
}

// The copy happens at the next update, which then unticks the box.
void GraphsPage::buildCopyBoxes() {
    for (std::size_t i = 0; i < copyBoxes_.size(); ++i) {
        copyBoxes_[i] = namedCheck(QStringLiteral("copy1%1").arg(i + 2),
                                   QString::fromLatin1(kCopyCaptions[i]), this);
        copyBoxes_[i]->setToolTip(QString::fromLatin1(kCopyHints[i]));
        copyBoxes_[i]->setGeometry(4, 362 + 18 * static_cast<int>(i), 130, 18);
    }
}

void GraphsPage::buildPrintButton() {
    auto* printbutton = namedButton("printbutton", QStringLiteral("Print"), this);
    printbutton->setToolTip(QStringLiteral("Print out graph display"));
    printbutton->setGeometry(4, 420, 130, 25);
    connect(printbutton, &QPushButton::clicked, this, &GraphsPage::printRequested);
}

// Each slot's remark line, then that slot's run choice and curve boxes.
void GraphsPage::buildRemarkLinesAndSlots() {
    auto* remarks = new QWidget(this);
    remarks->setObjectName(QStringLiteral("Panel3"));
    remarks->setGeometry(472, 430, 309, 96);
    for (int s = 1; s <= 4; ++s) {
        auto* line = new QLineEdit(remarks);
        line->setObjectName(QStringLiteral("remarkline%1").arg(s));
        line->setGeometry(4, 4 + 22 * (s - 1), 301, 21);
        line->setReadOnly(true);
        line->setFocusPolicy(Qt::NoFocus);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        palette.setColor(QPalette::Text, graph::legendColour(s));
        line->setPalette(palette);
        slots_[static_cast<std::size_t>(s - 1)].remarkLine = line;
        buildSlot(s);
    }
}

// Kept for the manual smoothing of earlier versions; the graph does not use them.
void GraphsPage::buildManualSmoothing() {
    auto* smoothValue = new QSpinBox(this);
    smoothValue->setObjectName(QStringLiteral("smooth_value"));
    smoothValue->setVisible(false);
    auto* bypass = namedCheck(QStringLiteral("bypass"), QStringLiteral("man. smooth"), this);
    bypass->setVisible(false);
}

GraphsPage::~GraphsPage() = default;

void GraphsPage::buildSlot(int slot) {
    SlotControls& controls = slots_[static_cast<std::size_t>(slot - 1)];
    auto* panel = new QWidget(this);
    panel->setGeometry(kSlotPanelLeft + kSlotPanelWidth * (slot - 1), kSlotPanelTop,
                       kSlotPanelWidth - 1, 118);
    setTextColour(panel, graph::legendColour(slot));

    controls.runGroup = new QGroupBox(QStringLiteral("Test %1").arg(slot), panel);
    controls.runGroup->setObjectName(QStringLiteral("test%1group").arg(slot));
    controls.runGroup->setToolTip(QStringLiteral("Choose which run to display"));
    controls.runGroup->setGeometry(0, 0, kSlotPanelWidth - 1, 60);
    // Two columns: " 1" and " 2" side by side, " 3" below " 1".
    for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(QStringLiteral(" %1").arg(i + 1), controls.runGroup);
        item->setGeometry(6 + 36 * (i % 2), 16 + 20 * (i / 2), 34, 18);
        item->setChecked(slot == 1 && i == 0);
        connect(item, &QRadioButton::clicked, this, &GraphsPage::updateDisplay);
    }

    controls.power = namedCheck(QStringLiteral("test%1hp").arg(slot), QStringLiteral("Hp"), panel);
    controls.power->setToolTip(QStringLiteral("Display Hp graph"));
    controls.power->setChecked(true);
    controls.power->setGeometry(4, 62, 74, 18);
    controls.torque = namedCheck(QStringLiteral("test%1tq").arg(slot), QStringLiteral("Tq"), panel);
    controls.torque->setToolTip(QStringLiteral("Display torque graph"));
    controls.torque->setGeometry(4, 80, 74, 18);
    controls.clear =
        namedCheck(QStringLiteral("reset%1").arg(slot), QStringLiteral("Clear"), panel);
    controls.clear->setToolTip(
        QString::fromLatin1(kClearHints[static_cast<std::size_t>(slot - 1)]));
    controls.clear->setGeometry(4, 98, 74, 18);
    for (QCheckBox* box : {controls.power, controls.torque, controls.clear}) {
        connect(box, &QCheckBox::clicked, this, &GraphsPage::updateDisplay);
    }
}

void GraphsPage::buildPresets() {
    // Speed presets down the left column, power presets beside them, the two
    // engine-speed presets in a row below.
    int speedRow = 0, powerRow = 0, rpmColumn = 0;
    for (std::size_t i = 0; i < kScalePresets.size(); ++i) {
        const ScalePreset& preset = kScalePresets[i];
        auto* button = new QPushButton(latin1(initialCaption(preset)), this);
        button->setObjectName(latin1(preset.button));
        QFont small = button->font();
        small.setPixelSize(11);
        button->setFont(small);
        switch (preset.axis) {
            case ScaleAxis::speed: button->setGeometry(4, 210 + 24 * speedRow++, 65, 22); break;
            case ScaleAxis::power: button->setGeometry(70, 210 + 24 * powerRow++, 65, 22); break;
            case ScaleAxis::rpm: button->setGeometry(4 + 66 * rpmColumn++, 334, 65, 22); break;
        }
        connect(button, &QPushButton::clicked, this, [this, &preset] {
            ScaleTexts texts = paramPage_.scaleTexts();
            applyPreset(preset, texts);
            paramPage_.showScaleTexts(texts);
            updateDisplay();
        });
        presetButtons_[i] = button;
    }
}

void GraphsPage::relabelUnits() {
    const bool powerInKw = setupPage_.isPowerInKw();
    const bool speedInMph = setupPage_.isSpeedInMph();
    for (SlotControls& slot : slots_) slot.power->setText(latin1(powerBoxCaption(powerInKw)));
    for (std::size_t i = 0; i < kScalePresets.size(); ++i) {
        presetButtons_[i]->setText(latin1(unitCaption(kScalePresets[i], powerInKw, speedInMph)));
    }
    state_->flags.powerInKw = powerInKw;
    state_->flags.speedInMph = speedInMph;
}

GraphControls GraphsPage::readControls() const {
    GraphControls controls;
    controls.scaleTexts = paramPage_.scaleTexts();
    for (std::size_t s = 0; s < slots_.size(); ++s) {
        controls.runChoice[s] = chosenItem(slots_[s].runGroup);
        controls.powerTicked[s] = slots_[s].power->isChecked();
        controls.torqueTicked[s] = slots_[s].torque->isChecked();
        controls.clearTicked[s] = slots_[s].clear->isChecked();
    }
    for (std::size_t i = 0; i < copyBoxes_.size(); ++i) {
        controls.copyTicked[i] = copyBoxes_[i]->isChecked();
    }
    controls.speedAndRpm = chosenItem(graphChoice_) == 1;
    controls.fixedGearing = fixedGearing_->isChecked();
    controls.showAirCurve = paramPage_.isAirCurveShown();
    controls.powerInKw = setupPage_.isPowerInKw();
    controls.speedInMph = setupPage_.isSpeedInMph();
    controls.airResistanceText = paramPage_.airResistanceText();
    controls.rollingResistanceText = paramPage_.rollingResistanceText();
    controls.useTypedRollerWeight = setupPage_.isRollerWeightForLoadedTests();
    controls.typedRollerWeightKg = leadingNumber(setupPage_.rollerWeightText());
    return controls;
}

void GraphsPage::showControls(const GraphControls& controls) {
    for (std::size_t s = 0; s < slots_.size(); ++s) {
        chooseItem(slots_[s].runGroup, controls.runChoice[s]);
        slots_[s].clear->setChecked(controls.clearTicked[s]);
    }
    for (std::size_t i = 0; i < copyBoxes_.size(); ++i) {
        copyBoxes_[i]->setChecked(controls.copyTicked[i]);
    }
}

void GraphsPage::showRunOfSlot1(int run) {
    chooseItem(slots_[0].runGroup, run - 1);
    redraw(false);
}

void GraphsPage::updateDisplay() {
    redraw(true);
}

// Without `carriesOutTicks` a ticked "Copy sess." or "Clear" box waits for the user's
// own update: a session the program draws by itself copies or clears nothing.
void GraphsPage::redraw(bool carriesOutTicks) {
    if (slot1_.refuseReading()) return;
    GraphControls controls = readControls();
    const GraphControls ticked = controls;
    if (!carriesOutTicks) {
        controls.copyTicked.fill(false);
        controls.clearTicked.fill(false);
    }
    state_->scale = scaleInForce_;
    GraphUpdateResult result;
    {
        GraphPainters boxes(images_);
        result = updateGraph(*state_, controls, model_, *workspace_, boxes.canvas(),
                             storeRemarksOfSession1_);
    }
    scaleInForce_ = state_->scale;
    if (!carriesOutTicks) {
        controls.copyTicked = ticked.copyTicked;
        controls.clearTicked = ticked.clearTicked;
    }
    showControls(controls);
    for (std::size_t s = 0; s < slots_.size(); ++s) {
        slots_[s].remarkLine->setText(result.remarkLines[s]);
    }
    for (int slot : result.copiedInto) emit sessionCopied(slot);
    repaintBoxes();
}

void GraphsPage::repaintBoxes() {
    graphBox_->update();
    for (GraphPaintBox* box : stripsAndLegend_) box->update();
}

void GraphsPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    relabelUnits();
    updateDisplay();
}

void GraphsPage::graphMousePressed(Qt::MouseButton button, QPoint position) {
    if (button == Qt::LeftButton) {
        dragStart_ = dragEnd_ = position;
        dragging_ = true;
    } else if (button == Qt::RightButton) {
        cursorX_ = position.x();
        QPainter graph(&images_.graph);
        drawInvertedCursorLine(graph, cursorX_);
        cursorOn_ = true;
        graphBox_->update();
    }
}

void GraphsPage::graphMouseMoved(QPoint position) {
    if (!dragging_ && !cursorOn_) return;
    {
        QPainter graph(&images_.graph);
        if (dragging_) {
            drawInvertedRubberBand(graph, dragStart_, dragEnd_);
            dragEnd_ = position;
            drawInvertedRubberBand(graph, dragStart_, dragEnd_);
        }
        if (cursorOn_) {
            drawInvertedCursorLine(graph, cursorX_);
            cursorX_ = position.x();
            drawInvertedCursorLine(graph, cursorX_);
            readout_ = readCursor(state_->selections, state_->tables, cursorX_);
            drawCursorReadout(graph, readout_);
        }
    }
    graphBox_->update();
}

void GraphsPage::graphMouseReleased(Qt::MouseButton button) {
    if (dragging_ && button == Qt::LeftButton) {
        dragging_ = false;
        {
            QPainter graph(&images_.graph);
            drawInvertedRubberBand(graph, dragStart_, dragEnd_);
        }
        const GraphFlags& flags = state_->flags;
        // The band was drawn on the scale of the last update.
        scaleInForce_ = zoomedScale(state_->scale, flags.speedOnXAxis, flags.rpmAxisShown,
                                    dragStart_, dragEnd_);
        // The Param. page keeps its boxes; only this one update shows the zoom.
        state_->flags.keepScale = true;
        updateDisplay();
    }
    if (cursorOn_ && button == Qt::RightButton) {
        cursorOn_ = false;
        {
            QPainter graph(&images_.graph);
            drawInvertedCursorLine(graph, cursorX_);
        }
        readout_ = {};
        updateDisplay();
    }
}

bool GraphsPage::isSpeedAndRpmChosen() const {
    return chosenItem(graphChoice_) == 1;
}

bool GraphsPage::isFixedGearingChosen() const {
    return fixedGearing_->isChecked();
}

void GraphsPage::latchGraphChoice(bool isSpeedAndRpm) {
    state_->flags.speedOnXAxis = true;
    state_->flags.rpmAxisShown = isSpeedAndRpm;
}

}  // namespace dyno
