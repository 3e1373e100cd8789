#pragma once

#include <array>
#include <memory>

#include "evaluation/CoastDownLoss.h"
#include "evaluation/EngineSidePower.h"
#include "evaluation/EvaluationWorkspace.h"
#include "evaluation/MeanEngineSide.h"
#include "evaluation/RunEvaluation.h"
#include "evaluation/SessionStatistics.h"
#include "model/EvaluatedCurves.h"
#include "model/SessionLayout.h"

namespace dyno {

// Everything one run's analysis leaves: its own evaluated curves (the session's
// curves on display stay untouched), its coast-down loss and its engine-side curves.
struct RunAnalysis {
    EvaluationReport evaluation;
    EvaluatedCurves curves;
    CoastDownLoss loss;
    EngineSideCurves engine;
};

// The arrays a session's analysis writes, made once by the caller (one per shown
// session) so that an update never allocates. Their contents belong to the session
// analysed last.
class AnalysisWorkspace {
  public:
    static std::unique_ptr<AnalysisWorkspace> create() {
        return std::make_unique<AnalysisWorkspace>();
    }

    const RunAnalysis& run(int r) const { return runs_.at(static_cast<std::size_t>(r)); }
    RunAnalysis& run(int r) { return runs_.at(static_cast<std::size_t>(r)); }
    const SessionStatistics& statistics() const { return statistics_; }
    SessionStatistics& statistics() { return statistics_; }
    const MeanEngineSide& meanEngineSide() const { return meanEngineSide_; }
    MeanEngineSide& meanEngineSide() { return meanEngineSide_; }
    EvaluationWorkspace& evaluation() { return evaluation_; }

  private:
    EvaluationWorkspace evaluation_;
    std::array<RunAnalysis, kRunsPerSession> runs_{};
    SessionStatistics statistics_;
    MeanEngineSide meanEngineSide_;
};

}  // namespace dyno
