#include "app/SetupPage.h"

namespace dyno {

SetupPage::SetupPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet1"));
}

}  // namespace dyno
