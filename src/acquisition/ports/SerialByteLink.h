#pragma once

#include <QSerialPort>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "acquisition/ByteLink.h"

namespace dyno {

// The device a port name in `comedit` stands for: "COMn" is the n-th serial port
// (/dev/ttyS(n-1)), a name with a slash is a path as given, and any other name
// ("ttyUSB0") is a device under /dev.
std::string serialDevicePath(std::string_view portName);

// errorText() of a port whose device hung up while open.
inline constexpr std::string_view kHungUpText = "the device hung up";

// The K40 electronics' line on a real serial port: 57600 baud, 8N1, no flow control.
//
// Received bytes are reported on the thread that owns the link, from the port's
// readyRead. bytesWaiting() counts what the port has taken from the driver and not
// yet handed out; purgeInput() empties both that and the driver. A read or resource
// error while open (a USB adapter pulled out, the far end of a pseudo-terminal gone)
// closes the port and is reported to the listener once; errorText() then holds the
// port's own text. While the port is open the process runs at raised priority where
// the system allows it, so a busy desktop does not hold up the dispatch.
class SerialByteLink final : public ByteLink {
  public:
    static constexpr std::int32_t kBaudRate = 57600;

    SerialByteLink();
    ~SerialByteLink() override;
    SerialByteLink(const SerialByteLink&) = delete;
    SerialByteLink& operator=(const SerialByteLink&) = delete;

    bool open(std::string_view portName) override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    std::string errorText() const override { return error_; }

    std::size_t bytesWaiting() const override;
    std::size_t read(std::span<std::uint8_t> buffer) override;
    bool write(std::span<const std::uint8_t> bytes) override;
    void purgeInput() override;

    void setListener(ByteLinkListener* listener) override { listener_ = listener; }

    // The device the port was last opened on.
    const std::string& devicePath() const { return devicePath_; }

  private:
    void portError(QSerialPort::SerialPortError error);
    void fail();
    void raisePriority();
    void restorePriority();

    QSerialPort port_;
    ByteLinkListener* listener_ = nullptr;
    std::string devicePath_;
    std::string error_;
    bool isFailing_ = false;  // a failure is queued for the listener
    bool isPriorityRaised_ = false;
    int previousNice_ = 0;
};

}  // namespace dyno
