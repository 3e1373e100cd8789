// `dynotool simulate`: a whole three-run session of the simulated K40 electronics with
// a simulated vehicle on the roller, through the same link, sequence and save as the
// window, saved as a session archive. With --pty the simulated electronics are served
// on a pseudo-terminal instead, for `dynotool record` or the window to open as their
// serial port.
#include <QElapsedTimer>
#include <csignal>
#include <limits>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "acquisition/ManualClock.h"
#include "acquisition/electronics/K40Electronics.h"
#include "acquisition/k40/K40Link.h"
#include "acquisition/ports/PtyServer.h"
#include "acquisition/ports/QtClock.h"
#include "cli/commands/CardSimulation.h"
#include "cli/commands/CommandLiveView.h"
#include "cli/commands/Commands.h"
#include "cli/commands/EventLoop.h"
#include "cli/options/Arguments.h"
#include "cli/options/RecordingOptions.h"
#include "cli/output/Json.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"
#include "simulator/SimulatedK40.h"

namespace dyno::cli {

namespace {

constexpr const char* kDefaultVehicle = "scooter50";
constexpr std::int64_t kDefaultRealtimeTimeoutMs = 15 * 60 * 1000;
constexpr double kLongestIdleS = 365.0 * 24 * 3600;

const VehicleProfile& vehicleArgument(const Arguments& arguments) {
    const std::string name = arguments.value("vehicle").value_or(kDefaultVehicle);
    if (const VehicleProfile* profile = findVehicleProfile(name)) return *profile;
    std::string known;
    for (const VehicleProfile& profile : vehicleProfiles()) {
        known += (known.empty() ? "" : ", ") + std::string(profile.name);
    }
    throw UsageError("unknown vehicle '" + name + "' (known: " + known + ")");
}

// The test type and gearbox a workshop would pick for the vehicle.
RecordingDefaults defaultsFor(const VehicleProfile& vehicle) {
    RecordingDefaults defaults;
    switch (vehicle.ignitionDegrees) {
        case 720: defaults.testType = TestType::Degrees720; break;
        case 360: defaults.testType = TestType::Degrees360; break;
        case 180: defaults.testType = TestType::Degrees180; break;
        default:
            defaults.testType = TestType::UserDefinedDegrees;
            defaults.userDegreesText = std::to_string(vehicle.ignitionDegrees);
            break;
    }
    defaults.gearbox = vehicle.transmission == Transmission::FixedGearing
                           ? GearboxType::FixedGearing
                           : GearboxType::Variomatic;
    return defaults;
}

SimulatedK40Options electronicsOptions(const Arguments& arguments, double rollerWeightKg) {
    SimulatedK40Options options;
    options.rollerWeightKg = rollerWeightKg;
    constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
    options.seed = static_cast<std::uint32_t>(
        arguments.integerIn("seed", 0, kLargest, static_cast<std::int32_t>(options.seed)));
    options.remoteDelayMs = arguments.integerIn("remote-delay", 0, kLargest,
                                                static_cast<std::int32_t>(options.remoteDelayMs));
    options.runsRidden = arguments.integerIn("rider-runs", 0, kRunsPerSession, options.runsRidden);
    options.strayBytes = arguments.integerIn("stray-bytes", 0, 100, 0);
    options.strayBytesRun =
        arguments.integerIn("stray-run", 1, kRunsPerSession, options.strayBytesRun);
    options.coastDown.isOn = arguments.flag("coast-down");
    options.lambdaProbe.isOn = arguments.flag("lambda");
    return options;
}

int timeLapseArgument(const Arguments& arguments) {
    return arguments.integerIn("time-lapse", 1, 1000, 1);
}

std::string sentRunsJson(const SimulatedK40& electronics) {
    std::string runs = "[";
    for (std::size_t r = 0; r < electronics.runs().size(); ++r) {
        runs += (r ? ", " : "") + std::to_string(electronics.runs()[r].size());
    }
    return runs + "]";
}

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

// Serves the electronics on a pseudo-terminal: its path first, on a line of its own,
// then, once stopped (Ctrl+C, SIGTERM) or idle for --idle-exit seconds, one JSON line
// of what went over the line. The window may take its time before "Start Test".
int servePty(const Arguments& arguments, const VehicleProfile& vehicle, std::ostream& out) {
    for (const char* name : {"out", "test", "channels", "realtime", "live-view"}) {
        if (arguments.value(name) || arguments.flag(name)) {
            throw UsageError(std::string("--") + name +
                             " belongs to the program that opens the terminal, not to --pty");
        }
    }
    const std::int64_t idleLimitMs = static_cast<std::int64_t>(
        arguments.numberIn("idle-exit", 0.001, kLongestIdleS, 0.0) * 1000);
    const auto application = commandLineApplication();
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    QtClock clock(timeLapseArgument(arguments));
    SimulatedK40Options options = electronicsOptions(arguments, 184.0);
    options.isPacedAtLineRate = true;
    SimulatedK40 electronics(clock, vehicle, options);
    PtyServer server(electronics);
    if (!server.start()) throw std::runtime_error(server.errorText());
    out << server.slavePath() << "\n" << std::flush;

    QElapsedTimer sinceLastByte;
    sinceLastByte.start();
    std::uint64_t bytesSeen = 0;
    runEventLoopUntil(
        [&] {
            // A stop wins even over bytes the program no longer reads.
            if (stopRequested != 0) return true;
            if (server.bytesToProgram() != bytesSeen || server.bytesUndelivered() > 0) {
                bytesSeen = server.bytesToProgram();
                sinceLastByte.restart();
                return false;
            }
            if (!server.isServing()) return true;
            return idleLimitMs > 0 && electronics.phase() == SimulatedK40::Phase::Idle &&
                   sinceLastByte.elapsed() >= idleLimitMs;
        },
        0);

    out << JsonObject()
               .add("vehicle", vehicle.name)
               .addRaw("runs", sentRunsJson(electronics))
               .add("commands", static_cast<int>(electronics.commandsReceived().size()))
               .add("bytesSent", static_cast<double>(server.bytesToProgram()))
               .add("overrunBytes", static_cast<double>(electronics.overrunBytes()))
               .add("undeliveredBytes", static_cast<double>(server.bytesUndelivered()))
               .str()
        << "\n";
    return 0;
}

// Without a program at the other end, a rider who leaves would hold the session.
void refusePtyOptions(const Arguments& arguments) {
    for (const char* name : {"rider-runs", "idle-exit", "stray-bytes", "stray-run"}) {
        if (arguments.value(name)) throw UsageError(std::string("--") + name + " goes with --pty");
    }
}

// Starts the session as "Start Test" does; the clock's owner then runs it.
void startSession(K40Link& link, RecordingOptions& options, ConsoleK40Views& views,
                  TestSession& slot1, CommandLiveView& liveView) {
    applyPageCorrection(options, slot1, views);
    liveView.beginSession(options.prepared.k40.session, options.prepared.k40.isRevCounterCheck);
    options.prepared.k40.portName = std::string(kSimulatedPortName);
    link.sendStartUp(kSimulatedPortName, options.prepared.k40.recording.transferDelay);
    K40Electronics electronics(link, views);
    if (DynoElectronics& chosen = electronics;
        chosen.start(options.prepared) != DynoElectronics::Request::Done) {
        throw std::runtime_error(views.error().value_or("the simulated electronics did not start"));
    }
}

}  // namespace

int runSimulate(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    std::set<std::string> valueOptions = recordingValueOptions();
    // The simulated roller is a K40's.
    valueOptions.erase("dyno");
    valueOptions.erase("roller-code");
    valueOptions.insert({"vehicle", "seed", "remote-delay", "rider-runs", "time-lapse", "idle-exit",
                         "stray-bytes", "stray-run"});
    valueOptions.merge(liveViewValueOptions());
    std::set<std::string> flagOptions = recordingFlagOptions();
    flagOptions.insert({"realtime", "pty", "card", "coast-down", "lambda"});
    const Arguments arguments(words, valueOptions, flagOptions);
    if (!arguments.operands().empty()) {
        throw UsageError("unexpected argument '" + arguments.operands().front() + "'");
    }
    const VehicleProfile& vehicle = vehicleArgument(arguments);
    if (arguments.flag("pty")) return servePty(arguments, vehicle, out);
    refusePtyOptions(arguments);

    const bool isCard = arguments.flag("card");
    if (!isCard && arguments.flag("weather")) {
        throw UsageError("--weather goes with --card: the simulated K40 session has no station");
    }
    // With --card, --model names the dyno (K70 or K80), not the vehicle.
    RecordingOptions options = recordingOptionsFrom(arguments, defaultsFor(vehicle));
    if (options.out.empty()) throw UsageError("missing --out");
    if (isCard) {
        if (arguments.flag("lambda")) throw UsageError("--lambda goes with the simulated K40");
        return simulateCardSession(arguments, vehicle, options, out, err);
    }
    const bool isRealtime = arguments.flag("realtime");
    if (!isRealtime && arguments.value("time-lapse")) {
        throw UsageError("--time-lapse goes with --realtime or --pty");
    }

    auto model = SessionModel::create();
    TestSession& slot1 = model->slot(1);
    AcquisitionState state;
    ConsoleK40Views views(err, options.isVerbose);
    CommandLiveView liveView(arguments, views, views, slot1, err);
    SimulatedK40Options simulated =
        electronicsOptions(arguments, options.prepared.k40.session.rollerWeightKg);
    std::string sentRuns;
    double overrunBytes = 0.0;
    if (isRealtime) {
        // At the pace of a real dyno: runs in real time, packets at the line rate.
        const auto application = commandLineApplication();
        QtClock clock(timeLapseArgument(arguments));
        simulated.isPacedAtLineRate = true;
        SimulatedK40 electronics(clock, vehicle, simulated);
        K40Link link({electronics, clock, liveView.tee(), liveView.tee(), views, views}, *model,
                     state);
        startSession(link, options, views, slot1, liveView);
        runEventLoopUntil([&] { return views.isSessionFinished() || views.error().has_value(); },
                          options.timeoutMs > 0 ? options.timeoutMs : kDefaultRealtimeTimeoutMs);
        sentRuns = sentRunsJson(electronics);
        overrunBytes = static_cast<double>(electronics.overrunBytes());
    } else {
        // As fast as the computer goes: the clock jumps from one event to the next.
        ManualClock clock;
        SimulatedK40 electronics(clock, vehicle, simulated);
        K40Link link({electronics, clock, liveView.tee(), liveView.tee(), views, views}, *model,
                     state);
        startSession(link, options, views, slot1, liveView);
        clock.runUntilIdle();
        sentRuns = sentRunsJson(electronics);
        overrunBytes = static_cast<double>(electronics.overrunBytes());
    }
    liveView.holdAfterSession();
    if (views.error()) throw std::runtime_error(*views.error());
    if (!views.isSessionFinished()) {
        throw std::runtime_error("the simulated session did not finish");
    }
    saveRecordedSession(options, views, slot1, out,
                        {{"vehicle", jsonString(vehicle.name)},
                         {"sentRuns", sentRuns},
                         {"overrunBytes", jsonNumber(overrunBytes)}});
    return 0;
}

}  // namespace dyno::cli
