#include "app/AdSettingsPage.h"

namespace dyno {

AdSettingsPage::AdSettingsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ad_settings"));
}

}  // namespace dyno
