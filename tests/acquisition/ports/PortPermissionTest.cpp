// A port the user may not use: the message names the port and the remedy beside the
// system's own text.
#include <grp.h>
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

TEST(PortPermission, TheTextNamesTheGroupOnlyWhenTheGroupMayUseThePort) {
    EXPECT_EQ(
        portPermissionText("Permission denied", "/scratch/ttyDYNO1", {"root", "dialout", true}),
        "Permission denied: you may not use /scratch/ttyDYNO1. Ask for membership of the group "
        "\"dialout\" that owns it (sudo usermod -aG dialout $USER), then log out and in "
        "again.");
    EXPECT_EQ(
        portPermissionText("Permission denied", "/scratch/ttyDYNO0", {"root", "root", false}),
        "Permission denied: you may not use /scratch/ttyDYNO0. Only its owner \"root\" may use it: "
        "give it a group that may, with a udev rule such as KERNEL==\"ttyDYNO0\", "
        "GROUP=\"dialout\", MODE=\"0660\" in /etc/udev/rules.d/60-dyno-serial.rules (then "
        "plug it in again), join that group (sudo usermod -aG dialout $USER) and log out "
        "and in again.");
    EXPECT_EQ(
        portPermissionText("Permission denied", "/scratch/ttyDYNO0", {}),
        "Permission denied: you may not use /scratch/ttyDYNO0. Ask for membership of the group "
        "that owns it, then log out and in again.");
}

// Opens a device the user may not use, as a user who is neither its owner nor in
// its group: in a child that gives up the superuser's rights when the tests run as
// root. With mode 0660 the group is the remedy; with 0600 it is not.
TEST(PortPermission, TheDevicesOwnerGroupAndGroupRightsAreRead) {
    const auto device =
        std::filesystem::temp_directory_path() / ("dyno_access_tty_" + std::to_string(::getpid()));
    std::ofstream(device).put('\0');
    for (const mode_t mode : {0660u, 0640u, 0620u, 0600u}) {
        ASSERT_EQ(::chmod(device.c_str(), mode), 0);
        const DeviceAccess access = deviceAccessOf(device.string());
        EXPECT_FALSE(access.owner.empty());
        EXPECT_FALSE(access.group.empty());
        EXPECT_EQ(access.isGroupReadWrite, mode == 0660) << std::oct << mode;
    }
    std::filesystem::remove(device);
    EXPECT_EQ(deviceAccessOf(device.string()).group, "") << "a device that is not there";
}

TEST(PortPermission, AForbiddenPortIsReportedWithItsRemedy) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can try a device as another user";
    const auto device = std::filesystem::temp_directory_path() /
                        ("dyno_forbidden_tty_" + std::to_string(::getpid()));
    std::ofstream(device).put('\0');
    for (const mode_t mode : {0660u, 0600u}) {
        ASSERT_EQ(::chmod(device.c_str(), mode), 0);
        const DeviceAccess access = deviceAccessOf(device.string());

        const auto openAndCheck = [&] {
            SerialByteLink port;
            if (port.open(device.string())) return false;
            const std::string text = port.errorText();
            const bool namesGroup =
                text.find("\"" + access.group + "\" that owns it") != std::string::npos;
            const bool namesRule = text.find("udev rule") != std::string::npos;
            return text.find("you may not use " + device.string()) != std::string::npos &&
                   namesGroup == (mode == 0660) && namesRule == (mode == 0600) &&
                   text.find("log out and in again.") != std::string::npos;
        };
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            constexpr uid_t kNobody = 65534;
            const bool dropped =
                ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
            ::_exit(dropped && openAndCheck() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << std::oct << mode;
    }
    std::filesystem::remove(device);
}

}  // namespace
}  // namespace dyno::test
