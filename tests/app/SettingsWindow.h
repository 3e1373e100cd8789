#pragma once

#include <QWidget>

#include "RecordingMessageSink.h"
#include "app/dialogs/AdvancedSetupDialog.h"
#include "app/files/SettingsBinding.h"
#include "app/files/SettingsFiles.h"
#include "app/pages/InfoPage.h"
#include "app/pages/ParamPage.h"
#include "app/pages/SetupPage.h"

namespace dyno {

// The real Setup, Param. and Info pages and the advanced setup dialog under one
// window, with the settings files on them, as the main window has them.
struct SettingsWindow {
    SettingsWindow(const QString& startDirectory, const QString& home)
        : setup(new SetupPage(&window)),
          param(new ParamPage(&window)),
          advanced(new AdvancedSetupDialog(&window)),
          info(new InfoPage(&window)),
          files(pages(), state, messages, startDirectory) {
        files.setHomeFolder(home);
        files.setDecimalSeparator('.');
        files.setInitialFolderTarget([this](const QString& folder) { shownFolder = folder; });
    }

    SettingsPages pages() const { return {*setup, *param, *advanced, *info}; }

    QWidget window;
    SetupPage* setup;
    ParamPage* param;
    AdvancedSetupDialog* advanced;
    InfoPage* info;
    ProgramState state;
    RecordingMessageSink messages;
    SettingsFiles files;
    QString shownFolder;
};

}  // namespace dyno
