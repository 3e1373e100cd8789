#include "acquisition/ports/PtyServer.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace dyno {

namespace {

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

PtyServer::PtyServer(ByteLink& peer) : peer_(peer) {}

PtyServer::~PtyServer() {
    stop();
    peer_.setListener(nullptr);
}

bool PtyServer::start() {
    stop();
    masterFd_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (masterFd_ < 0) return fail("Cannot create a pseudo-terminal");
    if (::fcntl(masterFd_, F_SETFL, ::fcntl(masterFd_, F_GETFL) | O_NONBLOCK) != 0) {
        return fail("Cannot set up the pseudo-terminal");
    }
    if (::grantpt(masterFd_) != 0 || ::unlockpt(masterFd_) != 0) {
        return fail("Cannot unlock the pseudo-terminal");
    }
    std::array<char, 128> name{};
    if (::ptsname_r(masterFd_, name.data(), name.size()) != 0) {
        return fail("Cannot name the pseudo-terminal");
    }
    slavePath_ = name.data();
    slaveFd_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slaveFd_ < 0) return fail("Cannot open " + slavePath_);
    termios raw{};
    if (::tcgetattr(slaveFd_, &raw) != 0) return fail("Cannot read the terminal settings");
    ::cfmakeraw(&raw);
    ::cfsetispeed(&raw, B57600);
    ::cfsetospeed(&raw, B57600);
    if (::tcsetattr(slaveFd_, TCSANOW, &raw) != 0) return fail("Cannot set raw mode");

    if (!peer_.open("pty")) {
        const std::string why = peer_.errorText();
        stop();
        error_ = "The electronics behind the terminal cannot be opened: " + why;
        return false;
    }
    peer_.setListener(this);

    readNotifier_ = std::make_unique<QSocketNotifier>(masterFd_, QSocketNotifier::Read);
    QObject::connect(readNotifier_.get(), &QSocketNotifier::activated,
                     [this] { inNotifier(&PtyServer::readFromProgram); });
    writeNotifier_ = std::make_unique<QSocketNotifier>(masterFd_, QSocketNotifier::Write);
    writeNotifier_->setEnabled(false);
    QObject::connect(writeNotifier_.get(), &QSocketNotifier::activated,
                     [this] { inNotifier(&PtyServer::writeToProgram); });
    error_.clear();
    return true;
}

void PtyServer::stop() {
    // A notifier must not be deleted inside its own signal: the one that is reporting
    // goes once the event loop is back.
    for (auto* notifier : {&readNotifier_, &writeNotifier_}) {
        if (!*notifier) continue;
        (*notifier)->setEnabled(false);
        if (isInNotifier_) {
            notifier->release()->deleteLater();
        } else {
            notifier->reset();
        }
    }
    outgoing_.clear();
    if (slaveFd_ >= 0) ::close(slaveFd_);
    if (masterFd_ >= 0) ::close(masterFd_);
    slaveFd_ = -1;
    masterFd_ = -1;
}

void PtyServer::inNotifier(void (PtyServer::*handler)()) {
    isInNotifier_ = true;
    (this->*handler)();
    isInNotifier_ = false;
}

bool PtyServer::fail(const std::string& what) {
    error_ = systemError(what);
    stop();
    return false;
}

std::size_t PtyServer::bytesUndelivered() const {
    int inTerminal = 0;
    if (slaveFd_ >= 0 && ::ioctl(slaveFd_, FIONREAD, &inTerminal) != 0) inTerminal = 0;
    return outgoing_.size() + static_cast<std::size_t>(inTerminal);
}

void PtyServer::bytesReceived() {
    std::array<std::uint8_t, 4096> block{};
    while (const std::size_t n = peer_.read(block)) {
        outgoing_.insert(outgoing_.end(), block.begin(), block.begin() + static_cast<long>(n));
    }
    writeToProgram();
}

void PtyServer::linkFailed() {
    // The peer is gone: so is the program's port.
    stop();
}

void PtyServer::writeToProgram() {
    if (masterFd_ < 0) return;
    std::size_t done = 0;
    while (done < outgoing_.size()) {
        const ssize_t n = ::write(masterFd_, outgoing_.data() + done, outgoing_.size() - done);
        if (n <= 0) break;  // the terminal is full: go on when it can take more
        done += static_cast<std::size_t>(n);
    }
    bytesToProgram_ += done;
    outgoing_.erase(outgoing_.begin(), outgoing_.begin() + static_cast<long>(done));
    if (writeNotifier_) writeNotifier_->setEnabled(!outgoing_.empty());
}

void PtyServer::readFromProgram() {
    std::array<std::uint8_t, 4096> block{};
    for (;;) {
        const ssize_t n = ::read(masterFd_, block.data(), block.size());
        if (n <= 0) break;
        bytesFromProgram_ += static_cast<std::uint64_t>(n);
        // Handing the bytes over may start the peer's answer, and a peer that fails
        // in it stops the server.
        peer_.write(std::span<const std::uint8_t>(block.data(), static_cast<std::size_t>(n)));
        if (masterFd_ < 0) return;
    }
}

}  // namespace dyno
