#include "liveview/LivePublisher.h"

#include <algorithm>

#include "liveview/LiveMessages.h"

namespace dyno {

LivePublisher::LivePublisher(LiveFeed& feed)
    : feed_(feed), workspace_(AnalysisWorkspace::create()) {}

void LivePublisher::setEvaluationOptions(const EvaluationOptions& options) {
    options_ = options;
    hasRunsMessage_ = false;  // evaluated again in the new units at the next send
}

void LivePublisher::addClient(LiveClient& client) {
    clients_.push_back({&client, 0});
}

void LivePublisher::removeClient(const LiveClient& client) {
    std::erase_if(clients_, [&](const Follower& f) { return f.client == &client; });
}

void LivePublisher::refreshRunsMessage() {
    const ArrivedRuns runs = feed_.arrivedRuns();
    if (hasRunsMessage_ && runs.revision == runsRevision_) return;
    runsMessage_ = dyno::runsMessage(runs, options_, *workspace_);
    // Revision 0 has nothing: a session not started yet still clears a page's curves.
    runsRevision_ = runs.revision;
    hasRunsMessage_ = true;
    ++runsMessagesMade_;
}

void LivePublisher::publish(std::int64_t nowMs) {
    const std::int64_t slot = nowMs / kLiveSendIntervalMs;
    if ((hasSent_ && slot == lastSlot_) || clients_.empty()) return;
    hasSent_ = true;
    lastSlot_ = slot;
    refreshRunsMessage();
    const QByteArray live = readingsMessage(feed_.takeReadings(), nowMs);
    for (Follower& follower : clients_) {
        if (follower.client->unsentBytes() > kClientBacklogLimitBytes) {
            ++drops_;
            continue;
        }
        follower.client->send(live);
        ++sends_;
        // A new client gets the runs there are with its first readings.
        if (follower.runsMessageSent != runsMessagesMade_) {
            follower.client->send(runsMessage_);
            follower.runsMessageSent = runsMessagesMade_;
        }
    }
}

}  // namespace dyno
