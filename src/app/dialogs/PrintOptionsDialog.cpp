#include "app/dialogs/PrintOptionsDialog.h"

#include <QFontDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "print/ReportInputs.h"

namespace dyno {

namespace {

constexpr const char* kLineChoices[] = {" None   ", " 1 Line ", " 2 Lines", " 3 Lines"};

struct SlotGroup {
    const char* name;
    const char* caption;
    QColor colour;
};

const SlotGroup kSlotGroups[] = {
    {"prt1", "Test 1 (red)", QColor(0xFF, 0x00, 0x00)},
    {"prt2", "Test 2 (blue)", QColor(0x00, 0x00, 0xFF)},
    {"prt3", "Test 3 (green)", QColor(0x00, 0x80, 0x00)},
    {"prt4", "Test 4 (purple)", QColor(0x80, 0x00, 0x80)},
};

}  // namespace

PrintOptionsDialog::PrintOptionsDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      printFont_(defaultReportFont()) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Choose number of remarklines to print"));
    auto* layout = new QVBoxLayout(this);
    for (std::size_t s = 0; s < remarkLineGroups_.size(); ++s) {
        const SlotGroup& slot = kSlotGroups[s];
        auto* group = new QGroupBox(QString::fromLatin1(slot.caption), this);
        group->setObjectName(QString::fromLatin1(slot.name));
        QFont bold = group->font();
        bold.setBold(true);
        group->setFont(bold);
        QPalette palette = group->palette();
        palette.setColor(QPalette::WindowText, slot.colour);
        group->setPalette(palette);
        auto* row = new QHBoxLayout(group);
        for (const char* choice : kLineChoices) {
            auto* item = new QRadioButton(QString::fromLatin1(choice), group);
            item->setFont(font());
            row->addWidget(item);
        }
        remarkLineGroups_[s] = group;
        layout->addWidget(group);
    }
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    auto* fontbutton = new QPushButton(QStringLiteral("Change printfont"), this);
    fontbutton->setObjectName(QStringLiteral("fontbutton"));
    auto* preview = new QPushButton(QStringLiteral("Preview"), this);
    preview->setObjectName(QStringLiteral("previewbutton"));
    buttons->addWidget(ok);
    buttons->addWidget(fontbutton);
    buttons->addWidget(preview);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(preview, &QPushButton::clicked, this, &PrintOptionsDialog::previewRequested);
    connect(fontbutton, &QPushButton::clicked, this, &PrintOptionsDialog::choosePrintFont);
    setFixedSize(sizeHint());
}

QList<QRadioButton*> PrintOptionsDialog::lineChoices(int slot) const {
    if (slot < 1 || slot > static_cast<int>(remarkLineGroups_.size())) return {};
    return remarkLineGroups_[static_cast<std::size_t>(slot - 1)]->findChildren<QRadioButton*>(
        QString(), Qt::FindDirectChildrenOnly);
}

int PrintOptionsDialog::remarkLines(int slot) const {
    const auto items = lineChoices(slot);
    for (int i = 0; i < items.size(); ++i) {
        if (items[i]->isChecked()) return i;
    }
    return 0;  // nothing chosen prints no remark lines
}

void PrintOptionsDialog::setRemarkLines(int slot, int lines) {
    const auto items = lineChoices(slot);
    if (lines >= 0 && lines < items.size()) items[lines]->setChecked(true);
}

void PrintOptionsDialog::choosePrintFont() {
    bool isChosen = false;
    const QFont chosen = QFontDialog::getFont(&isChosen, printFont_, this);
    if (isChosen) printFont_ = chosen;
}

}  // namespace dyno
