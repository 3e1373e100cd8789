#pragma once

#include <QString>

#include "model/DynoSettings.h"

namespace dyno {

class AdvancedSetupDialog;
class InfoPage;
class ParamPage;
class SetupPage;

// The pages and the dialog whose controls hold the program settings.
struct SettingsPages {
    SetupPage& setup;
    ParamPage& param;
    AdvancedSetupDialog& advanced;
    InfoPage& info;  // shows the company name and phone
};

// The program settings as the pages' controls hold them, and back.
DynoSettings settingsFromPages(const SettingsPages& pages);
void showSettingsOnPages(const DynoSettings& settings, const SettingsPages& pages);

// The folder the save dialog and the File page start in: the stored folder when it
// exists (a relative one counts from the start directory), otherwise `home`. The
// stored text of a first start ("C:\") never exists here and so gives `home`.
QString resolveInitialFolder(const QString& stored, const QString& startDirectory,
                             const QString& home);

// The user's decimal separator, which the strict conversions accept besides a point.
char userDecimalSeparator();

}  // namespace dyno
