// `dynotool record --port PORT --out FILE.zsd ...`: a whole three-run session from
// the K40 electronics on a serial port, through the same link, sequence and save as
// the window. The rider presses the remote for each run; the session is saved when
// the electronics report the third run, and the command exits 0 only when all three
// arrived whole. A port that cannot be opened ends the command with a one-line
// reason; a port that fails, electronics that never answer, Ctrl+C, SIGTERM or SIGHUP,
// or a session that does not finish in time end it too, after the runs received
// whole have been saved.
#include <chrono>
#include <csignal>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "acquisition/electronics/K40Electronics.h"
#include "acquisition/k40/K40Link.h"
#include "acquisition/ports/QtClock.h"
#include "acquisition/ports/SerialByteLink.h"
#include "cli/commands/CommandLiveView.h"
#include "cli/commands/Commands.h"
#include "cli/commands/EventLoop.h"
#include "cli/commands/StopSignals.h"
#include "cli/options/Arguments.h"
#include "cli/options/RecordingOptions.h"
#include "cli/output/Json.h"
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
// Electronics that are switched on send live packets as soon as they are armed; a
// port that has brought no byte at all for this long has no electronics behind it.
constexpr double kDefaultAnswerWaitS = 10.0;
constexpr double kLongestAnswerWaitS = 24.0 * 3600;

// The runs slot 1 holds samples of, as the archive will.
int runsStored(const TestSession& slot1) {
    int stored = 0;
    for (int r = 0; r < kRunsPerSession; ++r) {
        if (slot1.leadingPeriods(r) > 0) ++stored;
    }
    return stored;
}

std::string runsReceived(int stored) {
    return std::to_string(stored) + " of " + std::to_string(kRunsPerSession) + " runs received";
}

std::string savedRunsText(int stored) {
    return stored == 1 ? "the run received" : "the " + std::to_string(stored) + " runs received";
}

}  // namespace

int runRecord(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    // A warning or the last line written to a terminal or pipe that has gone must not
    // end the command before it saves or exits with its status: the write just fails.
    std::signal(SIGPIPE, SIG_IGN);

    std::set<std::string> valueOptions = recordingValueOptions();
    valueOptions.insert("port");
    valueOptions.insert("answer-wait");
    valueOptions.merge(liveViewValueOptions());
    const Arguments arguments(words, valueOptions, recordingFlagOptions());
    if (!arguments.operands().empty()) {
        throw UsageError("unexpected argument '" + arguments.operands().front() + "'");
    }
    RecordingOptions options = recordingOptionsFrom(arguments, RecordingDefaults{});
    options.prepared.k40.portName = arguments.required("port");
    if (options.out.empty()) throw UsageError("missing --out");
    const std::int64_t timeoutMs = options.timeoutMs > 0 ? options.timeoutMs : kDefaultTimeoutMs;
    const auto answerWaitMs = static_cast<std::int64_t>(
        arguments.numberIn("answer-wait", 0.1, kLongestAnswerWaitS, kDefaultAnswerWaitS) * 1000);

    const auto application = commandLineApplication();
    auto model = SessionModel::create();
    TestSession& slot1 = model->slot(1);
    AcquisitionState state;
    ConsoleK40Views views(err, options.isVerbose);
    CommandLiveView liveView(arguments, views, views, slot1, err);
    QtClock clock;
    SerialByteLink port;
    K40Link link({port, clock, liveView.tee(), liveView.tee(), views, views}, *model, state);
    K40Electronics k40(link, views);
    DynoElectronics& electronics = k40;
    const std::string& portName = options.prepared.k40.portName;
    // From here on a stop signal ends the wait, not the process.
    const StopSignals stopSignals;

    applyPageCorrection(options, slot1, views);
    // As the window does when it starts: open the port and greet the electronics.
    if (link.sendStartUp(portName, options.prepared.k40.recording.transferDelay) !=
        K40Link::Outcome::Done) {
        throw std::runtime_error("cannot open " + portName + " (" + port.devicePath() +
                                 "): " + views.error().value_or(port.errorText()));
    }
    runEventLoopUntil(
        [&] { return !views.firmwareVersion().empty() || views.error() || stopSignals.received(); },
        kStartUpAnswerMs, 10);
    liveView.beginSession(options.prepared.k40.session, options.prepared.k40.isRevCounterCheck);
    if (!views.error() && !stopSignals.received() &&
        electronics.start(options.prepared) != DynoElectronics::Request::Done) {
        throw std::runtime_error("cannot start the test on " + portName + ": " +
                                 views.error().value_or(port.errorText()));
    }
    const auto startedAt = std::chrono::steady_clock::now();
    const auto isUnanswered = [&] {
        return !link.hasAnswered() && std::chrono::steady_clock::now() - startedAt >=
                                          std::chrono::milliseconds(answerWaitMs);
    };
    const bool isOver = runEventLoopUntil(
        [&] {
            return views.isSessionFinished() || views.error().has_value() ||
                   stopSignals.received() || isUnanswered();
        },
        timeoutMs);
    liveView.holdAfterSession([&] { return stopSignals.received() != 0; });

    std::optional<std::string> why = views.error();
    if (!why && stopSignals.received())
        why = "stopped by " + StopSignals::nameOf(stopSignals.received());
    if (!why && isUnanswered()) why = consoleNoAnswerText(portName);
    if (!why && !isOver) {
        why = "the session did not finish within " + std::to_string(timeoutMs / 1000) + " s";
    }
    const std::vector<std::pair<std::string, std::string>> extra{
        {"port", jsonString(port.devicePath())}};
    const std::string archive = sessionArchiveName(options.out).string();
    if (why) {
        // The runs that came whole are the rider's work: they are kept.
        const int kept = link.keepRunsReceived();
        if (kept == 0) throw std::runtime_error(*why + " (" + runsReceived(kept) + ")");
        saveRecordedSession(options, views, slot1, out, extra);
        err << "dynotool record: " << *why << " (" << runsReceived(kept) << "); saved "
            << savedRunsText(kept) << " in " << archive << "\n";
        return 1;
    }
    // Finished, but a run that arrived damaged may have lost samples or been discarded
    // on the way.
    const int whole = runsStored(slot1);
    const std::string finished = "the session finished with " + std::to_string(whole) + " of " +
                                 std::to_string(kRunsPerSession) + " runs, " +
                                 std::to_string(link.damagedRuns()) + " arrived damaged";
    if (whole == 0) throw std::runtime_error(finished);
    saveRecordedSession(options, views, slot1, out, extra);
    if (whole < kRunsPerSession || link.damagedRuns() > 0) {
        err << "dynotool record: " << finished << "; saved " << savedRunsText(whole) << " in "
            << archive << "\n";
        return 1;
    }
    return 0;
}

}  // namespace dyno::cli
