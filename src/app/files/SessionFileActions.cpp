#include "app/files/SessionFileActions.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>

#include "acquisition/electronics/Slot1Lock.h"
#include "app/pages/FilePage.h"
#include "app/pages/RemarksPage.h"
#include "evaluation/AirTexts.h"
#include "evaluation/CorrectionApply.h"
#include "files/SessionArchive.h"
#include "files/SessionLoading.h"
#include "files/SessionPreview.h"
#include "model/Cp1252.h"
#include "model/MessageSink.h"
#include "model/SessionModel.h"

namespace dyno {

namespace {

std::filesystem::path toPath(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

QString fromPath(const std::filesystem::path& file) {
    return QFile::decodeName(QByteArray::fromStdString(file.string()));
}

void showFileError(MessageSink& messages, const FileError& error) {
    // An empty message is a failure the program passes over in silence.
    if (error.message.empty()) return;
    messages.show(MessageKind::Error, kFileErrorCaption, error.message);
}

// A save that fails says why on a second line: the disk is full, the folder is
// read-only, the file is no zip archive.
void showSaveError(MessageSink& messages, const FileError& error) {
    std::string text = error.message;
    if (!error.detail.empty()) text += "\n" + error.detail;
    messages.show(MessageKind::Error, kFileErrorCaption, text);
}

void askSaveNameWithDialog(QWidget* parent, const QString& folder,
                           std::function<void(const QString&)> save) {
    // Opened without a nested event loop; it asks before overwriting the file chosen.
    auto* dialog = new QFileDialog(parent, QStringLiteral("Save Test session 1"), folder,
                                   QStringLiteral("Test sessions (*.zsd);;All files (*)"));
    dialog->setObjectName(QStringLiteral("savedialog1"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
                     [save = std::move(save)](const QString& chosen) {
                         if (!chosen.isEmpty()) save(chosen);
                     });
    dialog->open();
}

bool askOverwriteWithBox(QWidget* parent, const QString& archive) {
    const auto answer = QMessageBox::question(
        parent, QStringLiteral("Save Test session 1"),
        QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(archive));
    return answer == QMessageBox::Yes;
}

}  // namespace

SessionFileActions::SessionFileActions(SessionModel& model, ParamPage& paramPage,
                                       RemarksPage& remarksPage, FilePage& filePage,
                                       MessageSink& messages, const Slot1Lock& slot1,
                                       QObject* parent)
    : QObject(parent),
      model_(model),
      paramPage_(paramPage),
      remarksPage_(remarksPage),
      filePage_(filePage),
      messages_(messages),
      slot1_(slot1),
      askSaveName_(
          [page = &filePage](const QString& folder, std::function<void(const QString&)> save) {
              askSaveNameWithDialog(page->window(), folder, std::move(save));
          }),
      askOverwrite_([page = &filePage](const QString& archive) {
          return askOverwriteWithBox(page->window(), archive);
      }) {
    connect(&paramPage_, &ParamPage::useCorrectionRequested, this, [this] {
        if (slot1_.refuseChange()) return;
        paramPage_.useCorrectionFactor(model_.slot(1), messages_);
    });
    connect(&paramPage_, &ParamPage::factorOneRequested, this, [this] {
        if (slot1_.refuseChange()) return;
        paramPage_.useFactorOne(model_.slot(1));
    });
    connect(&remarksPage_, &RemarksPage::saveSession1Requested, this,
            &SessionFileActions::saveSession1);
    connect(&filePage_, &FilePage::saveSession1Requested, this, &SessionFileActions::saveSession1);
    connect(&filePage_, &FilePage::loadRequested, this, &SessionFileActions::loadIntoSlot);
    connect(&filePage_, &FilePage::selectedFileChanged, this,
            &SessionFileActions::previewSelectedFile);
}

void SessionFileActions::saveSession1() {
    // The air data are the Param. page's entries as they stand now, not slot 1's.
    const SavedAirData air = paramPage_.savedAirData();

    askSaveName_(filePage_.saveFolder(),
                 [self = QPointer<SessionFileActions>(this), air](const QString& chosen) {
                     if (self && !chosen.isEmpty()) self->saveSession1As(chosen, air);
                 });
}

void SessionFileActions::saveSession1As(const QString& chosen, const SavedAirData& air) {
    const std::filesystem::path chosenPath = toPath(chosen);
    const std::filesystem::path archive = sessionArchiveName(chosenPath);
    if (mustConfirmOverwrite(chosenPath, archive) && !askOverwrite_(fromPath(archive))) return;
    filePage_.setSaveFolder(QFileInfo(chosen).absolutePath());

    if (slot1_.refuseChange()) return;
    TestSession& slot1 = model_.slot(1);
    remarksPage_.storeRemarksOfSession1(slot1);
    const FileResult<> saved = saveSessionArchive(archive, slot1, air);
    if (!saved) showSaveError(messages_, saved.error());
    filePage_.refresh();
    if (saved) emit session1Saved(fromPath(archive));
}

void SessionFileActions::loadIntoSlot(int slot) {
    if (!SessionModel::isSlot(slot)) return;
    if (slot == 1 && slot1_.refuseChange()) return;
    TestSession& session = model_.slot(slot);
    const QString file = filePage_.selectedFilePath();
    filePage_.clearLoaded();
    const FileResult<LoadOutcome> loaded = loadSessionFile(toPath(file), session);
    if (!loaded) {
        showFileError(messages_, loaded.error());
        return;
    }
    if (loaded.value() != LoadOutcome::loaded) return;
    filePage_.showLoaded(QFileInfo(file).fileName(), slot);

    const AirTexts air = sessionAirTexts(session, paramPage_.airUnits());
    remarksPage_.showSessionTexts(slot, session);
    remarksPage_.showAirTexts(slot, air);
    // A factor that is no number is shown and used as 1.00; the file keeps its bytes.
    if (isFactorUnusable(session.correctionFactor)) {
        messages_.show(MessageKind::Warning, kDynoCaption, kCorrectionOutOfLimitsMessage);
    }
    if (slot == 1) {
        paramPage_.showSession1(air, session.header.correctionStandard(),
                                factorInForce(session.correctionFactor));
    }
}

void SessionFileActions::previewSelectedFile() {
    const QString file = filePage_.selectedFilePath();
    if (file.isEmpty()) return;
    const FileResult<SessionPreview> preview = previewSessionFile(toPath(file));
    if (!preview) {
        showFileError(messages_, preview.error());
        return;
    }
    const SessionPreview& shown = preview.value();
    filePage_.showPreview(QString::fromStdString(fromWindows1252(shown.remarkLine1)),
                          QString::fromStdString(shown.timeText),
                          QString::fromStdString(shown.dateText));
}

}  // namespace dyno
