#include "acquisition/k40/K40Framer.h"

#include <array>
#include <span>

namespace dyno {

std::optional<K40Packet> K40Framer::next() {
    for (;;) {
        const std::size_t missing = K40Packet::kSize - have_;
        if (link_.bytesWaiting() < missing) return std::nullopt;
        const std::size_t got = link_.read(std::span(partial_.bytes).subspan(have_, missing));
        have_ += got;
        if (have_ < K40Packet::kSize) {
            if (got == 0) return std::nullopt;  // the link reported more than it had
            continue;
        }
        have_ = 0;
        if (partial_.code() != k40code::kNone) return partial_;
    }
}

void K40Framer::drain() {
    // The serial driver has a 4096-byte input buffer; reading in blocks keeps the
    // drain short. A link that keeps reporting bytes but yields none ends the loop.
    std::array<std::uint8_t, 256> discard{};
    while (link_.bytesWaiting() > 0) {
        if (link_.read(discard) == 0) break;
    }
    link_.purgeInput();
    have_ = 0;
}

}  // namespace dyno
