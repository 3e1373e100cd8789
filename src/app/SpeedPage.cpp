#include "app/SpeedPage.h"

namespace dyno {

SpeedPage::SpeedPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("speedopage"));
}

}  // namespace dyno
