#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/SequenceView.h"
#include "acquisition/electronics/TestStart.h"
#include "acquisition/k40/K40Link.h"
#include "acquisition/k40/K40StatusView.h"
#include "cli/options/Arguments.h"
#include "evaluation/CorrectionFactor.h"
#include "evaluation/DynoPreparationRpm.h"
#include "model/MessageSink.h"
#include "model/TestSession.h"

// What `dynotool simulate` and `dynotool record` share: the options that stand in for
// the Test, Setup, Param. and Remarks pages, the console in place of the Speed page
// and the message boxes, and the save at the end of a session.
namespace dyno::cli {

// The options both commands read; each adds its own.
std::set<std::string> recordingValueOptions();
std::set<std::string> recordingFlagOptions();

// The window's defaults a command starts from where an option is not given.
struct RecordingDefaults {
    TestType testType = TestType::NoRpmRegistration;  // the Test page's default
    std::string userDegreesText = "360";              // `testuserdef`
    GearboxType gearbox = GearboxType::Variomatic;
};

// A session's set-up as the pages would hold it when "Start Test" is pressed.
struct RecordingOptions {
    // The start as the window's "Start Test" would prepare it from the same set-up;
    // the commands complete its K40 request (the port they open).
    PreparedTestStart prepared;
    // What it was prepared from, for a start on other electronics or another dyno.
    TestStartEntries entries;
    TestStartInForce inForce;
    std::filesystem::path out;
    // The Param. page: the boxes' values, and whether "Use correction factor" was
    // pressed (any of --pressure, --temperature, --humidity, --standard given); else
    // "Factor = 1.00".
    AirConditions typedAir{};
    CorrectionStandard standard = CorrectionStandard::Eec;
    bool isCorrectionComputed = false;
    // The Remarks page, UTF-8 as typed.
    std::string make, model, owner, remark;
    bool isVerbose = false;
    std::int64_t timeoutMs = 0;  // 0: wait for ever
};

// Reads the shared options: --test norpm|720|360|180|deg:N, --channels 1,2,..,
// --weather, --dyno K40|K70|K80, --roller-weight KG, --roller-code N,
// --gearbox variomatic|fixed, --transfer-delay D, --pressure, --temperature,
// --humidity, --standard, --make, --model, --owner, --remark, --out, --timeout S,
// --verbose. The dial and rpm constants are prepared as the Test page's start does.
// Throws UsageError for anything a page would not accept.
RecordingOptions recordingOptionsFrom(const Arguments& arguments,
                                      const RecordingDefaults& defaults);

// The console in place of the Speed page, the Setup page's status fields and the
// message boxes. Warnings and notices go to stderr at once; an error ends the
// session and becomes the command's one-line reason. With `isVerbose` the rider's
// instructions and the run number are echoed to stderr as they change.
class ConsoleK40Views final : public SequenceView,
                              public LiveDisplay,
                              public K40StatusView,
                              public MessageSink {
  public:
    ConsoleK40Views(std::ostream& err, bool isVerbose) : err_(err), isVerbose_(isVerbose) {}

    void showRemoteText(std::string_view text, Rgb shadow, Rgb font) override;
    void showRemoteTextInLastColours(std::string_view text) override;
    void showDigit(int digit) override;
    void drawNeedle(Dial, int, Rgb) override {}
    void moveK40Marker(int, int, int) override {}
    void setLed(bool) override {}
    void showFirmwareVersion(std::string_view high, std::string_view low) override;
    void showSampleSetting(std::string_view) override {}
    void showStationValues(const StationDisplayTexts& texts) override { station_ = texts; }
    void showCorrectionFactor(std::string_view) override {}
    // The session goes on waiting: electronics switched on late still answer.
    void showNoAnswer(std::string_view portName) override;
    void show(MessageKind kind, std::string_view caption, std::string_view text) override;

    bool isSessionFinished() const { return isSessionFinished_; }
    const std::optional<std::string>& error() const { return error_; }
    const std::string& firmwareVersion() const { return firmware_; }
    // The weather station's values as they were written into the Param. page.
    const std::optional<StationDisplayTexts>& stationValues() const { return station_; }

  private:
    std::ostream& err_;
    bool isVerbose_;
    bool isSessionFinished_ = false;
    std::optional<std::string> error_;
    std::string firmware_;
    std::optional<StationDisplayTexts> station_;
};

// The Param. page's "Use correction factor" or "Factor = 1.00" for slot 1, done before
// the start as the user would; a weather station answering during the session
// overrides it, as in the window.
void applyPageCorrection(const RecordingOptions& options, TestSession& slot1,
                         MessageSink& messages);

// The save at the end of a session: the Remarks page's texts into slot 1, then the
// archive with the Param. page's air data (the station's, when it answered). Prints
// one JSON line describing the saved session, with `extra` members appended (each
// "key": value, already JSON). Throws std::runtime_error when the save fails.
void saveRecordedSession(const RecordingOptions& options, const ConsoleK40Views& views,
                         TestSession& slot1, std::ostream& out,
                         const std::vector<std::pair<std::string, std::string>>& extra = {});

// "no answer from the dyno electronics on /dev/ttyUSB0: check power, cable and --port".
std::string consoleNoAnswerText(std::string_view portName);

// "[560, 548, 571]": the roller samples of the three runs of a session.
std::string runLengthsJson(const TestSession& session);

}  // namespace dyno::cli
