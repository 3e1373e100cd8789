// A port the user may not use: the message names the port and the remedy beside the
// system's own text.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "acquisition/ports/PortPermission.h"
#include "acquisition/ports/SerialByteLink.h"

namespace dyno::test {
namespace {

TEST(PortPermission, TheTextNamesThePortTheGroupAndTheNewLogin) {
    EXPECT_EQ(portPermissionText("Permission denied", "/dev/ttyUSB0", "dialout"),
              "Permission denied: you may not use /dev/ttyUSB0. Ask for membership of the group "
              "\"dialout\" that owns it (sudo usermod -aG dialout $USER), then log out and in "
              "again.");
    EXPECT_EQ(portPermissionText("Permission denied", "/dev/ttyS0", ""),
              "Permission denied: you may not use /dev/ttyS0. Ask for membership of the group "
              "that owns it, then log out and in again.");
}

// Opens a device only its owner may use, as a user who is not its owner: in a child
// that gives up the superuser's rights when the tests run as root.
TEST(PortPermission, AForbiddenPortIsReportedWithItsRemedy) {
    const auto device = std::filesystem::temp_directory_path() /
                        ("dyno_forbidden_tty_" + std::to_string(::getpid()));
    std::ofstream(device).put('\0');
    ASSERT_EQ(::chmod(device.c_str(), 0600), 0);
    const std::string group = deviceGroupOf(device.string());
    EXPECT_FALSE(group.empty());

    const auto openAndCheck = [&] {
        SerialByteLink port;
        if (port.open(device.string())) return false;
        const std::string text = port.errorText();
        return text.find("you may not use " + device.string()) != std::string::npos &&
               text.find("\"" + group + "\"") != std::string::npos &&
               text.find("then log out and in again.") != std::string::npos;
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(openAndCheck());
    } else {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            constexpr uid_t kNobody = 65534;
            const bool dropped = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
            ::_exit(dropped && openAndCheck() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::filesystem::remove(device);
}

}  // namespace
}  // namespace dyno::test
