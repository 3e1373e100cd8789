#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QRadioButton>
#include <QString>

// The settings files and the function keys reach controls of every page by their
// component names ("baroedit", "corrchoice", ...). A page that does not have a
// control yet is simply skipped: reading gives nothing, writing does nothing.
namespace dyno::controls {

// The control named `componentName` among the descendants of `root`.
template <typename T>
T* find(const QObject* root, const char* componentName) {
    if (root == nullptr) return nullptr;
    return root->findChild<T*>(QString::fromLatin1(componentName));
}

// The text of an edit box, combo box or label; nullptr when there is none.
inline QObject* textControl(const QObject* root, const char* componentName) {
    if (auto* edit = find<QLineEdit>(root, componentName)) return edit;
    if (auto* combo = find<QComboBox>(root, componentName)) return combo;
    return find<QLabel>(root, componentName);
}

inline bool readText(const QObject* root, const char* componentName, QString& text) {
    QObject* control = textControl(root, componentName);
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) {
        text = edit->text();
    } else if (auto* combo = qobject_cast<const QComboBox*>(control)) {
        text = combo->currentText();
    } else if (auto* label = qobject_cast<const QLabel*>(control)) {
        text = label->text();
    } else {
        return false;
    }
    return true;
}

// Sets the text of an edit box, an editable combo box or a label. A combo box that
// cannot be edited selects the item with that text, or keeps its choice.
inline void writeText(const QObject* root, const char* componentName, const QString& text) {
    QObject* control = textControl(root, componentName);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->isEditable()) {
            combo->setEditText(text);
        } else if (const int index = combo->findText(text); index >= 0) {
            combo->setCurrentIndex(index);
        }
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    }
}

inline bool readChecked(const QObject* root, const char* componentName, bool& checked) {
    auto* box = find<QAbstractButton>(root, componentName);
    if (box == nullptr) return false;
    checked = box->isChecked();
    return true;
}

inline void writeChecked(const QObject* root, const char* componentName, bool checked) {
    if (auto* box = find<QAbstractButton>(root, componentName)) box->setChecked(checked);
}

// A radio group is a group box whose own radio buttons are its items, in order.
inline QList<QRadioButton*> radioItems(const QGroupBox* group) {
    return group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

// The item index of a combo box or radio group; -1 when nothing is chosen.
inline bool readItemIndex(const QObject* root, const char* componentName, int& index) {
    if (auto* combo = find<QComboBox>(root, componentName)) {
        index = combo->currentIndex();
        return true;
    }
    if (auto* group = find<QGroupBox>(root, componentName)) {
        const auto items = radioItems(group);
        index = -1;
        for (int i = 0; i < items.size(); ++i) {
            if (items[i]->isChecked()) index = i;
        }
        return true;
    }
    return false;
}

// Chooses item `index`. An index the control does not have leaves the choice as
// it is, so a foreign settings file cannot empty a choice.
inline void writeItemIndex(const QObject* root, const char* componentName, int index) {
    if (auto* combo = find<QComboBox>(root, componentName)) {
        if (index >= 0 && index < combo->count()) combo->setCurrentIndex(index);
        return;
    }
    if (auto* group = find<QGroupBox>(root, componentName)) {
        const auto items = radioItems(group);
        if (index >= 0 && index < items.size()) items[index]->setChecked(true);
    }
}

}  // namespace dyno::controls
