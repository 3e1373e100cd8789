#pragma once

#include <functional>

#include <cstdint>
#include <string_view>

#include "acquisition/RiderTexts.h"
#include "acquisition/SequenceView.h"
#include "acquisition/SessionSetup.h"
#include "acquisition/k40/AcquisitionState.h"
#include "evaluation/DynoConstants.h"
#include "model/TestSession.h"

namespace dyno {

// What `remotetext` tells the rider during a K40 test, besides the texts of RiderTexts.h.
inline constexpr std::string_view kRpmCheckRunningText = "Rpm check running";
inline constexpr std::string_view kTransferringDataText = "Transferring Data";
inline constexpr std::string_view kDataOkText = "Data OK";
inline constexpr std::string_view kSerialBufferFullText = "Serial buffer full";
// "Run 2 discarded": a transfer that stopped before its end.
inline constexpr std::string_view kRunDiscardedText = " discarded";
// The session was stopped from the Speed page, or lost its port.
inline constexpr std::string_view kK40TestStoppedText = "Test stopped";

// The steps of a K40 test that the rider sees on the Speed page. The packet dispatch
// calls them; the waits between them are the dispatch's.
class K40TestSequence {
  public:
    K40TestSequence(AcquisitionState& state, TestSession& slot1, SequenceView& view,
                    LiveDisplay& live)
        : state_(state), slot1_(slot1), view_(view), live_(live) {}

    void setSessionSetup(const SessionSetup& setup) { setup_ = setup; }
    // The gearbox, roller weight, dyno model and electronics are read again from
    // the settings when a run's data are OK and when the session finishes, so a
    // change made between runs counts for what follows. Without a source the values
    // of the start stay.
    void setSetupRefresh(std::function<void(SessionSetup&)> refresh) {
        refresh_ = std::move(refresh);
    }
    const SessionSetup& sessionSetup() const { return setup_; }

    // After the start command and its 100 ms: run 1, the rider's instruction, needles
    // at rest.
    void showStarted();
    void testRunning();       // code 32
    void transferringData();  // code 31, after the rpm needle was erased
    // Code 40 with more runs to come (runIndex already advanced): before and after
    // its 500 ms wait.
    void dataOkBeforeWait();
    // A transfer given up before its end: "Run 2 discarded" in place of "Data OK".
    void runDiscardedBeforeWait(int runNumber);
    void dataOkAfterWait();
    void sessionFinished();
    // Stopped by the user or by a lost port: "Test stopped", needles at rest.
    void sessionStopped();
    // A session that ended before its third run: slot 1 is stamped with the set-up as
    // a finished one is, and the fixed-gearing ratio taken of each run kept.
    void stampEndedSession(int runsKept);

  private:
    void needlesAtRest();
    // Erases the needles where they were and draws them at rest.
    void needlesBackToRest();
    // The set-up into slot 1's header and values; the fixed-gearing ratio of runs
    // firstRatioRun..runsKept-1.
    void stampSession(int firstRatioRun, int runsKept);

    AcquisitionState& state_;
    TestSession& slot1_;
    SequenceView& view_;
    LiveDisplay& live_;
    SessionSetup setup_;
    std::function<void(SessionSetup&)> refresh_;
};

}  // namespace dyno
