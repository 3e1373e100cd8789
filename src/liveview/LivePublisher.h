#pragma once

#include <QByteArray>
#include <cstdint>
#include <memory>
#include <vector>

#include "evaluation/AnalysisWorkspace.h"
#include "evaluation/EvaluationOptions.h"
#include "liveview/LiveClient.h"
#include "liveview/LiveFeed.h"

namespace dyno {

// One send in each slot of this many milliseconds of the clock: twenty a second, so a
// change at the dyno waits at most this long for its send and reaches the phone well
// within a tenth of a second; a few kilobytes a second, nothing for a workshop's
// network. The server ticks twice a slot, so a late tick never costs a slot.
inline constexpr std::int64_t kLiveSendIntervalMs = 50;
// A client holding this much unsent is not keeping up: it misses updates until it has
// taken what it has, then gets the newest state. Several seconds of live messages.
inline constexpr std::int64_t kClientBacklogLimitBytes = 64 * 1024;

// Sends the feed's latest state to every client, on the server's thread: the live
// readings at each send, the runs once after each arrival (again to a client that
// missed them). Runs are evaluated here, once per arrival, never on the acquisition's
// thread.
class LivePublisher {
  public:
    explicit LivePublisher(LiveFeed& feed);

    void setEvaluationOptions(const EvaluationOptions& options);

    // The client stays the caller's; remove it before it goes.
    void addClient(LiveClient& client);
    void removeClient(const LiveClient& client);
    std::size_t clients() const { return clients_.size(); }

    // A send to every client that can take it, unless this slot of kLiveSendIntervalMs
    // has had its send. `nowMs` is the system clock's, sent with the readings.
    void publish(std::int64_t nowMs);

    std::uint64_t sends() const { return sends_; }
    std::uint64_t drops() const { return drops_; }

  private:
    struct Follower {
        LiveClient* client;
        std::uint64_t runsMessageSent;  // the runs message made last it was sent; 0: none yet
    };
    void refreshRunsMessage();

    LiveFeed& feed_;
    EvaluationOptions options_;
    std::unique_ptr<AnalysisWorkspace> workspace_;
    std::vector<Follower> clients_;
    QByteArray runsMessage_;
    std::uint64_t runsRevision_ = 0;
    // Counts the runs messages made, new runs or new units alike: each goes to every
    // client once.
    std::uint64_t runsMessagesMade_ = 0;
    bool hasRunsMessage_ = false;
    std::int64_t lastSlot_ = 0;
    bool hasSent_ = false;
    std::uint64_t sends_ = 0;
    std::uint64_t drops_ = 0;
};

}  // namespace dyno
