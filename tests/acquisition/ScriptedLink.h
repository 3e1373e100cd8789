#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "acquisition/ByteLink.h"
#include "acquisition/k40/K40Packet.h"

namespace dyno::test {

// A serial line under the test's control: it records what is written and hands out
// what the test feeds, in as small pieces as asked, and can refuse to open or vanish.
class ScriptedLink final : public ByteLink {
  public:
    bool open(std::string_view) override {
        if (!canOpen) return false;
        isOpen_ = true;
        input_.clear();
        ++openCount;
        return true;
    }
    void close() override { isOpen_ = false; }
    bool isOpen() const override { return isOpen_; }
    std::string errorText() const override { return error; }

    std::size_t bytesWaiting() const override {
        return isOpen_ ? input_.size() + overReportedBytes : 0;
    }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t n = std::min({buffer.size(), input_.size(), maxReadBytes});
        std::copy_n(input_.begin(), n, buffer.begin());
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(n));
        return n;
    }
    bool write(std::span<const std::uint8_t> bytes) override {
        if (!isOpen_) return false;
        written.insert(written.end(), bytes.begin(), bytes.end());
        return true;
    }
    void purgeInput() override {
        input_.clear();
        ++purgeCount;
    }
    void setListener(ByteLinkListener* listener) override { listener_ = listener; }

    // Bytes arrive, then the receive event is raised.
    void feed(std::span<const std::uint8_t> bytes) {
        input_.insert(input_.end(), bytes.begin(), bytes.end());
        if (listener_ != nullptr) listener_->bytesReceived();
    }
    void feed(std::initializer_list<std::uint8_t> bytes) {
        feed(std::span<const std::uint8_t>(bytes.begin(), bytes.size()));
    }
    void feed(const K40Packet& packet) { feed(packet.bytes); }
    void feed(const std::vector<K40Packet>& packets) {
        std::vector<std::uint8_t> bytes;
        for (const auto& p : packets) bytes.insert(bytes.end(), p.bytes.begin(), p.bytes.end());
        feed(bytes);
    }
    // Bytes arrive without a receive event (the event comes later, or never).
    void arriveSilently(const K40Packet& packet) {
        input_.insert(input_.end(), packet.bytes.begin(), packet.bytes.end());
    }

    // The adapter is pulled out.
    void vanish(std::string why) {
        isOpen_ = false;
        error = std::move(why);
        input_.clear();
        if (listener_ != nullptr) listener_->linkFailed();
    }

    // The written bytes cut into ten-byte commands.
    std::vector<std::vector<std::uint8_t>> commands() const {
        std::vector<std::vector<std::uint8_t>> out;
        for (std::size_t at = 0; at + 10 <= written.size(); at += 10) {
            out.emplace_back(written.begin() + static_cast<std::ptrdiff_t>(at),
                             written.begin() + static_cast<std::ptrdiff_t>(at + 10));
        }
        return out;
    }

    bool canOpen = true;
    std::string error;
    std::size_t maxReadBytes = SIZE_MAX;  // a driver that hands out short reads
    std::size_t overReportedBytes = 0;    // a driver that counts bytes it cannot hand out yet
    std::vector<std::uint8_t> written;
    int openCount = 0;
    int purgeCount = 0;

  private:
    bool isOpen_ = false;
    std::deque<std::uint8_t> input_;
    ByteLinkListener* listener_ = nullptr;
};

}  // namespace dyno::test
