#include "app/pages/AnalogPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStringList>
#include <algorithm>

#include "acquisition/electronics/Slot1Lock.h"
#include "app/pages/ControlLookup.h"
#include "app/pages/GraphPaintBox.h"
#include "display/GraphPalette.h"
#include "display/analog/AnalogCursor.h"
#include "display/analog/AnalogRedraw.h"
#include "evaluation/EvaluationWorkspace.h"
#include "model/SessionModel.h"

namespace dyno {

namespace {

// The plot and its two scale strips; their sizes are those of the images.
constexpr QRect kPlot(44, 2, 600, 400);
constexpr QPoint kLeftScaleAt(4, 0);
constexpr QPoint kRightScaleAt(648, 0);

// The controls sit in a band under the plot.
constexpr int kBandTop = 424;
constexpr int kRow = 18;
constexpr int kRunGroupLeft = 152;
constexpr int kRunGroupWidth = 66;
constexpr int kMoveLeft = 588;

// One sample offset per slot, and the common one of the scroll bar, reach the
// last samples of a run.
constexpr int kMaxOffset = 800;
// A click in the scroll bar's trough (or Page Up/Down) moves 100 samples, whatever
// part of the run the plot shows at the zoom (the thumb's size).
constexpr int kScrollLargeStep = 100;

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

// A radio group: the group box with its items in order, item `chosen` ticked.
QGroupBox* radioGroup(const QString& name, const QString& caption, const QStringList& items,
                      int chosen, QRect geometry, QWidget* parent) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    group->setGeometry(geometry);
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], group);
        item->setGeometry(6, 16 + kRow * i, geometry.width() - 10, kRow);
        item->setChecked(i == chosen);
    }
    return group;
}

QPushButton* namedButton(const char* name, const QString& caption, QRect geometry,
                         QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

int chosenItem(const QGroupBox* group) {
    const auto items = controls::radioItems(group);
    for (int i = 0; i < items.size(); ++i) {
        if (items[i]->isChecked()) return i;
    }
    return -1;
}

// Every item of a radio group redraws when clicked.
void redrawOnClick(QGroupBox* group, AnalogPage* page) {
    for (QRadioButton* item : controls::radioItems(group)) {
        QObject::connect(item, &QRadioButton::clicked, page, &AnalogPage::redraw);
    }
}

}  // namespace

AnalogPage::AnalogPage(SessionModel& model, const Slot1Lock& slot1, QWidget* parent)
    : QWidget(parent),
      model_(model),
      slot1_(slot1),
      workspace_(EvaluationWorkspace::create()),
      images_(AnalogImages::create()) {
    setObjectName(QStringLiteral("analogside"));
    // In this order: the tab order follows the order of creation.
    buildPaintBoxes();
    buildScrollbar();
    buildButtons();
    buildZoom();
    buildChannelBoxes();
    buildRunGroups();
    buildScaleGroups();
    buildMoves();
}

void AnalogPage::buildPaintBoxes() {
    boxes_ = {new GraphPaintBox("anawin", images_.plot, this),
              new GraphPaintBox("lskala", images_.leftScale, this),
              new GraphPaintBox("hskala", images_.rightScale, this)};
    boxes_[0]->move(kPlot.topLeft());
    boxes_[1]->move(kLeftScaleAt);
    boxes_[2]->move(kRightScaleAt);
    connect(boxes_[0], &GraphPaintBox::mousePressed, this, &AnalogPage::plotMousePressed);
    connect(boxes_[0], &GraphPaintBox::mouseMoved, this, &AnalogPage::plotMouseMoved);
    connect(boxes_[0], &GraphPaintBox::mouseReleased, this,
            [this](Qt::MouseButton button, QPoint) { plotMouseReleased(button); });
}

