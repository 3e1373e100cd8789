#pragma once

#include <string>
#include <string_view>

// When the user may not use a serial port: the system's text, the port, and what
// gives access on this system (membership of the group that owns the device, which
// counts from the next login).
namespace dyno {

// The name of the group owning `devicePath`, empty when it cannot be found.
std::string deviceGroupOf(const std::string& devicePath);

// Whether opening failed because the user may not read and write the device.
bool isPortPermissionDenied(const std::string& devicePath);

// "Permission denied: you may not use /dev/ttyUSB0. Ask for membership of the group
// "dialout" that owns it (sudo usermod -aG dialout USER), then log out and in again."
std::string portPermissionText(std::string_view systemText, std::string_view devicePath,
                               std::string_view group);

}  // namespace dyno
