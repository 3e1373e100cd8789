#include "acquisition/ports/PortPermission.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace dyno {

std::string deviceGroupOf(const std::string& devicePath) {
    struct stat status {};
    if (::stat(devicePath.c_str(), &status) != 0) return {};
    const group* owner = ::getgrgid(status.st_gid);
    return owner != nullptr && owner->gr_name != nullptr ? std::string(owner->gr_name)
                                                         : std::string();
}

bool isPortPermissionDenied(const std::string& devicePath) {
    return ::access(devicePath.c_str(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM);
}

std::string portPermissionText(std::string_view systemText, std::string_view devicePath,
                               std::string_view group) {
    std::string text(systemText);
    text += ": you may not use ";
    text += devicePath;
    text += ". ";
    if (group.empty()) {
        text += "Ask for membership of the group that owns it";
    } else {
        text += "Ask for membership of the group \"";
        text += group;
        text += "\" that owns it (sudo usermod -aG ";
        text += group;
        text += " $USER)";
    }
    return text + ", then log out and in again.";
}

}  // namespace dyno
