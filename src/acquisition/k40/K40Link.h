#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "acquisition/ByteLink.h"
#include "acquisition/Clock.h"
#include "acquisition/SequenceView.h"
#include "acquisition/SessionOutcome.h"
#include "acquisition/k40/AcquisitionState.h"
#include "acquisition/k40/K40Command.h"
#include "acquisition/k40/K40Framer.h"
#include "acquisition/k40/K40StatusView.h"
#include "acquisition/k40/K40TestSequence.h"
#include "acquisition/k40/K40TransferFaults.h"
#include "evaluation/CorrectionSources.h"
#include "model/MessageSink.h"
#include "model/SessionModel.h"

namespace dyno {

// Input buffer of the serial driver; at 80 % full the rider is told.
inline constexpr std::size_t kK40InputBufferBytes = 4096;

// Waits of the K40 sequence, milliseconds.
inline constexpr std::int64_t kStartCommandSettleMs = 100;
inline constexpr std::int64_t kDataOkPauseMs = 500;
inline constexpr std::int64_t kWeatherAnswerMs = 1000;
// A transfer that brings no sample for this long has ended without its closing code:
// the line fell silent, or what came could not be read as the run's data.
inline constexpr std::int64_t kTransferSilenceMs = 3000;
// Electronics that send nothing for this long after the start-up command, or after
// a start on a port that has not answered yet, do not answer: the firmware version
// comes well within it. An open port alone says nothing about the electronics.
inline constexpr std::int64_t kAnswerAwaitedMs = 3000;

// The dividends that turn the periods the electronics send into needle positions and
// rpm samples, from the preparation at each start.
struct K40DialConstants {
    double speedDialConstant = 7'096'320.0;
    std::int32_t rpmDialConstant = 0;
    std::int32_t rpmSampleConstant = 0;

    friend bool operator==(const K40DialConstants&, const K40DialConstants&) = default;
};

// The weather station's calibration and how its readings are shown and turned into
// the correction factor of slot 1.
struct K40WeatherSetup {
    WeatherStationConstants constants{250.0, 250.0, 250.0};
    AirUnitOptions units;
    CorrectionStandard standard = CorrectionStandard::Eec;

    friend bool operator==(const K40WeatherSetup&, const K40WeatherSetup&) = default;
};

// Everything a test start takes from the pages, as plain values.
struct K40Start {
    std::string portName = "COM1";  // `comedit`
    bool isRevCounterCheck = false;
    std::int32_t rpmRegistration = 0;  // from the test type: 0 without rpm
    K40Recording recording;
    K40DialConstants dial;
    SessionSetup session;
    K40WeatherSetup weather;

    friend bool operator==(const K40Start&, const K40Start&) = default;
};

// The link to the K40 electronics: frames the received bytes, dispatches each packet
// to the acquisition state, slot 1 and the Speed page, and runs the K40 test sequence.
//
// Packets are dispatched one at a time, in arrival order, each to completion before
// the next. A packet whose handling waits (the 500 ms after a run) pauses the dispatch
// on a clock timer; the packets behind it stay in the link until the wait is over and
// the drains the sequence asks for have run. Every complete packet waiting is handled,
// not just one per receive event, because the line falls silent after the last packet
// of a run and no further event would come. The dispatch never runs inside itself: a
// receive event raised while a message box of the dispatch is open is left to the
// dispatch that is already running.
//
// Samples are stored only inside a transfer (after code 31, before code 40). A
// transfer whose framing is lost takes back the samples around the fault (see
// K40TransferFaults) and goes on once the framing is found again. The closing code of
// a transfer is taken as the end of the run only when what follows it is no more of
// the run's data: the bytes behind it are looked at when it arrives and again when
// its wait is over, and a "run complete" read from a shifted stream gives the run
// back its transfer.
class K40Link final : private ByteLinkListener {
  public:
    // See K40TestSequence::setSetupRefresh.
    void setSessionSetupRefresh(std::function<void(SessionSetup&)> refresh) {
        sequence_.setSetupRefresh(std::move(refresh));
    }
    // The station constants, units and standard in force at the moment the weather
    // packets arrive. Without a source, those of the last start or weather request.
    void setWeatherSetupSource(std::function<K40WeatherSetup()> source) {
        weatherSource_ = std::move(source);
    }
    struct Seams {
        ByteLink& link;
        Clock& clock;
        SequenceView& sequenceView;
        LiveDisplay& liveDisplay;
        K40StatusView& statusView;
        MessageSink& messages;
    };

