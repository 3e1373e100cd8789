#pragma once

#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options/Arguments.h"
#include "cli/options/DrawingArguments.h"
#include "display/graph/GraphUpdate.h"
#include "model/SessionModel.h"

// The graph options `dynotool graph` and `dynotool report` share: the runs, the
// three axis ranges and the Graphs page's choices.
namespace dyno::cli {

// --run, --speed, --power, --rpm
extern const std::set<std::string> kGraphValueOptions;
// --show-rpm, --torque, --fixed-gearing, --air, --mph, --kw
extern const std::set<std::string> kGraphFlagOptions;

// The Graphs page as the options set it, with one file per slot from slot 1.
struct GraphRequest {
    GraphControls controls;
    GraphScale scale;       // the ranges, as the scale boxes hold them in `controls`
    std::vector<int> runs;  // 1..3, one per file
};

// What a graph takes where no option says: dynotool's own ranges, or those a
// settings file puts in force.
struct GraphDefaults {
    GraphScale scale{0, 150, 0, 20, 0, 10000};
    bool speedInMph = false;
    bool powerInKw = false;
};

// Reads the graph options for `files` session archives (1 to 4); a bad option is a
// UsageError.
GraphRequest graphRequestOf(const Arguments& arguments, std::size_t files,
                            const GraphDefaults& defaults = {});

// Loads the files into slots 1.. and selects their runs; false (with the reason on
// `err`) when one cannot be read.
bool loadGraphSessions(std::string_view command, const std::vector<std::string>& files,
                       GraphRequest& request, SessionModel& model, std::ostream& err);

}  // namespace dyno::cli
