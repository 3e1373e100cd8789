#include "app/GraphsPage.h"

namespace dyno {

GraphsPage::GraphsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("grafside1"));
}

}  // namespace dyno
