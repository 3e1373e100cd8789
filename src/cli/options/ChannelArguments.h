#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

#include "cli/options/Arguments.h"
#include "model/AnalysisSettings.h"
#include "model/SessionLayout.h"

namespace dyno::cli {

// What `--channels 1,3` needs besides the session: each channel's calibration and
// its recording delay, as the window would have them.
struct ChannelChoice {
    std::vector<int> channels;  // 1..5, each once, in the order asked
    AnalysisSettings analysis;
    std::array<double, kAnalogChannels> delaySeconds{};
};

// The value options this adds to a command: channels, analysis-settings, ad-settings.
std::vector<std::string> channelValueOptions();

// Nothing when --channels is not given. The calibrations come from --analysis-settings
// FILE, else "vkr_dyno_analysis.ini" of the current folder when there is one (the
// defaults when not); the delays from --ad-settings FILE.ana, else "vkr_dyno.ana" of
// the current folder, else the A/D Sett. page's defaults. A damaged analysis file's
// messages are warnings on `err`. A bad --channels is a UsageError; a file that cannot
// be read prints "dynotool COMMAND: reason: FILE" and gives `failed` set.
struct ChannelChoiceRead {
    std::optional<ChannelChoice> choice;
    bool failed = false;
};
ChannelChoiceRead channelChoiceOf(std::string_view command, const Arguments& arguments,
                                  std::ostream& err);

}  // namespace dyno::cli
