#pragma once

// What the tests of the real ports share: an event loop run until something holds,
// and the far end of a line that tests script byte by byte.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "acquisition/ByteLink.h"

namespace dyno::test {

// Processes events until `isDone` holds or `timeoutMs` passed; returns whether it held.
inline bool processEventsUntil(const std::function<bool()>& isDone, int timeoutMs = 5000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!isDone()) {
        if (elapsed.elapsed() >= timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Processes events for `ms`, for checks that something does not happen.
inline void processEventsFor(int ms) {
    processEventsUntil([] { return false; }, ms);
}

// The electronics' end of the line as a test scripts it: what the program wrote is
// kept, and send() puts bytes on the line towards the program.
class ScriptedFarEnd final : public ByteLink {
  public:
    bool open(std::string_view) override {
        isOpen_ = true;
        return true;
    }
    void close() override { isOpen_ = false; }
    bool isOpen() const override { return isOpen_; }
    std::string errorText() const override { return {}; }
    std::size_t bytesWaiting() const override { return toProgram_.size(); }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t n = std::min(buffer.size(), toProgram_.size());
        std::copy_n(toProgram_.begin(), n, buffer.begin());
        toProgram_.erase(toProgram_.begin(), toProgram_.begin() + static_cast<long>(n));
        return n;
    }
    bool write(std::span<const std::uint8_t> bytes) override {
        written.insert(written.end(), bytes.begin(), bytes.end());
        return true;
    }
    void purgeInput() override { toProgram_.clear(); }
    void setListener(ByteLinkListener* listener) override { listener_ = listener; }

    void send(const std::vector<std::uint8_t>& bytes) {
        toProgram_.insert(toProgram_.end(), bytes.begin(), bytes.end());
        if (listener_ != nullptr) listener_->bytesReceived();
    }

    std::vector<std::uint8_t> written;

  private:
    bool isOpen_ = false;
    std::vector<std::uint8_t> toProgram_;
    ByteLinkListener* listener_ = nullptr;
};

}  // namespace dyno::test
