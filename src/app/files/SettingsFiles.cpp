#include "app/files/SettingsFiles.h"

#include <QDir>
#include <QFile>
#include <utility>

#include "acquisition/card/CardPorts.h"
#include "app/dialogs/AdvancedSetupDialog.h"
#include "app/pages/AdSettingsPage.h"
#include "app/pages/InfoPage.h"
#include "app/pages/ParamPage.h"
#include "evaluation/DynoConstants.h"
#include "files/AnalogSettingsFileCodec.h"
#include "files/AnalysisSettingsFile.h"
#include "files/SettingsFileCodec.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

DynoModel knownDynoModel(int index) {
    return isKnownDynoModel(index) ? static_cast<DynoModel>(index) : DynoModel::K40;
}

GraphScale graphScaleOf(const SettingsInForce& inForce) {
    const auto& l = inForce.graphLimits;
    return GraphScale{l[0], l[1], l[2], l[3], l[4], l[5]};
}

WeatherStationConstants weatherConstantsOf(const SettingsInForce& inForce) {
    return WeatherStationConstants{inForce.weatherTemperatureConstant,
                                   inForce.weatherPressureConstant,
                                   inForce.weatherHumidityConstant};
}

}  // namespace

SettingsFiles::SettingsFiles(const SettingsPages& pages, ProgramState& state, MessageSink& messages,
                             QString startDirectory)
    : pages_(pages),
      state_(state),
      messages_(&messages),
      startDirectory_(std::move(startDirectory)),
      homeFolder_(QDir::homePath()),
      decimalSeparator_(userDecimalSeparator()) {}

QString SettingsFiles::programSettingsPath() const {
    return QDir(startDirectory_).filePath(QString::fromLatin1(kSettingsFileName));
}

QString SettingsFiles::analogSettingsPath() const {
    return QDir(startDirectory_).filePath(QString::fromLatin1(kAnalogSettingsFileName));
}

QString SettingsFiles::analysisSettingsPath() const {
    return QDir(startDirectory_).filePath(QString::fromLatin1(kAnalysisSettingsFileName));
}

void SettingsFiles::showFileError(const std::string& message, bool isConversionError) {
    messages_->show(MessageKind::Error,
                    isConversionError ? kToolkitErrorCaption : kFileErrorCaption, message);
}

void SettingsFiles::readProgramSettings() {
    DynoSettings settings = settingsFromPages(pages_);
    const SettingsFileRead read = readSettingsFile(toPath(programSettingsPath()), settings);
    if (read.error) {
        showFileError(read.error->message, false);
        state_.cardPressureScale = CardPressureScale::Per24;
        // A first start on Linux has no drive "C:\": the test folder starts as the
        // user's home folder, which a later save then stores.
        settings.initialFolder = homeFolder_.toStdString();
    }
    const SettingsInForce& inForce = read.inForce;

    showSettingsOnPages(settings, pages_);
    if (inForce.paramTemperatureText)
        pages_.param.showTemperatureText(*inForce.paramTemperatureText);
    if (inForce.paramPressureText) pages_.param.showPressureText(*inForce.paramPressureText);

    // What the controls now show decides; a stored index a choice does not have
    // left that choice at its default.
    const DynoSettings shown = settingsFromPages(pages_);
    const DynoModel model = knownDynoModel(shown.dynoModel);
    state_.dyno.speedFactor = speedFactorOf(model).kmh;
    state_.remoteButtonMask = remoteButtonMaskFor(model);
    state_.cardPorts = cardPortTable(shown.cardAddressChoice);
    state_.graphScale = graphScaleOf(inForce);
    state_.speedInMph = shown.speedInMph;
    state_.weatherConstants = weatherConstantsOf(inForce);
    state_.transferDelay = inForce.transferDelay;
    state_.rollerCode = inForce.rollerCode;
    state_.remoteButtonDelayMs = static_cast<std::uint32_t>(leadingInteger(shown.buttonWaitText));
    pages_.advanced.setRemoteButtonDelay(state_.remoteButtonDelayMs);

    pages_.info.setCompanyName(QString::fromStdString(shown.companyName));
    pages_.info.setPhone(QString::fromStdString(shown.companyPhone));

    state_.initialFolder = resolveInitialFolder(QString::fromStdString(shown.initialFolder),
                                                startDirectory_, homeFolder_);
    if (showInitialFolder_) showInitialFolder_(state_.initialFolder);
}

bool SettingsFiles::saveProgramSettings() {
    const DynoSettings settings = settingsFromPages(pages_);
    const auto saved = saveSettingsFile(toPath(programSettingsPath()), settings, decimalSeparator_);
    if (!saved) {
        showFileError(saved.error().message, saved.error().isConversionError);
        return false;
    }
    const SettingsInForce& inForce = saved.value();
    state_.graphScale = graphScaleOf(inForce);
    state_.weatherConstants = weatherConstantsOf(inForce);
    state_.transferDelay = inForce.transferDelay;
    state_.rollerCode = inForce.rollerCode;
    state_.cardPressureScale = CardPressureScale::Per24;
    messages_->show(MessageKind::Information, kDynoCaption, "Ini file saved");
    return true;
}

void SettingsFiles::readAnalogSettings(AdSettingsPage& page) {
    AnalogChannelTextSet channels = page.channelTexts();
    const auto read = readAnalogSettingsFile(toPath(analogSettingsPath()), channels);
    if (!read) {
        showFileError(read.error().message, false);
        return;
    }
    page.showChannelTexts(channels);
}

bool SettingsFiles::saveAnalogSettings(const AdSettingsPage& page) {
    const auto saved = saveAnalogSettingsFile(toPath(analogSettingsPath()), page.channelTexts(),
                                              decimalSeparator_);
    if (!saved) {
        showFileError(saved.error().message, saved.error().isConversionError);
        return false;
    }
    return true;
}

AnalysisSettings SettingsFiles::readAnalysisSettings() {
    const auto read = readAnalysisSettingsFile(toPath(analysisSettingsPath()));
    analysisFile_ = AnalysisFileState::whole;
    if (!read) {
        analysisFile_ = AnalysisFileState::unreadable;
        showFileError(read.error().message, false);
        return {};
    }
    const AnalysisSettingsRead& got = read.value();
    if (!got.messages.empty()) {
        analysisFile_ = AnalysisFileState::damaged;
        std::string text = std::string(kAnalysisSettingsFileName) + ":";
        for (const std::string& line : got.messages) text += "\n" + line;
        messages_->show(MessageKind::Warning, kDynoCaption, text);
    }
    return got.settings;
}

// A file that could not be read is not overwritten with the defaults it gave; one
// with damaged lines is kept beside the new one as ".bak", so that no calibration
// typed into it is lost by the first save.
bool SettingsFiles::saveAnalysisSettings(const AnalysisSettings& settings) {
    const QString path = analysisSettingsPath();
    if (analysisFile_ == AnalysisFileState::unreadable) {
        messages_->show(MessageKind::Warning, kDynoCaption,
                        std::string(kAnalysisSettingsFileName) +
                            " could not be read at start-up and is not overwritten.");
        return false;
    }
    if (analysisFile_ == AnalysisFileState::damaged) {
        const QString kept = path + QStringLiteral(".bak");
        QFile::remove(kept);
        if (!QFile::copy(path, kept)) {
            showFileError(kCannotSaveAnalysisFile, false);
            return false;
        }
    }
    const auto saved = saveAnalysisSettingsFile(toPath(path), settings);
    if (!saved) {
        showFileError(saved.error().message, false);
        return false;
    }
    analysisFile_ = AnalysisFileState::whole;
    return true;
}

}  // namespace dyno
