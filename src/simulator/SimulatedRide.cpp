#include "simulator/SimulatedRide.h"

#include <algorithm>
#include <cmath>

#include "evaluation/RollerInertia.h"
#include "model/DynoSettings.h"

namespace dyno {

namespace {

constexpr double kStepS = 0.0005;
constexpr double kEngineStopsPullingKmhPerS = 0.5;
constexpr double kShortestPullS = 2.0;
constexpr double kIdleRpm = 1500.0;
// The ignition pickup pulls its line low for a short pulse at each spark; the test
// loop's measurement relies on that (it reloads when it finds the line low).
constexpr double kSparkPulseS = 0.0001;

double fraction(double value) {
    return value - std::floor(value);
}

}  // namespace

CardRoller cardRollerOf(DynoModel model, int rollerCode) {
    const bool isK80 = model == DynoModel::K80;
    const int standard = isK80 ? kK80RollerCodeOffset : 0;
    const bool isOwnCode = isK80 ? rollerCode >= kK80RollerCodeOffset : rollerCode < 40;
    const int code =
        isOwnCode && RollerInertiaTable::massFactorOf(rollerCode) ? rollerCode : standard;
    CardRoller roller;
    roller.speedFactorKmh = isK80 ? kK80SpeedFactor.kmh : kK70SpeedFactor.kmh;
    roller.massFactor = *RollerInertiaTable::massFactorOf(code);
    roller.speedOffsetKmh = speedOffsetOf(static_cast<int>(model), code).value_or(11.0);
    return roller;
}

SimulatedRide::SimulatedRide(const VehicleProfile& vehicle, const CardRoller& roller,
                             const RiderHabits& rider, std::uint32_t seed)
    : vehicle_(vehicle), roller_(roller), rider_(rider), seed_(seed) {
    speed_ = launchSpeedKmh();
    beginStep();
}

double SimulatedRide::launchSpeedKmh() const {
    return rider_.coastDown.isOn ? rider_.coastDown.startSpeedKmh : vehicle_.launchSpeedKmh;
}

double SimulatedRide::throttle() const {
    if (phase_ == Phase::Pulling) return 1.0;
    return phase_ == Phase::Coasting ? 0.0 : 0.15;  // closed, or holding a speed
}

double SimulatedRide::engineRpm() const {
    const bool isCoastDownRide = rider_.coastDown.isOn;
    if (phase_ == Phase::Holding) {
        return isCoastDownRide ? pullingEngineRpm(vehicle_, speed_) : vehicle_.launchRpm;
    }
    if (isCoastDownRide && phase_ == Phase::Pulling) {
        return std::max(pullingEngineRpm(vehicle_, speed_), kIdleRpm);
    }
    return std::max(vehicle_.engineRpmAt(speed_), kIdleRpm);
}

double SimulatedRide::pullingPowerHp(double speedKmh) const {
    if (!rider_.coastDown.isOn) return vehicle_.wheelPowerHpAt(speedKmh);
    return pullPowerFactor_ * pullingWheelPowerHp(vehicle_, speedKmh);
}

double SimulatedRide::accelerationKmhPerS() const {
    switch (phase_) {
        case Phase::Pulling: {
            // Midpoint of the step, so the speed follows the power closely.
            const auto at = [this](double v) {
                const double effective = std::max(v + roller_.speedOffsetKmh, 1.0);
                return pullingPowerHp(v) / (roller_.massFactor / 2.0 * effective);
            };
            return at(speed_ + at(speed_) * kStepS / 2.0);
        }
        case Phase::Coasting: {
            // The card's evaluation sees half the roller's slowing, as it sees half
            // its acceleration.
            const auto at = [this](double v) {
                return -lossDecelerationKmhPerS(rider_.coastDown.loss, std::max(v, 0.0),
                                                roller_.massFactor / 2.0);
            };
            return at(speed_ + at(speed_) * kStepS / 2.0);
        }
        case Phase::Braking:
            // A hard stop ends at a standstill, not in reverse.
            if (rider_.standstillS > 0.0) return -std::min(rider_.brakeKmhPerS, speed_ / kStepS);
            return -rider_.brakeKmhPerS;
        case Phase::Returning: return rider_.returnKmhPerS;
        case Phase::Holding:
        case Phase::Standing: break;
    }
    return 0.0;
}

void SimulatedRide::beginStep() {
    acceleration_ = accelerationKmhPerS();
    const double midSpeed = speed_ + acceleration_ * kStepS / 2.0;
    double rpm = engineRpm();
    if (phase_ != Phase::Holding) rpm = std::max(vehicle_.engineRpmAt(midSpeed), kIdleRpm);
    if (rider_.coastDown.isOn && phase_ == Phase::Pulling) {
        rpm = std::max(pullingEngineRpm(vehicle_, midSpeed), kIdleRpm);
    }
    impulseRate_ = rpm / 60.0 * 360.0 / vehicle_.ignitionDegrees;
}

void SimulatedRide::endStep() {
    turns_ += (speed_ * kStepS + acceleration_ * kStepS * kStepS / 2.0) / roller_.speedFactorKmh;
    impulses_ += impulseRate_ * kStepS;
    speed_ += acceleration_ * kStepS;
    stepStartS_ += kStepS;
    switch (phase_) {
        case Phase::Holding: heldS_ += kStepS; break;
        case Phase::Pulling: endPullingStep(); break;
        case Phase::Coasting:
            if (speed_ < rider_.coastDown.endSpeedKmh) phase_ = Phase::Braking;
            break;
        case Phase::Braking: endBrakingStep(); break;
        case Phase::Standing: endStandingStep(); break;
        case Phase::Returning:
            if (speed_ >= vehicle_.launchSpeedKmh) {
                speed_ = vehicle_.launchSpeedKmh;
                phase_ = isPullDue_ ? Phase::Pulling : Phase::Holding;
                isPullDue_ = false;
                heldS_ = 0.0;
                pullS_ = 0.0;
            }
            break;
    }
}

void SimulatedRide::endPullingStep() {
    pullS_ += kStepS;
    topSpeed_ = std::max(topSpeed_, speed_);
    if (pullS_ > kShortestPullS && acceleration_ < kEngineStopsPullingKmhPerS) {
        phase_ = rider_.coastDown.isOn ? Phase::Coasting : Phase::Braking;
    }
}

void SimulatedRide::endBrakingStep() {
    if (rider_.coastDown.isOn) {
        // The run has ended by speed: back to the start speed for the next.
        if (speed_ <= launchSpeedKmh()) {
            speed_ = launchSpeedKmh();
            phase_ = Phase::Holding;
            heldS_ = 0.0;
        }
    } else if (rider_.standstillS > 0.0) {
        if (speed_ <= 0.0) {
            speed_ = 0.0;
            phase_ = Phase::Standing;
            heldS_ = 0.0;
        }
    } else if (speed_ <= rider_.coastSpeedKmh) {
        phase_ = Phase::Returning;
    }
}

void SimulatedRide::endStandingStep() {
    heldS_ += kStepS;
    if (setOffAtS_ >= 0.0 && stepStartS_ >= setOffAtS_) {
        setOffAtS_ = -1.0;
        phase_ = Phase::Returning;
    } else if (rider_.lateStartS <= 0.0 && heldS_ >= rider_.standstillS) {
        phase_ = Phase::Returning;
    }
}

void SimulatedRide::pressRemote() {
    pressedUntilS_ = timeS_ + rider_.pressLengthS;
    if (rider_.coastDown.isOn) pullPowerFactor_ = runPowerFactor(rider_.coastDown, seed_, pulls_);
    ++pulls_;
}

void SimulatedRide::advanceTo(double timeS, bool isProgramPolling) {
    while (timeS >= stepStartS_ + kStepS) {
        endStep();
        beginStep();
    }
    timeS_ = std::max(timeS_, timeS);
    if (phase_ == Phase::Holding && isProgramPolling && heldS_ >= rider_.pressAfterS) {
        pressRemote();
        phase_ = Phase::Pulling;
        pullS_ = 0.0;
        beginStep();
    } else if (phase_ == Phase::Standing && rider_.lateStartS > 0.0 && setOffAtS_ < 0.0 &&
               isProgramPolling && heldS_ >= rider_.standstillS) {
        pressRemote();
        setOffAtS_ = timeS_ + rider_.lateStartS;
        isPullDue_ = true;
    }
    const double tau = timeS_ - stepStartS_;
    const double turns =
        turns_ + (speed_ * tau + acceleration_ * tau * tau / 2.0) / roller_.speedFactorKmh;
    rollerHigh_ = fraction(turns) < 0.5;
    ignitionHigh_ = fraction(impulses_ + impulseRate_ * tau) < 1.0 - kSparkPulseS * impulseRate_;
}

}  // namespace dyno
