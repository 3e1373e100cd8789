#pragma once

#include <QPoint>

#include "display/graph/GraphScale.h"

namespace dyno {

// The scale after a left-button drag from `dragStart` to `dragEnd` (graph pixels):
// the power axis spans the rectangle's height, cut to whole hp (kW); the horizontal
// axis its width, speed in tens rounded outward at the top end, engine speed in
// steps of 500. Spans never shrink below 1 hp, 10 speed units and 500 rpm, so the
// new scale always draws. On a scale that cannot be drawn (the graph shows a hint
// and there is nothing to zoom into) the scale is returned unchanged.
GraphScale zoomedScale(const GraphScale& scale, bool speedOnXAxis, bool rpmAxisShown,
                       QPoint dragStart, QPoint dragEnd);

}  // namespace dyno
