#pragma once

#include <QElapsedTimer>
#include <QHash>

#include <QAbstractHttpServer>
#include <QString>

namespace dyno {

// The HTTP side of the live view, on Qt's HTTP server: GET of the page, its style and
// its script with the access code, and the WebSocket upgrade at /live with the code.
// Everything else is refused: 403 without the code, 405 for anything but GET, 404 for
// other paths. Qt's HTTP server of Debian 12 asks handleRequest() about an upgrade
// before it takes it, so a socket without the code is refused at its handshake.
// An address that has offered kMostWrongCodes wrong codes is refused everything for
// kWrongCodeLockoutMs, even the right code: a million codes cannot be tried through.
inline constexpr int kMostWrongCodes = 5;
inline constexpr qint64 kWrongCodeLockoutMs = 60'000;

class LivePageServer final : public QAbstractHttpServer {
  public:
    explicit LivePageServer(QString accessCode, QObject* parent = nullptr)
        : QAbstractHttpServer(parent), code_(std::move(accessCode)) {}

    const QString& accessCode() const { return code_; }

  protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

  private:
    // False, counting the wrong code, for a code that is not the view's or an address
    // locked out.
    bool admits(const QHttpServerRequest& request, const QTcpSocket& socket);

    struct WrongCodes {
        int count = 0;
        qint64 lastMs = 0;
    };

    QString code_;
    QHash<QString, WrongCodes> wrongCodes_;
    QElapsedTimer clock_;
};

}  // namespace dyno
