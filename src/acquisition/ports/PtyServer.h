#pragma once

#include <QSocketNotifier>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/ByteLink.h"

namespace dyno {

// Serves the far end of a byte link on a pseudo-terminal, so that a program can open
// the slave side as its serial port and talk to, say, the simulated K40 electronics
// as it would talk to the real ones through a USB adapter.
//
// The server plays the program's part towards the peer: it opens the peer, forwards
// every byte the peer sends into the terminal's master side, and writes every byte the
// program sends into the peer. Pacing is the peer's: the simulated electronics hand
// out bytes at the line rate when told to. The slave is put into raw mode at once, so
// nothing the electronics send is echoed or translated before the program has set up
// the port itself. The server keeps a descriptor of the slave open for its whole life:
// the master side then never reports a hang-up while no program has the port open.
class PtyServer final : private ByteLinkListener {
  public:
    explicit PtyServer(ByteLink& peer);
    ~PtyServer() override;
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Creates the pseudo-terminal and opens the peer. False with errorText() set when
    // either fails.
    bool start();
    // Closes the master side: a program with the slave open sees its port fail as if
    // the adapter had been pulled out.
    void stop();

    bool isServing() const { return masterFd_ >= 0; }
    // The path to open as a serial port ("/dev/pts/7").
    const std::string& slavePath() const { return slavePath_; }
    const std::string& errorText() const { return error_; }

    // Bytes of the peer not yet read by the program: held here while the terminal was
    // full, plus what waits in the terminal.
    std::size_t bytesUndelivered() const;
    std::uint64_t bytesToProgram() const { return bytesToProgram_; }
    std::uint64_t bytesFromProgram() const { return bytesFromProgram_; }

  private:
    void bytesReceived() override;
    void linkFailed() override;
    void readFromProgram();
    void writeToProgram();
    void inNotifier(void (PtyServer::*handler)());
    bool fail(const std::string& what);

    ByteLink& peer_;
    int masterFd_ = -1;
    int slaveFd_ = -1;
    std::string slavePath_;
    std::string error_;
    std::unique_ptr<QSocketNotifier> readNotifier_;
    std::unique_ptr<QSocketNotifier> writeNotifier_;
    std::vector<std::uint8_t> outgoing_;  // from the peer, not yet taken by the terminal
    std::uint64_t bytesToProgram_ = 0;
    std::uint64_t bytesFromProgram_ = 0;
    bool isInNotifier_ = false;
};

}  // namespace dyno
