#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QString>

// Small helpers the pages and dialogs build their controls with: each control gets
// its component name, which settings, function keys and other pages find it by.
namespace dyno::build {

QLineEdit* addEdit(QWidget* parent, const QString& name, const QString& text, QRect geometry,
                   int maxLength = 32767);
// A caption; `name` only where something looks the label up.
QLabel* addLabel(QWidget* parent, const QString& text, QRect geometry,
                 const QString& name = QString());
QCheckBox* addCheck(QWidget* parent, const QString& name, const QString& caption, QRect geometry,
                    bool isChecked = false);

}  // namespace dyno::build
