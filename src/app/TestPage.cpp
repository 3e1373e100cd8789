#include "app/TestPage.h"

namespace dyno {

TestPage::TestPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("testside1"));
}

}  // namespace dyno
