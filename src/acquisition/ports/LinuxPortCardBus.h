#pragma once

#include <string>

#include "acquisition/card/CardBus.h"

namespace dyno {

// The card reached through /dev/port: the byte at file offset `address` is the
// I/O port of that address (x86, needs root or CAP_SYS_RAWIO).
class LinuxPortCardBus : public CardBus {
  public:
    static constexpr const char* kPortDevice = "/dev/port";

    // Opens the device; on failure the bus is empty and errorText is strerror(errno).
    static CardBusOpening open(const std::string& device = kPortDevice);

    ~LinuxPortCardBus() override;
    LinuxPortCardBus(const LinuxPortCardBus&) = delete;
    LinuxPortCardBus& operator=(const LinuxPortCardBus&) = delete;

    std::uint8_t readPort(std::uint16_t address) override;
    void writePort(std::uint16_t address, std::uint8_t value) override;

  private:
    explicit LinuxPortCardBus(int fd) : fd_(fd) {}
    int fd_;
};

}  // namespace dyno
