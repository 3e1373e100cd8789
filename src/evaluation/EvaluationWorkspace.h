#pragma once

#include <array>
#include <memory>

#include "model/SessionLayout.h"

namespace dyno {

// The work arrays every evaluation uses, made once and shared by all slots so that
// an evaluation never allocates. Their contents after an evaluation belong to the
// run evaluated last.
class EvaluationWorkspace {
  public:
    using WorkArray = std::array<double, kSamplesPerRun>;

    static std::unique_ptr<EvaluationWorkspace> create() {
        return std::make_unique<EvaluationWorkspace>();
    }

    // Cumulative time of each revolution, seconds.
    WorkArray& timeAxis() { return timeAxis_; }
    const WorkArray& timeAxis() const { return timeAxis_; }
    // Roller revolutions per second, then the speed change per second.
    WorkArray& rawAccel() { return rawAccel_; }
    const WorkArray& rawAccel() const { return rawAccel_; }
    // The acceleration after the three smoothing passes.
    WorkArray& smoothAccel() { return smoothAccel_; }
    const WorkArray& smoothAccel() const { return smoothAccel_; }

    // Curve points of the most recent evaluation that had data; an empty run leaves
    // it as it was.
    int evalCount() const { return evalCount_; }
    void setEvalCount(int count) { evalCount_ = count; }

    void clearArrays() {
        timeAxis_.fill(0.0);
        rawAccel_.fill(0.0);
        smoothAccel_.fill(0.0);
    }

  private:
    WorkArray timeAxis_{};
    WorkArray rawAccel_{};
    WorkArray smoothAccel_{};
    int evalCount_ = 0;
};

}  // namespace dyno
