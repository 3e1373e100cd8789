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
#include <QtGlobal>

// Controls reached by their component names ("baroedit", "corrchoice", ...). The
// program's own code reads and fills other pages through their typed accessors;
// these lookups are for tests and tools that address a control by the name the
// settings files and the workshop know it by. A name that matches no control of the
// kind asked for is a fault: it stops every build at once, naming the control, never
// skipped quietly.
namespace dyno::controls {

[[noreturn]] inline void reportMissingControl(const char* componentName, const char* kind) {
    qFatal("No %s named \"%s\" in the window", kind, componentName);
}

// The control named `componentName` among the descendants of `root`.
template <typename T>
T* find(const QObject* root, const char* componentName) {
    T* control =
        root == nullptr ? nullptr : root->findChild<T*>(QString::fromLatin1(componentName));
    if (control == nullptr) reportMissingControl(componentName, "control of the kind asked for");
    return control;
}

// The text of an edit box, combo box or label.
inline bool readText(const QObject* root, const char* componentName, QString& text) {
    auto* control = find<QObject>(root, componentName);
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) {
        text = edit->text();
    } else if (auto* combo = qobject_cast<const QComboBox*>(control)) {
        text = combo->currentText();
    } else if (auto* label = qobject_cast<const QLabel*>(control)) {
        text = label->text();
    } else {
        if (control != nullptr) reportMissingControl(componentName, "text control");
        return false;
    }
    return true;
}

// Sets the text of an edit box, an editable combo box or a label. A combo box that
// cannot be edited selects the item with that text, or keeps its choice.
inline void writeText(const QObject* root, const char* componentName, const QString& text) {
    auto* control = find<QObject>(root, componentName);
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
    } else if (control != nullptr) {
        reportMissingControl(componentName, "text control");
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
    auto* control = find<QObject>(root, componentName);
    if (auto* combo = qobject_cast<const QComboBox*>(control)) {
        index = combo->currentIndex();
        return true;
    }
    if (auto* group = qobject_cast<const QGroupBox*>(control)) {
        const auto items = radioItems(group);
        index = -1;
        for (int i = 0; i < items.size(); ++i) {
            if (items[i]->isChecked()) index = i;
        }
        return true;
    }
    if (control != nullptr) reportMissingControl(componentName, "choice");
    return false;
}

// Chooses item `index`. An index the control does not have leaves the choice as
// it is, so a foreign settings file cannot empty a choice.
inline void writeItemIndex(const QObject* root, const char* componentName, int index) {
    auto* control = find<QObject>(root, componentName);
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (index >= 0 && index < combo->count()) combo->setCurrentIndex(index);
        return;
    }
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        const auto items = radioItems(group);
        if (index >= 0 && index < items.size()) items[index]->setChecked(true);
        return;
    }
    if (control != nullptr) reportMissingControl(componentName, "choice");
}

}  // namespace dyno::controls
