// The "Find sessions" dialog beside the File page: a rescan of the page's folder, a
// search as the user types, a row chosen and loaded through the File page, and a
// save that is found without a rescan.
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/FileActionsFixture.h"
#include "app/dialogs/FindSessionsDialog.h"
#include "app/files/FindSessionsLink.h"
#include "library/LibraryFixture.h"
#include "library/SqliteDatabase.h"

namespace dyno::testing {
namespace {

class FindSessions : public SessionPagesFixture {
  protected:
    FindSessions()
        : dialog(linkFindSessions(
              filePage, actions, QDir(folder.path()).filePath("index/library.sqlite").toStdString(),
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
    EXPECT_TRUE(
        control<QLabel>(*dialog, "findstatus")->text().startsWith("Sessions found: 1, new: 1,"))
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

TEST_F(FindSessions, ADatabaseOfAnotherProgramInTheIndexsPlaceIsNamedAndLeftAsItIs) {
    const std::filesystem::path place = folder.path().toStdString() + "/index/library.sqlite";
    std::filesystem::create_directories(place.parent_path());
    SqliteDatabase(place).execute("CREATE TABLE parts(name TEXT)");
    const auto size = std::filesystem::file_size(place);

    click(filePage, "findsessions");
    click(*dialog, "findrescan");
    EXPECT_TRUE(control<QLabel>(*dialog, "findstatus")->text().contains("is not a session index"))
        << control<QLabel>(*dialog, "findstatus")->text().toStdString();
    EXPECT_EQ(std::filesystem::file_size(place), size);
    EXPECT_FALSE(std::filesystem::exists(place.string() + ".damaged"));
}

}  // namespace
}  // namespace dyno::testing
