#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "app/pages/ParamPage.h"

namespace dyno {

class Slot1Lock;
class FilePage;
class MessageSink;
class RemarksPage;
class SessionModel;
struct TestSession;

// What the Param., Remarks and File pages do to the session model: the correction
// buttons, the preview, loading into a slot and saving session 1. The pages only
// show and ask; this reads them, calls the core and reports through `messages`.
class SessionFileActions : public QObject {
    Q_OBJECT
  public:
    // Asks for the archive to save into, starting in `folder`, and calls `save` with
    // the chosen path, or never when the user cancels. The window's dialog does not
    // block: the save runs when it is answered. It asks before overwriting the file
    // chosen.
    using SaveNameQuestion =
        std::function<void(const QString& folder, std::function<void(const QString& chosen)> save)>;
    // Asks whether the existing `archive` may be replaced: the chosen name became
    // another one by the ".zsd" rule, and the dialog never asked about that one.
    using OverwriteQuestion = std::function<bool(const QString& archive)>;

    // Slot 1 is neither loaded, saved nor given a factor while `slot1` refuses: a
    // test is receiving data into it.
    SessionFileActions(SessionModel& model, ParamPage& paramPage, RemarksPage& remarksPage,
                       FilePage& filePage, MessageSink& messages, const Slot1Lock& slot1,
                       QObject* parent = nullptr);

    // The real dialogs are the default; tests answer instead.
    void setSaveNameQuestion(SaveNameQuestion question) { askSaveName_ = std::move(question); }
    void setOverwriteQuestion(OverwriteQuestion question) { askOverwrite_ = std::move(question); }

    // "Save Test session 1", "Save test Session 1" and F5: the Param. page's air data
    // are taken now, then the save dialog asks for the name.
    void saveSession1();
    // "Test session 1" .. "Test session 4": loads the selected file into `slot`.
    void loadIntoSlot(int slot);
    // Shows the preview of the file selected on the File page.
    void previewSelectedFile();

  signals:
    // Session 1 was written to `archive`.
    void session1Saved(const QString& archive);

  private:
    void saveSession1As(const QString& chosen, const SavedAirData& air);

    SessionModel& model_;
    ParamPage& paramPage_;
    RemarksPage& remarksPage_;
    FilePage& filePage_;
    MessageSink& messages_;
    const Slot1Lock& slot1_;
    SaveNameQuestion askSaveName_;
    OverwriteQuestion askOverwrite_;
};

}  // namespace dyno
