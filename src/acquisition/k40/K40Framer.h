#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "acquisition/ByteLink.h"
#include "acquisition/k40/K40Packet.h"

namespace dyno {

// Consecutive packets that must carry codes the electronics send before the framing
// is taken up again at a new offset.
inline constexpr int kPacketsToRealign = 4;
// How far the roller samples of a new offset may lie from the period in force: a
// launch can shorten the period that much over the packets taken back after a fault,
// while a period read from shifted bytes carries a code byte in its high half.
inline constexpr std::uint32_t kRollerPeriodSpread = 8;

// Cuts the K40 byte stream into consecutive five-byte packets. The stream has no
// start marker and no checksum; what it does have is a small set of codes in the
// first byte of every packet. A code the electronics never send, two code-0 packets
// in a row that are not all zeros, or a packet the dispatch finds out of place
// (loseAlignment) show that the packets are being read from the wrong bytes. The
// framer then hands out nothing until it finds the next offset at which
// kPacketsToRealign consecutive packets carry codes the electronics send, and goes on
// from there. The purge when the port opens and every drain start the framing afresh.
//
// While the framing holds, bytes are read from the link only as whole packets
// arrive, as the receive event of the electronics expects; only a search for a new
// offset, or a look behind a packet (framesSamplesAhead), reads further.
class K40Framer {
  public:
    explicit K40Framer(ByteLink& link) : link_(link) {}

    // The next complete packet, or nothing while fewer than five bytes are at hand (or,
    // while a new offset is searched, too few to find one). A link that hands out
    // fewer bytes than it reported leaves the part read here for the next call.
    // Packets with code 0 are consumed and skipped.
    std::optional<K40Packet> next();

    // Reads and discards everything waiting, purges the driver, forgets the bytes held
    // here and takes the framing as found afresh.
    void drain();

    // The dispatch found the last packet out of place: the search for a new offset
    // begins one byte after that packet's first byte.
    void loseAlignment();

    // While a run's data are transferred, a new offset must also show a sample
    // packet or the closing code among its packets: a live value that happens to look
    // like a code does not pass for the run's data.
    void setTransferring(bool isTransferring) {
        isTransferring_ = isTransferring;
        rollerPeriodInForce_ = 0;
    }
    // The roller period last stored in the transfer (0: none yet). A new offset whose
    // roller samples are more than kRollerPeriodSpread times off it is passed over:
    // the roller's inertia does not let its period jump like that, but the bytes of
    // slowly changing periods read as codes do.
    void setRollerPeriodInForce(std::uint32_t periodTicks) { rollerPeriodInForce_ = periodTicks; }

    // A line that has gone quiet while the framing was lost: the bytes held are taken
    // up again at an offset whose packets run exactly to the end of them and close
    // with the run's closing code, however few they are. True when one was found.
    bool realignOnQuietLine();
    // While a transfer's framing is searched: an offset was passed over that carries
    // live packets, not the run's data. The electronics may have gone on from the run.
    bool hasPassedLivePackets() const { return hasPassedLivePackets_; }

    bool isAligned() const { return isAligned_; }
    // The framing was lost since the last drain (or the port was opened): what is
    // framed now may have been found at a wrong offset.
    bool hasLostSinceDrain() const { return losses_ != lossesAtDrain_; }
    // Times the framing was lost since the port was opened; bytes passed over while
    // searching for a new offset.
    std::int32_t losses() const { return losses_; }
    std::int64_t bytesSkipped() const { return bytesSkipped_; }

    // Whether the bytes already received behind the last packet handed out read as
    // more of a run's samples at some offset: fillers in the framing are passed over,
    // live packets, codes the electronics never send and stray bytes are no samples.
    // `rollerPeriodInForce`: the run's last roller period (0: none); `isFramedOnly`:
    // only in the framing in force. Reads what is waiting into the bytes held here;
    // nothing is consumed.
    bool framesSamplesAhead(std::uint32_t rollerPeriodInForce, bool isFramedOnly = false);

    // The last packet handed out was out of place, but may still be the run's closing
    // code: the search for a new offset begins one byte after it, while the search on
    // a quiet line may still begin at it.
    void loseAlignmentAfterRunEnd();

    // Bytes held behind the last packet handed out: while the framing holds, the
    // bytes of the next packet read so far (0..4).
    std::size_t partialBytes() const { return held(); }

  private:
    // Room for the driver's whole input buffer twice over.
    static constexpr std::size_t kHeldCapacity = 8192;

    std::size_t held() const { return end_ - begin_; }
    void compact();
    // Reads whatever is waiting, as far as there is room.
    void readAllWaiting();
    K40Packet packetAt(std::size_t at) const;
    // The search for a new offset over the bytes held; true when the framing holds
    // again at begin_.
    bool realign(bool isQuietLine);
    bool isQuietTailAligned(std::size_t at) const;
    bool isPlausibleRollerPeriod(std::size_t at) const;
    bool isFillerAt(std::size_t at) const;
    void lose(std::size_t resumeAt);

    ByteLink& link_;
    std::array<std::uint8_t, kHeldCapacity> bytes_{};
    std::size_t begin_ = 0;  // the next byte not handed out
    std::size_t end_ = 0;
    // Where the packet handed out last began, while its bytes are still held.
    std::optional<std::size_t> lastPacketAt_;
    // A closing code taken back: where the search on a quiet line may begin.
    std::optional<std::size_t> quietSearchFrom_;
    bool isAligned_ = true;
    bool isTransferring_ = false;
    bool wasLastCodeZero_ = false;
    bool hasPassedLivePackets_ = false;
    std::uint32_t rollerPeriodInForce_ = 0;
    std::int32_t losses_ = 0;
    std::int32_t lossesAtDrain_ = 0;
    std::int64_t bytesSkipped_ = 0;
};

}  // namespace dyno