    enum class Outcome {
        Done,         // started, or the request was sent
        NothingToDo,  // a rev counter check without rpm registration
        PortFailed,   // the port could not be opened or refused the command
        Busy,         // asked from inside a dispatch (a message box of it is open)
    };

    K40Link(const Seams& seams, SessionModel& model, AcquisitionState& state);
    ~K40Link() override;
    K40Link(const K40Link&) = delete;
    K40Link& operator=(const K40Link&) = delete;

    // Opens the port and sends the start-up command; the electronics answer with
    // their firmware version and sample setting.
    Outcome sendStartUp(std::string_view portName, std::uint8_t transferDelay);

    // "Start Test" or "Rev. Counter check" with the K40 electronics. A dispatch that is
    // paused is cancelled: its restart command is never sent.
    Outcome start(const K40Start& request);

    // "Get data from Weatherstation": the answer comes as packets 20 and 21. The
    // dispatch is held for the 1000 ms the electronics take to answer.
    Outcome requestWeather(std::string_view portName, std::uint8_t transferDelay,
                           const K40WeatherSetup& weather);

    // The receive event: dispatches every complete packet waiting, until one pauses.
    void bytesReceived() override;
    // The port failed while open: any paused dispatch is dropped, the LED goes off and
    // the user is told. What slot 1 received so far stays.
    void linkFailed() override;

    // True while a packet's wait is pending. Loads, copies and saves into slot 1 must
    // wait or be refused meanwhile.
    bool isPaused() const { return timer_ != Clock::kNoTimer; }
    bool isDispatching() const { return isDispatching_; }

    const AcquisitionState& state() const { return state_; }

    // A test session that ended early (the port lost, nobody at the remote): the runs
    // received whole stay in slot 1, what arrived of the next is cleared, and the
    // session is stamped as a finished one. Returns how many runs slot 1 now holds
    // samples of: a run received but discarded as damaged is not counted.
    int keepRunsReceived();

    // "Stop" on the Speed page, or Escape: the session or check ends now, keeping
    // the runs received whole, and the user is told how many. Packets of the
    // electronics are ignored until the next start. False when none was running.
    bool stopSession();
    // From a start until the session finishes, is stopped or loses its port.
    bool isSessionRunning() const { return isSessionRunning_; }
    // How the last session ended: finished, stopped or its port lost.
    const std::optional<SessionOutcome>& lastOutcome() const { return lastOutcome_; }
    // A byte arrived since the port was opened.
    bool hasAnswered() const { return hasAnswered_; }
    // Runs of the session so far that arrived damaged, kept or discarded.
    int damagedRuns() const { return damagedRuns_; }
    // Times the framing was lost since the port was opened.
    std::int32_t framingLosses() const { return framer_.losses(); }

  private:
    // What a paused dispatch does when its wait is over.
    enum class Continuation { None, StartShown, DataOkAfterWait, SessionEndAfterWait, Weather };

