#include "app/system/StartFolder.h"

#include <QBuffer>
#include <QDir>
#include <QStandardPaths>

#include "display/DynoEmblem.h"
#include "evaluation/ChannelCalibrationRules.h"
#include "files/AnalogSettingsFileCodec.h"
#include "files/AnalysisSettingsFile.h"
#include "files/AtomicFileWrite.h"
#include "files/SettingsFileCodec.h"
#include "model/DynoSettings.h"
#include "simulator/SimulatedK40.h"

namespace dyno {

namespace {

// The header logo's source rectangle on the printed report.
constexpr QSize kPrintLogoSize(1600, 450);
constexpr const char* kPrintLogoName = "vkrprint.bmp";

std::filesystem::path pathOf(const QDir& folder, const char* name) {
    return std::filesystem::path(folder.filePath(QString::fromLatin1(name)).toStdString());
}

// A link left at the name, even one to nothing, is not missing: nothing is made
// through it.
bool isMissing(const QDir& folder, const char* name) {
    return isNameFree(pathOf(folder, name));
}

bool createPrintLogo(const QDir& folder) {
    QByteArray bitmap;
    QBuffer buffer(&bitmap);
    if (!buffer.open(QIODevice::WriteOnly) || !dynoEmblem(kPrintLogoSize).save(&buffer, "BMP")) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(bitmap.constData());
    return createFileAtomically(pathOf(folder, kPrintLogoName),
                                {bytes, static_cast<std::size_t>(bitmap.size())}, "")
        .ok();
}

}  // namespace

QString userStartFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("vkr_dyno"));
}

std::optional<QString> prepareStartFolder(const QString& folderPath, FirstK40Port port) {
    QDir folder(folderPath);
    if (!folder.mkpath(QString::fromLatin1(kFirstTestFolderName))) {
        return QStringLiteral("Cannot make the folder ") + folder.filePath(kFirstTestFolderName);
    }
    if (isMissing(folder, kSettingsFileName)) {
        DynoSettings settings = firstStartSettings();
        settings.initialFolder = kFirstTestFolderName;
        if (port == FirstK40Port::Simulated) settings.serialPortName = kSimulatedPortName;
        if (const auto saved = createSettingsFile(pathOf(folder, kSettingsFileName), settings);
            !saved) {
            return QString::fromStdString(saved.error().message) + ": " +
                   folder.filePath(kSettingsFileName);
        }
    }
    if (isMissing(folder, kAnalogSettingsFileName)) {
        if (const auto saved = createAnalogSettingsFile(pathOf(folder, kAnalogSettingsFileName),
                                                        defaultAnalogChannelTexts());
            !saved) {
            return QString::fromStdString(saved.error().message) + ": " +
                   folder.filePath(kAnalogSettingsFileName);
        }
    }
    // The demo's simulated dyno carries a wide-band lambda controller on channel 3:
    // the Analysis page shows it as air-fuel ratio once channel 3 is recorded.
    if (port == FirstK40Port::Simulated && isMissing(folder, kAnalysisSettingsFileName)) {
        AnalysisSettings settings;
        settings.channels[2] = calibrationPresets().front().calibration;
        settings.shownChannels = {3, 0};
        if (const auto saved =
                saveAnalysisSettingsFile(pathOf(folder, kAnalysisSettingsFileName), settings);
            !saved) {
            return QString::fromStdString(saved.error().message) + ": " +
                   folder.filePath(kAnalysisSettingsFileName);
        }
    }
    if (isMissing(folder, kPrintLogoName) && !createPrintLogo(folder)) {
        return QStringLiteral("Cannot write the print logo ") + folder.filePath(kPrintLogoName);
    }
    return std::nullopt;
}

std::optional<QString> enterUserStartFolder() {
    const QString folder = userStartFolder();
    if (auto failed = prepareStartFolder(folder)) return failed;
    if (!QDir::setCurrent(folder)) return QStringLiteral("Cannot change to the folder ") + folder;
    return std::nullopt;
}

}  // namespace dyno
