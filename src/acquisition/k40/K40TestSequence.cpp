#include "acquisition/k40/K40TestSequence.h"

#include <string>

#include "acquisition/FixedGearingRatio.h"
#include "model/SessionHeader.h"

namespace dyno {

void K40TestSequence::needlesAtRest() {
    live_.drawNeedle(Dial::Speed, 0, Rgb::Yellow);
    live_.drawNeedle(Dial::Rpm, 0, Rgb::Yellow);
}

void K40TestSequence::needlesBackToRest() {
    live_.drawNeedle(Dial::Speed, state_.speedNeedleOld, Rgb::Black);
    live_.drawNeedle(Dial::Rpm, state_.rpmNeedleOld, Rgb::Black);
    needlesAtRest();
    state_.speedNeedleOld = 0;
    state_.rpmNeedleOld = 0;
}

void K40TestSequence::showStarted() {
    view_.showDigit(1);
    if (state_.testMode == TestMode::RevCounterCheck) {
        view_.showRemoteText(kRpmCheckRunningText, Rgb::Yellow, Rgb::Lime);
    } else {
        view_.showRemoteText(kPressRemoteText, Rgb::Yellow, Rgb::Lime);
    }
    needlesAtRest();
}

void K40TestSequence::testRunning() {
    view_.showRemoteText(kTestRunningText, Rgb::Yellow, Rgb::Red);
}

void K40TestSequence::transferringData() {
    view_.showRemoteText(kTransferringDataText, Rgb::Aqua, Rgb::Blue);
}

void K40TestSequence::dataOkBeforeWait() {
    view_.showRemoteText(kDataOkText, Rgb::Lime, Rgb::Green);
}

void K40TestSequence::runDiscardedBeforeWait(int runNumber) {
    view_.showRemoteText("Run " + std::to_string(runNumber) + std::string(kRunDiscardedText),
                         Rgb::Yellow, Rgb::Red);
}

void K40TestSequence::dataOkAfterWait() {
    if (refresh_) refresh_(setup_);
    if (setup_.gearbox == GearboxType::FixedGearing) {
        storeFixedGearingRatio(slot1_, state_.runIndex - 1, setup_.speedDialConstant);
    }
    view_.showDigit(state_.runIndex + 1);
    view_.showRemoteText(kPressRemoteText, Rgb::Yellow, Rgb::Lime);
    needlesBackToRest();
}

void K40TestSequence::sessionFinished() {
    view_.showRemoteText(kSessionFinishedText, Rgb::Lime, Rgb::Green);
    // The needles of the last run (or of the check) would otherwise stay on the dials
    // under the next test's.
    needlesBackToRest();
    if (state_.testMode == TestMode::RevCounterCheck) return;
    stampSession(kRunsPerSession - 1, kRunsPerSession);
}

void K40TestSequence::sessionStopped() {
    view_.showRemoteText(kK40TestStoppedText, Rgb::Yellow, Rgb::Red);
    needlesBackToRest();
}

void K40TestSequence::stampEndedSession(int runsKept) {
    stampSession(0, runsKept);
}

void K40TestSequence::stampSession(int firstRatioRun, int runsKept) {
    if (refresh_) refresh_(setup_);

    stampSessionSetup(slot1_, setup_);
    if (setup_.gearbox == GearboxType::FixedGearing) {
        for (int r = firstRatioRun; r < runsKept; ++r) {
            storeFixedGearingRatio(slot1_, r, setup_.speedDialConstant);
        }
    }
}

}  // namespace dyno
