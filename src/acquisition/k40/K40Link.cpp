#include "acquisition/k40/K40Link.h"

#include <algorithm>
#include <array>
#include <limits>
#include <span>
#include <string>

#include "evaluation/CorrectionApply.h"

namespace dyno {

namespace {

constexpr int kLargestNeedlePosition = 320;
constexpr std::int32_t kLargestMarkerPosition = 296;
// A 10-bit reading of 0..1023 spans the bar's 296 pixels: 1023 x 50 / 173 = 295.
constexpr std::uint32_t kMarkerScaleNumerator = 50;
constexpr std::uint32_t kMarkerScaleDenominator = 173;

bool isRecordingRun(std::int16_t runIndex) {
    return runIndex >= 0 && runIndex < kRunsPerSession;
}

std::size_t sampleIndex(std::int16_t runIndex, std::int16_t count) {
    return static_cast<std::size_t>(runIndex) * kSamplesPerRun + static_cast<std::size_t>(count);
}

}  // namespace

std::string damagedRunText(int runNumber, int faults, bool isKept) {
    const std::string run = "Run " + std::to_string(runNumber);
    std::string text = run + " arrived damaged: its data lost their framing " +
                       (faults == 1 ? std::string("once") : std::to_string(faults) + " times");
    if (isKept) {
        return text + ". The samples around " + (faults == 1 ? "the fault" : "each fault") +
               " were left out; " + run + " was kept with the samples that arrived as sent.";
    }
    return text + ". " + run + " was discarded; the runs that arrived whole are kept.";
}

std::string stalledTransferText(int runNumber, bool isSilent) {
    const std::string seconds = std::to_string(kTransferSilenceMs / 1000);
    std::string text = "The transfer of run " + std::to_string(runNumber) + " stopped: ";
    text += isSilent ? "no data from the dyno electronics for " + seconds + " seconds"
                     : "nothing that could be read as its data came from the dyno electronics "
                       "for " +
                           seconds + " seconds";
    return text + ". Run " + std::to_string(runNumber) +
           " was discarded; the runs that arrived whole are kept.";
}

std::string stoppedSessionText(bool isRevCounterCheck, int runsKept) {
    if (isRevCounterCheck) return "The rev counter check was stopped.";
    return "The test was stopped; " + std::to_string(runsKept) +
           (runsKept == 1 ? " completed run kept." : " completed runs kept.");
}

std::string noAnswerText(std::string_view portName) {
    return "No answer from the dyno electronics on " + std::string(portName) +
           ": check power, cable and the port on the Setup page";
}

K40Link::K40Link(const Seams& seams, SessionModel& model, AcquisitionState& state)
    : link_(seams.link),
      clock_(seams.clock),
      sequenceView_(seams.sequenceView),
      live_(seams.liveDisplay),
      status_(seams.statusView),
      messages_(seams.messages),
      model_(model),
      state_(state),
      framer_(seams.link),
      sequence_(state, model.slot(1), seams.sequenceView, seams.liveDisplay) {
    link_.setListener(this);
}

K40Link::~K40Link() {
    cancelPause();
    if (answerTimer_ != Clock::kNoTimer) clock_.cancel(answerTimer_);
    stopTransferWatch();
    link_.setListener(nullptr);
}

bool K40Link::openPort(std::string_view portName) {
    if (!link_.isOpen()) {
        // Whatever was awaited or heard on the port before belongs to that port.
        forgetAnswer();
        if (!link_.open(portName)) {
            status_.setLed(false);
            // A port that closed again without an error is abandoned silently.
            const std::string error = link_.errorText();
            if (!error.empty()) messages_.show(MessageKind::Error, kDynoCaption, error);
            return false;
        }
        // Opening purged the driver; nothing framed before belongs to the new stream.
        framer_.drain();
        isLinkLostReported_ = false;
    }
    status_.setLed(true);
    return true;
}

bool K40Link::send(const K40Command& command) {
    if (link_.write(command.view())) return true;
    reportLinkLost();
    return false;
}

K40Link::Outcome K40Link::sendStartUp(std::string_view portName, std::uint8_t transferDelay) {
    if (isDispatching_) return Outcome::Busy;
    if (!openPort(portName)) return Outcome::PortFailed;
    state_.recording.transferDelay = transferDelay;
    if (!send(K40Command::startUp(transferDelay))) return Outcome::PortFailed;
    awaitAnswer(portName);
    return Outcome::Done;
}

K40Link::Outcome K40Link::start(const K40Start& request) {
    if (isDispatching_) return Outcome::Busy;
    // Any new start, even one that goes no further, drops a run end still waiting to
    // finish: its restart command must not follow.
    cancelPause();
    // A session that ended half-way (port lost, given up) left its needles out.
    if (state_.speedNeedleOld != 0)
        live_.drawNeedle(Dial::Speed, state_.speedNeedleOld, Rgb::Black);
    if (state_.rpmNeedleOld != 0) live_.drawNeedle(Dial::Rpm, state_.rpmNeedleOld, Rgb::Black);
    stopTransferWatch();
    runEndOnTrial_.reset();
    isSettlePending_ = false;
    isRunStartedSeen_ = false;
    isStopped_ = false;
    damagedRuns_ = 0;
    endSessionActivity();
    state_.speedNeedleOld = 0;
    state_.rpmNeedleOld = 0;
    state_.rpmCheckOnly = request.isRevCounterCheck;
    // A rev counter check needs the engine's ignition, which a test type without rpm
    // registration does not describe.
    if (request.isRevCounterCheck && request.rpmRegistration != 1) return Outcome::NothingToDo;

    if (request.isRevCounterCheck) {
        state_.testMode = TestMode::RevCounterCheck;
    } else {
        state_.testMode = request.rpmRegistration == 1 ? TestMode::WithRpm : TestMode::WithoutRpm;
    }
    state_.runIndex = 0;
    dial_ = request.dial;
    weather_ = request.weather;
    sequence_.setSessionSetup(request.session);

    model_.slot(1).clearForRecording();
    state_.resetCounters();
    if (!openPort(request.portName)) return Outcome::PortFailed;
    state_.firmwareSeen = false;
    state_.runIndex = 0;
    state_.recording = request.recording;
    state_.speedNeedleOld = 0;
    state_.rpmNeedleOld = 0;
    // Whatever the line brought before the start (noise, the end of an earlier
    // session) is no part of this one, and the framing starts afresh.
    framer_.drain();
    if (!send(K40Command::start(state_.testMode, state_.recording))) return Outcome::PortFailed;
    isSessionRunning_ = true;
    status_.showSessionRunning(true);
    // Electronics that answered on this port may well keep quiet until the remote.
    if (!hasAnswered_) awaitAnswer(request.portName);
    pause(kStartCommandSettleMs, Continuation::StartShown);
    return Outcome::Done;
}

K40Link::Outcome K40Link::requestWeather(std::string_view portName, std::uint8_t transferDelay,
                                         const K40WeatherSetup& weather) {
    // The purge below would cut into the packets a paused dispatch still holds back.
    if (isDispatching_ || isPaused()) return Outcome::Busy;
    if (!openPort(portName)) return Outcome::PortFailed;
    weather_ = weather;
    framer_.drain();
    if (!send(K40Command::weatherRequest(transferDelay))) return Outcome::PortFailed;
    pause(kWeatherAnswerMs, Continuation::Weather);
    return Outcome::Done;
}

void K40Link::bytesReceived() {
    answerArrived();
    checkInputBufferFill();
    if (isTransferring_) hasBytesSinceSample_ = true;
    // A running or paused dispatch picks these bytes up itself when it goes on.
    if (isDispatching_ || isPaused()) return;
    dispatchWaiting();
}

void K40Link::linkFailed() {
    reportLinkLost();
}

void K40Link::reportLinkLost() {
    // A session on the lost port is over: the runs received whole stay.
    if (isSessionRunning_) {
        const int kept = state_.rpmCheckOnly ? 0 : keepRunsReceived();
        lastOutcome_ = SessionOutcome{SessionOutcome::Kind::LinkLost, kept,
                                      std::string(kLinkLostText), std::nullopt};
        isStopped_ = true;
        sequence_.sessionStopped();
        endSessionActivity();
    }
    cancelPause();
    forgetAnswer();
    stopTransferWatch();
    status_.setLed(false);
    if (isLinkLostReported_) return;
    isLinkLostReported_ = true;
    std::string text(kLinkLostText);
    if (const std::string error = link_.errorText(); !error.empty()) text += ": " + error;
    messages_.show(MessageKind::Error, kDynoCaption, text);
}

bool K40Link::isInputNearlyFull() const {
    return link_.bytesWaiting() * 5 >= kK40InputBufferBytes * 4;
}

void K40Link::checkInputBufferFill() {
    const bool isNearlyFull = isInputNearlyFull();
    if (isNearlyFull && !isBufferFullShown_) {
        sequenceView_.showRemoteText(kSerialBufferFullText, Rgb::Yellow, Rgb::Red);
    }
    isBufferFullShown_ = isNearlyFull;
}

void K40Link::cancelPause() {
    if (timer_ != Clock::kNoTimer) clock_.cancel(timer_);
    timer_ = Clock::kNoTimer;
    continuation_ = Continuation::None;
    runEndOnTrial_.reset();
}

void K40Link::pause(std::int64_t ms, Continuation continuation) {
    continuation_ = continuation;
    timer_ = clock_.callAfter(ms, [this] { resume(); });
}

void K40Link::resume() {
    if (isDispatching_) {
        // A timer run by the nested event loop of a message box: go on once the
        // dispatch that shows the box is over.
        timer_ = clock_.callAfter(0, [this] { resume(); });
        return;
    }
    const Continuation continuation = continuation_;
    timer_ = Clock::kNoTimer;
    continuation_ = Continuation::None;
    isDispatching_ = true;
    if (continuation == Continuation::DataOkAfterWait ||
        continuation == Continuation::SessionEndAfterWait) {
        if (runEndOnTrial_ && isRunEndInDoubt()) {
            // More of the run's data came behind its "run complete": that code was
            // read from a shifted stream, and the transfer goes on.
            takeBackRunEnd();
            isDispatching_ = false;
            dispatchWaiting();
            return;
        }
        runEndOnTrial_.reset();
        if (isSettlePending_) settleDamagedRun();
    }
    switch (continuation) {
        case Continuation::StartShown: sequence_.showStarted(); break;
        case Continuation::DataOkAfterWait:
            sequence_.dataOkAfterWait();
            framer_.drain();
            // Re-arms the electronics for the rider's next press of the remote.
            send(K40Command::start(state_.testMode, state_.recording));
            break;
        case Continuation::SessionEndAfterWait:
            framer_.drain();
            finishSession();
            break;
        case Continuation::Weather:
        case Continuation::None: break;
    }
    isDispatching_ = false;
    if (!isPaused()) dispatchWaiting();
}

void K40Link::dispatchWaiting() {
    isDispatching_ = true;
    while (!isPaused()) {
        const std::int32_t lossesBefore = framer_.losses();
        const auto packet = framer_.next();
        if (framer_.losses() != lossesBefore) {
            isWeatherPart1Last_ = false;
            isWeatherPart1Seen_ = false;
            framingLostInTransfer();
        }
        if (!packet) break;
        dispatch(*packet);
    }
    isDispatching_ = false;
    // The next time the buffer fills up, the rider is told again.
    if (!isInputNearlyFull()) isBufferFullShown_ = false;
}

void K40Link::dispatch(const K40Packet& packet) {
    namespace code = k40code;
    const std::uint8_t c = packet.code();
    // The station's part 2 completes a reading only after its part 1: while the
    // framing may have been found at a wrong offset, only just after it, since the
    // pair read from shifted bytes is no reading of the station.
    const bool followsWeatherPart1 =
        framer_.hasLostSinceDrain() ? isWeatherPart1Last_ : isWeatherPart1Seen_;
    isWeatherPart1Last_ = false;
    if (c >= code::kAnalogSample1 && c <= code::kAnalogSample5) {
        if (takeSample(c)) storeAnalogSample(c - code::kAnalogSample1, packet.v10());
        return;
    }
    switch (c) {
        case code::kLiveChannel1: moveMarker(0, packet.v10()); break;
        case code::kLiveChannel2: moveMarker(1, packet.v10()); break;
        case code::kLiveSpeed: moveSpeedNeedle(packet.v32()); break;
        case code::kLiveRpm: moveRpmNeedle(packet.v32()); break;
        case code::kRollerSample:
            if (takeSample(c)) storeRollerSample(packet.v32());
            break;
        case code::kRpmSample:
            if (takeSample(c)) storeRpmSample(packet.v32());
            break;
        case code::kWeatherPart1:
            state_.weatherTempRaw = static_cast<std::int16_t>(packet.v10());
            state_.weatherBaroRaw = static_cast<std::int16_t>(packet.v10b());
            isWeatherPart1Last_ = true;
            isWeatherPart1Seen_ = true;
            break;
        case code::kWeatherPart2:
            if (!followsWeatherPart1) break;
            isWeatherPart1Seen_ = false;
            state_.weatherHumRaw = static_cast<std::int16_t>(packet.v10());
            applyStationReadings();
            break;
        case code::kRemoteEnd:
            if (isStopped_) break;
            if (isRecordingRun(state_.runIndex) && state_.testMode == TestMode::RevCounterCheck) {
                framer_.drain();
                finishSession();
            }
            break;
        case code::kTransferBegins:
            // A transfer is announced once; inside one, this code was read from the
            // run's data.
            if (isStopped_ || isTransferring_) break;
            // The electronics announce a transfer after the rider's run: without "run
            // started" before it, only samples framed right behind it make it one.
            if (!isRunStartedSeen_ && !framer_.framesSamplesAhead(0, true)) break;
            if (isRecordingRun(state_.runIndex)) {
                live_.drawNeedle(Dial::Rpm, state_.rpmNeedleOld, Rgb::Black);
                sequence_.transferringData();
                isTransferring_ = true;
                framer_.setTransferring(true);
                faults_.begin();
                hasBytesSinceSample_ = false;
                watchTransferSilence();
            }
            break;
        case code::kRunStarted:
            if (isStopped_ || isTransferring_) break;
            if (isRecordingRun(state_.runIndex)) {
                isRunStartedSeen_ = true;
                sequence_.testRunning();
            }
            break;
        case code::kRunComplete: handleRunComplete(); break;
        case code::kSampleSetting:
            state_.sampleSetting = static_cast<std::uint16_t>(packet.v16());
            status_.showSampleSetting(std::to_string(state_.sampleSetting));
            break;
        case code::kFirmwareVersion:
            if (packet.d1() == code::kFirmwareMark1 && packet.d2() == code::kFirmwareMark2) {
                showFirmwareVersion(packet);
            }
            break;
        default: break;
    }
}

bool K40Link::takeSample(std::uint8_t code) {
    if (isStopped_) return false;
    if (!isTransferring_) {
        // The electronics send samples only inside a transfer: this one was read from
        // the wrong bytes.
        framer_.loseAlignment();
        return false;
    }
    hasBytesSinceSample_ = false;
    watchTransferSilence();
    const K40SampleCounts counts{state_.rollerCount, state_.rpmCount, state_.analogCount};
    return faults_.takeSample(code, counts);
}

void K40Link::framingLostInTransfer() {
    if (!isTransferring_ || !isRecordingRun(state_.runIndex)) return;
    const K40SampleCounts back = faults_.faultFound();
    eraseSamplesFrom(back);
    state_.rollerCount = back.roller;
    state_.rpmCount = back.rpm;
    state_.analogCount = back.analog;
    // The period a new offset is measured against is one stored before the fault.
    framer_.setRollerPeriodInForce(
        back.roller > 0
            ? static_cast<std::uint32_t>(
                  model_.slot(1).rollerPeriods[sampleIndex(state_.runIndex, back.roller - 1)])
            : 0);
}

void K40Link::eraseSamplesFrom(const K40SampleCounts& counts) {
    TestRun run = model_.slot(1).run(state_.runIndex);
    const auto eraseFrom = [](auto samples, std::int16_t from, std::int16_t to) {
        for (std::int16_t i = from; i < to; ++i) samples[static_cast<std::size_t>(i)] = 0;
    };
    eraseFrom(run.rollerPeriods, counts.roller, state_.rollerCount);
    eraseFrom(run.rpmSamples, counts.rpm, state_.rpmCount);
    for (std::size_t ch = 0; ch < counts.analog.size(); ++ch) {
        eraseFrom(run.analogSamples[ch], counts.analog[ch], state_.analogCount[ch]);
    }
}

void K40Link::handleRunComplete() {
    if (isStopped_) return;
    // In a test the electronics close a run only after its transfer: outside one the
    // code was read from a stray byte or live values. A rev counter check has none.
    if (!isTransferring_ && state_.testMode != TestMode::RevCounterCheck) return;
    if (isTransferring_ && isRunEndInDoubt()) {
        // Samples behind "run complete", or codes the electronics never send: the code
        // was read from a shifted stream and the run goes on.
        framer_.loseAlignmentAfterRunEnd();
        framingLostInTransfer();
        return;
    }
    endOfRun(RunEnd::Closed);
}

bool K40Link::isRunEndInDoubt() {
    // The code on trial, once its wait began, or the one just read.
    const std::int16_t runIndex = runEndOnTrial_ ? runEndOnTrial_->runIndex : state_.runIndex;
    const std::int16_t rollers =
        runEndOnTrial_ ? runEndOnTrial_->counts.roller : state_.rollerCount;
    std::uint32_t period = 0;
    if (rollers > 0 && isRecordingRun(runIndex)) {
        period = static_cast<std::uint32_t>(
            model_.slot(1).rollerPeriods[sampleIndex(runIndex, rollers - 1)]);
    }
    return framer_.framesSamplesAhead(period);
}

void K40Link::takeBackRunEnd() {
    const RunEndOnTrial trial = *runEndOnTrial_;
    runEndOnTrial_.reset();
    isSettlePending_ = false;
    isRunStartedSeen_ = true;
    state_.runIndex = trial.runIndex;
    state_.rollerCount = trial.counts.roller;
    state_.rpmCount = trial.counts.rpm;
    state_.analogCount = trial.counts.analog;
    isTransferring_ = true;
    framer_.setTransferring(true);
    if (state_.rollerCount > 0 && isRecordingRun(state_.runIndex)) {
        framer_.setRollerPeriodInForce(static_cast<std::uint32_t>(
            model_.slot(1).rollerPeriods[sampleIndex(state_.runIndex, state_.rollerCount - 1)]));
    }
    sequence_.transferringData();
    hasBytesSinceSample_ = false;
    watchTransferSilence();
    framer_.loseAlignmentAfterRunEnd();
    framingLostInTransfer();
}

void K40Link::settleDamagedRun() {
    isSettlePending_ = false;
    const int runIndex = state_.runIndex - 1;
    if (!isRecordingRun(static_cast<std::int16_t>(runIndex))) return;
    ++damagedRuns_;
    const bool isKept = faults_.isRunTrusted() && model_.slot(1).leadingPeriods(runIndex) > 0;
    if (!isKept) {
        TestRun run = model_.slot(1).run(runIndex);
        std::ranges::fill(run.rollerPeriods, 0);
        std::ranges::fill(run.rpmSamples, 0);
        for (auto& channel : run.analogSamples) std::ranges::fill(channel, 0);
    }
    messages_.show(MessageKind::Warning, kDynoCaption,
                   damagedRunText(runIndex + 1, faults_.faults(), isKept));
}

void K40Link::storeAnalogSample(int channel, std::uint32_t value) {
    auto& count = state_.analogCount[static_cast<std::size_t>(channel)];
    if (!isRecordingRun(state_.runIndex) || count >= kSamplesPerRun) return;
    auto& samples = model_.slot(1).analogSamples[static_cast<std::size_t>(state_.runIndex)];
    samples[static_cast<std::size_t>(channel)][static_cast<std::size_t>(count)] =
        static_cast<std::uint16_t>(value);
    ++count;
}

void K40Link::storeRollerSample(std::uint32_t period) {
    if (!isRecordingRun(state_.runIndex) || state_.rollerCount >= kSamplesPerRun) return;
    framer_.setRollerPeriodInForce(period);
    model_.slot(1).rollerPeriods[sampleIndex(state_.runIndex, state_.rollerCount)] =
        static_cast<std::int32_t>(period);
    ++state_.rollerCount;
}

void K40Link::storeRpmSample(std::uint32_t period) {
    if (!isRecordingRun(state_.runIndex) || state_.rpmCount >= kSamplesPerRun) return;
    const std::uint32_t rpm = static_cast<std::uint32_t>(dial_.rpmSampleConstant) / period;
    model_.slot(1).rpmSamples[sampleIndex(state_.runIndex, state_.rpmCount)] =
        static_cast<std::int32_t>(rpm);
    ++state_.rpmCount;
}

void K40Link::moveMarker(int channel, std::uint32_t value) {
    std::int32_t position =
        static_cast<std::int32_t>(value * kMarkerScaleNumerator / kMarkerScaleDenominator);
    if (position > kLargestMarkerPosition) position = kLargestMarkerPosition;
    auto& old = state_.barMarker[static_cast<std::size_t>(channel)];
    live_.moveK40Marker(channel + 1, old, position);
    old = position;
}

void K40Link::moveSpeedNeedle(std::uint32_t period) {
    const double quotient = dial_.speedDialConstant / period;
    // Truncated toward zero; anything off the dial (and a NaN) shows at rest.
    const bool isOnDial = quotient > -1.0 && quotient < kLargestNeedlePosition + 1.0;
    state_.speedNeedle = isOnDial ? static_cast<std::int16_t>(quotient) : 0;
    live_.drawNeedle(Dial::Speed, state_.speedNeedleOld, Rgb::Black);
    live_.drawNeedle(Dial::Speed, state_.speedNeedle, Rgb::Yellow);
    state_.speedNeedleOld = state_.speedNeedle;
}

void K40Link::moveRpmNeedle(std::uint32_t period) {
    const std::uint32_t quotient = static_cast<std::uint32_t>(dial_.rpmDialConstant) / period;
    state_.rpmNeedle = quotient <= kLargestNeedlePosition ? static_cast<std::int16_t>(quotient) : 0;
    live_.drawNeedle(Dial::Rpm, state_.rpmNeedleOld, Rgb::Black);
    live_.drawNeedle(Dial::Rpm, state_.rpmNeedle, Rgb::Yellow);
    state_.rpmNeedleOld = state_.rpmNeedle;
}

void K40Link::showFirmwareVersion(const K40Packet& packet) {
    // The version bytes are signed.
    status_.showFirmwareVersion(std::to_string(static_cast<std::int8_t>(packet.d3())),
                                std::to_string(static_cast<std::int8_t>(packet.d4())));
    state_.firmwareSeen = true;
}

void K40Link::applyStationReadings() {
    TestSession& slot1 = model_.slot(1);
    const WeatherStationReading reading{state_.weatherTempRaw, state_.weatherBaroRaw,
                                        state_.weatherHumRaw};
    const K40WeatherSetup weather = weatherSource_ ? weatherSource_() : weather_;
    const StationCorrection station =
        correctionFromStationK40(reading, weather.constants, {weather.units, weather.standard});
    status_.showStationValues(station.displayTexts);
    applyCorrection(station.correction, CorrectionTarget::StationCorrection, slot1, messages_);
    status_.showCorrectionFactor(station.correction.correctionText);

    // The factor of the session comes from the boxes just filled, rounded as shown.
    const CorrectionPageEntries entries{
        station.displayTexts.humidity, station.displayTexts.temperature,
        station.displayTexts.pressure, weather.units, weather.standard};
    const CorrectionResult page = correctionFromPage(entries);
    applyCorrection(page, CorrectionTarget::CorrectionFactor, slot1, messages_);
    status_.showCorrectionFactor(page.correctionText);
}

int K40Link::keepRunsReceived() {
    // A run end still in its wait counts as received, unless more of the run's data
    // came behind it; a damaged one gets its verdict. The wait is cancelled first: its
    // timer must not go on, re-arming the electronics, while the verdict is shown.
    const std::optional<RunEndOnTrial> trial = runEndOnTrial_;
    const bool isTrialInDoubt = trial && isRunEndInDoubt();
    cancelPause();
    stopTransferWatch();
    if (isTrialInDoubt) {
        // The code was read from shifted bytes: the run was cut off, not received.
        state_.runIndex = trial->runIndex;
        isSettlePending_ = false;
    } else if (isSettlePending_) {
        settleDamagedRun();
    }
    const int received = std::clamp<int>(state_.runIndex, 0, kRunsPerSession);
    TestSession& slot1 = model_.slot(1);
    for (int r = received; r < kRunsPerSession; ++r) {
        TestRun run = slot1.run(r);
        std::ranges::fill(run.rollerPeriods, 0);
        std::ranges::fill(run.rpmSamples, 0);
        for (auto& channel : run.analogSamples) std::ranges::fill(channel, 0);
    }
    sequence_.stampEndedSession(received);
    int kept = 0;
    for (int r = 0; r < received; ++r) {
        if (slot1.leadingPeriods(r) > 0) ++kept;
    }
    return kept;
}

bool K40Link::stopSession() {
    if (!isSessionRunning_) return false;
    const bool isCheck = state_.rpmCheckOnly;
    int kept = 0;
    if (isCheck) {
        cancelPause();
        stopTransferWatch();
    } else {
        kept = keepRunsReceived();
    }
    isStopped_ = true;
    sequence_.sessionStopped();
    endSessionActivity();
    lastOutcome_ = SessionOutcome{SessionOutcome::Kind::Stopped, kept,
                                  stoppedSessionText(isCheck, kept), std::nullopt};
    messages_.show(MessageKind::Warning, kDynoCaption, lastOutcome_->message);
    return true;
}

void K40Link::finishSession() {
    sequence_.sessionFinished();
    endSessionActivity();
    lastOutcome_ = SessionOutcome{SessionOutcome::Kind::Finished,
                                  state_.rpmCheckOnly ? 0 : kRunsPerSession,
                                  {},
                                  std::nullopt};
}

void K40Link::endSessionActivity() {
    if (!isSessionRunning_) return;
    isSessionRunning_ = false;
    status_.showSessionRunning(false);
}

void K40Link::awaitAnswer(std::string_view portName) {
    // A new command is a new try: an earlier warning stands until it is answered or
    // the new wait runs out too.
    if (answerTimer_ != Clock::kNoTimer) clock_.cancel(answerTimer_);
    answerTimer_ = clock_.callAfter(kAnswerAwaitedMs, [this, port = std::string(portName)] {
        answerTimer_ = Clock::kNoTimer;
        isNoAnswerShown_ = true;
        status_.showNoAnswer(port);
    });
}

void K40Link::answerArrived() {
    forgetAnswer();
    hasAnswered_ = true;
}

void K40Link::forgetAnswer() {
    if (answerTimer_ != Clock::kNoTimer) clock_.cancel(answerTimer_);
    answerTimer_ = Clock::kNoTimer;
    hasAnswered_ = false;
    if (isNoAnswerShown_) {
        isNoAnswerShown_ = false;
        status_.showNoAnswer({});
    }
}

void K40Link::watchTransferSilence() {
    // Called for every sample: the deadline moves, and the one timer armed looks at
    // it when it runs, instead of a timer made and cancelled a thousand times a second.
    silenceDeadlineMs_ = clock_.nowMs() + kTransferSilenceMs;
    if (silenceTimer_ == Clock::kNoTimer) armSilenceTimer(kTransferSilenceMs);
}

void K40Link::armSilenceTimer(std::int64_t delayMs) {
    silenceTimer_ = clock_.callAfter(delayMs, [this] {
        silenceTimer_ = Clock::kNoTimer;
        const std::int64_t left = silenceDeadlineMs_ - clock_.nowMs();
        if (left > 0) {
            armSilenceTimer(left);
        } else {
            transferStalled();
        }
    });
}

void K40Link::stopTransferWatch() {
    if (silenceTimer_ != Clock::kNoTimer) clock_.cancel(silenceTimer_);
    silenceTimer_ = Clock::kNoTimer;
    isTransferring_ = false;
    framer_.setTransferring(false);
}

void K40Link::transferStalled() {
    if (isDispatching_ || isPaused()) {
        // A message box of the dispatch is open, or a wait runs: look again later.
        watchTransferSilence();
        return;
    }
    // The framing was lost near the end of the run and the line went quiet: the bytes
    // held may still close the run.
    if (!framer_.isAligned() && framer_.realignOnQuietLine()) {
        dispatchWaiting();
        if (!isTransferring_) return;
    }
    isDispatching_ = true;
    // A fault took the closing code with it, and the electronics have gone on to
    // their live packets: the run is over and is judged as a damaged one.
    const bool isOverUnseen = faults_.hasFaults() && hasBytesSinceSample_ &&
                              (framer_.isAligned() || framer_.hasPassedLivePackets());
    if (isOverUnseen) {
        endOfRun(RunEnd::Unclosed);
    } else {
        discardDamagedRun(!hasBytesSinceSample_);
        endOfRun(RunEnd::Stalled);
    }
    isDispatching_ = false;
    if (!isPaused()) dispatchWaiting();
}

void K40Link::discardDamagedRun(bool isSilent) {
    if (!isRecordingRun(state_.runIndex)) return;
    TestRun run = model_.slot(1).run(state_.runIndex);
    std::fill(run.rollerPeriods.begin(), run.rollerPeriods.end(), 0);
    std::fill(run.rpmSamples.begin(), run.rpmSamples.end(), 0);
    for (auto& channel : run.analogSamples) std::fill(channel.begin(), channel.end(), 0);
    ++damagedRuns_;
    messages_.show(MessageKind::Warning, kDynoCaption,
                   stalledTransferText(state_.runIndex + 1, isSilent));
}

void K40Link::endOfRun(RunEnd how) {
    isRunStartedSeen_ = false;
    const bool closesTransfer = isTransferring_ && how == RunEnd::Closed;
    isSettlePending_ = isTransferring_ && how != RunEnd::Stalled && faults_.hasFaults();
    stopTransferWatch();
    if (closesTransfer) {
        // The drain waits for the end of the pause: what comes behind the code until
        // then shows whether it really closed the run.
        runEndOnTrial_ =
            RunEndOnTrial{state_.runIndex,
                          K40SampleCounts{state_.rollerCount, state_.rpmCount, state_.analogCount}};
    } else {
        framer_.drain();
    }
    if (state_.runIndex < std::numeric_limits<std::int16_t>::max()) ++state_.runIndex;
    state_.resetCounters();
    if (isRecordingRun(state_.runIndex) && !state_.rpmCheckOnly) {
        if (how == RunEnd::Stalled) {
            sequence_.runDiscardedBeforeWait(state_.runIndex);  // the run number, 1-based
        } else {
            sequence_.dataOkBeforeWait();
        }
        pause(kDataOkPauseMs, Continuation::DataOkAfterWait);
    } else {
        pause(kDataOkPauseMs, Continuation::SessionEndAfterWait);
    }
}

}  // namespace dyno
