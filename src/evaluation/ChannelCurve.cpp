#include "evaluation/ChannelCurve.h"

#include <algorithm>
#include <stdexcept>

#include "evaluation/ChannelCalibrationRules.h"
#include "evaluation/ChannelDelay.h"
#include "model/SessionModel.h"

namespace dyno {

namespace {

using Samples = std::span<const std::uint16_t, kSamplesPerRun>;

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

// The mean of the `count` samples centred on `centre`, cut to 0..lastRecorded.
double smoothedSample(Samples samples, int centre, int count, int lastRecorded) {
    const int first = std::max(centre - (count - 1) / 2, 0);
    const int last = std::min(centre + count / 2, lastRecorded);
    double sum = 0.0;
    for (int k = first; k <= last; ++k) sum += samples[at(k)];
    return sum / (last - first + 1);
}

}  // namespace

ChannelCurveStatus evaluateChannelCurve(const ChannelCurveSource& source, int channel,
                                        const ChannelCalibration& calibration, double delaySeconds,
                                        ChannelCurve& curve) {
    if (channel < 1 || channel > kAnalogChannels) {
        throw std::out_of_range("analog channel must be 1..5");
    }
    if (!SessionModel::isRun(source.run)) throw std::out_of_range("run must be 0..2");
    curve.values.fill(0.0);
    curve.pointCount = 0;
    curve.constantSample = 0;
    const int points = std::clamp(source.evalCount, 0, kSamplesPerRun - 1);
    if (points == 0) return curve.status = ChannelCurveStatus::emptyRun;
    if (!isCalibrationUsable(calibration)) return curve.status = ChannelCurveStatus::refused;

    const Samples samples = source.session.run(source.run).analogSamples[at(channel - 1)];
    // Point i starts at revolution i: a run of `points` speed points recorded
    // points + 1 samples, 0..points.
    const int lastRecorded = points;
    const auto recorded = samples.first(at(lastRecorded + 1));
    if (std::ranges::all_of(recorded, [&](std::uint16_t s) { return s == recorded.front(); })) {
        curve.constantSample = recorded.front();
        return curve.status = ChannelCurveStatus::notRecorded;
    }

    ChannelDelay delay(source.timeAxis, delaySeconds);
    int covered = 0;
    for (int i = 0; i < points; ++i) {
        const int sample = delay.sampleFor(i);
        if (sample > lastRecorded) break;  // and so are all later points
        curve.values[at(i)] = calibratedReading(
            calibration,
            smoothedSample(samples, sample, calibration.smoothingSamples, lastRecorded));
        covered = i + 1;
    }
    curve.pointCount = covered;
    return curve.status = ChannelCurveStatus::drawn;
}

bool isEngineSpeedRecorded(const TestSession& session, int run, int evalCount) {
    const auto rpm = session.run(run).rpmSamples;
    const int points = std::clamp(evalCount, 0, kSamplesPerRun);
    return std::any_of(rpm.begin(), rpm.begin() + points, [](std::int32_t r) { return r != 0; });
}

}  // namespace dyno