    bool openPort(std::string_view portName);
    bool send(const K40Command& command);
    void cancelPause();
    void pause(std::int64_t ms, Continuation continuation);
    void resume();
    void dispatchWaiting();
    void dispatch(const K40Packet& packet);
    void storeAnalogSample(int channel, std::uint32_t value);
    void storeRollerSample(std::uint32_t period);
    void storeRpmSample(std::uint32_t period);
    void moveMarker(int channel, std::uint32_t value);
    void moveSpeedNeedle(std::uint32_t period);
    void moveRpmNeedle(std::uint32_t period);
    void showFirmwareVersion(const K40Packet& packet);
    void applyStationReadings();
    // The closing code of the electronics; a transfer whose closing code a fault took
    // (the electronics went on to live packets); a transfer given up as stalled.
    enum class RunEnd { Closed, Unclosed, Stalled };
    void endOfRun(RunEnd how);
    void handleRunComplete();
    // Whether the bytes waiting behind a transfer's closing code show it read from
    // the wrong bytes: they frame as more of the run's samples at some offset.
    bool isRunEndInDoubt();
    void framingLostInTransfer();
    void takeBackRunEnd();
    // A transfer that ended with faults: its run kept or emptied, and the user told.
    void settleDamagedRun();
    void eraseSamplesFrom(const K40SampleCounts& counts);
    bool takeSample(std::uint8_t code);
    void finishSession();
    void endSessionActivity();
    void awaitAnswer(std::string_view portName);
    void answerArrived();
    // Cancels the wait for an answer and takes a warning back: a port opened afresh,
    // or one that failed, has its own story.
    void forgetAnswer();
    void watchTransferSilence();
    void armSilenceTimer(std::int64_t delayMs);
    void stopTransferWatch();
    void transferStalled();
    void discardDamagedRun(bool isSilent);
    bool isInputNearlyFull() const;
    void checkInputBufferFill();
    void reportLinkLost();

    ByteLink& link_;
    Clock& clock_;
    SequenceView& sequenceView_;
    LiveDisplay& live_;
    K40StatusView& status_;
    MessageSink& messages_;
    SessionModel& model_;
    AcquisitionState& state_;
    K40Framer framer_;
    K40TestSequence sequence_;
    K40DialConstants dial_;
    K40WeatherSetup weather_;
    std::function<K40WeatherSetup()> weatherSource_;

    Clock::TimerId timer_ = Clock::kNoTimer;
    Continuation continuation_ = Continuation::None;
    // Between "Transferring Data" and code 40: restarted by every sample that arrives.
    Clock::TimerId silenceTimer_ = Clock::kNoTimer;
    std::int64_t silenceDeadlineMs_ = 0;  // no sample since then: the transfer stalled
    bool isTransferring_ = false;
    bool hasBytesSinceSample_ = false;  // bytes came, but none made a sample
    K40TransferFaults faults_;
    // A closing code taken during its wait, until what follows it confirms it.
    struct RunEndOnTrial {
        std::int16_t runIndex = 0;
        K40SampleCounts counts;
    };
    std::optional<RunEndOnTrial> runEndOnTrial_;
    bool isSettlePending_ = false;  // a damaged transfer's run end awaits its verdict
    bool isSessionRunning_ = false;
    std::optional<SessionOutcome> lastOutcome_;
    bool isRunStartedSeen_ = false;  // code 32 of the run now awaited or transferred
    int damagedRuns_ = 0;
    bool isStopped_ = false;  // stopped by the user: the electronics are not listened to
    // The station's first packet, while it was the last one handled; one handled since
    // the framing was last lost, not yet completed by its part 2.
    bool isWeatherPart1Last_ = false;
    bool isWeatherPart1Seen_ = false;
    // From the start-up or start command until the first byte that follows it.
    Clock::TimerId answerTimer_ = Clock::kNoTimer;
    bool isNoAnswerShown_ = false;
    bool hasAnswered_ = false;  // a byte arrived since the port was opened
    bool isDispatching_ = false;
    bool isBufferFullShown_ = false;
    bool isLinkLostReported_ = false;  // one message per failure, not one per symptom
};

// A run whose transfer lost its framing: "Run 2 arrived damaged: ...", kept or
// discarded.
std::string damagedRunText(int runNumber, int faults, bool isKept);
// A transfer that stopped before its end: silent, or bringing nothing readable.
std::string stalledTransferText(int runNumber, bool isSilent);
// "The test was stopped; 2 completed runs kept."
std::string stoppedSessionText(bool isRevCounterCheck, int runsKept);

// "No answer from the dyno electronics on /dev/ttyUSB0: check power, cable and the
// port on the Setup page".
std::string noAnswerText(std::string_view portName);

// Shown when the port fails while open; the port's own error text follows.
inline constexpr std::string_view kLinkLostText = "Connection to the dyno electronics lost";

}  // namespace dyno
