// `dynotool record --port PORT --out FILE.zsd ...`: a whole three-run session from
// the K40 electronics on a serial port, through the same link, sequence and save as
// the window. The rider presses the remote for each run; the session is saved when
// the electronics report the third run. A port that cannot be opened ends the command
// with a one-line reason; a port that fails, or a session that does not finish in
// time, too, after the runs received whole have been saved.
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "acquisition/k40/K40Link.h"
#include "acquisition/ports/QtClock.h"
#include "acquisition/ports/SerialByteLink.h"
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/EventLoop.h"
#include "cli/Json.h"
#include "cli/RecordingOptions.h"
#include "files/SessionArchive.h"
#include "model/SessionModel.h"

namespace dyno::cli {

namespace {

// The electronics answer the start-up command at once; a test is started once they
// have, or after this long (older firmware may not answer at all).
constexpr std::int64_t kStartUpAnswerMs = 1000;
// Three runs with a rider on the roller take a few minutes; a script that waits
// longer than this has lost its rider.
constexpr std::int64_t kDefaultTimeoutMs = 15 * 60 * 1000;

std::string runsReceived(const AcquisitionState& state) {
    const int complete = std::min<int>(std::max<int>(state.runIndex, 0), kRunsPerSession);
    return std::to_string(complete) + " of " + std::to_string(kRunsPerSession) + " runs received";
}

}  // namespace

int runRecord(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    std::set<std::string> valueOptions = recordingValueOptions();
    valueOptions.insert("port");
    const Arguments arguments(words, valueOptions, recordingFlagOptions());
    if (!arguments.operands().empty()) {
        throw UsageError("unexpected argument '" + arguments.operands().front() + "'");
    }
    RecordingOptions options = recordingOptionsFrom(arguments, RecordingDefaults{});
    options.start.portName = arguments.required("port");
    if (options.out.empty()) throw UsageError("missing --out");
    const std::int64_t timeoutMs = options.timeoutMs > 0 ? options.timeoutMs : kDefaultTimeoutMs;

    const auto application = commandLineApplication();
    auto model = SessionModel::create();
    TestSession& slot1 = model->slot(1);
    AcquisitionState state;
    ConsoleK40Views views(err, options.isVerbose);
    QtClock clock;
    SerialByteLink port;
    K40Link link({port, clock, views, views, views, views}, *model, state);
    const std::string& portName = options.start.portName;

    applyPageCorrection(options, slot1, views);
    // As the window does when it starts: open the port and greet the electronics.
    if (link.sendStartUp(portName, options.start.recording.transferDelay) !=
        K40Link::Outcome::Done) {
        throw std::runtime_error("cannot open " + portName + " (" + port.devicePath() +
                                 "): " + views.error().value_or(port.errorText()));
    }
    runEventLoopUntil([&] { return !views.firmwareVersion().empty() || views.error(); },
                      kStartUpAnswerMs, 10);
    if (!views.error() && link.start(options.start) != K40Link::Outcome::Done) {
        throw std::runtime_error("cannot start the test on " + portName + ": " +
                                 views.error().value_or(port.errorText()));
    }
    const bool isOver = runEventLoopUntil(
        [&] { return views.isSessionFinished() || views.error().has_value(); }, timeoutMs);
    if (views.error() || !isOver) {
        const std::string why = views.error().value_or(
            "the session did not finish within " + std::to_string(timeoutMs / 1000) + " s");
        const std::string received = runsReceived(state);
        // The runs that came whole are the rider's work: they are kept.
        const int kept = link.keepRunsReceived();
        if (kept == 0) throw std::runtime_error(why + " (" + received + ")");
        saveRecordedSession(options, views, slot1, out, {{"port", jsonString(port.devicePath())}});
        err << "dynotool record: " << why << " (" << received << "); saved "
            << (kept == 1 ? "the run" : "the " + std::to_string(kept) + " runs") << " received in "
            << sessionArchiveName(options.out).string() << "\n";
        return 1;
    }
    saveRecordedSession(options, views, slot1, out, {{"port", jsonString(port.devicePath())}});
    return 0;
}

}  // namespace dyno::cli
