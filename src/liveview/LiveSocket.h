#pragma once

#include <QObject>
#include <QWebSocket>
#include <memory>

#include "liveview/LiveClient.h"

namespace dyno {

// A browser's WebSocket as a live client. What the browser sends is never read: the
// view is read-only. Unsent bytes are counted from what was queued and what the
// connection reports written, since a socket whose browser stopped reading keeps
// everything queued in memory.
class LiveSocket final : public QObject, public LiveClient {
    Q_OBJECT
  public:
    explicit LiveSocket(std::unique_ptr<QWebSocket> socket, QObject* parent = nullptr);
    // Says nothing more once it goes: the server is letting it go already.
    ~LiveSocket() override { socket_->disconnect(this); }
    LiveSocket(const LiveSocket&) = delete;
    LiveSocket& operator=(const LiveSocket&) = delete;

    std::int64_t unsentBytes() const override { return unsent_; }
    void send(const QByteArray& text) override;

    QWebSocket& socket() { return *socket_; }

  signals:
    void disconnected(dyno::LiveSocket* socket);

  private:
    std::unique_ptr<QWebSocket> socket_;
    std::int64_t unsent_ = 0;
};

}  // namespace dyno
