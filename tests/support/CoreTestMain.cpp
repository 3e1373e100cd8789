// Test entry for the core's folders, in folders of the test run's own.
#include <gtest/gtest.h>

#include "support/PrivateUserFolders.h"

int main(int argc, char** argv) {
    const dyno::testing::PrivateUserFolders folders;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
