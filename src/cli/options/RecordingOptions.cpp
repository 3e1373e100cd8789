#include "cli/options/RecordingOptions.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "acquisition/electronics/TestStart.h"
#include "cli/options/CorrectionArguments.h"
#include "cli/output/Json.h"
#include "evaluation/CorrectionApply.h"
#include "evaluation/CorrectionSources.h"
#include "evaluation/RollerInertia.h"
#include "files/SavedAirData.h"
#include "files/SessionArchive.h"
#include "model/Cp1252.h"
#include "model/DynoSettings.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

namespace {

// The Setup page's defaults: the roller of a K40 and the "USB data transfer delay".
constexpr double kDefaultRollerWeightKg = 184.0;
constexpr std::uint8_t kDefaultTransferDelay = 20;
// Bounds that keep a typed number meaningful: no roller weighs a thousand tonnes, and
// a wait of a year is a typing error (and would overflow the milliseconds).
constexpr double kLargestRollerWeightKg = 1.0e6;
constexpr double kLongestTimeoutS = 365.0 * 24 * 3600;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

struct TestTypeChoice {
    TestType type;
    std::string userDegreesText = "360";  // `testuserdef`'s default
};

TestTypeChoice testTypeArgument(const std::string& text) {
    const std::string word = lowerCase(text);
    if (word == "norpm") return {TestType::NoRpmRegistration};
    if (word == "720") return {TestType::Degrees720};
    if (word == "360") return {TestType::Degrees360};
    if (word == "180") return {TestType::Degrees180};
    if (word.rfind("deg:", 0) == 0) {
        const std::string degrees = word.substr(4);
        if (const auto value = strictInteger(degrees); value && *value > 0) {
            return {TestType::UserDefinedDegrees, degrees};
        }
    }
    throw UsageError("--test must be norpm, 720, 360, 180 or deg:N with N degrees, not '" + text +
                     "'");
}

DynoModel dynoArgument(const std::string& text) {
    const std::string word = lowerCase(text);
    if (word == "k40") return DynoModel::K40;
    if (word == "k70") return DynoModel::K70;
    if (word == "k80") return DynoModel::K80;
    throw UsageError("--dyno must be K40, K70 or K80, not '" + text + "'");
}

GearboxType gearboxArgument(const std::string& text) {
    const std::string word = lowerCase(text);
    if (word == "variomatic") return GearboxType::Variomatic;
    if (word == "fixed") return GearboxType::FixedGearing;
    throw UsageError("--gearbox must be variomatic or fixed, not '" + text + "'");
}

}  // namespace

std::set<std::string> recordingValueOptions() {
    return {"out",     "test",           "channels", "dyno",        "roller-weight", "roller-code",
            "gearbox", "transfer-delay", "pressure", "temperature", "humidity",      "standard",
            "make",    "model",          "owner",    "remark",      "timeout"};
}

std::set<std::string> recordingFlagOptions() {
    return {"weather", "verbose"};
}

RecordingOptions recordingOptionsFrom(const Arguments& arguments,
                                      const RecordingDefaults& defaults) {
    RecordingOptions options;
    if (const auto out = arguments.value("out")) options.out = *out;

    // The entries the Setup, Test and Param. pages would hold, then "Start Test"
    // through the same preparation as the window's.
    TestStartEntries entries;
    const DynoModel dyno = dynoArgument(arguments.value("dyno").value_or("K40"));
    entries.dynoModelIndex = static_cast<int>(dyno);
    // `record` and `simulate` speak to K40 electronics unless `simulate --card` says.
    entries.electronicsIndex = static_cast<int>(Electronics::UsbSerial);
    if (const auto port = arguments.value("port")) entries.portName = *port;
    TestTypeChoice testType{defaults.testType, defaults.userDegreesText};
    if (const auto test = arguments.value("test")) testType = testTypeArgument(*test);
    entries.testTypes = TestTypeButtons(testType.type);
    entries.userDegreesText = testType.userDegreesText;
    if (const auto channels = arguments.integerList("channels", 1, 5)) {
        for (const std::int32_t channel : *channels) {
            entries.recording.analogChannels[static_cast<std::size_t>(channel - 1)] = true;
        }
    }
    entries.recording.isWeatherStationConnected = arguments.flag("weather");
    entries.gearbox = defaults.gearbox;
    if (const auto gearbox = arguments.value("gearbox"))
        entries.gearbox = gearboxArgument(*gearbox);
    // As a box holds it: plain digits, which read back as the same weight.
    entries.rollerWeightText = formatFixed(
        arguments.numberIn("roller-weight", 0.0, kLargestRollerWeightKg, kDefaultRollerWeightKg),
        17);
    if (const auto standard = arguments.value("standard")) {
        options.standard = standardArgument(*standard);
    }
    entries.standard = options.standard;

    // What the settings file would have put in force: the transfer delay and the
    // roller code (a standard roller without extras unless told otherwise; the K40
    // keeps none).
    TestStartInForce inForce;
    inForce.transferDelay = static_cast<std::uint8_t>(
        arguments.integerIn("transfer-delay", 0, 255, kDefaultTransferDelay));
    const std::int32_t defaultCode = dyno == DynoModel::K80 ? kK80RollerCodeOffset : 0;
    inForce.rollerCode =
        static_cast<std::int16_t>(arguments.integerIn("roller-code", 0, 99, defaultCode));
    if (dyno != DynoModel::K40 && !RollerInertiaTable::massFactorOf(inForce.rollerCode)) {
        throw UsageError("--roller-code " + std::to_string(inForce.rollerCode) +
                         " is no roller of the K70/K80 range");
    }

    const PreparedTestStart prepared = prepareTestStart(entries, inForce, false);
    if (!prepared.error.empty()) {
        throw UsageError("--test deg:N takes at most " + std::to_string(maxUserDegrees(dyno)) +
                         " degrees on this dyno");
    }
    options.prepared = prepared;
    options.entries = entries;
    options.inForce = inForce;

    for (const char* name : {"pressure", "temperature", "humidity", "standard"}) {
        if (arguments.value(name)) options.isCorrectionComputed = true;
    }
    options.typedAir.pressureMbar = arguments.number("pressure", options.typedAir.pressureMbar);
    options.typedAir.temperatureC = arguments.number("temperature", options.typedAir.temperatureC);
    options.typedAir.humidityPercent =
        arguments.number("humidity", options.typedAir.humidityPercent);

    options.make = arguments.value("make").value_or("");
    options.model = arguments.value("model").value_or("");
    options.owner = arguments.value("owner").value_or("");
    options.remark = arguments.value("remark").value_or("");
    options.isVerbose = arguments.flag("verbose");
    options.timeoutMs =
        static_cast<std::int64_t>(arguments.numberIn("timeout", 0.0, kLongestTimeoutS, 0.0) * 1000);
    return options;
}

