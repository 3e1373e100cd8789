#pragma once

#include <QLockFile>
#include <QString>

namespace dyno {

// Only one copy of the program may drive the dyno electronics. The lock is a file
// named after "vkrdynok40" in the user's runtime folder; it records the owner's process
// id, so a copy that crashed does not leave it stuck: the next start sees the
// owner gone and takes the lock over.
class SingleInstanceGuard {
  public:
    static constexpr const char* kLockName = "vkrdynok40";

    // `folder` defaults to the user's runtime folder; tests pass their own.
    explicit SingleInstanceGuard(const QString& folder = QString());

    // True when this process now holds the lock.
    bool acquire();

  private:
    QLockFile lock_;
};

}  // namespace dyno
