#include "cli/options/GraphArguments.h"

#include <limits>
#include <optional>

#include "cli/options/DrawingArguments.h"
#include "cli/options/LoadSessionArgument.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

const std::set<std::string> kGraphValueOptions{"run", "speed", "power", "rpm"};
const std::set<std::string> kGraphFlagOptions{"show-rpm", "torque", "fixed-gearing",
                                              "air",      "mph",    "kw"};

namespace {

struct Bounds {
    std::int32_t start;
    std::int32_t end;
};

// "A:B", two whole numbers.
Bounds boundsOf(const Arguments& arguments, const std::string& name, Bounds fallback) {
    constexpr std::int32_t kLimit = std::numeric_limits<std::int32_t>::max();
    const auto numbers = arguments.integerList(name, -kLimit, kLimit, ':');
    if (!numbers) return fallback;
    if (numbers->size() != 2) {
        throw UsageError("--" + name + " expects START:END (got '" + *arguments.value(name) + "')");
    }
    return {(*numbers)[0], (*numbers)[1]};
}

std::string decimal(std::int32_t value) {
    return formatFixed(value, 0);
}

}  // namespace

GraphRequest graphRequestOf(const Arguments& arguments, std::size_t files,
                            const GraphDefaults& defaults) {
    if (files == 0 || files > kSessionSlots) {
        throw UsageError("expects one to four session archives");
    }
    const GraphScale& given = defaults.scale;
    const Bounds speed = boundsOf(arguments, "speed", {given.startKmh, given.endKmh});
    const Bounds power = boundsOf(arguments, "power", {given.startHp, given.endHp});
    const Bounds rpm = boundsOf(arguments, "rpm", {given.startRpm, given.endRpm});

    GraphRequest request;
    request.scale = {speed.start, speed.end, power.start, power.end, rpm.start, rpm.end};
    request.runs = runsOf(arguments, files);
    GraphControls& controls = request.controls;
    controls.scaleTexts = {decimal(speed.start), decimal(speed.end), decimal(power.start),
                           decimal(power.end),   decimal(rpm.start), decimal(rpm.end)};
    controls.speedAndRpm = arguments.flag("show-rpm");
    controls.fixedGearing = arguments.flag("fixed-gearing");
    controls.showAirCurve = arguments.flag("air");
    controls.speedInMph = arguments.flag("mph") || defaults.speedInMph;
    controls.powerInKw = arguments.flag("kw") || defaults.powerInKw;
    controls.runChoice.fill(-1);
    controls.torqueTicked.fill(arguments.flag("torque"));
    return request;
}

bool loadGraphSessions(std::string_view command, const std::vector<std::string>& files,
                       GraphRequest& request, SessionModel& model, std::ostream& err) {
    for (std::size_t f = 0; f < files.size(); ++f) {
        const int slot = static_cast<int>(f) + 1;
        if (!loadSessionArgument(command, files[f], model.slot(slot), err)) return false;
        request.controls.runChoice[f] = request.runs[f] - 1;
    }
    return true;
}

}  // namespace dyno::cli
