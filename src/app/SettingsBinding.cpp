#include "app/SettingsBinding.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <string>

#include "app/ControlLookup.h"

namespace dyno {

namespace {

template <typename Member>
struct Binding {
    const char* componentName;
    Member DynoSettings::*member;
};

// Edit boxes (and `comedit`, whose text is the port name).
constexpr Binding<std::string> kTexts[] = {
    {"inistartkmhedit", &DynoSettings::startSpeedText},
    {"iniendkmhedit", &DynoSettings::endSpeedText},
    {"inistarthpedit", &DynoSettings::startPowerText},
    {"iniendhpedit", &DynoSettings::endPowerText},
    {"inistartrpmedit", &DynoSettings::startRpmText},
    {"iniendrpmedit", &DynoSettings::endRpmText},
    {"firmanavnedit", &DynoSettings::companyName},
    {"tlfedit", &DynoSettings::companyPhone},
    {"initialdiredit", &DynoSettings::initialFolder},
    {"printlinewidth_edit", &DynoSettings::printLineWidthText},
    {"waitbutton_edit", &DynoSettings::buttonWaitText},
    {"rollerweightedit", &DynoSettings::rollerWeightText},
    {"comedit", &DynoSettings::serialPortName},
    {"weatherfugtedit", &DynoSettings::weatherHumidityConstantText},
    {"weatherbaroedit", &DynoSettings::weatherPressureConstantText},
    {"weathertempedit", &DynoSettings::weatherTemperatureConstantText},
    {"serial_delayedit", &DynoSettings::transferDelayText},
};

constexpr Binding<bool> kChecks[] = {
    {"printownerbox", &DynoSettings::printOwnerName},
    {"printheaderbox", &DynoSettings::printHeader},
    {"kwflagbox", &DynoSettings::powerInKw},
    {"mphflagbox", &DynoSettings::speedInMph},
    {"torquebox", &DynoSettings::torqueInFtLbs},
    {"fahrenheitcheck", &DynoSettings::useFahrenheit},
    {"inchhgcheck", &DynoSettings::useInchHg},
    {"useoptdelaybutton_check", &DynoSettings::useOptimisedButtonDelay},
    {"vejrstation_check", &DynoSettings::weatherStationConnected},
};

// Combo boxes and radio groups, by item index.
constexpr Binding<int> kChoices[] = {
    {"corrchoice", &DynoSettings::correctionStandard},
    {"dyno_io_group", &DynoSettings::cardAddressChoice},
    {"dynomodel", &DynoSettings::dynoModel},
    {"roller_type", &DynoSettings::rollerType},
    {"rollerspecs", &DynoSettings::rollerSpecs},
    {"electronics", &DynoSettings::electronicsType},
};

constexpr Binding<std::string> kParamLimits[] = {
    {"startkmhedit", &DynoSettings::startSpeedText}, {"endkmhedit", &DynoSettings::endSpeedText},
    {"starthpedit", &DynoSettings::startPowerText},  {"endhpedit", &DynoSettings::endPowerText},
    {"startrpmedit", &DynoSettings::startRpmText},   {"endrpmedit", &DynoSettings::endRpmText},
};

}  // namespace

DynoSettings settingsFromControls(const QObject* window, const DynoSettings& base) {
    DynoSettings settings = base;
    for (const auto& b : kTexts) {
        QString text;
        if (controls::readText(window, b.componentName, text)) {
            settings.*b.member = text.toStdString();
        }
    }
    for (const auto& b : kChecks)
        controls::readChecked(window, b.componentName, settings.*b.member);
    for (const auto& b : kChoices) {
        controls::readItemIndex(window, b.componentName, settings.*b.member);
    }
    return settings;
}

void showSettingsInControls(const DynoSettings& settings, const QObject* window) {
    for (const auto& b : kTexts) {
        controls::writeText(window, b.componentName, QString::fromStdString(settings.*b.member));
    }
    for (const auto& b : kChecks)
        controls::writeChecked(window, b.componentName, settings.*b.member);
    for (const auto& b : kChoices) {
        controls::writeItemIndex(window, b.componentName, settings.*b.member);
    }
}

void showGraphLimitsOnParamPage(const DynoSettings& settings, const QObject* window) {
    for (const auto& b : kParamLimits) {
        controls::writeText(window, b.componentName, QString::fromStdString(settings.*b.member));
    }
}

QString resolveInitialFolder(const QString& stored, const QString& startDirectory,
                             const QString& home) {
    if (stored.trimmed().isEmpty()) return home;
    const QFileInfo folder(QDir(startDirectory), stored);
    return folder.isDir() ? folder.absoluteFilePath() : home;
}

char userDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point[0].unicode() < 0x80 ? point[0].toLatin1() : '.';
}

}  // namespace dyno
