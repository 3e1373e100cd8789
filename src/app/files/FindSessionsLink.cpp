#include "app/files/FindSessionsLink.h"

#include <QObject>

#include "app/dialogs/FindSessionsDialog.h"
#include "app/files/SessionFileActions.h"
#include "app/pages/FilePage.h"

namespace dyno {

FindSessionsDialog* linkFindSessions(FilePage& filePage, SessionFileActions& fileActions,
                                     const std::filesystem::path& indexFile, QWidget* window) {
    auto* dialog = new FindSessionsDialog(indexFile, window);
    QObject::connect(&filePage, &FilePage::findSessionsRequested, dialog, [dialog, &filePage] {
        if (!dialog->isVisible()) dialog->setFolder(filePage.currentFolder());
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
        dialog->search();
    });
    QObject::connect(dialog, &FindSessionsDialog::fileChosen, &filePage,
                     [&filePage](const QString& path) { filePage.showFile(path); });
    QObject::connect(&fileActions, &SessionFileActions::session1Saved, dialog,
                     &FindSessionsDialog::takeSavedArchive);
    return dialog;
}

}  // namespace dyno
