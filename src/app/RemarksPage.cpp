#include "app/RemarksPage.h"

namespace dyno {

RemarksPage::RemarksPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("remarkspage"));
}

}  // namespace dyno
