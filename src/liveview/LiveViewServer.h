#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

#include "liveview/LiveFeed.h"
#include "liveview/LivePageServer.h"
#include "liveview/LivePublisher.h"
#include "liveview/LiveSocket.h"
#include "model/AnalysisSettings.h"

namespace dyno {

// The rider's live view on the network: one page (shipped inside the program) and a
// WebSocket on the same port, at /live, that pushes the feed's latest state ten times
// a second. Both need the access code (see makeAccessCode) as the query parameter
// `code` (see LivePageServer). Nothing a browser sends changes anything.
class LiveViewServer final : public QObject {
    Q_OBJECT
  public:
    // `accessCode`: made once at the program's start, the same over every start of
    // the server until the program ends.
    LiveViewServer(LiveFeed& feed, QString accessCode, QObject* parent = nullptr);
    ~LiveViewServer() override;

    // Listens where `reach` says on `port` (0: any free port). False, with
    // errorText(), when the port cannot be had.
    bool listen(LiveViewReach reach, std::uint16_t port);
    std::uint16_t port() const { return port_; }
    const QString& accessCode() const { return http_.accessCode(); }
    // "http://192.168.1.20:8040/?code=123456": the address a phone opens, on the
    // PC's first network address when the view reaches the local network.
    QString address() const;
    const QString& errorText() const { return error_; }

    void setEvaluationOptions(const EvaluationOptions& options);
    std::size_t clients() const { return publisher_.clients(); }
    const LivePublisher& publisher() const { return publisher_; }

  private:
    void acceptSockets();
    void dropSocket(LiveSocket* socket);

    LivePageServer http_;
    LivePublisher publisher_;
    QTimer ticks_;
    QString error_;
    std::uint16_t port_ = 0;
    LiveViewReach reach_ = LiveViewReach::thisPcOnly;
    std::vector<std::unique_ptr<LiveSocket>> sockets_;
};

}  // namespace dyno
