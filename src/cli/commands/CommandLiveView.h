#pragma once

#include <QCoreApplication>
#include <memory>
#include <ostream>
#include <set>
#include <string>

#include "acquisition/SequenceView.h"
#include "acquisition/SessionSetup.h"
#include "cli/options/Arguments.h"
#include "liveview/LiveFeed.h"
#include "liveview/LiveViewServer.h"
#include "liveview/LiveViewTee.h"
#include "model/TestSession.h"

namespace dyno::cli {

// --live-view PORT (0: any free port), --live-view-reach pc|network (pc by default),
// --live-view-hold S: how long the view stays served after the session, so a browser
// can read the last run's figures.
std::set<std::string> liveViewValueOptions();

// The rider's live view of a dynotool session. The sequence draws through tee(), which
// passes everything on to the console's views and, with --live-view, into the view's
// feed. The address with its access code goes to stderr at start.
class CommandLiveView {
  public:
    CommandLiveView(const Arguments& arguments, SequenceView& sequence, LiveDisplay& live,
                    const TestSession& slot1, std::ostream& err);
    ~CommandLiveView();
    CommandLiveView(const CommandLiveView&) = delete;
    CommandLiveView& operator=(const CommandLiveView&) = delete;

    bool isOn() const { return server_ != nullptr; }
    LiveViewTee& tee() { return tee_; }
    void beginSession(const SessionSetup& setup, bool isRevCounterCheck,
                      bool isSpeedNeedleInMph = false) {
        tee_.beginSession(setup, isRevCounterCheck, isSpeedNeedleInMph);
    }
    // After the session: serves on for --live-view-hold seconds, or until `isStopped`.
    void holdAfterSession(const std::function<bool()>& isStopped = [] { return false; });

  private:
    std::unique_ptr<QCoreApplication> application_;
    LiveFeed feed_;
    std::unique_ptr<LiveViewServer> server_;
    LiveViewTee tee_;
    std::int64_t holdMs_ = 0;
};

}  // namespace dyno::cli
