// The QR code of the view's address: the symbol's size, its quiet zone and the dark
// corner of a finder pattern where a phone's camera looks for it.
#include <gtest/gtest.h>

#include <QColor>

#include "liveview/AddressQrCode.h"

namespace dyno {
namespace {

constexpr int kPixels = 3;

TEST(AddressQrCode, Address_IsASymbolInItsQuietZone) {
    const QImage image =
        addressQrCode(QStringLiteral("http://192.168.1.20:8040/?code=123456"), kPixels);
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.width(), image.height());
    // Versions 1..40 are 21..177 modules wide, four steps apart, plus 2 x 4 of quiet zone.
    const int modules = image.width() / kPixels - 8;
    EXPECT_EQ(image.width() % kPixels, 0);
    EXPECT_EQ((modules - 21) % 4, 0) << modules;
    EXPECT_EQ(QColor(image.pixel(4 * kPixels - 1, 4 * kPixels - 1)), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(4 * kPixels, 4 * kPixels)), QColor(Qt::black));
    // The finder pattern's white ring, one module in.
    EXPECT_EQ(QColor(image.pixel(5 * kPixels, 5 * kPixels)), QColor(Qt::white));
}

TEST(AddressQrCode, LongerAddress_NeedsNoSmallerSymbol) {
    const QImage shortOne = addressQrCode(QStringLiteral("http://127.0.0.1:1/?code=1"), 1);
    const QImage longOne = addressQrCode(QString(200, QLatin1Char('a')), 1);
    EXPECT_GT(longOne.width(), shortOne.width());
}

}  // namespace
}  // namespace dyno
