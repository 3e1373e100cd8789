#include "app/files/SettingsBinding.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include "app/dialogs/AdvancedSetupDialog.h"
#include "app/pages/InfoPage.h"
#include "app/pages/ParamPage.h"
#include "app/pages/SetupPage.h"

namespace dyno {

DynoSettings settingsFromPages(const SettingsPages& pages) {
    DynoSettings settings;
    pages.setup.readSettings(settings);
    pages.param.readSettings(settings);
    pages.advanced.readSettings(settings);
    return settings;
}

void showSettingsOnPages(const DynoSettings& settings, const SettingsPages& pages) {
    pages.setup.showSettings(settings);
    pages.param.showSettings(settings);
    pages.advanced.showSettings(settings);
    // The Param. page's graph limits get the same texts as the Setup page's.
    pages.param.showScaleTexts({settings.startSpeedText, settings.endSpeedText,
                                settings.startPowerText, settings.endPowerText,
                                settings.startRpmText, settings.endRpmText});
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
