#include "cli/commands/CardSimulation.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "acquisition/card/CardSequence.h"
#include "acquisition/electronics/CardElectronics.h"
#include "acquisition/electronics/TestStart.h"
#include "cli/commands/CommandLiveView.h"
#include "cli/commands/EventLoop.h"
#include "cli/output/Json.h"
#include "evaluation/DynoPreparation.h"
#include "model/DynoSettings.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"
#include "simulator/SimulatedCard.h"
#include "simulator/WallClockPacer.h"

namespace dyno::cli {

namespace {

// Simulated time per port access: ten times what the real port costs, so a session
// of about a minute takes a few million accesses; periods stay exact to 0.02 %.
constexpr std::int64_t kAccessNs = 10'000;

DynoModel cardModelArgument(const Arguments& arguments) {
    std::string text = arguments.value("model").value_or("K70");
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (text == "K70") return DynoModel::K70;
    if (text == "K80") return DynoModel::K80;
    throw UsageError("--model must be K70 or K80 with --card, not '" + text + "'");
}

// The card's markers have no place on a console.
class NoMarkers final : public CardMarkerDisplay {
  public:
    void moveCardMarker(int, int, int) override {}
};

}  // namespace

PreparedTestStart simulatedCardStart(const Arguments& arguments, const RecordingOptions& options) {
    const DynoModel dynoModel = cardModelArgument(arguments);
    TestStartEntries entries = options.entries;
    entries.dynoModelIndex = static_cast<int>(dynoModel);
    entries.electronicsIndex = static_cast<int>(Electronics::Card);
    TestStartInForce inForce = options.inForce;
    inForce.rollerCode = dynoModel == DynoModel::K80 ? kK80RollerCodeOffset : 0;
    inForce.remoteButtonMask = remoteButtonMaskFor(dynoModel);
    const PreparedTestStart prepared = prepareTestStart(entries, inForce, false);
    if (!prepared.error.empty()) {
        throw UsageError("--test deg:N takes at most " + std::to_string(maxUserDegrees(dynoModel)) +
                         " degrees on this dyno");
    }
    return prepared;
}

int simulateCardSession(const Arguments& arguments, const VehicleProfile& vehicle,
                        RecordingOptions options, std::ostream& out, std::ostream& err) {
    if (arguments.flag("realtime")) throw UsageError("--realtime does not go with --card");
    if (arguments.value("time-lapse") && !arguments.value("live-view")) {
        throw UsageError("--time-lapse goes with --card only with --live-view");
    }
    const PreparedTestStart prepared = simulatedCardStart(arguments, options);
    const DynoModel dynoModel = prepared.cardChoice.dynoModel;
    options.model.clear();  // --model named the dyno, not the vehicle

    SimulatedCardOptions simulated;
    simulated.dynoModel = dynoModel;
    simulated.rollerCode = prepared.cardChoice.rollerCode;
    simulated.accessNs = kAccessNs;
    constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
    simulated.seed = static_cast<std::uint32_t>(
        arguments.integerIn("seed", 0, kLargest, static_cast<std::int32_t>(simulated.seed)));
    if (arguments.value("remote-delay")) {
        simulated.rider.pressAfterS =
            static_cast<double>(arguments.integerIn("remote-delay", 0, kLargest, 0)) / 1000.0;
    }
    simulated.rider.coastDown.isOn = arguments.flag("coast-down");
    SimulatedCard card(vehicle, simulated);

    auto model = SessionModel::create();
    TestSession& slot1 = model->slot(1);
    ConsoleK40Views views(err, options.isVerbose);
    CommandLiveView liveView(arguments, views, views, slot1, err);
    NoMarkers markers;
    applyPageCorrection(options, slot1, views);
    CardElectronics cardElectronics(
        {card, card, liveView.tee(), liveView.tee(), markers, views, views}, slot1);
    DynoElectronics& electronics = cardElectronics;
    liveView.beginSession(prepared.card.session, prepared.card.isRevCounterCheck,
                          prepared.card.speedInMph);
    if (liveView.isOn()) {
        // At the rider's pace, on a thread of its own, while this one serves the view.
        card.setPacer(WallClockPacer(arguments.integerIn("time-lapse", 1, 1000, 1)));
        std::atomic<bool> isOver{false};
        std::thread session([&] {
            electronics.start(prepared);
            isOver.store(true);
        });
        runEventLoopUntil([&] { return isOver.load(); }, 0);
        session.join();
        // The runs kept, with the station's correction the session's end applied.
        if (const auto ended = electronics.lastOutcome()) {
            liveView.tee().sessionEnded(ended->completedRuns);
        }
        liveView.holdAfterSession();
    } else {
        electronics.start(prepared);
    }
    const std::optional<SessionOutcome> outcome = electronics.lastOutcome();
    if (!outcome || outcome->kind != SessionOutcome::Kind::Finished) {
        throw std::runtime_error(outcome ? outcome->message : "the card session did not start");
    }
    saveRecordedSession(options, views, slot1, out,
                        {{"vehicle", jsonString(vehicle.name)},
                         {"dyno", jsonString(dynoModel == DynoModel::K80 ? "K80" : "K70")},
                         {"portAccesses", jsonNumber(static_cast<double>(card.accesses()))}});
    return 0;
}

}  // namespace dyno::cli
