#include "acquisition/card/CardSequence.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "acquisition/FixedGearingRatio.h"
#include "evaluation/CorrectionApply.h"
#include "model/Units.h"

namespace dyno {

namespace {

constexpr int kLargestNeedlePosition = 320;
// A run ends when the speed needle falls below 13 after it has passed 26.
constexpr int kPassedPosition = 26;
constexpr int kEndPosition = 13;
constexpr int kLastPairStart = kSamplesPerRun - 1;
// The clock is looked at every so many polls; a poll is one port access.
constexpr unsigned kPollsPerTimeCheck = 64;
constexpr std::int64_t kSleepSliceMs = 20;

// How long the roller may stand still in a run past 26 before the run ends by
// speed: twice the period that puts the needle at 13. Both periods of the pair in
// progress run at least from the last roller edge to the next; when the rising one
// is over already, the falling one alone must make the pair's average longer than
// that period, and at twice its length it does.
std::int64_t standstillUsOf(double needleSpeedConstant) {
    const double endPeriodTicks = needleSpeedConstant / kEndPosition;
    return static_cast<std::int64_t>(std::ceil(2.0 * endPeriodTicks / kCardClockRate * 1e6));
}

std::size_t sampleAt(int run, int i) {
    return static_cast<std::size_t>(run) * kSamplesPerRun + static_cast<std::size_t>(i);
}

// The card's marker offset of a raw reading, as the Speed page draws it.
int markerOffsetOf(int rawValue, const ChannelSettings& settings) {
    return cardMarkerOffset(scaleCardChannel(rawValue, settings));
}

}  // namespace

CardOutcome CardSequence::run(const CardStart& start) {
    start_ = start;
    CardAccess access(seams_.bus, start.cardBase, start.settleDelaySteps);
    access_ = &access;
    completedRuns_ = 0;
    runInProgress_ = -1;
    patience_ = EdgePatience::TimeLimit;
    station_.reset();
    markerOffsets_ = {};
    rpmPosition_ = 0;

    needleSpeedConstant_ = start.session.speedDialConstant;
    if (start.speedInMph) needleSpeedConstant_ *= kMphPerKmh;
    standstillUs_ = standstillUsOf(needleSpeedConstant_);
    slot1_.clearForRecording();
    seams_.view.showDigit(0);

    CardOutcome outcome;
    try {
        access.initialise();
        seams_.live.drawNeedle(Dial::Speed, 0, Rgb::Yellow);
        seams_.live.drawNeedle(Dial::Rpm, 0, Rgb::Yellow);
        if (start.isRevCounterCheck) {
            revCounterCheck();
        } else {
            test();
        }
    } catch (const Abandon& abandon) {
        outcome.kind = abandon.kind;
        outcome.message = messageOf(abandon);
        if (!start.isRevCounterCheck) {
            clearRunInProgress();
            if (completedRuns_ > 0) keepCompletedRuns();
        }
        seams_.view.showRemoteText(kTestStoppedText, Rgb::Yellow, Rgb::Red);
    }
    outcome.completedRuns = completedRuns_;
    outcome.station = station_;
    access_ = nullptr;
    return outcome;
}

std::string CardSequence::messageOf(const Abandon& abandon) const {
    std::string what =
        start_.isRevCounterCheck ? "The rev counter check was stopped" : "The test was stopped";
    if (abandon.kind == CardOutcome::Kind::NoSignal) {
        const char* signal = abandon.signal == Signal::Roller     ? "roller"
                             : abandon.signal == Signal::Ignition ? "ignition"
                                                                  : "roller or ignition";
        const double seconds = static_cast<double>(start_.edgeTimeoutMs) / 1000.0;
        char head[96];
        std::snprintf(head, sizeof head, "No %s signal from the dyno for %g s. ", signal, seconds);
        what = head + what;
    }
    if (!start_.isRevCounterCheck) {
        what += "; " + std::to_string(completedRuns_) +
                (completedRuns_ == 1 ? " completed run kept" : " completed runs kept");
    }
    return what + ".";
}

template <typename IsDone>
std::uint8_t CardSequence::pollUntil(IsDone isDone, Signal signal) {
    const bool isTimed = signal != Signal::None && patience_ != EdgePatience::UntilStop;
    const std::int64_t startUs = isTimed ? seams_.timing.nowUs() : 0;
    const std::int64_t limitUs = start_.edgeTimeoutMs * 1000;
    for (unsigned polls = 1;; ++polls) {
        const std::uint8_t status = access_->status();
        if (isDone(status)) return status;
        if (isStopRequested()) throw Abandon{CardOutcome::Kind::Stopped, signal};
        if (!isTimed || polls % kPollsPerTimeCheck != 0) continue;
        const std::int64_t nowUs = seams_.timing.nowUs();
        if (patience_ == EdgePatience::UntilStandstill &&
            nowUs - lastRollerEdgeUs_ >= standstillUs_) {
            throw RollerStandstill{};
        }
        if (nowUs - startUs >= limitUs) throw Abandon{CardOutcome::Kind::NoSignal, signal};
    }
}

void CardSequence::waitRemotePressed() {
    const std::uint8_t mask = start_.remoteButtonMask;
    pollUntil([mask](std::uint8_t s) { return isRemotePressed(s, mask); }, Signal::None);
}

void CardSequence::sleep(std::int64_t ms) {
    for (std::int64_t left = ms; left > 0; left -= kSleepSliceMs) {
        if (isStopRequested()) throw Abandon{CardOutcome::Kind::Stopped, Signal::None};
        seams_.timing.sleepMs(std::min(left, kSleepSliceMs));
    }
}

namespace {

bool isRollerHigh(std::uint8_t status) {
    return (status & cardport::kRollerBit) != 0;
}
bool isIgnitionHigh(std::uint8_t status) {
    return (status & cardport::kIgnitionBit) != 0;
}

}  // namespace

void CardSequence::armRollerCounters() {
    pollUntil(isRollerHigh, Signal::Roller);
    access_->reload(cardport::kRollerRising);
    markRollerEdge();
    pollUntil([](std::uint8_t s) { return !isRollerHigh(s); }, Signal::Roller);
    access_->reload(cardport::kRollerFalling);
    markRollerEdge();
}

std::uint32_t CardSequence::rollerRisingRead() {
    pollUntil(isRollerHigh, Signal::Roller);
    const std::uint32_t elapsed = access_->readHighFirst(cardport::kRollerRising);
    access_->reload(cardport::kRollerRising);
    markRollerEdge();
    return elapsed;
}

void CardSequence::measureIgnitionInHighPhase() {
    // Each wait also ends when the roller goes low: the ignition is measured only
    // while the roller's high phase lasts.
    const auto ends = [](bool ignitionHigh) {
        return [ignitionHigh](std::uint8_t s) {
            return !isRollerHigh(s) || isIgnitionHigh(s) == ignitionHigh;
        };
    };
    if (!isRollerHigh(pollUntil(ends(false), Signal::RollerOrIgnition))) return;
    access_->reload(cardport::kIgnition);
    if (!isRollerHigh(pollUntil(ends(true), Signal::RollerOrIgnition))) return;
    if (!isRollerHigh(pollUntil(ends(false), Signal::RollerOrIgnition))) return;
    ignitionPeriod_ = access_->readLowFirst(cardport::kIgnition);
}

std::uint32_t CardSequence::rollerFallingRead() {
    if (start_.rpm.rpmRegistration == 1) measureIgnitionInHighPhase();
    pollUntil([](std::uint8_t s) { return !isRollerHigh(s); }, Signal::Roller);
    const std::uint32_t elapsed = access_->readHighFirst(cardport::kRollerFalling);
    access_->reload(cardport::kRollerFalling);
    markRollerEdge();
    return elapsed;
}

void CardSequence::ignitionOnlyRead() {
    const auto ignitionLow = [](std::uint8_t s) { return !isIgnitionHigh(s); };
    pollUntil(isIgnitionHigh, Signal::Ignition);
    pollUntil(ignitionLow, Signal::Ignition);
    access_->reload(cardport::kIgnition);
    pollUntil(isIgnitionHigh, Signal::Ignition);
    pollUntil(ignitionLow, Signal::Ignition);
    ignitionPeriod_ = access_->readLowFirst(cardport::kIgnition);
}

void CardSequence::moveMarker(int channel, int rawValue) {
    const auto at = static_cast<std::size_t>(channel - 1);
    const int offset = markerOffsetOf(rawValue, start_.channelSettings[at]);
    seams_.markers.moveCardMarker(channel, markerOffsets_[at], offset);
    markerOffsets_[at] = offset;
}

void CardSequence::revCounterCheck() {
    // The label keeps the colours it was last given, by a test or by another check.
    seams_.view.showRemoteTextInLastColours(kPressRemoteToEndCheckText);
    ignitionPeriod_ = 1;
    std::int32_t position = 0;
    const auto dial = static_cast<std::uint32_t>(start_.rpm.rpmDialConstant);
    for (;;) {
        seams_.live.drawNeedle(Dial::Rpm, position, Rgb::Yellow);
        ignitionOnlyRead();
        if (start_.channels[0]) moveMarker(1, access_->readInput(cardport::kAdFirstChannel));
        if (start_.channels[1]) moveMarker(2, access_->readInput(cardport::kAdFirstChannel + 1));
        seams_.live.drawNeedle(Dial::Rpm, position, Rgb::Black);
        const std::uint32_t quotient = ignitionPeriod_ == 0 ? dial : dial / ignitionPeriod_;
        position = quotient <= kLargestNeedlePosition ? static_cast<std::int32_t>(quotient) : 0;
        if (isRemotePressed(access_->status(), start_.remoteButtonMask)) break;
    }
    seams_.view.showRemoteTextInLastColours(kRpmTestFinishedText);
}

void CardSequence::test() {
    seams_.view.showRemoteText(kPressRemoteText, Rgb::Yellow, Rgb::Lime);
    waitRemotePressed();
    // The rider may press before the roller turns.
    patience_ = EdgePatience::UntilStop;
    armRollerCounters();
    rollerRisingRead();
    rollerFallingRead();
    sleep(start_.remoteButtonDelayMs);
    for (int run = 0; run < kRunsPerSession; ++run) {
        recordRun(run);
        if (run < kRunsPerSession - 1) {
            sleep(start_.remoteButtonDelayMs);
            sleep(start_.remoteButtonDelayMs);
            seams_.view.showRemoteText(kPressRemoteForNextText, Rgb::Yellow, Rgb::Lime);
            waitRemotePressed();
            sleep(start_.remoteButtonDelayMs);
        }
    }
    finishSession();
}

void CardSequence::recordRun(int run) {
    beginRun(run);
    RunProgress progress;
    for (;;) {
        const std::optional<std::uint32_t> averagePeriod = readRollerPair(run, progress);
        if (!averagePeriod) break;
        if (start_.rpm.rpmRegistration == 1) recordRpm(run, progress.sample);
        recordChannels(run, progress.sample);
        if (hasRunEndedBySpeed(*averagePeriod, progress)) break;
        ++progress.sample;
        if (progress.sample >= kLastPairStart) break;
    }
    endRun(run);
}

void CardSequence::beginRun(int run) {
    seams_.view.showRemoteText(kTestRunningText, Rgb::Yellow, Rgb::Red);
    seams_.view.showDigit(run + 1);
    runInProgress_ = run;
    // The counters last reloaded before the rider's pause: their first pair would
    // time the pause, not a revolution, and spike the run's acceleration. Armed
    // again here, the first pair is one revolution like every other. The rider may
    // set off only now, from a roller that stands still.
    patience_ = EdgePatience::UntilStop;
    armRollerCounters();
    patience_ = EdgePatience::TimeLimit;
    rpmPosition_ = 0;
    ignitionPeriod_ = 1;
}

std::optional<std::uint32_t> CardSequence::readRollerPair(int run, RunProgress& progress) {
    const auto speedPosition = static_cast<int>(progress.speedPosition);
    seams_.live.drawNeedle(Dial::Speed, speedPosition, Rgb::Yellow);
    seams_.live.drawNeedle(Dial::Rpm, rpmPosition_, Rgb::Yellow);
    const int pairStart = progress.sample;
    std::uint32_t rising = 0;
    std::uint32_t falling = 0;
    try {
        rising = rollerRisingRead();
        slot1_.rollerPeriods[sampleAt(run, progress.sample)] = static_cast<std::int32_t>(rising);
        ++progress.sample;
        falling = rollerFallingRead();
        slot1_.rollerPeriods[sampleAt(run, progress.sample)] = static_cast<std::int32_t>(falling);
    } catch (const RollerStandstill&) {
        // The run ends by speed with the pairs it holds; the unfinished pair goes.
        slot1_.rollerPeriods[sampleAt(run, pairStart)] = 0;
        seams_.live.drawNeedle(Dial::Speed, speedPosition, Rgb::Black);
        return std::nullopt;
    }
    seams_.live.drawNeedle(Dial::Speed, speedPosition, Rgb::Black);
    // Unsigned 32-bit, as the counts are: the sum of two long periods wraps.
    return (rising + falling) / 2;
}

void CardSequence::recordRpm(int run, int sample) {
    const auto dial = static_cast<std::uint32_t>(start_.rpm.rpmDialConstant);
    const auto sampleConstant = static_cast<std::uint32_t>(start_.rpm.rpmSampleConstant);
    seams_.live.drawNeedle(Dial::Rpm, rpmPosition_, Rgb::Black);
    std::uint32_t period = ignitionPeriod_ == 0 ? 1 : ignitionPeriod_;
    // The needle position is a 16-bit number.
    rpmPosition_ = static_cast<std::int16_t>(dial / period);
    if (rpmPosition_ < 0) {
        rpmPosition_ = 0;
        period = dial;
    }
    if (rpmPosition_ > kLargestNeedlePosition) {
        period = dial / kLargestNeedlePosition;
        rpmPosition_ = kLargestNeedlePosition;
    }
    const auto rpm = static_cast<std::int32_t>(period == 0 ? 0 : sampleConstant / period);
    slot1_.rpmSamples[sampleAt(run, sample - 1)] = rpm;
    slot1_.rpmSamples[sampleAt(run, sample)] = rpm;
}

void CardSequence::recordChannels(int run, int sample) {
    auto& analog = slot1_.analogSamples[static_cast<std::size_t>(run)];
    for (int k = 1; k <= kAnalogChannels; ++k) {
        if (!start_.channels[static_cast<std::size_t>(k - 1)]) continue;
        const int value = access_->readInput(k + 2);
        auto& channel = analog[static_cast<std::size_t>(k - 1)];
        channel[static_cast<std::size_t>(sample - 1)] = static_cast<std::uint16_t>(value);
        channel[static_cast<std::size_t>(sample)] = static_cast<std::uint16_t>(value);
        if (k <= 2) moveMarker(k, value);
    }
}

bool CardSequence::hasRunEndedBySpeed(std::uint32_t averagePeriod, RunProgress& progress) {
    if (averagePeriod == 0) averagePeriod = 1;
    progress.speedPosition = static_cast<std::int64_t>(needleSpeedConstant_ / averagePeriod);

    if (isRemotePressed(access_->status(), start_.remoteButtonMask)) return true;
    if (!progress.hasPassed26 && progress.speedPosition > kPassedPosition) {
        progress.hasPassed26 = true;
        patience_ = EdgePatience::UntilStandstill;
    }
    if (progress.speedPosition < kEndPosition && progress.hasPassed26) return true;
    if (progress.speedPosition < 0 || progress.speedPosition > kLargestNeedlePosition) {
        progress.speedPosition = 0;
    }
    return false;
}

void CardSequence::endRun(int run) {
    patience_ = EdgePatience::TimeLimit;
    runInProgress_ = -1;
    completedRuns_ = run + 1;
    if (start_.session.gearbox == GearboxType::FixedGearing) {
        storeFixedGearingRatio(slot1_, run, start_.session.speedDialConstant);
    }
}

void CardSequence::finishSession() {
    // The colours of "Test running" stay.
    seams_.view.showRemoteText(kSessionFinishedText, Rgb::Yellow, Rgb::Red);
    keepCompletedRuns();
}

void CardSequence::keepCompletedRuns() {
    stampSessionSetup(slot1_, start_.session);
    station_ = cardStationReadout(seams_.bus, start_.weather);
    applyCorrection(station_ ? station_->correction : factorOne(),
                    CorrectionTarget::StationCorrection, slot1_, seams_.messages);
}

void CardSequence::clearRunInProgress() {
    if (runInProgress_ < 0) return;
    // An interrupted run would evaluate as a short, misleading curve.
    auto run = slot1_.run(runInProgress_);
    std::fill(run.rollerPeriods.begin(), run.rollerPeriods.end(), 0);
    std::fill(run.rpmSamples.begin(), run.rpmSamples.end(), 0);
    runInProgress_ = -1;
}

}  // namespace dyno
