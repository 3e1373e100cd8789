#pragma once

#include <cstddef>
#include <span>

#include "model/SessionLayout.h"

namespace dyno {

// A channel's recording delay (the A/D Sett. page's "delay", seconds): a probe or
// amplifier answers late, so the reading that belongs to revolution i was recorded
// at the first sample j >= i whose time lies beyond time[i] + delay. The Analog page
// and the channel curves both read channels through this, so they agree.
//
// Asked for i = first, first + 1, ...: while the thresholds do not fall the answer
// never moves back (an index past i + 1 that beats a threshold beats every lower
// one), so the search carries on from the last answer; after a fall (the end of the
// recorded time) it starts again at i. The answer is at most 1999, the last sample
// of a run; past the recorded time (where the time axis reads 0) it is 1999.
class ChannelDelay {
  public:
    static constexpr int kLastSample = kSamplesPerRun - 1;

    ChannelDelay(std::span<const double> timeAxis, double delaySeconds)
        : time_(timeAxis), delay_(delaySeconds) {}

    int sampleFor(int i) {
        const double threshold = time_[at(i)] + delay_;
        if (!(threshold >= lastThreshold_) || j_ < i) j_ = i;
        lastThreshold_ = threshold;
        while (j_ < kLastSample && !(time_[at(j_)] > threshold)) ++j_;
        return j_;
    }

  private:
    static std::size_t at(int index) { return static_cast<std::size_t>(index); }

    std::span<const double> time_;
    double delay_;
    double lastThreshold_ = 0.0;
    int j_ = -1;
};

}  // namespace dyno
