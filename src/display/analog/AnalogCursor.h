#pragma once

#include <vector>

#include "display/analog/AnalogView.h"
#include "display/graph/GraphCursor.h"
#include "model/SessionModel.h"

class QPainter;

// The right-button cursor of the analog plot: an inverting vertical line (as on the
// graph, drawGraphCursorLine) and, top left, the speed and engine speed of every
// shown slot at the sample under the line.
namespace dyno {

// For every slot with a run chosen, at row 10 + 20 (s - 1) in the slot colour: the
// slot's speed curve at sample k = x + the slot's shift + the scroll offset as
// "%.1f" at x 5 (over 11 blanks), and the engine speed at x 50 (over 13 blanks):
// with fixed gearing the speed times the run's rpm per km/h as "%.0f", otherwise
// the run's recorded rpm as "%d". A sample outside the run shows only the blanks.
std::vector<ReadoutField> readAnalogCursor(const AnalogView& view, const SessionModel& model,
                                           int x);

}  // namespace dyno
