#pragma once

#include <QObject>
#include <QString>

#include "model/DynoSettings.h"

namespace dyno {

// The program settings as the window's controls hold them, found by component name
// anywhere under `window` (Setup and Param. pages, the advanced setup dialog). A
// control that does not exist is skipped: reading keeps the value `base` had,
// showing leaves nothing behind.
DynoSettings settingsFromControls(const QObject* window, const DynoSettings& base = {});
void showSettingsInControls(const DynoSettings& settings, const QObject* window);

// The Param. page's graph limit boxes ("startkmhedit" .. "endrpmedit"), which a
// read fills with the same texts as the Setup page's "inistart..." boxes.
void showGraphLimitsOnParamPage(const DynoSettings& settings, const QObject* window);

// The folder the save dialog and the File page start in: the stored folder when it
// exists (a relative one counts from the start directory), otherwise `home`. The
// stored text of a first start ("C:\") never exists here and so gives `home`.
QString resolveInitialFolder(const QString& stored, const QString& startDirectory,
                             const QString& home);

// The user's decimal separator, which the strict conversions expect.
char userDecimalSeparator();

}  // namespace dyno
