#include "app/FilePage.h"

namespace dyno {

FilePage::FilePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("readside1"));
}

}  // namespace dyno
