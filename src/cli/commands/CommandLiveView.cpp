#include "cli/commands/CommandLiveView.h"

#include <stdexcept>

#include "cli/commands/EventLoop.h"
#include "liveview/AccessCode.h"

namespace dyno::cli {

namespace {

// A day: a view left open over lunch, not one forgotten for good.
constexpr double kLongestHoldS = 24.0 * 3600;

LiveViewReach reachArgument(const Arguments& arguments) {
    const std::string reach = arguments.value("live-view-reach").value_or("pc");
    if (reach == "pc") return LiveViewReach::thisPcOnly;
    if (reach == "network") return LiveViewReach::localNetwork;
    throw UsageError("--live-view-reach must be pc or network, not '" + reach + "'");
}

}  // namespace

std::set<std::string> liveViewValueOptions() {
    return {"live-view", "live-view-reach", "live-view-hold"};
}

CommandLiveView::CommandLiveView(const Arguments& arguments, SequenceView& sequence,
                                 LiveDisplay& live, const TestSession& slot1, std::ostream& err)
    : tee_(sequence, live, slot1) {
    if (!arguments.value("live-view")) {
        for (const char* name : {"live-view-reach", "live-view-hold"}) {
            if (arguments.value(name)) {
                throw UsageError(std::string("--") + name + " goes with --live-view");
            }
        }
        return;
    }
    const auto port = static_cast<std::uint16_t>(arguments.integerIn("live-view", 0, 65535, 0));
    const LiveViewReach reach = reachArgument(arguments);
    holdMs_ = static_cast<std::int64_t>(
        arguments.numberIn("live-view-hold", 0.0, kLongestHoldS, 0.0) * 1000);
    application_ = commandLineApplication();
    server_ = std::make_unique<LiveViewServer>(feed_, makeAccessCode());
    if (!server_->listen(reach, port)) throw std::runtime_error(server_->errorText().toStdString());
    tee_.attach(&feed_);
    err << "dynotool: live view at " << server_->address().toStdString() << "\n" << std::flush;
}

CommandLiveView::~CommandLiveView() {
    tee_.attach(nullptr);
}

void CommandLiveView::holdAfterSession(const std::function<bool()>& isStopped) {
    if (!server_ || holdMs_ == 0) return;
    runEventLoopUntil(isStopped, holdMs_);
}

}  // namespace dyno::cli
