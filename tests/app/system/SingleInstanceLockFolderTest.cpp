// Where the single-instance lock may live: only in a folder of the user's own that
// nobody else may write, so no other user can plant a lock that keeps the program
// from starting.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/system/SingleInstanceGuard.h"

namespace dyno {
namespace {

constexpr uid_t kOtherUser = 65534;

QString made(const QTemporaryDir& base, const QString& name, mode_t mode) {
    const QString folder = QDir(base.path()).filePath(name);
    EXPECT_TRUE(QDir().mkpath(folder));
    ::chmod(QFile::encodeName(folder).constData(), mode);
    return folder;
}

mode_t modeOf(const QString& path) {
    struct stat entry {};
    ::lstat(QFile::encodeName(path).constData(), &entry);
    return entry.st_mode & 07777;
}

TEST(SingleInstanceLockFolder, ALockPlantedInASharedFolderDoesNotKeepTheProgramFromStarting) {
    QTemporaryDir base;
    const QString shared = made(base, "tmp", 01777);
    // Another user's lock naming a live process (this one's parent).
    QFile planted(QDir(shared).filePath("vkrdynok40.lock"));
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    planted.write(QByteArray::number(::getppid()) + "\nvkr_dyno\n" +
                  QSysInfo::machineHostName().toUtf8() + "\n");
    planted.close();
    if (::geteuid() == 0) {
        ASSERT_EQ(
            ::chown(QFile::encodeName(planted.fileName()).constData(), kOtherUser, kOtherUser), 0);
    }
    const QString own = QDir(base.path()).filePath("own");

    SingleInstanceGuard guard(QStringList{shared, own});
    EXPECT_EQ(guard.folder(), own);
    EXPECT_EQ(modeOf(own), 0700u) << "made for the lock, for the user alone";
    ASSERT_TRUE(guard.acquire());
    EXPECT_TRUE(QFile::exists(QDir(own).filePath("vkrdynok40.lock")));
    SingleInstanceGuard second(QStringList{shared, own});
    EXPECT_FALSE(second.acquire()) << "the lock still keeps a second copy out";
}

TEST(SingleInstanceLockFolder, AFolderOthersMayWriteOrAnotherUserOwnsOrALinkIsNeverUsed) {
    QTemporaryDir base;
    const QString groupWritable = made(base, "group", 0770);
    const QString everyone = made(base, "everyone", 0777);
    const QString private0700 = made(base, "private", 0700);
    const QString link = QDir(base.path()).filePath("link");
    ASSERT_TRUE(QFile::link(private0700, link));
    QStringList tried{groupWritable, everyone, link};
    if (::geteuid() == 0) {
        const QString others = made(base, "others", 0700);
        ASSERT_EQ(::chown(QFile::encodeName(others).constData(), kOtherUser, kOtherUser), 0);
        tried << others;
    }

    SingleInstanceGuard guard(tried);
    EXPECT_EQ(guard.folder(), QString());
    EXPECT_FALSE(guard.acquire());
    EXPECT_TRUE(guard.problem().contains(groupWritable + " may be written by other users"))
        << guard.problem().toStdString();
    EXPECT_TRUE(guard.problem().contains(link + " is not a folder"));
    if (::geteuid() == 0) {
        EXPECT_TRUE(guard.problem().contains("belongs to another user"));
    }
    for (const QString& folder : tried) {
        EXPECT_FALSE(QFile::exists(QDir(folder).filePath("vkrdynok40.lock")))
            << folder.toStdString();
    }
}

TEST(SingleInstanceLockFolder, WithoutARuntimeFolderTheLockGoesToTheUsersOwnNeverTheSharedOne) {
    QTemporaryDir cache;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray cacheHome = qgetenv("XDG_CACHE_HOME");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    const QStringList folders = SingleInstanceGuard::usersFolders();
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("XDG_CACHE_HOME", cacheHome);
    if (runtime.isEmpty()) qunsetenv("XDG_RUNTIME_DIR");
    if (cacheHome.isEmpty()) qunsetenv("XDG_CACHE_HOME");

    EXPECT_FALSE(folders.contains(QDir::tempPath()));
    EXPECT_TRUE(folders.contains(QDir(cache.path()).filePath("vkr_dyno")));
    EXPECT_EQ(folders.back(),
              QDir(QDir::tempPath()).filePath("vkr_dyno-" + QString::number(::geteuid())));
    EXPECT_FALSE(QFileInfo::exists(QDir(cache.path()).filePath("vkr_dyno")))
        << "only listed: a folder is made when the lock is taken there";
}

}  // namespace
}  // namespace dyno
