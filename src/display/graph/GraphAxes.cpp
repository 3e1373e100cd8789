#include "display/graph/GraphAxes.h"

namespace dyno {

namespace {

// Integer divisions truncate toward zero; the label steps are the real quotient,
// truncated.
std::int64_t truncatedQuotient(std::int64_t span, std::int64_t divisions) {
    return static_cast<std::int64_t>(static_cast<double>(span) / static_cast<double>(divisions));
}

}  // namespace

PowerAxis powerAxisOf(const GraphScale& scale) {
    PowerAxis axis;
    const std::int64_t d = std::int64_t{scale.endHp} - scale.startHp;
    axis.span = d;
    if (d >= 300) {
        axis.divisions = d / 30;
    } else if (d >= 250) {
        axis.divisions = d / 25;
    } else if (d >= 200) {
        axis.divisions = d / 20;
    } else if (d >= 150) {
        axis.divisions = d / 15;
    } else if (d >= 50) {
        axis.divisions = d / 10;
    } else if (d >= 30) {
        axis.divisions = d / 5;
    } else if (d >= 20) {
        axis.divisions = d / 2;
    } else {
        axis.divisions = d;
    }
    if (axis.divisions > 0) {
        axis.labelStep = truncatedQuotient(d, axis.divisions);
        axis.rowSpacing = 400.0 / static_cast<double>(axis.divisions);
    }
    return axis;
}

SpeedAxis speedAxisOf(const GraphScale& scale) {
    SpeedAxis axis;
    const std::int64_t s = std::int64_t{scale.endKmh} - scale.startKmh;
    axis.span = s;
    if (s >= 250) {
        axis.divisions = s / 25;
    } else if (s >= 200) {
        axis.divisions = s / 20;
    } else {
        axis.divisions = s / 10;
    }
    if (axis.divisions > 0) {
        axis.labelStep = truncatedQuotient(s, axis.divisions);
        axis.columnSpacing = 600.0 / static_cast<double>(axis.divisions);
        axis.columnStep = static_cast<int>(axis.columnSpacing);
    }
    return axis;
}

RpmAxis rpmAxisOf(const GraphScale& scale) {
    RpmAxis axis;
    const std::int64_t r = std::int64_t{scale.endRpm} - scale.startRpm;
    axis.span = r;
    // Thousands when that gives at least 8 divisions, else 500s; 250s when even
    // that gives fewer than 6.
    axis.divisions = r / 1000;
    if (axis.divisions < 8) axis.divisions = r / 500;
    if (axis.divisions < 6) axis.divisions = r / 250;
    if (axis.divisions > 0) axis.step = truncatedQuotient(r, axis.divisions);
    return axis;
}

std::vector<ScaleProblem> scaleProblems(const GraphScale& scale, bool rpmAxisShown) {
    // Row spacing 400 / divisions, column spacing 600 / divisions: at least one pixel.
    std::vector<ScaleProblem> problems;
    const PowerAxis power = powerAxisOf(scale);
    if (power.divisions < 1 || power.divisions > 400) problems.push_back(ScaleProblem::powerScale);
    const SpeedAxis speed = speedAxisOf(scale);
    if (speed.divisions < 1 || speed.columnStep < 1) problems.push_back(ScaleProblem::speedScale);
    if (rpmAxisShown) {
        const RpmAxis rpm = rpmAxisOf(scale);
        if (rpm.divisions < 1 || rpm.divisions > 400) problems.push_back(ScaleProblem::rpmScale);
    }
    return problems;
}

ScaleProblem scaleProblem(const GraphScale& scale, bool rpmAxisShown) {
    const std::vector<ScaleProblem> problems = scaleProblems(scale, rpmAxisShown);
    return problems.empty() ? ScaleProblem::none : problems.front();
}

std::string_view scaleHint(ScaleProblem problem) {
    switch (problem) {
        case ScaleProblem::none: return {};
        case ScaleProblem::powerScale: return "Check Start Hp and End Hp";
        case ScaleProblem::speedScale: return "Check Start Speed and End Speed";
        case ScaleProblem::rpmScale: return "Check Start Rpm and End Rpm";
    }
    return {};
}

}  // namespace dyno
