#include "app/AnalogPage.h"

namespace dyno {

AnalogPage::AnalogPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("analogside"));
}

}  // namespace dyno
