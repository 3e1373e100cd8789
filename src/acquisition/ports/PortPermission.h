#pragma once

#include <string>
#include <string_view>

// When the user may not use a serial port: the system's text, the port, and what
// gives access on this system. Membership of the device's group helps only when that
// group may read and write it; otherwise the device needs a group first (a udev rule).
namespace dyno {

// Who owns a device and whether its group may read and write it.
struct DeviceAccess {
    std::string owner;  // user name, empty when unknown
    std::string group;  // group name, empty when unknown
    bool isGroupReadWrite = false;
};

// The device's owner, group and group rights; all empty when it cannot be looked at.
DeviceAccess deviceAccessOf(const std::string& devicePath);

// Whether opening failed because the user may not read and write the device.
bool isPortPermissionDenied(const std::string& devicePath);

// "Permission denied: you may not use /dev/ttyUSB0. Ask for membership of the group
// "dialout" that owns it (sudo usermod -aG dialout $USER), then log out and in again."
// For a device its group may not use, who may, and the udev rule that gives it one.
std::string portPermissionText(std::string_view systemText, std::string_view devicePath,
                               const DeviceAccess& access);

}  // namespace dyno
