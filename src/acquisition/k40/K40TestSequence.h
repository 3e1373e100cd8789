#pragma once

#include <functional>

#include <cstdint>
#include <string_view>

#include "acquisition/SequenceView.h"
#include "acquisition/k40/AcquisitionState.h"
#include "evaluation/DynoConstants.h"
#include "model/TestSession.h"

namespace dyno {

// What `remotetext` tells the rider during a K40 test.
inline constexpr std::string_view kPressRemoteText = "Press remote to start test sequence";
inline constexpr std::string_view kRpmCheckRunningText = "Rpm check running";
inline constexpr std::string_view kTestRunningText = "Test running";
inline constexpr std::string_view kTransferringDataText = "Transferring Data";
inline constexpr std::string_view kDataOkText = "Data OK";
inline constexpr std::string_view kSessionFinishedText = "Test session finished";
inline constexpr std::string_view kSerialBufferFullText = "Serial buffer full";

// `linear_rpm_check`: how the engine drives the wheel.
enum class GearboxType : std::int16_t { Variomatic = 0, FixedGearing = 1 };

// The set-up a recorded session is stamped with, as the Setup and Test pages held it
// when the test was started.
struct K40SessionSetup {
    DynoModel dynoModel = DynoModel::K40;              // `dynomodel`
    Electronics electronics = Electronics::UsbSerial;  // `electronics`
    GearboxType gearbox = GearboxType::Variomatic;
    double rollerWeightKg = 0.0;             // `rollerweightedit`; an empty box is 0
    std::int16_t rollerCode = 0;             // of the settings; stored for K70 and K80 only
    double speedDialConstant = 7'096'320.0;  // for the fixed-gearing ratio

    friend bool operator==(const K40SessionSetup&, const K40SessionSetup&) = default;
};

// Writes the set-up into slot 1 when a session is complete: dyno model, electronics,
// gearbox and roller weight, and for the big rollers their roller code.
void stampSessionSetup(TestSession& slot1, const K40SessionSetup& setup);

// The steps of a K40 test that the rider sees on the Speed page. The packet dispatch
// calls them; the waits between them are the dispatch's.
class K40TestSequence {
  public:
    K40TestSequence(AcquisitionState& state, TestSession& slot1, SequenceView& view,
                    LiveDisplay& live)
        : state_(state), slot1_(slot1), view_(view), live_(live) {}

    void setSessionSetup(const K40SessionSetup& setup) { setup_ = setup; }
    // The gearbox, roller weight, dyno model and electronics are read again from
    // the settings when a run's data are OK and when the session finishes, so a
    // change made between runs counts for what follows. Without a source the values
    // of the start stay.
    void setSetupRefresh(std::function<void(K40SessionSetup&)> refresh) {
        refresh_ = std::move(refresh);
    }
    const K40SessionSetup& sessionSetup() const { return setup_; }

    // After the start command and its 100 ms: run 1, the rider's instruction, needles
    // at rest.
    void showStarted();
    void testRunning();       // code 32
    void transferringData();  // code 31, after the rpm needle was erased
    // Code 40 with more runs to come (runIndex already advanced): before and after
    // its 500 ms wait.
    void dataOkBeforeWait();
    void dataOkAfterWait();
    void sessionFinished();
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
    K40SessionSetup setup_;
    std::function<void(K40SessionSetup&)> refresh_;
};

}  // namespace dyno
