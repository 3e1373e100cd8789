#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace dyno {

// What a byte link reports while it is open. The serial port raises these on the
// window thread; the simulated electronics raise them from their clock callbacks.
class ByteLinkListener {
  public:
    virtual ~ByteLinkListener() = default;
    // New bytes are waiting. Called again only when more bytes arrive, never while
    // the line stays silent, so a listener must not leave complete packets waiting.
    virtual void bytesReceived() = 0;
    // The port failed while open (a USB adapter pulled out): nothing more arrives
    // and writes fail. errorText() says why.
    virtual void linkFailed() = 0;
};

// The serial line to the K40 electronics (57600 baud, 8N1, no flow control). The
// real side is the serial port; the simulated electronics and the tests' scripted
// link are the other sides.
class ByteLink {
  public:
    virtual ~ByteLink() = default;

    // Opens the named port ("COM1", "/dev/ttyUSB0", "SIM"). Opening purges whatever
    // the driver had received. False with errorText() set when it cannot be opened.
    virtual bool open(std::string_view portName) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The operating system's text for the last failure.
    virtual std::string errorText() const = 0;

    virtual std::size_t bytesWaiting() const = 0;
    // Reads at most buffer.size() bytes; returns how many were read (may be fewer
    // than are waiting).
    virtual std::size_t read(std::span<std::uint8_t> buffer) = 0;
    // Writes all bytes in order; false when the port refused them.
    virtual bool write(std::span<const std::uint8_t> bytes) = 0;
    // Discards everything the driver holds for reading.
    virtual void purgeInput() = 0;

    // At most one listener; nullptr detaches.
    virtual void setListener(ByteLinkListener* listener) = 0;
};

}  // namespace dyno
