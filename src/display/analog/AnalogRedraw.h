#pragma once

#include "display/analog/AnalogImages.h"
#include "display/analog/AnalogPlot.h"
#include "display/analog/AnalogView.h"
#include "evaluation/EvaluationWorkspace.h"
#include "model/SessionModel.h"

namespace dyno {

// The whole Analog page picture, redrawn from the model on every change: the left
// scale of the chosen channel, the power or speed scale on the right, the black plot
// with its grid, and for each slot with a run chosen, that run evaluated and drawn
// (its curve and ticked channels in the slot colour, from the scroll offset plus the
// slot's own shift). The evaluation writes the slots' curves and the workspace.
void redrawAnalog(const AnalogView& view, SessionModel& model, EvaluationWorkspace& workspace,
                  AnalogCanvas& canvas, AnalogBuffers& buffers);

}  // namespace dyno
