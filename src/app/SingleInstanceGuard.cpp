#include "app/SingleInstanceGuard.h"

#include <QDir>

namespace dyno {

namespace {

QString lockPath(const QString& folder) {
    const QString base = folder.isEmpty() ? QDir::tempPath() : folder;
    return QDir(base).filePath(QString::fromLatin1(SingleInstanceGuard::kLockName) + ".lock");
}

}  // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString& folder) : lock_(lockPath(folder)) {
    // Never treat a live owner's lock as stale because of its age: a workshop PC
    // runs the program all day.
    lock_.setStaleLockTime(0);
}

bool SingleInstanceGuard::acquire() {
    return lock_.tryLock(0);
}

}  // namespace dyno
