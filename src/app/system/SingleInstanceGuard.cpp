#include "app/system/SingleInstanceGuard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>

namespace dyno {

namespace {

constexpr mode_t kOthersMayWrite = S_IWGRP | S_IWOTH;

// Made when missing (with mode 0700, its parents as usual), then taken only when it is
// a real folder, not a link, of this user, that neither the group nor others may
// write.
bool isPrivateFolder(const QString& folder, QString& why) {
    const QByteArray path = QFile::encodeName(folder);
    // errno is taken at once: making the parents leaves its own.
    int error = ::mkdir(path.constData(), 0700) == 0 ? 0 : errno;
    if (error == ENOENT && QDir().mkpath(QFileInfo(folder).path())) {
        error = ::mkdir(path.constData(), 0700) == 0 ? 0 : errno;
    }
    if (error != 0 && error != EEXIST) {
        why = folder + QStringLiteral(" cannot be made");
        return false;
    }
    struct stat entry {};
    if (::lstat(path.constData(), &entry) != 0 || !S_ISDIR(entry.st_mode)) {
        why = folder + QStringLiteral(" is not a folder");
        return false;
    }
    if (entry.st_uid != ::geteuid()) {
        why = folder + QStringLiteral(" belongs to another user");
        return false;
    }
    if ((entry.st_mode & kOthersMayWrite) != 0) {
        why = folder + QStringLiteral(" may be written by other users");
        return false;
    }
    return true;
}

}  // namespace

QStringList SingleInstanceGuard::usersFolders() {
    const QString uid = QString::number(::geteuid());
    QStringList folders;
    if (const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR"); !runtime.isEmpty()) {
        folders << runtime;
    } else if (const QString session = QStringLiteral("/run/user/") + uid; QDir(session).exists()) {
        folders << session;
    }
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() && !QDir::homePath().isEmpty()) cache = QDir::home().filePath(".cache");
    if (!cache.isEmpty()) folders << QDir(cache).filePath(QStringLiteral("vkr_dyno"));
    folders << QDir(QDir::tempPath()).filePath(QStringLiteral("vkr_dyno-") + uid);
    return folders;
}

SingleInstanceGuard::SingleInstanceGuard() : SingleInstanceGuard(usersFolders()) {}

SingleInstanceGuard::SingleInstanceGuard(const QStringList& folders) {
    QStringList refused;
    for (const QString& folder : folders) {
        QString why;
        if (isPrivateFolder(folder, why)) {
            folder_ = folder;
            break;
        }
        refused << why;
    }
    if (folder_.isEmpty()) {
        problem_ = QStringLiteral("No folder for the program's lock: ") +
                   refused.join(QStringLiteral("; "));
        return;
    }
    lock_ = std::make_unique<QLockFile>(
        QDir(folder_).filePath(QString::fromLatin1(kLockName) + QStringLiteral(".lock")));
    // Never treat a live owner's lock as stale because of its age: a workshop PC
    // runs the program all day.
    lock_->setStaleLockTime(0);
}

bool SingleInstanceGuard::acquire() {
    if (lock_ == nullptr) return false;
    if (lock_->tryLock(0)) return true;
    // Only a lock held by a live copy means "already running"; a lock that cannot
    // be written at all is a problem of its own, named at start-up.
    if (lock_->error() != QLockFile::LockFailedError) {
        problem_ = QStringLiteral("The program's lock cannot be made in ") + folder_ +
                   (lock_->error() == QLockFile::PermissionError
                        ? QStringLiteral(": permission denied")
                        : QStringLiteral(": the folder cannot be written"));
    }
    return false;
}

}  // namespace dyno
