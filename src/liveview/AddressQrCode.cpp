#include "liveview/AddressQrCode.h"

#include <qrencode.h>

#include <QPainter>
#include <memory>

namespace dyno {

namespace {

// The white border every QR reader expects around the symbol.
constexpr int kQuietZoneModules = 4;

struct QrCodeFree {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

}  // namespace

QImage addressQrCode(const QString& address, int modulePixels) {
    const QByteArray text = address.toUtf8();
    // Version 0: the smallest symbol that holds the text; medium error correction
    // copes with a scratched or glossy screen.
    const std::unique_ptr<QRcode, QrCodeFree> code(
        QRcode_encodeString8bit(text.constData(), 0, QR_ECLEVEL_M));
    if (!code) return {};
    const int modules = code->width + 2 * kQuietZoneModules;
    QImage image(modules * modulePixels, modules * modulePixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            // Bit 0 of each byte: the module is dark.
            if ((code->data[y * code->width + x] & 1) == 0) continue;
            painter.fillRect((x + kQuietZoneModules) * modulePixels,
                             (y + kQuietZoneModules) * modulePixels, modulePixels, modulePixels,
                             Qt::black);
        }
    }
    return image;
}

}  // namespace dyno
