#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "display/graph/GraphScale.h"

// How the axis bounds divide into grid spacings and label steps. Spans are worked
// in 64 bits: the boxes accept any 32-bit number, and end - start of two such
// numbers does not fit in 32.
namespace dyno {

struct PowerAxis {
    std::int64_t span = 0;       // endHp - startHp
    std::int64_t divisions = 0;  // grid rows
    std::int64_t labelStep = 0;  // hp (or kW) between labels
    double rowSpacing = 0.0;     // pixels between grid rows
};

struct SpeedAxis {
    std::int64_t span = 0;
    std::int64_t divisions = 0;
    std::int64_t labelStep = 0;
    double columnSpacing = 0.0;  // pixels between grid columns
    int columnStep = 0;          // the same, truncated: the grid columns and labels use it
};

struct RpmAxis {
    std::int64_t span = 0;
    std::int64_t divisions = 0;
    std::int64_t step = 0;  // rpm between labels
};

PowerAxis powerAxisOf(const GraphScale& scale);
SpeedAxis speedAxisOf(const GraphScale& scale);
RpmAxis rpmAxisOf(const GraphScale& scale);

// A scale the grid cannot be drawn with: an axis without divisions (its spacing
// would divide by zero), a negative span, or a span so wide that a grid spacing
// falls below one pixel (the grid loops would then never end, or end after
// millions of dots). The engine-speed axis counts only when it is drawn.
enum class ScaleProblem { none, powerScale, speedScale, rpmScale };

ScaleProblem scaleProblem(const GraphScale& scale, bool rpmAxisShown);

// Every such axis, in the order power, speed, engine speed (the printed report
// names each one).
std::vector<ScaleProblem> scaleProblems(const GraphScale& scale, bool rpmAxisShown);

// The hint shown in the graph area instead of the grid and curves.
std::string_view scaleHint(ScaleProblem problem);

}  // namespace dyno
