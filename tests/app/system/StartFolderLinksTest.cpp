// A folder prepared for a first start that holds links left by someone else: nothing
// is made through them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/system/StartFolder.h"

namespace dyno {
namespace {

TEST(StartFolderLinks, ADanglingLinkIsLeftAsItIsAndNothingIsMadeThroughIt) {
    QTemporaryDir folder;
    QTemporaryDir elsewhere;
    const QDir prepared(folder.path());
    const QDir other(elsewhere.path());
    for (const char* name : {"vkr_dyno.ini", "vkrprint.bmp"}) {
        ASSERT_TRUE(
            QFile::link(other.filePath(QString("planted-") + name), prepared.filePath(name)));
    }

    ASSERT_EQ(prepareStartFolder(folder.path(), FirstK40Port::Simulated), std::nullopt);

    EXPECT_TRUE(other.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).isEmpty())
        << "nothing created where the links lead";
    for (const char* name : {"vkr_dyno.ini", "vkrprint.bmp"}) {
        EXPECT_TRUE(QFileInfo(prepared.filePath(name)).isSymLink()) << name;
    }
    // What is missing without a link in its way is made as always.
    EXPECT_EQ(QFileInfo(prepared.filePath("vkr_dyno.ana")).size(), 390);
    EXPECT_TRUE(QFileInfo(prepared.filePath("Tests")).isDir());
}

}  // namespace
}  // namespace dyno
