#pragma once

// Four made-up sessions evaluated by the graph's update, as the report reads them
// after "Update Display".
#include <memory>

#include "display/SyntheticRuns.h"
#include "display/graph/GraphImages.h"
#include "display/graph/GraphUpdate.h"
#include "evaluation/EvaluationWorkspace.h"
#include "model/SessionModel.h"
#include "print/ReportInputs.h"

namespace dyno::print_testing {

struct EvaluatedSessions {
    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::unique_ptr<GraphState> state = std::make_unique<GraphState>();

    // Slots 1..`slotCount` hold a run each; `controls` as the Graphs page would have them.
    explicit EvaluatedSessions(int slotCount, GraphControls controls = {}) {
        controls.runChoice.fill(-1);
        for (int s = 1; s <= slotCount; ++s) {
            TestSession& session = model->slot(s);
            graph_testing::recordSyntheticRun(session, 0, graph_testing::syntheticRunOfSlot(s));
            graph_testing::nameSyntheticSession(session, s);
            session.remarkLine2.assign("Second remark " + std::to_string(s));
            session.remarkLine3.assign("Third remark " + std::to_string(s));
            controls.runChoice[static_cast<std::size_t>(s - 1)] = 0;
        }
        auto workspace = EvaluationWorkspace::create();
        GraphImages images = GraphImages::create();
        GraphPainters painters(images);
        updateGraph(*state, controls, *model, *workspace, painters.canvas());
    }

    ReportInputs report() const { return reportOfGraph(*model, *state); }
};

inline GraphControls controlsWithScale(ScaleTexts scale) {
    GraphControls controls;
    controls.scaleTexts = std::move(scale);
    return controls;
}

}  // namespace dyno::print_testing
