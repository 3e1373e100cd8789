#pragma once

#include <QImage>
#include <QString>

namespace dyno {

// The QR code of the live view's address with its code, for a phone's camera: black
// modules on white with the four-module quiet zone, `modulePixels` per module.
// A null image when the text cannot be encoded.
QImage addressQrCode(const QString& address, int modulePixels = 4);

}  // namespace dyno