void AnalogPage::buildScrollbar() {
    scrollbar_ = new QScrollBar(Qt::Horizontal, this);
    scrollbar_->setObjectName(QStringLiteral("scrollbar1"));
    scrollbar_->setGeometry(kPlot.left(), kPlot.bottom() + 3, kPlot.width(), 17);
    scrollbar_->setRange(0, kMaxOffset);
    scrollbar_->setSingleStep(10);
    scrollbar_->setValue(0);
    connect(scrollbar_, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderPageStepAdd) {
            scrollbar_->setSliderPosition(scrollOffset_ + kScrollLargeStep);
        } else if (action == QAbstractSlider::SliderPageStepSub) {
            scrollbar_->setSliderPosition(scrollOffset_ - kScrollLargeStep);
        }
    });
    connect(scrollbar_, &QScrollBar::valueChanged, this, [this](int position) {
        scrollOffset_ = position;
        redraw();
    });
}

void AnalogPage::buildButtons() {
    auto* update = namedButton("update_anawin", QStringLiteral("Update"),
                               QRect(4, kBandTop + 2, 75, 25), this);
    connect(update, &QPushButton::clicked, this, &AnalogPage::redraw);
    auto* reset = namedButton("reset_tests", QStringLiteral("Reset tests"),
                              QRect(4, kBandTop + 31, 75, 25), this);
    connect(reset, &QPushButton::clicked, this, &AnalogPage::resetTests);
}

void AnalogPage::buildZoom() {
    auto* zoomLabel = new QLabel(QStringLiteral("Zoom"), this);
    zoomLabel->setGeometry(4, kBandTop + 62, 34, 22);
    zoom_ = new QSpinBox(this);
    zoom_->setObjectName(QStringLiteral("zoomupdown"));
    zoom_->setGeometry(40, kBandTop + 62, 40, 22);
    zoom_->setRange(1, 10);
    zoom_->setValue(2);
    zoom_->setToolTip(QStringLiteral("Horizontal zoom"));
    zoomLabel->setBuddy(zoom_);
    // The thumb is what the plot shows: 600 / zoom samples.
    scrollbar_->setPageStep(kPlot.width() / zoom_->value());
    connect(zoom_, &QSpinBox::valueChanged, this, &AnalogPage::zoomChanged);
}

// Ticking a channel shows it at the next redraw.
void AnalogPage::buildChannelBoxes() {
    for (int c = 1; c <= 5; ++c) {
        auto* box = new QCheckBox(QStringLiteral("Ch. %1").arg(c), this);
        box->setObjectName(QStringLiteral("dana%1").arg(c));
        box->setGeometry(88, kBandTop + 4 + kRow * (c - 1), 60, kRow);
        channelBoxes_[static_cast<std::size_t>(c - 1)] = box;
    }
}

// Item 0 shows nothing of the slot, item n its run n; slot 1 starts on run 1.
void AnalogPage::buildRunGroups() {
    for (int s = 1; s <= 4; ++s) {
        const QStringList items{s == 1 ? QStringLiteral(" 0 ") : QStringLiteral(" 0"),
                                QStringLiteral(" 1"), QStringLiteral(" 2"), QStringLiteral(" 3")};
        auto* group = radioGroup(
            QStringLiteral("ana_grafsel%1").arg(s), QStringLiteral("Run nr."), items,
            s == 1 ? 1 : 0,
            QRect(kRunGroupLeft + (kRunGroupWidth + 4) * (s - 1), kBandTop, kRunGroupWidth, 94),
            this);
        setTextColour(group, graph::legendColour(s));
        redrawOnClick(group, this);
        runGroups_[static_cast<std::size_t>(s - 1)] = group;
    }
}

void AnalogPage::buildScaleGroups() {
    curveGroup_ = radioGroup(QStringLiteral("vskala"), QStringLiteral("V. scale"),
                             {QStringLiteral("Hp"), QStringLiteral("Speed")}, 0,
                             QRect(434, kBandTop, 70, 58), this);
    redrawOnClick(curveGroup_, this);
    QStringList channels;
    for (int c = 1; c <= 5; ++c) channels << QStringLiteral("Ch. %1").arg(c);
    leftScaleGroup_ = radioGroup(QStringLiteral("left_scale"), QStringLiteral("Left scale"),
                                 channels, 0, QRect(508, kBandTop, 76, 112), this);
    redrawOnClick(leftScaleGroup_, this);
}

