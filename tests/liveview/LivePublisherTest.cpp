// The feed keeps only the newest state, and the publisher sends it once per 50 ms
// slot to the clients that keep up, whatever a stalled one does.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <memory>
#include <vector>

#include "liveview/LiveFeed.h"
#include "liveview/LivePublisher.h"

namespace dyno {
namespace {

// A browser: takes everything it is sent at once, or (stalled) never anything.
class FakeClient final : public LiveClient {
  public:
    explicit FakeClient(bool isStalled = false) : isStalled_(isStalled) {}
    std::int64_t unsentBytes() const override { return unsent_; }
    void send(const QByteArray& text) override {
        received.push_back(QJsonDocument::fromJson(text).object());
        if (isStalled_) unsent_ += text.size();
    }
    int ofType(const char* type) const {
        int count = 0;
        for (const QJsonObject& m : received) count += m["type"].toString() == type ? 1 : 0;
        return count;
    }
    std::vector<QJsonObject> received;

  private:
    bool isStalled_;
    std::int64_t unsent_ = 0;
};

constexpr std::int64_t kStartMs = 1'700'000'000'000;

class LivePublisherTest : public ::testing::Test {
  protected:
    LiveFeed feed{[this] { return nowMs; }};
    LivePublisher publisher{feed};
    std::int64_t nowMs = kStartMs;
};

TEST_F(LivePublisherTest, ManyPushesBetweenTwoSends_SendOnlyTheNewest) {
    FakeClient client;
    publisher.addClient(client);
    for (int position = 1; position <= 300; ++position) feed.showNeedle(Dial::Speed, position);
    feed.showNeedle(Dial::Rpm, 160);
    feed.showInstruction("Test running", Rgb::Yellow, Rgb::Red);
    publisher.publish(nowMs);
    ASSERT_EQ(client.ofType("live"), 1);
    const QJsonObject& live = client.received.front();
    EXPECT_EQ(live["speedPosition"].toInt(), 300);
    EXPECT_DOUBLE_EQ(live["speed"].toDouble(), 234.4);  // 300 / 1.28, to 0.1
    EXPECT_EQ(live["speedUnit"].toString(), "km/h");
    EXPECT_DOUBLE_EQ(live["rpm"].toDouble(), 10000.0);  // 160 x 62.5
    EXPECT_EQ(live["instruction"].toString(), "Test running");
    EXPECT_EQ(live["shadow"].toString(), "#ffff00");
    EXPECT_EQ(live["font"].toString(), "#ff0000");

    // A card session in mph draws its needle in mph.
    feed.setSpeedNeedleInMph(true);
    publisher.publish(kStartMs + 10 * kLiveSendIntervalMs);
    EXPECT_EQ(client.received.back()["speedUnit"].toString(), "mph");
}

TEST_F(LivePublisherTest, PublishAskedEvery10Ms_SendsOncePerSlot) {
    FakeClient client;
    publisher.addClient(client);
    for (int tick = 0; tick < 200; ++tick) {
        feed.showNeedle(Dial::Speed, tick);
        publisher.publish(kStartMs + tick * 10);
    }
    EXPECT_EQ(client.ofType("live"), static_cast<int>(2000 / kLiveSendIntervalMs));
}

TEST_F(LivePublisherTest, TicksTwiceASlotWithJitter_MissNoSlot) {
    FakeClient client;
    publisher.addClient(client);
    // The server's ticks, two a slot, each up to 9 ms late: still one send in every slot.
    const std::int64_t tickMs = kLiveSendIntervalMs / 2;
    for (int tick = 0; tick < 40; ++tick)
        publisher.publish(kStartMs + tick * tickMs + (tick * 7) % 10);
    EXPECT_EQ(client.ofType("live"), 20);
}

TEST_F(LivePublisherTest, StalledClient_IsDroppedWhileOthersGetEverySlot) {
    FakeClient stalled(true);
    FakeClient keeping;
    publisher.addClient(stalled);
    publisher.addClient(keeping);
    feed.showInstruction(std::string(2000, 'x'), Rgb::Yellow, Rgb::Red);
    for (int slot = 0; slot < 100; ++slot) publisher.publish(kStartMs + slot * kLiveSendIntervalMs);
    EXPECT_EQ(keeping.ofType("live"), 100);
    // It is sent to until its backlog passes the limit, then never again.
    EXPECT_LT(stalled.ofType("live"), 100);
    EXPECT_LE(stalled.unsentBytes(), kClientBacklogLimitBytes + 4000);
    EXPECT_GT(stalled.unsentBytes(), kClientBacklogLimitBytes);
    EXPECT_EQ(publisher.drops(), static_cast<std::uint64_t>(100 - stalled.ofType("live")));
}

TEST_F(LivePublisherTest, RunsGoOncePerArrival_NotWithEveryReadings) {
    FakeClient client;
    publisher.addClient(client);
    publisher.publish(kStartMs);
    publisher.publish(kStartMs + 100);
    EXPECT_EQ(client.ofType("runs"), 1);  // the empty runs of a session not started
    feed.runsArrived({std::make_shared<TestSession>(), 1, false, 0});
    publisher.publish(kStartMs + 200);
    publisher.publish(kStartMs + 300);
    EXPECT_EQ(client.ofType("runs"), 2);
    EXPECT_EQ(client.ofType("live"), 4);
}

TEST_F(LivePublisherTest, NewUnits_SendTheRunsAgainInThem) {
    FakeClient client;
    publisher.addClient(client);
    publisher.publish(kStartMs);
    EXPECT_EQ(client.received.back()["powerUnit"].toString(), "hp");
    EvaluationOptions kw;
    kw.powerInKw = true;
    publisher.setEvaluationOptions(kw);
    publisher.publish(kStartMs + kLiveSendIntervalMs);
    ASSERT_EQ(client.ofType("runs"), 2);
    EXPECT_EQ(client.received.back()["powerUnit"].toString(), "kW");
}

TEST_F(LivePublisherTest, ClientJoiningLate_GetsTheRunsThatArrivedBefore) {
    FakeClient early;
    publisher.addClient(early);
    feed.runsArrived({std::make_shared<TestSession>(), 2, false, 0});
    publisher.publish(kStartMs);
    FakeClient late;
    publisher.addClient(late);
    publisher.publish(kStartMs + 100);
    EXPECT_EQ(early.ofType("runs"), 1);
    ASSERT_EQ(late.ofType("runs"), 1);
    EXPECT_EQ(late.received.back()["revision"].toInt(), 1);
}

TEST_F(LivePublisherTest, Readings_CarryTheOldestAndNewestChangeSinceTheLastSend) {
    FakeClient client;
    publisher.addClient(client);
    nowMs = kStartMs + 10;
    feed.showNeedle(Dial::Speed, 20);
    nowMs = kStartMs + 40;
    feed.showRunNumber(2);
    publisher.publish(kStartMs + 100);
    nowMs = kStartMs + 150;
    feed.showNeedle(Dial::Speed, 21);
    publisher.publish(kStartMs + 200);
    ASSERT_EQ(client.ofType("live"), 2);
    const QJsonObject& first = client.received.front();
    EXPECT_EQ(first["firstUnsentChangeAtMs"].toDouble(), static_cast<double>(kStartMs + 10));
    EXPECT_EQ(first["changedAtMs"].toDouble(), static_cast<double>(kStartMs + 40));
    EXPECT_EQ(first["sentAtMs"].toDouble(), static_cast<double>(kStartMs + 100));
    EXPECT_EQ(first["run"].toInt(), 2);
    const QJsonObject& second = client.received.back();
    EXPECT_EQ(second["firstUnsentChangeAtMs"].toDouble(), static_cast<double>(kStartMs + 150));
}

}  // namespace
}  // namespace dyno
