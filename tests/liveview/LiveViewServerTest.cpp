// The server on 127.0.0.1 and a free port: the page and the socket only with the
// access code, and what the feed holds arriving as JSON.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTimer>
#include <QWebSocket>

#include "liveview/LiveFeed.h"
#include "liveview/LivePageServer.h"
#include "liveview/LivePublisher.h"
#include "liveview/LiveViewServer.h"

namespace dyno {
namespace {

constexpr int kWaitMs = 5000;

class LiveViewServerTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server.listen(LiveViewReach::thisPcOnly, 0)); }

    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(server.port()); }
    QUrl socketUrl(const QString& query) const {
        return QUrl(QStringLiteral("ws://127.0.0.1:%1/live%2").arg(server.port()).arg(query));
    }

    // The status and body of a GET.
    std::pair<int, QByteArray> get(const QString& pathAndQuery) {
        QNetworkReply* reply = network.get(QNetworkRequest(QUrl(base() + pathAndQuery)));
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(kWaitMs, &loop, &QEventLoop::quit);
        loop.exec();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QByteArray body = reply->readAll();
        reply->deleteLater();
        return {status, body};
    }

    LiveFeed feed;
    LiveViewServer server{feed, QStringLiteral("482913")};
    QNetworkAccessManager network;
};

TEST_F(LiveViewServerTest, PageWithoutOrWithWrongCode_IsRefused) {
    EXPECT_EQ(get("/").first, 403);
    EXPECT_EQ(get("/?code=482914").first, 403);
    EXPECT_EQ(get("/?code=48291").first, 403);
    EXPECT_EQ(get("/live.js").first, 403);
}

TEST_F(LiveViewServerTest, AnAddressGuessingCodes_IsLockedOutEvenWithTheRightOne) {
    for (int guess = 1; guess < kMostWrongCodes; ++guess) {
        EXPECT_EQ(get(QStringLiteral("/?code=%1").arg(100000 + guess)).first, 403);
    }
    EXPECT_EQ(get("/?code=482913").first, 200) << "four wrong codes, then the right one";
    for (int guess = 0; guess < kMostWrongCodes; ++guess) {
        EXPECT_EQ(get(QStringLiteral("/?code=%1").arg(200000 + guess)).first, 403);
    }
    EXPECT_EQ(get("/?code=482913").first, 403) << "five wrong codes lock the address out";
}

TEST_F(LiveViewServerTest, PageWithCode_IsServedAndPassesTheCodeOn) {
    const auto [status, body] = get("/?code=482913");
    EXPECT_EQ(status, 200);
    EXPECT_TRUE(body.contains("live.js?code=482913"));
    EXPECT_EQ(get("/live.js?code=482913").first, 200);
    EXPECT_EQ(get("/live.css?code=482913").first, 200);
}

TEST_F(LiveViewServerTest, PageSentData_IsNotTaken) {
    QNetworkReply* reply = network.post(QNetworkRequest(QUrl(base() + "/?code=482913")), "stop");
    QSignalSpy finished(reply, &QNetworkReply::finished);
    ASSERT_TRUE(finished.wait(kWaitMs));
    EXPECT_NE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    reply->deleteLater();
}

TEST_F(LiveViewServerTest, SocketWithoutOrWithWrongCode_IsRefusedAtItsHandshake) {
    for (const QString& query : {QString(), QStringLiteral("?code=000000")}) {
        QWebSocket socket;
        QSignalSpy connected(&socket, &QWebSocket::connected);
        QSignalSpy closed(&socket, &QWebSocket::disconnected);
        socket.open(socketUrl(query));
        ASSERT_TRUE(closed.wait(kWaitMs)) << query.toStdString();
        EXPECT_EQ(connected.count(), 0) << query.toStdString();
        EXPECT_EQ(server.clients(), 0u);
    }
}

TEST_F(LiveViewServerTest, SocketWithCode_ReceivesTheFeedAsJson) {
    feed.showInstruction("Press remote for next test", Rgb::Yellow, Rgb::Lime);
    feed.showRunNumber(2);
    QWebSocket socket;
    QList<QJsonObject> received;
    QObject::connect(&socket, &QWebSocket::textMessageReceived, [&](const QString& text) {
        received.append(QJsonDocument::fromJson(text.toUtf8()).object());
    });
    socket.open(socketUrl(QStringLiteral("?code=482913")));
    QElapsedTimer elapsed;
    elapsed.start();
    while (received.size() < 12 && elapsed.elapsed() < kWaitMs) QCoreApplication::processEvents();
    ASSERT_GE(received.size(), 12);
    const auto live = std::find_if(received.begin(), received.end(),
                                   [](const QJsonObject& m) { return m["type"] == "live"; });
    ASSERT_NE(live, received.end());
    EXPECT_EQ((*live)["instruction"].toString(), "Press remote for next test");
    EXPECT_EQ((*live)["font"].toString(), "#00ff00");
    EXPECT_EQ((*live)["run"].toInt(), 2);
    // One a slot, give or take the first and last slot: not many fewer either.
    EXPECT_LE(elapsed.elapsed(), 1600);
    const double sendSlots =
        static_cast<double>(elapsed.elapsed()) / static_cast<double>(kLiveSendIntervalMs);
    EXPECT_LE(received.size() - 1, static_cast<int>(sendSlots) + 2);
}

}  // namespace
}  // namespace dyno
