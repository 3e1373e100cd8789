#include "acquisition/ports/PortPermission.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace dyno {

namespace {

// The kernel's name of a device node: "ttyUSB0" of "/dev/ttyUSB0".
std::string_view kernelName(std::string_view devicePath) {
    const auto slash = devicePath.rfind('/');
    return slash == std::string_view::npos ? devicePath : devicePath.substr(slash + 1);
}

}  // namespace

DeviceAccess deviceAccessOf(const std::string& devicePath) {
    DeviceAccess access;
    struct stat status {};
    if (::stat(devicePath.c_str(), &status) != 0) return access;
    if (const passwd* owner = ::getpwuid(status.st_uid);
        owner != nullptr && owner->pw_name != nullptr)
        access.owner = owner->pw_name;
    if (const group* owner = ::getgrgid(status.st_gid);
        owner != nullptr && owner->gr_name != nullptr)
        access.group = owner->gr_name;
    access.isGroupReadWrite = (status.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    return access;
}

bool isPortPermissionDenied(const std::string& devicePath) {
    return ::access(devicePath.c_str(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM);
}

std::string portPermissionText(std::string_view systemText, std::string_view devicePath,
                               const DeviceAccess& access) {
    std::string text(systemText);
    text += ": you may not use ";
    text += devicePath;
    text += ". ";
    if (access.group.empty())
        return text + "Ask for membership of the group that owns it, then log out and in again.";
    if (access.isGroupReadWrite) {
        return text + "Ask for membership of the group \"" + access.group +
               "\" that owns it (sudo usermod -aG " + access.group +
               " $USER), then log out and in again.";
    }
    // Joining a group that may not read and write the device gives nothing.
    text += access.owner.empty() ? std::string("Only its owner may use it")
                                 : "Only its owner \"" + access.owner + "\" may use it";
    text += ": give it a group that may, with a udev rule such as KERNEL==\"";
    text += kernelName(devicePath);
    text +=
        "\", GROUP=\"dialout\", MODE=\"0660\" in /etc/udev/rules.d/60-dyno-serial.rules "
        "(then plug it in again), join that group (sudo usermod -aG dialout $USER) and log "
        "out and in again.";
    return text;
}

}  // namespace dyno
