#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>

namespace dyno {

// Only one copy of the program may drive the dyno electronics. The lock is a file
// named after "vkrdynok40" in a folder only the user can write; it records the
// owner's process id, so a copy that crashed does not leave it stuck: the next start
// sees the owner gone and takes the lock over. In a folder others may write, another
// user could plant a lock naming a live process and keep the program from starting,
// so such a folder is never used.
class SingleInstanceGuard {
  public:
    static constexpr const char* kLockName = "vkrdynok40";

    // The user's folders, in this order: the runtime folder ($XDG_RUNTIME_DIR, or
    // /run/user/<uid> where it exists), "vkr_dyno" in the cache folder
    // ($XDG_CACHE_HOME or ~/.cache), and "vkr_dyno-<uid>" in the temporary folder.
    SingleInstanceGuard();
    // The first of `folders` that is the user's own and that nobody else may write
    // holds the lock; one that is missing is made with mode 0700. Tests pass theirs.
    explicit SingleInstanceGuard(const QStringList& folders);
    explicit SingleInstanceGuard(const QString& folder)
        : SingleInstanceGuard(QStringList{folder}) {}

    // True when this process now holds the lock. False when another copy does, or
    // when none of the folders may hold it (then problem() says why).
    bool acquire();
    QString problem() const { return problem_; }
    // The folder the lock is in; empty when none could be used.
    QString folder() const { return folder_; }

    static QStringList usersFolders();

  private:
    QString folder_;
    QString problem_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace dyno
