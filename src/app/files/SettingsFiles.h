#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "app/composition/ProgramState.h"
#include "app/files/SettingsBinding.h"
#include "model/AnalysisSettings.h"
#include "model/MessageSink.h"

namespace dyno {

class AdSettingsPage;

// The caption of the toolkit's own error box, which shows a conversion error.
inline constexpr std::string_view kToolkitErrorCaption = "vkr_dyno";

// "vkr_dyno.ini", "vkr_dyno.ana" and the Analysis page's file in the start directory: read at
// start-up and saved by "Save initialization file" and "Save settings", with everything a read or a
// save puts in force besides the controls' texts. The controls are those of `pages`; the values in
// force go to `state`.
class SettingsFiles {
  public:
    SettingsFiles(const SettingsPages& pages, ProgramState& state, MessageSink& messages,
                  QString startDirectory);

    // Where the initial folder is shown besides `initialdiredit`: the File page's
    // folder and the save dialog. Called with an existing folder.
    void setInitialFolderTarget(std::function<void(const QString&)> showFolder) {
        showInitialFolder_ = std::move(showFolder);
    }
    void setMessageSink(MessageSink& messages) { messages_ = &messages; }
    MessageSink& messages() const { return *messages_; }
    // The user's decimal separator for the strict conversions (tests set it).
    void setDecimalSeparator(char separator) { decimalSeparator_ = separator; }
    // The user's home folder, where the initial folder falls back to.
    void setHomeFolder(QString home) { homeFolder_ = std::move(home); }

    // Start-up: fills the controls and the values in force; a missing file is
    // reported and the first-start defaults apply.
    void readProgramSettings();
    // "Save initialization file". False when nothing was saved (conversion error,
    // file not writable); the message has been shown and nothing changed.
    bool saveProgramSettings();

    void readAnalogSettings(AdSettingsPage& page);
    bool saveAnalogSettings(const AdSettingsPage& page);

    // "vkr_dyno_analysis.ini", the Analysis page's own. A missing file gives the
    // defaults without a word; damaged lines are named in one warning and only their
    // settings take the defaults. A save after a read that failed is refused (with a
    // warning); after one with damaged lines the file is kept as ".bak" first.
    AnalysisSettings readAnalysisSettings();
    bool saveAnalysisSettings(const AnalysisSettings& settings);

    QString programSettingsPath() const;
    QString analogSettingsPath() const;
    QString analysisSettingsPath() const;

  private:
    enum class AnalysisFileState { whole, damaged, unreadable };

    void showFileError(const std::string& message, bool isConversionError);

    SettingsPages pages_;
    ProgramState& state_;
    MessageSink* messages_;
    QString startDirectory_;
    QString homeFolder_;
    char decimalSeparator_;
    std::function<void(const QString&)> showInitialFolder_;
    AnalysisFileState analysisFile_ = AnalysisFileState::whole;
};

}  // namespace dyno
