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
            const bool isFiller =
                std::ranges::all_of(packet.bytes, [](std::uint8_t b) { return b == 0; });
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
    quietSearchFrom_.reset();
    isAligned_ = true;
    wasLastCodeZero_ = false;
    hasPassedLivePackets_ = false;
    lossesAtDrain_ = losses_;
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
    // A closing code taken back may have been the run's own after all.
    if (quietSearchFrom_ && *quietSearchFrom_ < begin_) begin_ = *quietSearchFrom_;
    quietSearchFrom_.reset();
    return realign(true);
}

bool K40Framer::isFillerAt(std::size_t at) const {
    return std::all_of(bytes_.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes_.begin() + static_cast<std::ptrdiff_t>(at + K40Packet::kSize),
                       [](std::uint8_t b) { return b == 0; });
}

bool K40Framer::framesSamplesAhead(std::uint32_t rollerPeriodInForce, bool isFramedOnly) {
    readAllWaiting();
    std::size_t from = begin_;
    // Five zero bytes cost the framing nothing, here as anywhere.
    while (from + K40Packet::kSize <= end_ && isFillerAt(from)) from += K40Packet::kSize;
    const std::size_t offsets = isFramedOnly ? 1 : K40Packet::kSize;
    for (std::size_t offset = 0; offset < offsets; ++offset) {
        bool hasSample = false;
        bool isRunData = true;
        bool hasTwoKinds = false;
        bool hasPlausibleRoller = false;
        std::uint8_t first = 0;
        int packets = 0;
        for (std::size_t at = from + offset;
             at + K40Packet::kSize <= end_ && packets < kPacketsToRealign;
             at += K40Packet::kSize, ++packets) {
            const std::uint8_t code = bytes_[at];
            if (!isCodeOfATransfer(code)) {
                isRunData = false;
                break;
            }
            if (packets == 0) first = code;
            hasTwoKinds = hasTwoKinds || code != first;
            if (code != k40code::kRunComplete) hasSample = true;
            if (code == k40code::kRollerSample && rollerPeriodInForce != 0) {
                const std::uint64_t period = packetAt(at).v32();
                const std::uint64_t inForce = rollerPeriodInForce;
                hasPlausibleRoller =
                    hasPlausibleRoller || (period * kRollerPeriodSpread >= inForce &&
                                           period <= inForce * kRollerPeriodSpread);
            }
        }
        if (packets == 0 || !isRunData || !hasSample) continue;
        // Framed as before, samples behind the code are the run's. At another offset a
        // value repeated by live packets may read as one sample code over and over;
        // the run's data show two kinds of packet, or a period near the one in force.
        if (offset == 0 || hasTwoKinds || hasPlausibleRoller) return true;
    }
    return false;
}

void K40Framer::loseAlignmentAfterRunEnd() {
    const std::optional<std::size_t> runEndAt = lastPacketAt_;
    loseAlignment();
    quietSearchFrom_ = runEndAt;
}

void K40Framer::compact() {
    std::size_t from = lastPacketAt_ ? std::min(*lastPacketAt_, begin_) : begin_;
    if (quietSearchFrom_) from = std::min(from, *quietSearchFrom_);
    if (from == 0) return;
    std::memmove(bytes_.data(), bytes_.data() + from, end_ - from);
    end_ -= from;
    begin_ -= from;
    if (lastPacketAt_) *lastPacketAt_ -= from;
    if (quietSearchFrom_) *quietSearchFrom_ -= from;
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
    // Fillers may follow the closing code.
    if ((end_ - at) % K40Packet::kSize != 0 || end_ - at < K40Packet::kSize) return false;
    std::size_t last = end_ - K40Packet::kSize;
    while (last > at && isFillerAt(last)) last -= K40Packet::kSize;
    if (bytes_[last] != k40code::kRunComplete) return false;
    for (std::size_t p = at; p < last; p += K40Packet::kSize) {
        if (!isCodeOfTheElectronics(bytes_[p]) && !isFillerAt(p)) return false;
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
            if (!isQuietLine) quietSearchFrom_.reset();
            wasLastCodeZero_ = false;
            hasPassedLivePackets_ = false;
            return true;
        }
        ++begin_;
        ++bytesSkipped_;
    }
}

}  // namespace dyno
