// The window's live view: switched on and off from its settings, one access code over
// every start, fed by both sessions' tees.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QWebSocket>

#include "acquisition/RecordingViews.h"
#include "app/acquisition/RiderLiveView.h"

namespace dyno {
namespace {

class RiderLiveViewTest : public ::testing::Test {
  protected:
    static LiveViewSettings on(std::uint16_t port) {
        return {true, port, LiveViewReach::thisPcOnly, false};
    }

    test::RecordingDisplay page;
    TestSession slot1;
    LiveViewTee k40{page, page, slot1};
    LiveViewTee card{page, page, slot1};
    RiderLiveView view{k40, card};
};

TEST_F(RiderLiveViewTest, SwitchedOff_ServesNothing) {
    EXPECT_TRUE(view.start({}));
    EXPECT_FALSE(view.isRunning());
    EXPECT_TRUE(view.address().isEmpty());
    EXPECT_TRUE(view.addressQrCode().isNull());
}

TEST_F(RiderLiveViewTest, StartedAgain_KeepsItsAccessCode) {
    const QString code = view.accessCode();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{6}$")).match(code).hasMatch());
    ASSERT_TRUE(view.start(on(0)));
    EXPECT_TRUE(view.address().startsWith(QStringLiteral("http://127.0.0.1:")));
    EXPECT_TRUE(view.address().endsWith(QStringLiteral("/?code=") + code));
    EXPECT_FALSE(view.addressQrCode().isNull());
    view.stop();
    EXPECT_FALSE(view.isRunning());
    ASSERT_TRUE(view.start(on(0)));
    EXPECT_EQ(view.accessCode(), code);
}

TEST_F(RiderLiveViewTest, PortTaken_IsRefusedWithAReason) {
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost));
    EXPECT_FALSE(view.start(on(other.serverPort())));
    EXPECT_FALSE(view.isRunning());
    EXPECT_TRUE(view.errorText().contains(QString::number(other.serverPort())));
}

TEST_F(RiderLiveViewTest, CardSessionsTee_FeedsTheView) {
    ASSERT_TRUE(view.start(on(0)));
    card.showRemoteText("Press remote for next test", Rgb::Yellow, Rgb::Lime);
    QWebSocket socket;
    QSignalSpy received(&socket, &QWebSocket::textMessageReceived);
    socket.open(QUrl(view.address()
                         .replace(QStringLiteral("/?"), QStringLiteral("/live?"))
                         .replace(QStringLiteral("http:"), QStringLiteral("ws:"))));
    ASSERT_TRUE(received.wait(5000));
    const QJsonObject live =
        QJsonDocument::fromJson(received.front().front().toString().toUtf8()).object();
    EXPECT_EQ(live["instruction"].toString(), "Press remote for next test");
    EXPECT_EQ(page.log.back(), "text Press remote for next test FFFF00/00FF00");
}

}  // namespace
}  // namespace dyno
