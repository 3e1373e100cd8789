#pragma once

#include <QByteArray>
#include <cstdint>

namespace dyno {

// One browser following the live view: what it has not taken yet, and a text to send.
// Real: a WebSocket. Fake: a client in the tests that takes nothing.
class LiveClient {
  public:
    virtual ~LiveClient() = default;
    // Bytes handed to the connection that the browser has not taken yet.
    virtual std::int64_t unsentBytes() const = 0;
    // Queues the text; never waits for the browser.
    virtual void send(const QByteArray& text) = 0;
};

}  // namespace dyno