// Each slot's curves may be moved along the time axis against the others.
void AnalogPage::buildMoves() {
    for (int s = 1; s <= 4; ++s) {
        const int top = kBandTop + 2 + 24 * (s - 1);
        auto* label = new QLabel(QStringLiteral("Move test %1").arg(s), this);
        label->setGeometry(kMoveLeft, top, 72, 22);
        setTextColour(label, graph::powerColour(s));
        auto* move = new QSpinBox(this);
        move->setObjectName(QStringLiteral("move%1").arg(s));
        move->setGeometry(kMoveLeft + 74, top, 56, 22);
        move->setRange(0, kMaxOffset);
        move->setValue(0);
        label->setBuddy(move);
        connect(move, &QSpinBox::valueChanged, this, &AnalogPage::redraw);
        moves_[static_cast<std::size_t>(s - 1)] = move;
    }
}

AnalogPage::~AnalogPage() = default;

AnalogView AnalogPage::view() const {
    AnalogView view;
    if (readOtherPages_) readOtherPages_(view);
    for (std::size_t s = 0; s < runGroups_.size(); ++s) {
        view.runItem[s] = chosenItem(runGroups_[s]);
        view.slotShift[s] = moves_[s]->value();
    }
    for (std::size_t c = 0; c < channelBoxes_.size(); ++c) {
        view.channelTicked[c] = channelBoxes_[c]->isChecked();
    }
    view.curve = chosenItem(curveGroup_) == 1 ? AnalogCurve::speed : AnalogCurve::power;
    view.leftScaleChannel = std::max(chosenItem(leftScaleGroup_), 0);
    view.scrollOffset = scrollOffset_;
    view.zoom = zoom_->value();
    return view;
}

void AnalogPage::redraw() {
    if (slot1_.refuseReading()) return;
    {
        AnalogPainters boxes(images_);
        redrawAnalog(view(), model_, *workspace_, boxes.canvas(), buffers_);
    }
    repaintBoxes();
}

void AnalogPage::resetTests() {
    for (QSpinBox* move : moves_) {
        const QSignalBlocker quiet(move);
        move->setValue(0);
    }
    redraw();
}

void AnalogPage::zoomChanged(int zoom) {
    scrollbar_->setPageStep(kPlot.width() / std::max(zoom, 1));
    redraw();
}

void AnalogPage::repaintBoxes() {
    for (GraphPaintBox* box : boxes_) box->update();
}

void AnalogPage::plotMousePressed(Qt::MouseButton button, QPoint position) {
    if (button != Qt::RightButton) return;
    // One sample per pixel under the cursor: the zoom goes to 1 first (and redraws).
    if (zoom_->value() != 1) zoom_->setValue(1);
    cursorX_ = position.x();
    {
        QPainter plot(&images_.plot);
        drawInvertedCursorLine(plot, cursorX_);
    }
    cursorOn_ = true;
    boxes_[0]->update();
}

void AnalogPage::plotMouseMoved(QPoint position) {
    if (!cursorOn_) return;
    {
        QPainter plot(&images_.plot);
        drawInvertedCursorLine(plot, cursorX_);
        cursorX_ = position.x();
        drawInvertedCursorLine(plot, cursorX_);
        drawReadoutFields(plot, readAnalogCursor(view(), model_, cursorX_));
    }
    boxes_[0]->update();
}

void AnalogPage::plotMouseReleased(Qt::MouseButton button) {
    if (!cursorOn_ || button != Qt::RightButton) return;
    cursorOn_ = false;
    {
        QPainter plot(&images_.plot);
        drawInvertedCursorLine(plot, cursorX_);
    }
    redraw();
}

}  // namespace dyno
