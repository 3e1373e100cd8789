// The "Find sessions" dialog beside the File page: a rescan of the page's folder, a
// search as the user types, a row chosen and loaded through the File page, and a
// save that is found without a rescan.
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "FileActionsFixture.h"
#include "app/FindSessionsDialog.h"
#include "app/FindSessionsLink.h"
#include "library/LibraryFixture.h"

namespace dyno::testing {
namespace {

class FindSessions : public SessionPagesFixture {
  protected:
    FindSessions()
        : dialog(linkFindSessions(filePage, actions,
                                  QDir(folder.path()).filePath("index/library.sqlite").toStdString(),
                                  nullptr)) {}
    ~FindSessions() override { delete dialog; }

    void typeWords(const QString& words) {
        control<QLineEdit>(*dialog, "findwords")->setText(words);
    }

    FindSessionsDialog* dialog;
};

TEST_F(FindSessions, RescannedSessionIsFoundByAWordAndLoadedThroughTheFilePage) {
    const std::filesystem::path nested = folder.path().toStdString() + "/2023/june/runner.zsd";
    saveSession(nested, {"Gilera", "Runner", "Holm", "Big valve head"});

    click(filePage, "findsessions");
    ASSERT_TRUE(dialog->isVisible());
    click(*dialog, "findrescan");
    auto* rescan = control<QPushButton>(*dialog, "findrescan");
    ASSERT_TRUE(QTest::qWaitFor([&] { return rescan->isEnabled(); }, 20000));
    EXPECT_TRUE(control<QLabel>(*dialog, "findstatus")->text().startsWith("Sessions found: 1, new: 1,"))
        << control<QLabel>(*dialog, "findstatus")->text().toStdString();

    typeWords("valve");
    ASSERT_EQ(dialog->resultCount(), 1);
    typeWords("valve holm scooter");
    EXPECT_EQ(dialog->resultCount(), 0);
    typeWords("VALVE holm");
    ASSERT_EQ(dialog->resultCount(), 1);

    control<QTableWidget>(*dialog, "findresults")->setCurrentCell(0, 0);
    EXPECT_EQ(filePage.selectedFilePath(), QString::fromStdString(nested.string()));
    click(filePage, "loadblue");
    EXPECT_EQ(model->slot(2).make.view(), "Gilera");
}

TEST_F(FindSessions, SavedSessionIsFoundWithoutARescan) {
    setText(remarksPage, "makebox1", QStringLiteral("Vespa"));
    saveAs(QStringLiteral("primavera"));
    ASSERT_TRUE(QFile::exists(path(QStringLiteral("primavera.zsd"))));

    click(filePage, "findsessions");
    typeWords("vesp");
    ASSERT_EQ(dialog->resultCount(), 1);
    EXPECT_EQ(dialog->resultPath(0), path(QStringLiteral("primavera.zsd")));
}

}  // namespace
}  // namespace dyno::testing
