// F1's help: the workshop's own help file first, otherwise the manual at the page in
// view; and the manual has a section for every page of the window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/composition/PageList.h"
#include "app/system/UserManual.h"

namespace dyno {
namespace {

QString sourceManual() {
    return QDir(QStringLiteral(DYNO_TEST_DATA_DIR)).filePath("../../docs/manual/index.html");
}

TEST(UserManual, HasASectionForEveryPageOfTheWindowWithItsPicture) {
    QFile manual(sourceManual());
    ASSERT_TRUE(manual.open(QIODevice::ReadOnly)) << sourceManual().toStdString();
    const QString html = QString::fromUtf8(manual.readAll());
    QStringList sections;
    for (int page = 0; page < static_cast<int>(kPages.size()); ++page) {
        const QString section = manualSectionOf(page);
        SCOPED_TRACE(kPages[static_cast<std::size_t>(page)].caption);
        EXPECT_TRUE(html.contains(QStringLiteral("id=\"%1\"").arg(section)));
        EXPECT_FALSE(sections.contains(section)) << "one section per page";
        sections << section;
    }
    // Every picture the manual shows is there.
    const QRegularExpression picture(QStringLiteral("src=\"([^\"]+)\""));
    int pictures = 0;
    for (auto match = picture.globalMatch(html); match.hasNext(); ++pictures) {
        const QString file = match.next().captured(1);
        EXPECT_TRUE(QFile::exists(QFileInfo(sourceManual()).dir().filePath(file)))
            << file.toStdString();
    }
    EXPECT_GE(pictures, static_cast<int>(kPages.size()));
}

TEST(UserManual, TheHelpFileInTheStartFolderWinsOverTheManual) {
    QTemporaryDir start;
    const QStringList manuals{QDir(start.path()).filePath("missing.html"), sourceManual()};
    const QUrl manual = helpUrl(start.path(), 5, manuals);
    EXPECT_TRUE(manual.isLocalFile());
    EXPECT_TRUE(manual.toLocalFile().endsWith("docs/manual/index.html"));
    EXPECT_EQ(manual.fragment(), "page-setup");

    QFile help(QDir(start.path()).filePath("Vkr.hlp"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    EXPECT_EQ(helpUrl(start.path(), 5, manuals), QUrl::fromLocalFile(help.fileName()));

    EXPECT_TRUE(helpUrl(QDir(start.path()).filePath("elsewhere"), 0, {}).isEmpty());
}

}  // namespace
}  // namespace dyno
