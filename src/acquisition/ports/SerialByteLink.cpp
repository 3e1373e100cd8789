#include "acquisition/ports/SerialByteLink.h"

#include "acquisition/ports/PortPermission.h"

#include <poll.h>
#include <sys/resource.h>

#include <QTimer>
#include <cctype>
#include <cerrno>
#include <charconv>

namespace dyno {

namespace {

// "High priority" for the time the port is open: enough to stay ahead of ordinary
// desktop work, well short of real-time.
constexpr int kOpenPortNice = -10;

bool isHungUp(int fd) {
    pollfd watched{fd, POLLIN, 0};
    return ::poll(&watched, 1, 0) > 0 && (watched.revents & (POLLHUP | POLLERR)) != 0;
}

}  // namespace

std::string serialDevicePath(std::string_view portName) {
    if (portName.find('/') != std::string_view::npos) return std::string(portName);
    // The Setup page lists COM1..COM9; on this system the n-th port is ttyS(n-1).
    if (portName.size() > 3 && std::toupper(static_cast<unsigned char>(portName[0])) == 'C' &&
        std::toupper(static_cast<unsigned char>(portName[1])) == 'O' &&
        std::toupper(static_cast<unsigned char>(portName[2])) == 'M') {
        const std::string_view digits = portName.substr(3);
        int number = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error == std::errc() && end == digits.data() + digits.size() && number >= 1) {
            return "/dev/ttyS" + std::to_string(number - 1);
        }
    }
    return "/dev/" + std::string(portName);
}

SerialByteLink::SerialByteLink() {
    QObject::connect(&port_, &QSerialPort::readyRead, [this] {
        if (listener_ != nullptr) listener_->bytesReceived();
    });
    QObject::connect(&port_, &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError error) { portError(error); });
}

SerialByteLink::~SerialByteLink() {
    listener_ = nullptr;
    close();
}

bool SerialByteLink::open(std::string_view portName) {
    close();
    isFailing_ = false;
    devicePath_ = serialDevicePath(portName);
    port_.setPortName(QString::fromStdString(devicePath_));
    port_.setBaudRate(kBaudRate);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        error_ = port_.errorString().toStdString();
        if (port_.error() == QSerialPort::PermissionError && isPortPermissionDenied(devicePath_)) {
            error_ = portPermissionText(error_, devicePath_, deviceAccessOf(devicePath_));
        }
        port_.clearError();
        return false;
    }
    error_.clear();
    // The K40 uses neither line. A pseudo-terminal has no modem lines and refuses;
    // that is no reason to give up the port.
    port_.setDataTerminalReady(false);
    port_.setRequestToSend(false);
    port_.clearError();
    // Whatever the driver collected before belongs to no packet of ours.
    port_.clear(QSerialPort::Input);
    raisePriority();
    return true;
}

void SerialByteLink::close() {
    if (port_.isOpen()) port_.close();
    port_.clearError();
    restorePriority();
}

std::size_t SerialByteLink::bytesWaiting() const {
    return port_.isOpen() ? static_cast<std::size_t>(port_.bytesAvailable()) : 0;
}

std::size_t SerialByteLink::read(std::span<std::uint8_t> buffer) {
    if (!port_.isOpen() || buffer.empty()) return 0;
    const qint64 n =
        port_.read(reinterpret_cast<char*>(buffer.data()), static_cast<qint64>(buffer.size()));
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

bool SerialByteLink::write(std::span<const std::uint8_t> bytes) {
    if (!port_.isOpen() || isFailing_) return false;
    const qint64 n =
        port_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    if (n != static_cast<qint64>(bytes.size())) {
        error_ = port_.errorString().toStdString();
        return false;
    }
    // A command goes out now, not when the event loop next looks at the port.
    port_.flush();
    return true;
}

void SerialByteLink::purgeInput() {
    if (port_.isOpen()) port_.clear(QSerialPort::Input);
}

void SerialByteLink::portError(QSerialPort::SerialPortError error) {
    // Errors of opening are returned by open(); an unsupported line setting and a
    // timeout do not stop the port.
    if (!port_.isOpen() || isFailing_) return;
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError) return;
    isFailing_ = true;
    // A device that hung up (an adapter pulled out, the far end of a pseudo-terminal
    // closed) reads as the end of the stream, and the port's text is then whatever
    // system error happened to come before it.
    error_ =
        isHungUp(port_.handle()) ? std::string(kHungUpText) : port_.errorString().toStdString();
    // The port reports from inside its own notifier; it is closed once that is over.
    QTimer::singleShot(0, &port_, [this] { fail(); });
}

void SerialByteLink::fail() {
    close();
    if (listener_ != nullptr) listener_->linkFailed();
}

void SerialByteLink::raisePriority() {
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, 0);
    if (errno != 0 || nice <= kOpenPortNice) return;
    if (::setpriority(PRIO_PROCESS, 0, kOpenPortNice) == 0) {
        previousNice_ = nice;
        isPriorityRaised_ = true;
    }
}

void SerialByteLink::restorePriority() {
    if (!isPriorityRaised_) return;
    ::setpriority(PRIO_PROCESS, 0, previousNice_);
    isPriorityRaised_ = false;
}

}  // namespace dyno
