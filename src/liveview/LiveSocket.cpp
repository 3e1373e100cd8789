#include "liveview/LiveSocket.h"

#include <QString>
#include <algorithm>

namespace dyno {

LiveSocket::LiveSocket(std::unique_ptr<QWebSocket> socket, QObject* parent)
    : QObject(parent), socket_(std::move(socket)) {
    connect(socket_.get(), &QWebSocket::bytesWritten, this, [this](qint64 bytes) {
        // Frame headers count as written too: never below nothing.
        unsent_ = std::max<std::int64_t>(0, unsent_ - bytes);
    });
    connect(socket_.get(), &QWebSocket::disconnected, this, [this] { emit disconnected(this); });
}

void LiveSocket::send(const QByteArray& text) {
    unsent_ += socket_->sendTextMessage(QString::fromUtf8(text));
}

}  // namespace dyno
