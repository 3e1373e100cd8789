#include "cli/commands/CardSimulation.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <stdexcept>
#include <string>

#include "acquisition/card/CardSequence.h"
#include "cli/output/Json.h"
#include "evaluation/DynoPreparation.h"
#include "model/DynoSettings.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"
#include "simulator/SimulatedCard.h"

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

int simulateCardSession(const Arguments& arguments, const VehicleProfile& vehicle,
                        RecordingOptions options, std::ostream& out, std::ostream& err) {
    const DynoModel dynoModel = cardModelArgument(arguments);
    options.model.clear();  // --model named the dyno, not the vehicle
    const DynoPreparation dyno =
        prepareDyno(DynoConstantsInForce{}, dynoModel, Electronics::Card, BarMarkerTexts{});
    const RpmPreparation rpm =
        prepareRpm(options.testTypes, options.userDegreesText, dynoModel, RpmConstants{});
    if (rpm.isUserDegreesOutOfRange) {
        throw UsageError("--test deg:N takes at most " + std::to_string(maxUserDegrees(dynoModel)) +
                         " degrees on this dyno");
    }

    CardStart start;
    start.remoteButtonMask = remoteButtonMaskFor(dynoModel);
    start.rpm = rpm.constants;
    start.channels = options.start.recording.analogChannels;
    start.session = options.start.session;
    start.session.dynoModel = dynoModel;
    start.session.electronics = Electronics::Card;
    start.session.rollerCode = dynoModel == DynoModel::K80 ? kK80RollerCodeOffset : 0;
    start.session.speedDialConstant = dyno.constants.speedDialConstant;
    start.weather.isStationConnected = arguments.flag("weather");
    start.weather.options.standard = options.standard;

    SimulatedCardOptions simulated;
    simulated.dynoModel = dynoModel;
    simulated.rollerCode = start.session.rollerCode;
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
    NoMarkers markers;
    applyPageCorrection(options, slot1, views);
    CardSequence sequence({card, card, views, views, markers, views}, slot1);
    const CardOutcome outcome = sequence.run(start);
    if (outcome.kind != CardOutcome::Kind::Finished) throw std::runtime_error(outcome.message);
    saveRecordedSession(options, views, slot1, out,
                        {{"vehicle", jsonString(vehicle.name)},
                         {"dyno", jsonString(dynoModel == DynoModel::K80 ? "K80" : "K70")},
                         {"portAccesses", jsonNumber(static_cast<double>(card.accesses()))}});
    return 0;
}

}  // namespace dyno::cli
