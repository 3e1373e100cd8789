// `dynotool analog FILE1 [..FILE4] --out PNG [--run N,...] [--channels 1,3,5]
// [--vscale hp|speed] [--zoom N] [--offset N] [--shift a,b,c,d] [--left-scale C]
// [--end-hp N] [--mph] [--kw] [--ad-settings FILE.ana] [--plot-only]`: loads the
// archives into slots 1 to 4 and draws the Analog page as the window does: by default
// the plot with both scale strips as laid out on the page, with --plot-only the
// 600 x 400 plot alone. The channel settings come from FILE.ana, else from
// "vkr_dyno.ana" in the current folder as the window reads it at start, else the
// window's defaults. Prints one JSON line: the file written and where the channel
// settings came from.
#include <QImage>
#include <filesystem>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

#include "cli/commands/Commands.h"
#include "cli/options/Arguments.h"
#include "cli/options/DrawingArguments.h"
#include "cli/options/LoadSessionArgument.h"
#include "cli/output/Json.h"
#include "display/analog/AnalogRedraw.h"
#include "files/AnalogSettingsFileCodec.h"

namespace dyno::cli {

namespace {

// The reach of the page's controls: zoomupdown 1..10, scrollbar1 and move1 .. move4
// 0..800 samples, and the 32-bit top of the power axis.
constexpr int kMaxZoom = 10;
constexpr int kMaxOffset = 800;

AnalogCurve curveOf(const Arguments& arguments) {
    const std::string text = arguments.value("vscale").value_or("hp");
    if (text == "hp") return AnalogCurve::power;
    if (text == "speed") return AnalogCurve::speed;
    throw UsageError("--vscale takes hp or speed (got '" + text + "')");
}

// The settings file named, or the start folder's when there is one; returns what was
// read ("defaults" when nothing), or nothing after a failure reported on `err`.
std::optional<std::string> readChannelSettings(const Arguments& arguments,
                                               AnalogChannelTextSet& channels, std::ostream& err) {
    const auto named = arguments.value("ad-settings");
    const std::string file = named.value_or(kAnalogSettingsFileName);
    if (!named && !std::filesystem::exists(file)) return "defaults";
    const auto read = readAnalogSettingsFile(file, channels);
    if (!read) {
        err << "dynotool analog: " << read.error().message << ": " << file << "\n";
        return std::nullopt;
    }
    return file;
}

}  // namespace

int runAnalog(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const Arguments arguments(words,
                              {"out", "run", "channels", "vscale", "zoom", "offset", "shift",
                               "left-scale", "end-hp", "ad-settings"},
                              {"mph", "kw", "plot-only"});
    const auto& files = arguments.operands();
    if (files.empty() || files.size() > kSessionSlots) {
        throw UsageError("expects one to four session archives");
    }
    const std::string outFile = arguments.required("out");
    const std::vector<int> runs = runsOf(arguments, files.size());

    AnalogView view;
    for (int channel :
         numberListOf(arguments, "channels", 1, kAnalogChannels).value_or(std::vector<int>{})) {
        view.channelTicked[static_cast<std::size_t>(channel - 1)] = true;
    }
    view.curve = curveOf(arguments);
    view.zoom = numberOf(arguments, "zoom", 1, kMaxZoom, view.zoom);
    view.scrollOffset = numberOf(arguments, "offset", 0, kMaxOffset, 0);
    const auto shifts =
        numberListOf(arguments, "shift", 0, kMaxOffset).value_or(std::vector<int>{});
    if (shifts.size() > kSessionSlots) throw UsageError("--shift takes at most four offsets");
    for (std::size_t s = 0; s < shifts.size(); ++s) view.slotShift[s] = shifts[s];
    view.leftScaleChannel = numberOf(arguments, "left-scale", 1, kAnalogChannels, 1) - 1;
    view.endHp = numberOf(arguments, "end-hp", std::numeric_limits<std::int32_t>::min(),
                          std::numeric_limits<std::int32_t>::max(), view.endHp);
    view.evaluation.speedInMph = arguments.flag("mph");
    view.evaluation.powerInKw = arguments.flag("kw");
    const auto settingsSource = readChannelSettings(arguments, view.channels, err);
    if (!settingsSource) return 1;

    auto model = SessionModel::create();
    view.runItem.fill(0);
    for (std::size_t f = 0; f < files.size(); ++f) {
        if (!loadSessionArgument("analog", files[f], model->slot(static_cast<int>(f) + 1), err)) {
            return 1;
        }
        view.runItem[f] = runs[f];
    }

    const auto application = headlessApplication();
    auto workspace = EvaluationWorkspace::create();
    AnalogBuffers buffers;
    AnalogImages images = AnalogImages::create();
    {
        AnalogPainters painters(images);
        redrawAnalog(view, *model, *workspace, painters.canvas(), buffers);
    }
    const QImage image = arguments.flag("plot-only") ? images.plot : images.panel();
    if (!image.save(QString::fromStdString(outFile), "PNG")) {
        err << "dynotool analog: cannot write the image: " << outFile << "\n";
        return 1;
    }
    out << JsonObject()
               .add("out", outFile)
               .add("width", image.width())
               .add("height", image.height())
               .add("channelSettings", *settingsSource)
               .str()
        << "\n";
    return 0;
}

}  // namespace dyno::cli
