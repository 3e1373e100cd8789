#include "app/ControlBuilders.h"

namespace dyno::build {

QLineEdit* addEdit(QWidget* parent, const QString& name, const QString& text, QRect geometry,
                   int maxLength) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
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

}  // namespace dyno::build
