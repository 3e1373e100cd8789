#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "acquisition/RiderTexts.h"
#include "acquisition/SequenceView.h"
#include "acquisition/SessionOutcome.h"
#include "acquisition/SessionSetup.h"
#include "acquisition/card/CardAccess.h"
#include "acquisition/card/CardBus.h"
#include "acquisition/card/CardMarkerDisplay.h"
#include "acquisition/card/CardTiming.h"
#include "acquisition/card/CardWeatherReadout.h"
#include "evaluation/DynoPreparationChannels.h"
#include "evaluation/DynoPreparationRpm.h"
#include "model/MessageSink.h"
#include "model/TestSession.h"

namespace dyno {

// What `remotetext` tells the rider during a card test or rev counter check.
inline constexpr std::string_view kPressRemoteForNextText = "Press remote for next test";
inline constexpr std::string_view kPressRemoteToEndCheckText = "Press remote to end RPM check";
inline constexpr std::string_view kRpmTestFinishedText = "RPM test finished";
inline constexpr std::string_view kTestStoppedText = "Test stopped";

// A wait for a roller or ignition edge gives up after this long without one, unless
// it waits for the rider to set the roller turning or for a run to end.
inline constexpr std::int64_t kDefaultEdgeTimeoutMs = 5000;

// Everything a card start takes from the pages and the settings, as plain values.
struct CardStart {
    bool isRevCounterCheck = false;
    std::uint16_t cardBase = cardport::kBase1B0;
    std::uint8_t remoteButtonMask = cardport::kK70K80RemoteMask;
    std::int64_t remoteButtonDelayMs = 400;
    std::int64_t settleDelaySteps = 0;  // the A/D settle wait, calibrated at start-up
    std::int64_t edgeTimeoutMs = kDefaultEdgeTimeoutMs;
    bool speedInMph = false;  // "Show speed as MPH": the speed needle in mph
    RpmConstants rpm;
    std::array<bool, kAnalogChannels> channels{};  // `ad1_check` .. `ad5_check`
    ChannelSettingsSet channelSettings{};          // channels 1 and 2 move the markers
    // Stamped into slot 1 after the third run; its speedDialConstant (km/h) also
    // serves the fixed-gearing ratio.
    SessionSetup session;
    CardWeatherSetup weather;

    friend bool operator==(const CardStart&, const CardStart&) = default;
};

// How a card sequence ended: the outcome both electronics report.
using CardOutcome = SessionOutcome;

// The K70/K80 card's test and rev counter check. The program times every roller
// revolution itself: it polls the status port for the roller and ignition edges,
// reads and reloads the counter pairs and draws the needles as it goes, one sample
// pair per revolution, until a run ends by speed, by the remote or by 2000 samples.
//
// run() returns only when the session or check is over, so it runs on a thread of
// its own that owns the bus and slot 1 meanwhile. requestStop() may be called from
// any thread: every wait for a status bit ends at the next poll. A stop is never
// taken back, so one asked for before run() has begun still counts: a sequence
// serves one session.
//
// How long a wait lasts without Stop: a wait for the remote, and for the first
// roller edges after a remote press, waits for the rider, however late the ride
// begins. Once a run's speed has passed 26 it ends by speed when the roller stands
// still: the revolution in progress has then lasted so long that its pair could only
// put the needle below 13, which is what the rider's stop would show when the roller
// turned again. Any other wait for a roller or ignition edge ends the session when
// none has come for `edgeTimeoutMs` of the card timing. A session that ends early
// keeps the runs completed so far, stamped with the session's setup and the
// station's factor as a finished one is; the run it was in is cleared.
class CardSequence {
  public:
    struct Seams {
        CardBus& bus;
        CardTiming& timing;
        SequenceView& view;
        LiveDisplay& live;
        CardMarkerDisplay& markers;
        MessageSink& messages;  // the out-of-limits warning of the station's factor
    };

    CardSequence(const Seams& seams, TestSession& slot1) : seams_(seams), slot1_(slot1) {}

    CardOutcome run(const CardStart& start);
    void requestStop() { isStopRequested_.store(true, std::memory_order_relaxed); }
    bool isStopRequested() const { return isStopRequested_.load(std::memory_order_relaxed); }

  private:
    enum class Signal { None, Roller, Ignition, RollerOrIgnition };
    struct Abandon {
        CardOutcome::Kind kind;
        Signal signal;
    };
    // What ends a wait for an edge besides Stop, by where the sequence is.
    enum class EdgePatience {
        UntilStop,        // the rider has yet to set the roller turning
        TimeLimit,        // `edgeTimeoutMs`, then the session ends
        UntilStandstill,  // a run past 26: a still roller ends the run by speed
    };
    // Thrown by a wait in a run past 26 once the roller has stood still long enough.
    struct RollerStandstill {};

    template <typename IsDone>
    std::uint8_t pollUntil(IsDone isDone, Signal signal);
    void waitRemotePressed();
    void sleep(std::int64_t ms);

    void markRollerEdge() { lastRollerEdgeUs_ = seams_.timing.nowUs(); }
    void armRollerCounters();
    std::uint32_t rollerRisingRead();
    std::uint32_t rollerFallingRead();
    void measureIgnitionInHighPhase();
    void ignitionOnlyRead();
    void moveMarker(int channel, int rawValue);

    void revCounterCheck();
    void test();
    // Where a run stands between two sample pairs.
    struct RunProgress {
        int sample = 0;                  // the pair's first sample, then its second
        std::int64_t speedPosition = 0;  // the speed needle, drawn before each pair
        bool hasPassed26 = false;
    };
    // One run: pairs until it ends by speed, by the remote or by 2000 samples.
    void recordRun(int run);
    void beginRun(int run);
    // The next pair's average period; nothing when the roller stood still past 26.
    std::optional<std::uint32_t> readRollerPair(int run, RunProgress& progress);
    void recordRpm(int run, int sample);
    void recordChannels(int run, int sample);
    // Moves the speed needle to the pair's speed: true when that, or the remote,
    // ends the run.
    bool hasRunEndedBySpeed(std::uint32_t averagePeriod, RunProgress& progress);
    void endRun(int run);
    void finishSession();
    void keepCompletedRuns();
    void clearRunInProgress();
    std::string messageOf(const Abandon& abandon) const;

    Seams seams_;
    TestSession& slot1_;
    std::optional<StationCorrection> station_;
    CardStart start_;
    CardAccess* access_ = nullptr;
    std::atomic<bool> isStopRequested_{false};

    double needleSpeedConstant_ = 0.0;
    std::uint32_t ignitionPeriod_ = 1;
    std::int16_t rpmPosition_ = 0;
    std::array<int, 2> markerOffsets_{};
    int completedRuns_ = 0;
    int runInProgress_ = -1;
    EdgePatience patience_ = EdgePatience::TimeLimit;
    std::int64_t lastRollerEdgeUs_ = 0;
    std::int64_t standstillUs_ = 0;
};

}  // namespace dyno
