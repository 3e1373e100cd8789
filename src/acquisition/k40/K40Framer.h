#pragma once

#include <cstddef>
#include <optional>

#include "acquisition/ByteLink.h"
#include "acquisition/k40/K40Packet.h"

namespace dyno {

// Cuts the K40 byte stream into consecutive five-byte packets. The stream has no
// start marker and no checksum, so nothing resynchronises it: only the purge when
// the port opens and the drain at the end of each run start the framing afresh.
class K40Framer {
  public:
    explicit K40Framer(ByteLink& link) : link_(link) {}

    // The next complete packet, or nothing while fewer than five bytes are at hand.
    // Bytes are read only once a whole packet is there; a link that hands out fewer
    // bytes than it reported leaves the part read here for the next call. Packets
    // with code 0 are consumed and skipped.
    std::optional<K40Packet> next();

    // Reads and discards everything waiting, purges the driver and forgets a packet
    // begun here.
    void drain();

    // Bytes of a packet read so far (0..4).
    std::size_t partialBytes() const { return have_; }

  private:
    ByteLink& link_;
    K40Packet partial_;
    std::size_t have_ = 0;
};

}  // namespace dyno
