#include "liveview/LivePageServer.h"

#include <QFile>
#include <QHostAddress>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QTcpSocket>
#include <QUrlQuery>

#include "liveview/AccessCode.h"

namespace dyno {

namespace {

using Status = QHttpServerResponder::StatusCode;

struct PageFile {
    const char* path;
    const char* resource;
    const char* mimeType;
};

constexpr PageFile kPageFiles[] = {
    {"/", ":/liveview/index.html", "text/html; charset=utf-8"},
    {"/live.css", ":/liveview/live.css", "text/css"},
    {"/live.js", ":/liveview/live.js", "text/javascript; charset=utf-8"},
};

constexpr const char* kSocketPath = "/live";

const PageFile* pageFileAt(const QString& path) {
    for (const PageFile& file : kPageFiles) {
        if (path == QLatin1String(file.path)) return &file;
    }
    return nullptr;
}

bool isWebSocketUpgrade(const QHttpServerRequest& request) {
    return request.value("upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
}

}  // namespace

bool LivePageServer::admits(const QHttpServerRequest& request, const QTcpSocket& socket) {
    if (!clock_.isValid()) clock_.start();
    const qint64 now = clock_.elapsed();
    const QString address = socket.peerAddress().toString();
    WrongCodes& wrong = wrongCodes_[address];
    if (wrong.count >= kMostWrongCodes && now - wrong.lastMs < kWrongCodeLockoutMs) {
        wrong.lastMs = now;  // trying on keeps the address locked out
        return false;
    }
    if (wrong.count >= kMostWrongCodes) wrong = {};
    if (isAccessCode(request.query().queryItemValue(QStringLiteral("code")), code_)) {
        wrongCodes_.remove(address);
        return true;
    }
    ++wrong.count;
    wrong.lastMs = now;
    return false;
}

bool LivePageServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    const QString path = request.url().path();
    const bool isPageOrSocket = path == QLatin1String(kSocketPath) || pageFileAt(path) != nullptr;
    const bool hasCode = isPageOrSocket && admits(request, *socket);
    // True lets Qt take the upgrade; false sends the request to missingHandler.
    if (path == QLatin1String(kSocketPath) && isWebSocketUpgrade(request)) return hasCode;
    const PageFile* file = pageFileAt(path);
    if (file == nullptr) return false;
    if (request.method() != QHttpServerRequest::Method::Get) {
        makeResponder(request, socket).write(Status::MethodNotAllowed);
        return true;
    }
    if (!hasCode) {
        makeResponder(request, socket).write(Status::Forbidden);
        return true;
    }
    QFile resource(QString::fromLatin1(file->resource));
    if (!resource.open(QIODevice::ReadOnly)) return false;
    QByteArray body = resource.readAll();
    // The page passes the code on to its style, script and socket.
    body.replace("{{code}}", code_.toLatin1());
    QHttpServerResponse response(QByteArray(file->mimeType), body);
    // Fetched afresh each time: a cached page would outlive its access code.
    response.setHeader("Cache-Control", "no-store");
    response.setHeader("X-Content-Type-Options", "nosniff");
    response.write(makeResponder(request, socket));
    return true;
}

void LivePageServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    const bool isSocket = request.url().path() == QLatin1String(kSocketPath);
    makeResponder(request, socket).write(isSocket ? Status::Forbidden : Status::NotFound);
}

}  // namespace dyno
