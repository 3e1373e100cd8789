#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QStringList>

// Small helpers the pages and dialogs build their controls with: each control gets
// its component name, which the settings files and the tests know it by.
namespace dyno::build {

// An edit box. `typingLimit` caps what the user may type; texts the program puts
// in (a restored setting) are shown whole, however long.
QLineEdit* addEdit(QWidget* parent, const QString& name, const QString& text, QRect geometry,
                   int typingLimit = 0);
// A caption; `name` only where something looks the label up.
QLabel* addLabel(QWidget* parent, const QString& text, QRect geometry,
                 const QString& name = QString());
QCheckBox* addCheck(QWidget* parent, const QString& name, const QString& caption, QRect geometry,
                    bool isChecked = false);

// Lets the user type at most `limit` characters into `edit`; setText() is not
// limited. (QLineEdit's own maximum length would cut restored texts as well.)
void limitTyping(QLineEdit* edit, int limit);

// A captioned group of radio buttons, one per item, addressed by item index.
QGroupBox* addRadioGroup(QWidget* parent, const char* name, const QString& caption,
                         const QStringList& items, int chosen, QRect geometry);
// The item chosen in a radio group, -1 for none.
int chosenItem(const QGroupBox* group);
// Chooses item `index`; an index the group does not have leaves the choice as it
// is, so a foreign settings file cannot empty a choice.
void chooseItem(QGroupBox* group, int index);

}  // namespace dyno::build
