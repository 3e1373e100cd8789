#include "app/ParamPage.h"

namespace dyno {

ParamPage::ParamPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet5"));
}

}  // namespace dyno
