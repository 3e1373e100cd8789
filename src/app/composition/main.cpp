// vkr_dyno: the desktop program of the roller dynamometer.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/composition/CommandLine.h"
#include "app/composition/MainWindow.h"
#include "app/composition/ProgramParts.h"
#include "app/system/SingleInstanceGuard.h"
#include "app/system/StartFolder.h"
#include "model/SessionModel.h"

namespace {

// VKR_DYNO_STARTUP_REPORT=1: print the time from the start of main to the first
// painted window on stderr and quit, for measuring start-up.
class FirstPaintReport : public QObject {
  public:
    explicit FirstPaintReport(QElapsedTimer& sinceStart) : sinceStart_(sinceStart) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !isReported_) {
            isReported_ = true;
            QTimer::singleShot(0, [this] {
                // qint64 is long long on every platform Qt builds for.
                std::fprintf(stderr, "first paint after %lld ms\n", sinceStart_.elapsed());
                QApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QElapsedTimer& sinceStart_;
    bool isReported_ = false;
};

// Everything of the program after the single-instance check.
int runWindow(QElapsedTimer& sinceStart, const dyno::WindowOptions& chosen) {
    // The program is put together here, and only here: `--simulate` plugs in the
    // simulated electronics instead of the hardware, on every port name.
    dyno::ProgramOptions options;
    options.isSimulated = chosen.isSimulated;
    options.isCardSimulated = chosen.isDemo;
    // The simulated rider lets the roller run down with the throttle closed after
    // each run's top speed, so the Analysis page has each run's losses to show.
    options.electronics.coastDown.isOn = true;
    // A wide-band lambda controller on channel 3 of the simulated K40.
    options.electronics.lambdaProbe.isOn = true;
    const std::unique_ptr<dyno::ProgramParts> hardware = dyno::ProgramParts::forHardware(options);
    dyno::ProgramParts& parts = *hardware;
    // The settings files and the print logo live in the folder the program starts in.
    const QString startDirectory = QDir::currentPath();
    dyno::MainWindow window(parts, startDirectory);
    // `--skip-calibration` leaves the card's delay loops uncalibrated: for measuring
    // start-up time and for K40-only demos.
    const bool calibrate = !chosen.skipsCalibration;
    if (const auto exitStatus = window.startUp(parts.cardBusOpener(), calibrate)) {
        return *exitStatus;
    }
    FirstPaintReport firstPaint(sinceStart);
    if (qEnvironmentVariableIsSet("VKR_DYNO_STARTUP_REPORT"))
        window.installEventFilter(&firstPaint);
    // Centred on the screen, as the workshop has always found it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    // Read before the toolkit, which needs a display: --help answers on any terminal.
    const dyno::CommandLine line =
        dyno::readCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.action) {
        case dyno::CommandLine::Action::PrintHelp:
            std::fputs(dyno::windowUsage().c_str(), stdout);
            return 0;
        case dyno::CommandLine::Action::PrintVersion:
            std::printf("%s\n", dyno::windowVersion().c_str());
            return 0;
        case dyno::CommandLine::Action::Refuse:
            std::fprintf(stderr, "vkr_dyno: %s\n%s", line.refusal.c_str(),
                         dyno::windowUsage().c_str());
            return 2;
        case dyno::CommandLine::Action::RunWindow: break;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vkr_dyno"));

    dyno::SingleInstanceGuard guard;
    if (!guard.acquire()) {
        // No folder of the user's own could hold the lock: say why instead of
        // claiming another copy runs.
        if (!guard.problem().isEmpty()) {
            QMessageBox::critical(nullptr, QStringLiteral("vkr_dyno"), guard.problem());
            return 1;
        }
        QMessageBox::information(nullptr, QStringLiteral("vkr_dyno"),
                                 QStringLiteral("VKR dyno program is already running"));
        return 0;
    }

    // From the desktop menu: the workshop's own folder, made on the first start.
    // The demo: the current folder, prepared the same way on the simulated dyno.
    std::optional<QString> failed;
    if (line.options.isUserFolder) {
        failed = dyno::enterUserStartFolder();
    } else if (line.options.isDemo) {
        failed = dyno::prepareStartFolder(QDir::currentPath(), dyno::FirstK40Port::Simulated);
    }
    if (failed) {
        QMessageBox::critical(nullptr, QStringLiteral("vkr_dyno"), *failed);
        return 1;
    }

    // An exception that escapes start-up or the event loop is shown in the
    // toolkit's error box; the program then ends normally, releasing the lock.
    try {
        return runWindow(sinceStart, line.options);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("vkr_dyno"),
                              QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
