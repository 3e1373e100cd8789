#pragma once

#include "display/graph/GraphAxes.h"
#include "display/graph/GraphCanvas.h"
#include "display/graph/GraphScale.h"

// The frame of the graph: black area, dotted grid and the numbers in the label
// strips. The scale must be drawable (scaleProblem() == none); otherwise the page
// shows drawScaleHint() instead.
namespace dyno {

// Graph area size in pixels; x 0..599, y 0..399.
inline constexpr int kGraphWidth = 600;
inline constexpr int kGraphHeight = 400;

// Speed across, power up: clears the graph, draws the white grid and the power and
// speed numbers. Every update starts with it.
void drawSpeedFrame(GraphCanvas& canvas, const GraphScale& scale);

// Adds the engine-speed grid rows (light blue) and the numbers in thousands of rpm
// on the right ("Speed + Rpm" without fixed gearing).
void drawRpmScale(GraphCanvas& canvas, const GraphScale& scale);

// Engine speed across, in hundreds of rpm, power up ("Speed + Rpm" with fixed
// gearing).
void drawRpmFrame(GraphCanvas& canvas, const GraphScale& scale);

// An empty right-hand strip, when no engine-speed scale is shown.
void clearRpmLabels(GraphCanvas& canvas);

// Instead of the frame: a black graph with a short line saying which bounds to
// correct, and empty label strips.
void drawScaleHint(GraphCanvas& canvas, ScaleProblem problem);

}  // namespace dyno
