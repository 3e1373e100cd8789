#include "liveview/LiveFeed.h"

#include <chrono>
#include <string>
#include <utility>

namespace dyno {

namespace {

std::int64_t systemClockMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

LiveFeed::LiveFeed() : wallClock_(systemClockMs) {}

void LiveFeed::changed() {
    ++readings_.revision;
    readings_.changedAtMs = wallClock_();
    if (!hasUnsentChange_) readings_.firstUnsentChangeAtMs = readings_.changedAtMs;
    hasUnsentChange_ = true;
}

void LiveFeed::showNeedle(Dial dial, int position) {
    const std::scoped_lock lock(mutex_);
    (dial == Dial::Speed ? readings_.speedPosition : readings_.rpmPosition) = position;
    changed();
}

void LiveFeed::showInstruction(std::string_view text, Rgb shadow, Rgb font) {
    const std::scoped_lock lock(mutex_);
    readings_.instruction = std::string(text);
    readings_.shadow = shadow;
    readings_.font = font;
    changed();
}

void LiveFeed::showInstructionInLastColours(std::string_view text) {
    const std::scoped_lock lock(mutex_);
    readings_.instruction = std::string(text);
    changed();
}

void LiveFeed::showRunNumber(int runNumber) {
    const std::scoped_lock lock(mutex_);
    readings_.runNumber = runNumber;
    changed();
}

void LiveFeed::setSpeedNeedleInMph(bool isInMph) {
    const std::scoped_lock lock(mutex_);
    readings_.isSpeedNeedleInMph = isInMph;
    changed();
}

void LiveFeed::runsArrived(ArrivedRuns runs) {
    const std::scoped_lock lock(mutex_);
    runs.revision = runs_.revision + 1;
    runs_ = std::move(runs);
}

LiveReadings LiveFeed::readings() const {
    const std::scoped_lock lock(mutex_);
    return readings_;
}

LiveReadings LiveFeed::takeReadings() {
    const std::scoped_lock lock(mutex_);
    hasUnsentChange_ = false;
    return readings_;
}

ArrivedRuns LiveFeed::arrivedRuns() const {
    const std::scoped_lock lock(mutex_);
    return runs_;
}

}  // namespace dyno
