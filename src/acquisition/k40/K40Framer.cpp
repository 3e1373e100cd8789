#include "acquisition/k40/K40Framer.h"

#include <algorithm>
#include <cstring>

namespace dyno {

namespace {

enum class OffsetFit { Aligned, NotAligned, NeedsMoreBytes };

// A code in the first byte of a packet that the electronics put there: code 0 is
// read and dropped, but is no code of theirs.
bool isCodeOfTheElectronics(std::uint8_t code) {
    return code != k40code::kNone && k40code::isSentByTheElectronics(code);
}

bool isCodeOfATransfer(std::uint8_t code) {
    return (code >= k40code::kAnalogSample1 && code <= k40code::kRpmSample) ||
           code == k40code::kRunComplete;
}

}  // namespace

std::optional<K40Packet> K40Framer::next() {
    for (;;) {
        if (!isAligned_ && !realign(false)) return std::nullopt;
        if (held() < K40Packet::kSize) {
            const std::size_t missing = K40Packet::kSize - held();
            if (link_.bytesWaiting() < missing) return std::nullopt;
            if (end_ + missing > bytes_.size()) compact();
            const std::size_t got = link_.read(std::span(bytes_).subspan(end_, missing));
            end_ += got;
            if (held() < K40Packet::kSize) {
                if (got == 0) return std::nullopt;  // the link reported more than it had
                continue;
            }
        }
        const K40Packet packet = packetAt(begin_);
        lastPacketAt_ = begin_;
        begin_ += K40Packet::kSize;
        if (packet.code() == k40code::kNone) {
            // Five zero bytes are a filler, whoever sent them. Code 0 before other
            // bytes once may be a glitch; twice in a row it is the zero high bytes of
            // values read as codes.
            const bool isFiller = std::ranges::all_of(packet.bytes, [](std::uint8_t b) { return b == 0; });
            if (isFiller) continue;
            if (wasLastCodeZero_) {
                lose(*lastPacketAt_ + 1);
                continue;
            }
            wasLastCodeZero_ = true;
            continue;
        }
        if (!k40code::isSentByTheElectronics(packet.code())) {
            lose(*lastPacketAt_ + 1);
            continue;
        }
        wasLastCodeZero_ = false;
        return packet;
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
    begin_ = 0;
    end_ = 0;
    lastPacketAt_.reset();
    isAligned_ = true;
    wasLastCodeZero_ = false;
    hasPassedLivePackets_ = false;
}

void K40Framer::loseAlignment() {
    lose(lastPacketAt_ ? *lastPacketAt_ + 1 : begin_);
}

void K40Framer::lose(std::size_t resumeAt) {
    // The first byte of the packet out of place is passed over.
    if (lastPacketAt_ && resumeAt > *lastPacketAt_) ++bytesSkipped_;
    begin_ = std::min(resumeAt, end_);
    lastPacketAt_.reset();
    isAligned_ = false;
    wasLastCodeZero_ = false;
    ++losses_;
}

bool K40Framer::realignOnQuietLine() {
    if (isAligned_) return true;
    readAllWaiting();
    return realign(true);
}

std::size_t K40Framer::codesAhead(std::span<std::uint8_t> codes) {
    readAllWaiting();
    std::size_t n = 0;
    for (std::size_t at = begin_; at + K40Packet::kSize <= end_ && n < codes.size();
         at += K40Packet::kSize) {
        codes[n++] = bytes_[at];
    }
    return n;
}

void K40Framer::compact() {
    const std::size_t from = lastPacketAt_ ? std::min(*lastPacketAt_, begin_) : begin_;
    if (from == 0) return;
    std::memmove(bytes_.data(), bytes_.data() + from, end_ - from);
    end_ -= from;
    begin_ -= from;
    if (lastPacketAt_) *lastPacketAt_ -= from;
}

void K40Framer::readAllWaiting() {
    if (link_.bytesWaiting() == 0) return;
    // Moving the bytes held costs their number: only when the room runs short.
    if (end_ == bytes_.size() || begin_ > bytes_.size() / 2) compact();
    while (end_ < bytes_.size() && link_.bytesWaiting() > 0) {
        const std::size_t got = link_.read(std::span(bytes_).subspan(end_));
        if (got == 0) break;
        end_ += got;
    }
}

K40Packet K40Framer::packetAt(std::size_t at) const {
    K40Packet packet;
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at), K40Packet::kSize,
                packet.bytes.begin());
    return packet;
}

bool K40Framer::isPlausibleRollerPeriod(std::size_t at) const {
    if (!isTransferring_ || rollerPeriodInForce_ == 0) return true;
    const std::uint64_t period = packetAt(at).v32();
    const std::uint64_t inForce = rollerPeriodInForce_;
    return period * kRollerPeriodSpread >= inForce && period <= inForce * kRollerPeriodSpread;
}

bool K40Framer::isQuietTailAligned(std::size_t at) const {
    // The packets must fill the bytes held exactly and end the run.
    if ((end_ - at) % K40Packet::kSize != 0 || end_ - at < K40Packet::kSize) return false;
    if (bytes_[end_ - K40Packet::kSize] != k40code::kRunComplete) return false;
    for (std::size_t p = at; p < end_; p += K40Packet::kSize) {
        if (!isCodeOfTheElectronics(bytes_[p])) return false;
    }
    return true;
}

bool K40Framer::realign(bool isQuietLine) {
    for (;;) {
        readAllWaiting();
        if (held() < K40Packet::kSize) return false;
        OffsetFit fit = OffsetFit::Aligned;
        if (isQuietLine) {
            fit = isQuietTailAligned(begin_) ? OffsetFit::Aligned : OffsetFit::NotAligned;
        } else {
            bool hasRunData = false;
            for (int p = 0; p < kPacketsToRealign; ++p) {
                const std::size_t at = begin_ + static_cast<std::size_t>(p) * K40Packet::kSize;
                if (at + K40Packet::kSize > end_) {
                    fit = OffsetFit::NeedsMoreBytes;
                    break;
                }
                if (!isCodeOfTheElectronics(bytes_[at])) {
                    fit = OffsetFit::NotAligned;
                    break;
                }
                hasRunData = hasRunData || isCodeOfATransfer(bytes_[at]);
                if (bytes_[at] == k40code::kRollerSample && !isPlausibleRollerPeriod(at)) {
                    fit = OffsetFit::NotAligned;
                    break;
                }
            }
            if (fit == OffsetFit::Aligned && isTransferring_ && !hasRunData) {
                hasPassedLivePackets_ = true;
                fit = OffsetFit::NotAligned;
            }
        }
        if (fit == OffsetFit::NeedsMoreBytes) {
            // More may be waiting than there was room for.
            if (link_.bytesWaiting() == 0 || held() == bytes_.size()) return false;
            continue;
        }
        if (fit == OffsetFit::Aligned) {
            isAligned_ = true;
            wasLastCodeZero_ = false;
            hasPassedLivePackets_ = false;
            return true;
        }
        ++begin_;
        ++bytesSkipped_;
    }
}

}  // namespace dyno
