#include "acquisition/ports/LinuxPortCardBus.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace dyno {

CardBusOpening LinuxPortCardBus::open(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return {nullptr, std::strerror(errno)};
    return {std::unique_ptr<CardBus>(new LinuxPortCardBus(fd)), {}};
}

LinuxPortCardBus::~LinuxPortCardBus() {
    ::close(fd_);
}

std::uint8_t LinuxPortCardBus::readPort(std::uint16_t address) {
    // Like the card's driver, a failed access is not reported: the bus reads 0xFF,
    // as an empty ISA slot does.
    std::uint8_t value = 0xFF;
    if (::pread(fd_, &value, 1, address) != 1) value = 0xFF;
    return value;
}

void LinuxPortCardBus::writePort(std::uint16_t address, std::uint8_t value) {
    [[maybe_unused]] const ssize_t written = ::pwrite(fd_, &value, 1, address);
}

}  // namespace dyno
