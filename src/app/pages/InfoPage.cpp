#include "app/pages/InfoPage.h"

#include <QFont>
#include <QPixmap>

#include "display/DynoEmblem.h"

namespace dyno {

InfoPage::InfoPage(QWidget* parent)
    : QWidget(parent),
      companyName_(new QLabel(QStringLiteral("Your company"), this)),
      phone_(new QLabel(QStringLiteral("1234567890"), this)) {
    companyName_->setObjectName(QStringLiteral("companylabel"));
    phone_->setObjectName(QStringLiteral("tlflabel"));
    QFont large = font();
    large.setPixelSize(28);
    large.setBold(true);
    companyName_->setFont(large);
    companyName_->setGeometry(40, 40, 700, 40);

    auto* phoneCaption = new QLabel(QStringLiteral("Phone :"), this);
    QFont medium = font();
    medium.setPixelSize(18);
    phoneCaption->setFont(medium);
    phone_->setFont(medium);
    phoneCaption->setGeometry(40, 100, 80, 24);
    phone_->setGeometry(120, 100, 300, 24);

    // The dyno's picture on the page, and its small copy for the printed report.
    auto* picture = new QLabel(this);
    picture->setGeometry(40, 170, 480, 200);
    picture->setPixmap(QPixmap::fromImage(dynoEmblem(picture->size())));
    smallPrintLogo_ = dynoEmblem({205, 93});
}

bool InfoPage::loadPrintLogo(const QString& file) {
    QImage logo;
    if (!logo.load(file)) return false;
    printLogo_ = logo;
    return true;
}

}  // namespace dyno
