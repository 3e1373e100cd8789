#include "liveview/LiveViewServer.h"

#include <QDateTime>
#include <QHostAddress>
#include <QNetworkInterface>

namespace dyno {

namespace {

// Half a send slot: see kLiveSendIntervalMs.
constexpr int kTickMs = static_cast<int>(kLiveSendIntervalMs / 2);

// The address a phone on the workshop's network reaches this PC at: of an interface
// that is up and running and no loopback, a private IPv4 address first (what a
// workshop's router hands out), link-local ones (169.254..., no network at all) last.
bool isPrivateNetworkAddress(const QHostAddress& address) {
    for (const char* subnet : {"10.0.0.0/8", "172.16.0.0/12", "192.168.0.0/16"}) {
        if (address.isInSubnet(QHostAddress::parseSubnet(QString::fromLatin1(subnet)))) {
            return true;
        }
    }
    return false;
}

QHostAddress firstNetworkAddress() {
    QHostAddress best(QHostAddress::LocalHost);
    int bestRank = 0;
    constexpr auto kUsable = QNetworkInterface::IsUp | QNetworkInterface::IsRunning;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        if ((interface.flags() & kUsable) != kUsable) continue;
        if (interface.flags() & QNetworkInterface::IsLoopBack) continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (address.protocol() != QAbstractSocket::IPv4Protocol) continue;
            const int rank = address.isLinkLocal() ? 1 : (isPrivateNetworkAddress(address) ? 3 : 2);
            if (rank > bestRank) {
                best = address;
                bestRank = rank;
            }
        }
    }
    return best;
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
