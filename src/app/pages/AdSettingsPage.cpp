#include "app/pages/AdSettingsPage.h"

#include "app/pages/ControlBuilders.h"

#include <algorithm>

#include <QLabel>
#include <QRadioButton>

namespace dyno {

namespace {

using build::addEdit;
using build::addLabel;

constexpr int kColumnWidth = 155;
constexpr int kRow = 22;

QGroupBox* addChoice(QWidget* parent, const QString& name, const QString& first,
                     const QString& second, QRect geometry) {
    auto* group = new QGroupBox(parent);
    group->setObjectName(name);
    group->setGeometry(geometry);
    auto* a = new QRadioButton(first, group);
    a->setGeometry(4, 2, 60, 18);
    a->setChecked(true);
    auto* b = new QRadioButton(second, group);
    b->setGeometry(4, 20, 60, 18);
    return group;
}

int chosenItem(const QGroupBox* group) {
    const auto items = group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
    for (int i = 0; i < items.size(); ++i) {
        if (items[i]->isChecked()) return i;
    }
    return -1;
}

// A stored choice goes in as the group's item index: beyond the last item it is the
// last item, below 0 no item at all (scaled as "Mul."/"Add", saved again as 1).
void chooseItem(QGroupBox* group, int index) {
    const auto items = group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (items.isEmpty()) return;
    if (index >= 0) {
        items[std::min<qsizetype>(index, items.size() - 1)]->setChecked(true);
        return;
    }
    // Exclusive radio buttons cannot all be off; lift that for a moment.
    for (QRadioButton* item : items) {
        item->setAutoExclusive(false);
        item->setChecked(false);
        item->setAutoExclusive(true);
    }
}

QString toQt(const std::string& text) {
    return QString::fromStdString(text);
}

std::string fromQt(const QString& text) {
    return text.toStdString();
}

}  // namespace

QString AdSettingsPage::scaleLabelName(int channel, int label) {
    // Channel 1 starts at Edit1, 2 at Edit10, 3 at Edit19, 4 at Edit29, 5 at Edit39.
    static constexpr int kFirst[kAnalogSettingsChannels] = {1, 10, 19, 29, 39};
    return QStringLiteral("Edit%1").arg(kFirst[channel] + label);
}

AdSettingsPage::AdSettingsPage(QWidget* parent)
    : QWidget(parent), saveAdSettings_(new QPushButton(QStringLiteral("Save settings"), this)) {
    setObjectName(QStringLiteral("ad_settings"));

    for (int c = 0; c < kAnalogSettingsChannels; ++c) {
        const int n = c + 1;
        auto* column = new QGroupBox(QStringLiteral("Channel %1").arg(n), this);
        column->setGeometry(5 + c * kColumnWidth, 4, kColumnWidth - 5, 490);
        ChannelControls& ch = channels_[static_cast<std::size_t>(c)];

        // Left: the scaling of the raw value.
        int y = 18;
        addLabel(column, QStringLiteral("* / factor"), {6, y, 66, 16});
        ch.factor =
            addEdit(column, QStringLiteral("mul%1edit").arg(n), QString(), {6, y + 16, 66, 20});
        y += 40;
        addLabel(column, QStringLiteral("+ - factor"), {6, y, 66, 16});
        ch.offset =
            addEdit(column, QStringLiteral("plus%1edit").arg(n), QString(), {6, y + 16, 66, 20});
        y += 40;
        addLabel(column, QStringLiteral("delay"), {6, y, 66, 16});
        ch.delay =
            addEdit(column, QStringLiteral("delay%1edit").arg(n), QString(), {6, y + 16, 66, 20});
        y += 44;
        ch.factorUse = addChoice(column, QStringLiteral("mulch%1group").arg(n),
                                 QStringLiteral("Mul."), QStringLiteral("Div."), {6, y, 66, 42});
        y += 48;
        ch.offsetUse = addChoice(column, QStringLiteral("plusch%1group").arg(n),
                                 QStringLiteral("Add"), QStringLiteral("Sub."), {6, y, 66, 42});
        y += 48;
        ch.invert = new QCheckBox(QStringLiteral("Invert"), column);
        ch.invert->setObjectName(QStringLiteral("invert%1").arg(n));
        ch.invert->setGeometry(6, y, 66, 20);
        y += 28;
        addLabel(column, QStringLiteral("Text"), {6, y, 66, 16});
        ch.unitText =
            addEdit(column, QStringLiteral("textedit%1").arg(n), QString(), {6, y + 16, 66, 20});

        // Right: the scale drawn beside the channel, from the top down.
        y = 18;
        addLabel(column, QStringLiteral("Top value"), {78, y, 66, 16});
        ch.topValue = addEdit(column, QStringLiteral("slutvalueedit%1").arg(n), QString(),
                              {78, y + 16, 66, 20});
        y += 38;
        for (int i = 0; i < 9; ++i) {
            ch.scaleLabels[static_cast<std::size_t>(i)] =
                addEdit(column, scaleLabelName(c, i), QString(), {78, y + i * kRow, 66, 20});
        }
        y += 9 * kRow + 4;
        addLabel(column, QStringLiteral("B. value"), {78, y, 66, 16});
        ch.bottomValue = addEdit(column, QStringLiteral("startvalueedit%1").arg(n), QString(),
                                 {78, y + 16, 66, 20});
    }

    saveAdSettings_->setObjectName(QStringLiteral("save_ad_settings"));
    saveAdSettings_->setGeometry(5, 500, 150, 28);

    showChannelTexts(defaultAnalogChannelTexts());
}

AnalogChannelTextSet AdSettingsPage::channelTexts() const {
    AnalogChannelTextSet texts;
    for (std::size_t c = 0; c < channels_.size(); ++c) {
        const ChannelControls& ch = channels_[c];
        AnalogChannelTexts& t = texts[c];
        t.factorText = fromQt(ch.factor->text());
        t.offsetText = fromQt(ch.offset->text());
        t.delayText = fromQt(ch.delay->text());
        t.factorUse = chosenItem(ch.factorUse);
        t.offsetUse = chosenItem(ch.offsetUse);
        t.isInverted = ch.invert->isChecked();
        t.topValue = fromQt(ch.topValue->text());
        for (std::size_t i = 0; i < t.scaleLabels.size(); ++i) {
            t.scaleLabels[i] = fromQt(ch.scaleLabels[i]->text());
        }
        t.bottomValue = fromQt(ch.bottomValue->text());
        t.unitText = fromQt(ch.unitText->text());
    }
    return texts;
}

void AdSettingsPage::showChannelTexts(const AnalogChannelTextSet& texts) {
    for (std::size_t c = 0; c < channels_.size(); ++c) {
        const ChannelControls& ch = channels_[c];
        const AnalogChannelTexts& t = texts[c];
        ch.factor->setText(toQt(t.factorText));
        ch.offset->setText(toQt(t.offsetText));
        ch.delay->setText(toQt(t.delayText));
        chooseItem(ch.factorUse, t.factorUse);
        chooseItem(ch.offsetUse, t.offsetUse);
        ch.invert->setChecked(t.isInverted);
        ch.topValue->setText(toQt(t.topValue));
        for (std::size_t i = 0; i < t.scaleLabels.size(); ++i) {
            ch.scaleLabels[i]->setText(toQt(t.scaleLabels[i]));
        }
        ch.bottomValue->setText(toQt(t.bottomValue));
        ch.unitText->setText(toQt(t.unitText));
    }
}

}  // namespace dyno
