#pragma once

// Debian's chromium, headless, driven over its DevTools protocol on a QWebSocket: one
// page opened at a URL, JavaScript evaluated in it. Its profile lives in a folder of
// the test's own.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QWebSocket>
#include <functional>

namespace dyno::testing {

class HeadlessBrowser {
  public:
    static QString program() { return QStandardPaths::findExecutable(QStringLiteral("chromium")); }

    // Starts the browser with a phone-sized window; false when it does not come up.
    bool start() {
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start(
            program(),
            {QStringLiteral("--headless=new"), QStringLiteral("--disable-gpu"),
             QStringLiteral("--no-sandbox"), QStringLiteral("--no-first-run"),
             QStringLiteral("--disable-extensions"),
             QStringLiteral("--disable-background-networking"),
             QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
             QStringLiteral("--window-size=390,844"),
             QStringLiteral("--user-data-dir=") + profile_.path(),
             QStringLiteral("--remote-debugging-port=0"), QStringLiteral("about:blank")});
        QString endpoint;
        const QRegularExpression listening(QStringLiteral("DevTools listening on (ws://\\S+)"));
        waitFor(
            [&] {
                stderr_ += QString::fromUtf8(process_.readAllStandardError());
                const auto match = listening.match(stderr_);
                if (match.hasMatch()) endpoint = match.captured(1);
                return !endpoint.isEmpty() || process_.state() == QProcess::NotRunning;
            },
            30000);
        if (endpoint.isEmpty()) return false;
        QObject::connect(&devtools_, &QWebSocket::textMessageReceived, [this](const QString& t) {
            const QJsonObject message = QJsonDocument::fromJson(t.toUtf8()).object();
            if (message.contains("id")) answers_[message["id"].toInt()] = message;
        });
        devtools_.open(QUrl(endpoint));
        return waitFor([&] { return devtools_.state() == QAbstractSocket::ConnectedState; }, 10000);
    }

    ~HeadlessBrowser() {
        devtools_.close();
        process_.kill();
        process_.waitForFinished(5000);
    }

    // Opens the one page at `url`.
    bool open(const QString& url) {
        const QJsonObject target =
            call(QStringLiteral("Target.createTarget"), {{"url", url}}, QString());
        const QString id = target["result"].toObject()["targetId"].toString();
        const QJsonObject attached = call(QStringLiteral("Target.attachToTarget"),
                                          {{"targetId", id}, {"flatten", true}}, QString());
        session_ = attached["result"].toObject()["sessionId"].toString();
        return !session_.isEmpty();
    }

    void navigate(const QString& url) {
        call(QStringLiteral("Page.navigate"), {{"url", url}}, session_);
    }

    // The value of a JavaScript expression in the page.
    QJsonValue evaluate(const QString& expression) {
        const QJsonObject answer =
            call(QStringLiteral("Runtime.evaluate"),
                 {{"expression", expression}, {"returnByValue", true}}, session_);
        return answer["result"].toObject()["result"].toObject()["value"];
    }

    // Evaluates `expression` every 50 ms until it is true or `timeoutMs` has passed.
    bool waitUntil(const QString& expression, int timeoutMs) {
        return waitFor([&] { return evaluate(expression).toBool(); }, timeoutMs);
    }

    static bool waitFor(const std::function<bool()>& isDone, int timeoutMs) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!isDone()) {
            if (elapsed.elapsed() > timeoutMs) return false;
            QCoreApplication::processEvents();
            QThread::msleep(10);
        }
        return true;
    }

  private:
    QJsonObject call(const QString& method, const QJsonObject& params, const QString& session) {
        const int id = ++lastId_;
        QJsonObject message{{"id", id}, {"method", method}, {"params", params}};
        if (!session.isEmpty()) message["sessionId"] = session;
        devtools_.sendTextMessage(QString::fromUtf8(QJsonDocument(message).toJson()));
        waitFor([&] { return answers_.contains(id); }, 10000);
        return answers_.take(id);
    }

    QTemporaryDir profile_;
    QProcess process_;
    QString stderr_;
    QWebSocket devtools_;
    QString session_;
    int lastId_ = 0;
    QHash<int, QJsonObject> answers_;
};

}  // namespace dyno::testing
