#include "app/AnalogPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStringList>

#include "display/GraphPalette.h"

namespace dyno {

namespace {

// The plot and its two scale strips.
constexpr QRect kPlot(44, 2, 600, 400);
constexpr QRect kLeftScale(4, 0, 37, 421);
constexpr QRect kRightScale(648, 0, 41, 421);

// The controls sit in a band under the plot.
constexpr int kBandTop = 424;
constexpr int kRow = 18;
constexpr int kRunGroupLeft = 152;
constexpr int kRunGroupWidth = 66;
constexpr int kMoveLeft = 588;

// One sample offset per slot, and the common one of the scroll bar, reach the
// last samples of a run.
constexpr int kMaxOffset = 800;

QWidget* paintBox(const char* name, QRect geometry, QWidget* parent) {
    auto* box = new QWidget(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    return box;
}

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

}  // namespace

AnalogPage::AnalogPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("analogside"));

    auto* anawin = paintBox("anawin", kPlot, this);
    anawin->setAutoFillBackground(true);
    QPalette black = anawin->palette();
    black.setColor(QPalette::Window, graph::kBackground);
    anawin->setPalette(black);
    paintBox("lskala", kLeftScale, this);
    paintBox("hskala", kRightScale, this);

    scrollbar_ = new QScrollBar(Qt::Horizontal, this);
    scrollbar_->setObjectName(QStringLiteral("scrollbar1"));
    scrollbar_->setGeometry(kPlot.left(), kPlot.bottom() + 3, kPlot.width(), 17);
    scrollbar_->setRange(0, kMaxOffset);
    scrollbar_->setSingleStep(10);
    scrollbar_->setPageStep(100);
    scrollbar_->setValue(0);

    namedButton("update_anawin", QStringLiteral("Update"), QRect(4, kBandTop + 2, 75, 25), this);
    auto* reset = namedButton("reset_tests", QStringLiteral("Reset tests"),
                              QRect(4, kBandTop + 31, 75, 25), this);
    connect(reset, &QPushButton::clicked, this, &AnalogPage::resetTests);

    auto* zoomLabel = new QLabel(QStringLiteral("Zoom"), this);
    zoomLabel->setGeometry(4, kBandTop + 62, 34, 22);
    auto* zoom = new QSpinBox(this);
    zoom->setObjectName(QStringLiteral("zoomupdown"));
    zoom->setGeometry(40, kBandTop + 62, 40, 22);
    zoom->setRange(1, 10);
    zoom->setValue(2);
    zoom->setToolTip(QStringLiteral("Horizontal zoom"));
    zoomLabel->setBuddy(zoom);

    for (int c = 1; c <= 5; ++c) {
        auto* box = new QCheckBox(QStringLiteral("Ch. %1").arg(c), this);
        box->setObjectName(QStringLiteral("dana%1").arg(c));
        box->setGeometry(88, kBandTop + 4 + kRow * (c - 1), 60, kRow);
    }

    // Item 0 shows nothing of the slot, item n its run n; slot 1 starts on run 1.
    for (int s = 1; s <= 4; ++s) {
        const QStringList items{s == 1 ? QStringLiteral(" 0 ") : QStringLiteral(" 0"),
                                QStringLiteral(" 1"), QStringLiteral(" 2"), QStringLiteral(" 3")};
        auto* group = radioGroup(
            QStringLiteral("ana_grafsel%1").arg(s), QStringLiteral("Run nr."), items,
            s == 1 ? 1 : 0,
            QRect(kRunGroupLeft + (kRunGroupWidth + 4) * (s - 1), kBandTop, kRunGroupWidth, 94),
            this);
        setTextColour(group, graph::legendColour(s));
    }

    radioGroup(QStringLiteral("vskala"), QStringLiteral("V. scale"),
               {QStringLiteral("Hp"), QStringLiteral("Speed")}, 0, QRect(434, kBandTop, 70, 58),
               this);
    QStringList channels;
    for (int c = 1; c <= 5; ++c) channels << QStringLiteral("Ch. %1").arg(c);
    radioGroup(QStringLiteral("left_scale"), QStringLiteral("Left scale"), channels, 0,
               QRect(508, kBandTop, 76, 112), this);

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
        moves_[static_cast<std::size_t>(s - 1)] = move;
    }
}

void AnalogPage::setScrollRange(int minimum, int maximum) {
    scrollbar_->setRange(minimum, maximum);
}

void AnalogPage::resetTests() {
    for (QSpinBox* move : moves_) move->setValue(0);
}

}  // namespace dyno
