// `dynotool weather --port PORT|SIM [--json]`: "Get data from Weatherstation" with the
// K40 electronics. Sends the weather request and waits for packets 20 and 21, using
// the settings file of the current folder as the window would (station constants,
// correction standard, units; the window's defaults without one). Prints the raw
// counts, the station's unrounded values, the station's factor and the factor the
// window stores in slot 1 (computed from the rounded box texts).
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "acquisition/ManualClock.h"
#include "acquisition/electronics/K40Electronics.h"
#include "acquisition/k40/K40Link.h"
#include "acquisition/ports/QtClock.h"
#include "acquisition/ports/SerialByteLink.h"
#include "cli/commands/Commands.h"
#include "cli/commands/EventLoop.h"
#include "cli/options/Arguments.h"
#include "cli/options/RecordingOptions.h"
#include "cli/output/Json.h"
#include "files/SettingsFileCodec.h"
#include "model/SessionModel.h"
#include "simulator/SimulatedK40.h"

namespace dyno::cli {

namespace {

constexpr std::int64_t kAnswerTimeoutMs = 5000;
constexpr const char* kSimulatedPort = "SIM";

struct WeatherSettings {
    K40WeatherSetup weather;
    std::uint8_t transferDelay = 20;
};

WeatherSettings settingsOfCurrentFolder() {
    DynoSettings settings;
    const SettingsFileRead read =
        readSettingsFile(std::filesystem::current_path() / kSettingsFileName, settings);
    WeatherSettings result;
    result.weather.constants = {read.inForce.weatherTemperatureConstant,
                                read.inForce.weatherPressureConstant,
                                read.inForce.weatherHumidityConstant};
    result.weather.units = {settings.useFahrenheit, settings.useInchHg};
    result.weather.standard =
        correctionStandardFromIndex(settings.correctionStandard).value_or(CorrectionStandard::Eec);
    result.transferDelay = read.inForce.transferDelay;
    return result;
}

// The request the Setup page's button would make with the same settings.
StationRequest stationRequestOf(const std::string& port, const WeatherSettings& settings) {
    StationRequest request;
    request.portName = port;
    request.transferDelay = settings.transferDelay;
    request.k40Weather = settings.weather;
    return request;
}

void printReadings(const AcquisitionState& state, const WeatherSettings& settings,
                   const TestSession& slot1, bool isJson, std::ostream& out) {
    const WeatherStationReading reading{state.weatherTempRaw, state.weatherBaroRaw,
                                        state.weatherHumRaw};
    const StationCorrection station = correctionFromStationK40(
        reading, settings.weather.constants, {settings.weather.units, settings.weather.standard});
    JsonObject json;
    json.add("tempRaw", reading.tempRaw)
        .add("baroRaw", reading.baroRaw)
        .add("humRaw", reading.humRaw)
        .add("temperature", station.air.temperatureC)
        .add("pressure", station.air.pressureMbar)
        .add("humidity", station.air.humidityPercent)
        .add("stationFactor", station.correction.factor)
        .add("factor", slot1.correctionFactor);
    if (isJson) {
        out << json.str() << "\n";
        return;
    }
    out << "tempRaw " << reading.tempRaw << "\nbaroRaw " << reading.baroRaw << "\nhumRaw "
        << reading.humRaw << "\ntemperature " << jsonNumber(station.air.temperatureC)
        << "\npressure " << jsonNumber(station.air.pressureMbar) << "\nhumidity "
        << jsonNumber(station.air.humidityPercent) << "\nstationFactor "
        << jsonNumber(station.correction.factor) << "\nfactor "
        << jsonNumber(slot1.correctionFactor) << "\n";
}

}  // namespace

int runWeather(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const Arguments arguments(words, {"port"}, {"json"});
    if (!arguments.operands().empty()) {
        throw UsageError("unexpected argument '" + arguments.operands().front() + "'");
    }
    const std::string port = arguments.required("port");
    const WeatherSettings settings = settingsOfCurrentFolder();

    auto model = SessionModel::create();
    AcquisitionState state;
    ConsoleK40Views views(err, false);
    bool isAnswered = false;
    if (port == kSimulatedPort) {
        ManualClock clock;
        SimulatedK40 electronics(clock, *findVehicleProfile("scooter50"), SimulatedK40Options{});
        K40Link link({electronics, clock, views, views, views, views}, *model, state);
        K40Electronics k40(link, views);
        static_cast<DynoElectronics&>(k40).readWeatherStation(stationRequestOf(port, settings));
        clock.runUntilIdle();
        isAnswered = views.stationValues().has_value();
    } else {
        const auto application = commandLineApplication();
        QtClock clock;
        SerialByteLink serial;
        K40Link link({serial, clock, views, views, views, views}, *model, state);
        K40Electronics k40(link, views);
        if (static_cast<DynoElectronics&>(k40).readWeatherStation(
                stationRequestOf(port, settings)) != DynoElectronics::Request::Done) {
            throw std::runtime_error("cannot open " + port + " (" + serial.devicePath() +
                                     "): " + views.error().value_or(serial.errorText()));
        }
        isAnswered = runEventLoopUntil(
            [&] { return views.stationValues().has_value() || views.error().has_value(); },
            kAnswerTimeoutMs, 10);
        if (views.error()) throw std::runtime_error(*views.error());
    }
    if (!isAnswered) {
        throw std::runtime_error("no answer from the weather station on " + port + " within " +
                                 std::to_string(kAnswerTimeoutMs / 1000) + " s");
    }
    printReadings(state, settings, model->slot(1), arguments.flag("json"), out);
    return 0;
}

}  // namespace dyno::cli