void ConsoleK40Views::showRemoteText(std::string_view text, Rgb, Rgb) {
    if (isVerbose_) err_ << text << "\n" << std::flush;
    if (text == kSessionFinishedText) isSessionFinished_ = true;
}

void ConsoleK40Views::showRemoteTextInLastColours(std::string_view text) {
    showRemoteText(text, Rgb::Black, Rgb::Black);  // the console has no colours
}

void ConsoleK40Views::showDigit(int digit) {
    if (isVerbose_) err_ << "run " << digit << "\n" << std::flush;
}

void ConsoleK40Views::showFirmwareVersion(std::string_view high, std::string_view low) {
    firmware_ = std::string(high) + "." + std::string(low);
}

void ConsoleK40Views::showNoAnswer(std::string_view portName) {
    if (portName.empty()) return;
    err_ << "warning: " << consoleNoAnswerText(portName) << "\n" << std::flush;
}

std::string consoleNoAnswerText(std::string_view portName) {
    return "no answer from the dyno electronics on " + std::string(portName) +
           ": check power, cable and --port";
}

void ConsoleK40Views::show(MessageKind kind, std::string_view caption, std::string_view text) {
    if (kind == MessageKind::Error) {
        // Every error of the link ends the session: the port would not open or is gone.
        if (!error_) error_ = std::string(text);
        return;
    }
    err_ << (kind == MessageKind::Warning ? "warning: " : "information: ") << caption << ": "
         << text << "\n";
}

void applyPageCorrection(const RecordingOptions& options, TestSession& slot1,
                         MessageSink& messages) {
    if (!options.isCorrectionComputed) {
        applyCorrection(factorOne(), CorrectionTarget::CorrectionFactor, slot1, messages);
        return;
    }
    applyCorrection(correctionFromTypedAir(options.typedAir, AirUnitOptions{}, options.standard),
                    CorrectionTarget::CorrectionFactor, slot1, messages);
}

void saveRecordedSession(const RecordingOptions& options, const ConsoleK40Views& views,
                         TestSession& slot1, std::ostream& out,
                         const std::vector<std::pair<std::string, std::string>>& extra) {
    slot1.make.assign(toWindows1252(options.make));
    slot1.model.assign(toWindows1252(options.model));
    slot1.owner.assign(toWindows1252(options.owner));
    // The Remarks page has three lines; a remark with line breaks fills them in turn.
    TestSession::Remark* lines[] = {&slot1.remarkLine1, &slot1.remarkLine2, &slot1.remarkLine3};
    std::string_view remark = options.remark;
    for (TestSession::Remark* line : lines) {
        const std::size_t end = std::min(remark.find('\n'), remark.size());
        line->assign(toWindows1252(remark.substr(0, end)));
        remark = remark.substr(std::min(end + 1, remark.size()));
    }

    // What the Param. page's boxes hold at the save: the station's values once it
    // answered, otherwise what was typed.
    SavedAirData air;
    if (const auto& station = views.stationValues()) {
        air = savedAirDataFromEntries(station->pressure, station->temperature, station->humidity,
                                      false, false);
    } else {
        air.pressureMbar = options.typedAir.pressureMbar;
        air.temperatureCelsius = options.typedAir.temperatureC;
        air.humidityPercent = options.typedAir.humidityPercent;
    }
    const std::filesystem::path archive = sessionArchiveName(options.out);
    if (const FileResult<> saved = saveSessionArchive(archive, slot1, air); !saved) {
        std::string reason = saved.error().message;
        if (!saved.error().detail.empty()) reason += ": " + saved.error().detail;
        throw std::runtime_error(reason + ": " + archive.string());
    }

    JsonObject json;
    json.add("file", archive.string());
    json.addRaw("runs", runLengthsJson(slot1));
    json.add("correctionFactor", slot1.correctionFactor);
    json.add("firmware", views.firmwareVersion());
    for (const auto& [key, value] : extra) json.addRaw(key, value);
    out << json.str() << "\n";
}

std::string runLengthsJson(const TestSession& session) {
    std::string runs = "[";
    for (int r = 0; r < kRunsPerSession; ++r) {
        runs += (r ? ", " : "") + std::to_string(session.leadingPeriods(r));
    }
    return runs + "]";
}

}  // namespace dyno::cli
