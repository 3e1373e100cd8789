#include "app/SingleInstanceGuard.h"

#include <QDir>
#include <QStandardPaths>

namespace dyno {

namespace {

QString lockPath(const QString& folder) {
    // The user's own runtime folder where there is one: a lock left in the shared
    // temporary folder by another user's crashed copy could not be taken over.
    QString base = folder;
    if (base.isEmpty()) base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty()) base = QDir::tempPath();
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
