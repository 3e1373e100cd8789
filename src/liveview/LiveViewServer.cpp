#include "liveview/LiveViewServer.h"

#include <QDateTime>
#include <QHostAddress>
#include <QNetworkInterface>

namespace dyno {

namespace {

// Half a send slot: see kLiveSendIntervalMs.
constexpr int kTickMs = static_cast<int>(kLiveSendIntervalMs / 2);

QHostAddress firstNetworkAddress() {
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (!address.isLoopback() && address.protocol() == QAbstractSocket::IPv4Protocol) {
            return address;
        }
    }
    return QHostAddress(QHostAddress::LocalHost);
}

}  // namespace

LiveViewServer::LiveViewServer(LiveFeed& feed, QString accessCode, QObject* parent)
    : QObject(parent), http_(std::move(accessCode)), publisher_(feed) {
    connect(&http_, &QAbstractHttpServer::newWebSocketConnection, this,
            &LiveViewServer::acceptSockets);
    ticks_.setTimerType(Qt::PreciseTimer);
    ticks_.setInterval(kTickMs);
    connect(&ticks_, &QTimer::timeout, this,
            [this] { publisher_.publish(QDateTime::currentMSecsSinceEpoch()); });
}

LiveViewServer::~LiveViewServer() {
    for (const auto& socket : sockets_) publisher_.removeClient(*socket);
}

bool LiveViewServer::listen(LiveViewReach reach, std::uint16_t port) {
    reach_ = reach;
    const QHostAddress where = reach == LiveViewReach::thisPcOnly
                                   ? QHostAddress(QHostAddress::LocalHost)
                                   : QHostAddress(QHostAddress::AnyIPv4);
    port_ = http_.listen(where, port);
    if (port_ == 0) {
        error_ = QStringLiteral("the live view cannot listen on port %1").arg(port);
        return false;
    }
    ticks_.start();
    return true;
}

QString LiveViewServer::address() const {
    const QHostAddress host = reach_ == LiveViewReach::thisPcOnly
                                  ? QHostAddress(QHostAddress::LocalHost)
                                  : firstNetworkAddress();
    return QStringLiteral("http://%1:%2/?code=%3")
        .arg(host.toString())
        .arg(port_)
        .arg(accessCode());
}

void LiveViewServer::setEvaluationOptions(const EvaluationOptions& options) {
    publisher_.setEvaluationOptions(options);
}

void LiveViewServer::acceptSockets() {
    while (http_.hasPendingWebSocketConnections()) {
        std::unique_ptr<QWebSocket> socket = http_.nextPendingWebSocketConnection();
        if (!socket) continue;
        auto live = std::make_unique<LiveSocket>(std::move(socket));
        connect(live.get(), &LiveSocket::disconnected, this, &LiveViewServer::dropSocket,
                Qt::QueuedConnection);
        publisher_.addClient(*live);
        sockets_.push_back(std::move(live));
    }
}

void LiveViewServer::dropSocket(LiveSocket* socket) {
    publisher_.removeClient(*socket);
    std::erase_if(sockets_, [&](const auto& s) { return s.get() == socket; });
}

}  // namespace dyno
