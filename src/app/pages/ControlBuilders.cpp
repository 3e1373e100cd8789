#include "app/pages/ControlBuilders.h"

#include <QRadioButton>

namespace dyno::build {

namespace {

QList<QRadioButton*> radioItems(const QGroupBox* group) {
    return group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

// Undoes an edit of the user's that makes the text longer than the limit, as a
// maximum length would have refused it. The program's own setText() is never
// undone: a restored text longer than the limit stays whole, and the user may
// shorten it but not lengthen it.
class TypingLimit final : public QObject {
  public:
    TypingLimit(QLineEdit* edit, int limit) : QObject(edit), edit_(edit), limit_(limit) {
        accepted_ = edit->text();
        // textEdited comes before textChanged, and only for the user's edits.
        connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
            if (text.size() <= limit_ || text.size() <= accepted_.size()) return;
            const int cursor =
                edit_->cursorPosition() - static_cast<int>(text.size() - accepted_.size());
            edit_->setText(accepted_);
            edit_->setCursorPosition(cursor);
        });
        // The box's own text, not the signal's: an undone edit still reports the
        // text it was undone from.
        connect(edit, &QLineEdit::textChanged, this, [this] { accepted_ = edit_->text(); });
    }

  private:
    QLineEdit* edit_;
    int limit_;
    QString accepted_;
};

}  // namespace

void limitTyping(QLineEdit* edit, int limit) {
    new TypingLimit(edit, limit);
}

QLineEdit* addEdit(QWidget* parent, const QString& name, const QString& text, QRect geometry,
                   int typingLimit) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    if (typingLimit > 0) limitTyping(edit, typingLimit);
    edit->setGeometry(geometry);
    return edit;
}

QLabel* addLabel(QWidget* parent, const QString& text, QRect geometry, const QString& name) {
    auto* label = new QLabel(text, parent);
    if (!name.isEmpty()) label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

QCheckBox* addCheck(QWidget* parent, const QString& name, const QString& caption, QRect geometry,
                    bool isChecked) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(isChecked);
    box->setGeometry(geometry);
    return box;
}

QGroupBox* addRadioGroup(QWidget* parent, const char* name, const QString& caption,
                         const QStringList& items, int chosen, QRect geometry) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], group);
        item->setGeometry(8, 18 + 20 * i, geometry.width() - 12, 18);
        item->setChecked(i == chosen);
    }
    return group;
}

int chosenItem(const QGroupBox* group) {
    const auto items = radioItems(group);
    for (int i = 0; i < items.size(); ++i) {
        if (items[i]->isChecked()) return i;
    }
    return -1;
}

void chooseItem(QGroupBox* group, int index) {
    const auto items = radioItems(group);
    if (index >= 0 && index < items.size()) items[index]->setChecked(true);
}

}  // namespace dyno::build
