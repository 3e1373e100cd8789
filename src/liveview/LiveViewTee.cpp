#include "liveview/LiveViewTee.h"

#include <memory>

#include "acquisition/RiderTexts.h"
#include "acquisition/card/CardSequence.h"
#include "acquisition/k40/K40TestSequence.h"
#include "liveview/LiveFeed.h"
#include "model/SessionLayout.h"

namespace dyno {

void LiveViewTee::beginSession(const SessionSetup& setup, bool isRevCounterCheck,
                               bool isSpeedNeedleInMph) {
    setup_ = setup;
    isRevCounterCheck_ = isRevCounterCheck;
    runNumber_ = 0;
    runsArrived_ = 0;
    if (LiveFeed* feed = feed_.load()) {
        feed->setSpeedNeedleInMph(isSpeedNeedleInMph);
        feed->runsArrived({});
    }
}

void LiveViewTee::showRemoteText(std::string_view text, Rgb shadow, Rgb font) {
    sequence_.showRemoteText(text, shadow, font);
    if (LiveFeed* feed = feed_.load()) {
        feed->showInstruction(text, shadow, font);
        noticeRunsArrived(*feed, text);
    }
}

void LiveViewTee::showRemoteTextInLastColours(std::string_view text) {
    sequence_.showRemoteTextInLastColours(text);
    if (LiveFeed* feed = feed_.load()) {
        feed->showInstructionInLastColours(text);
        noticeRunsArrived(*feed, text);
    }
}

void LiveViewTee::showDigit(int digit) {
    sequence_.showDigit(digit);
    runNumber_ = digit;
    if (LiveFeed* feed = feed_.load()) feed->showRunNumber(digit);
}

void LiveViewTee::drawNeedle(Dial dial, int position, Rgb colour) {
    live_.drawNeedle(dial, position, colour);
    // Black only erases the needle where it was; the drawn one is where it is now.
    if (colour == Rgb::Black) return;
    if (LiveFeed* feed = feed_.load()) feed->showNeedle(dial, position);
}

void LiveViewTee::moveK40Marker(int channel, int oldPosition, int position) {
    live_.moveK40Marker(channel, oldPosition, position);
}

void LiveViewTee::sessionEnded(int runsKept) {
    LiveFeed* feed = feed_.load();
    if (feed == nullptr || isRevCounterCheck_ || runsKept <= 0) return;
    runsArrived_ = runsKept;
    feed->runsArrived({std::make_shared<TestSession>(slot1_), runsKept, true, 0});
}

void LiveViewTee::noticeRunsArrived(LiveFeed& feed, std::string_view text) {
    if (isRevCounterCheck_) return;
    int runs = runsArrived_;
    bool isOver = false;
    if (text == kDataOkText || text == kPressRemoteForNextText) {
        // The run number still shows the run just transferred.
        runs = runNumber_;
    } else if (text == kSessionFinishedText) {
        runs = kRunsPerSession;
        isOver = true;
    } else if (text == kTestStoppedText || text == kK40TestStoppedText) {
        isOver = true;
    } else {
        return;
    }
    runsArrived_ = runs;
    auto copy = std::make_shared<TestSession>(slot1_);
    stampSessionSetup(*copy, setup_);
    feed.runsArrived({std::move(copy), runs, isOver, 0});
}

}  // namespace dyno
