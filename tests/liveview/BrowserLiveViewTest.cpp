// A phone-sized headless Chromium follows a simulated K40 session served by
// `dynotool simulate --realtime --live-view`: refused without the code, live with it,
// each run's figures after its transfer, "reconnecting" when the server stops
// answering and live again when it answers once more. Prints the delay from a change
// at the dyno to the page.
#include <gtest/gtest.h>
#include <signal.h>

#include <QJsonValue>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <iostream>
#include <vector>

#include "liveview/HeadlessBrowser.h"

namespace dyno {
namespace {

using testing::HeadlessBrowser;

// The simulated session at five times the rider's pace: a run in a few seconds.
constexpr int kTimeLapse = 5;
constexpr int kRunWaitMs = 60000;

class SimulatedSession {
  public:
    bool start(const QString& folder) {
        process_.start(
            QStringLiteral(DYNOTOOL_PATH),
            {"simulate", "--realtime", "--time-lapse", QString::number(kTimeLapse), "--live-view",
             "0", "--live-view-hold", "60", "--out", folder + "/session.zsd"});
        const QRegularExpression serving(QStringLiteral("live view at (http://\\S+)"));
        return HeadlessBrowser::waitFor(
                   [&] {
                       err_ += QString::fromUtf8(process_.readAllStandardError());
                       const auto match = serving.match(err_);
                       if (match.hasMatch()) address = match.captured(1);
                       return !address.isEmpty() || process_.state() == QProcess::NotRunning;
                   },
                   20000) &&
               !address.isEmpty();
    }
    void signal(int number) { ::kill(static_cast<pid_t>(process_.processId()), number); }
    ~SimulatedSession() {
        process_.kill();
        process_.waitForFinished(5000);
    }

    QString address;  // with the code

  private:
    QProcess process_;
    QString err_;
};

// The page's record of delays, `name` of its #latency element, smallest first.
std::vector<int> sortedNumbers(HeadlessBrowser& browser, const char* name) {
    const QString expression =
        QStringLiteral("document.getElementById('latency').dataset.%1 || ''").arg(name);
    std::vector<int> numbers;
    for (const QString& n :
         browser.evaluate(expression).toString().split(',', Qt::SkipEmptyParts)) {
        numbers.push_back(n.toInt());
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

TEST(BrowserLiveView, PhoneFollowsASimulatedSession_AndShowsWhenItIsCutOff) {
    if (HeadlessBrowser::program().isEmpty()) {
        GTEST_SKIP() << "chromium is not installed (scripts/setup installs it)";
    }
    QTemporaryDir folder;
    SimulatedSession session;
    ASSERT_TRUE(session.start(folder.path()));
    HeadlessBrowser browser;
    ASSERT_TRUE(browser.start());

    const QString withoutCode = session.address.section('?', 0, 0);
    ASSERT_TRUE(browser.open(withoutCode));
    ASSERT_TRUE(browser.waitUntil("document.readyState === 'complete'", 10000));
    EXPECT_TRUE(browser.evaluate("document.getElementById('status') === null").toBool());

    browser.navigate(session.address);
    ASSERT_TRUE(browser.waitUntil("document.body && document.body.className === 'live'", 10000));
    EXPECT_TRUE(browser.waitUntil(
        "document.getElementById('instruction').textContent === 'Test running'", kRunWaitMs));
    EXPECT_TRUE(browser.waitUntil("Number(document.getElementById('speedValue').textContent) > 20",
                                  kRunWaitMs));
    EXPECT_TRUE(browser.waitUntil("document.querySelectorAll('#figures tbody tr').length >= 1",
                                  kRunWaitMs));
    const QString figures =
        browser.evaluate("document.querySelector('#figures tbody tr').textContent").toString();
    EXPECT_TRUE(figures.contains(QRegularExpression(QStringLiteral("^1\\d+\\.\\d hp"))))
        << figures.toStdString();

    // The server stops answering: the page says so instead of showing the old values.
    session.signal(SIGSTOP);
    EXPECT_TRUE(browser.waitUntil(
        "document.getElementById('status').textContent === 'reconnecting'", 5000));
    session.signal(SIGCONT);
    EXPECT_TRUE(browser.waitUntil("document.body.className === 'live'", 10000));

    const std::vector<int> delays = sortedNumbers(browser, "all");
    const std::vector<int> transport = sortedNumbers(browser, "transport");
    ASSERT_GE(delays.size(), 10u);
    std::cout << "live view delay, oldest change at the dyno to the page: median "
              << delays[delays.size() / 2] << " ms, largest " << delays.back()
              << " ms; of it, send to page: median " << transport[transport.size() / 2]
              << " ms, largest " << transport.back() << " ms (" << delays.size() << " sends)\n";
    // A change waits at most for the next 50 ms slot, then a moment on the way.
    EXPECT_LE(delays[delays.size() / 2], 100);
    EXPECT_LE(transport[transport.size() / 2], 20);

    session.signal(SIGKILL);
    EXPECT_TRUE(browser.waitUntil(
        "document.getElementById('status').textContent === 'reconnecting'", 5000));
}

}  // namespace
}  // namespace dyno
