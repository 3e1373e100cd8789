// The real serial link, opened on a pseudo-terminal whose far end the test scripts:
// port names, the line settings, purging, byte order both ways, and a port that
// vanishes while open.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <numeric>

#include "acquisition/ports/PortTestSupport.h"
#include "acquisition/ports/PtyServer.h"
#include "acquisition/ports/SerialByteLink.h"

namespace dyno::test {
namespace {

TEST(SerialDevicePath, ComPortsAreTheSerialPortsCountedFromOne) {
    EXPECT_EQ(serialDevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(serialDevicePath("COM9"), "/dev/ttyS8");
    EXPECT_EQ(serialDevicePath("COM10"), "/dev/ttyS9");
    EXPECT_EQ(serialDevicePath("com2"), "/dev/ttyS1");
}

TEST(SerialDevicePath, OtherNamesAreDevicesOrPathsAsGiven) {
    EXPECT_EQ(serialDevicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(serialDevicePath("/dev/pts/4"), "/dev/pts/4");
    EXPECT_EQ(serialDevicePath("COM0"), "/dev/COM0");
    EXPECT_EQ(serialDevicePath("COMX"), "/dev/COMX");
    EXPECT_EQ(serialDevicePath("COM"), "/dev/COM");
}

class CountingListener final : public ByteLinkListener {
  public:
    void bytesReceived() override { ++received; }
    void linkFailed() override { ++failed; }
    int received = 0;
    int failed = 0;
};

class SerialLinkOnPty : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.start()) << server.errorText();
        port.setListener(&listener);
    }

    std::vector<std::uint8_t> readAll() {
        std::vector<std::uint8_t> bytes(port.bytesWaiting());
        bytes.resize(port.read(bytes));
        return bytes;
    }

    ScriptedFarEnd farEnd;
    PtyServer server{farEnd};
    SerialByteLink port;
    CountingListener listener;
};

TEST_F(SerialLinkOnPty, AMissingPortFailsWithTheSystemsText) {
    EXPECT_FALSE(port.open("/dev/no-such-dyno-port"));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.errorText(), "No such file or directory");
    EXPECT_FALSE(port.write(std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(SerialLinkOnPty, OpensAt57600EightNoneOneWithoutFlowControl) {
    ASSERT_TRUE(port.open(server.slavePath())) << port.errorText();
    const int fd = ::open(server.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios line{};
    ASSERT_EQ(::tcgetattr(fd, &line), 0);
    ::close(fd);
    EXPECT_EQ(::cfgetispeed(&line), B57600);
    EXPECT_EQ(::cfgetospeed(&line), B57600);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO), 0u);
}

TEST_F(SerialLinkOnPty, OpeningPurgesWhatTheDriverHeldAndBytesThenArriveInOrder) {
    farEnd.send({0xAA, 0xBB, 0xCC});  // on the line before the program opened the port
    ASSERT_TRUE(port.open(server.slavePath()));
    processEventsFor(50);
    EXPECT_EQ(port.bytesWaiting(), 0u);

    // Every byte value, the line endings and flow-control characters included, in
    // blocks larger than the terminal's own buffer.
    std::vector<std::uint8_t> sent(20000);
    for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<std::uint8_t>(i * 7);
    for (std::size_t at = 0; at < sent.size(); at += 5000) {
        farEnd.send(
            {sent.begin() + static_cast<long>(at), sent.begin() + static_cast<long>(at + 5000)});
    }
    std::vector<std::uint8_t> received;
    ASSERT_TRUE(processEventsUntil([&] {
        const auto bytes = readAll();
        received.insert(received.end(), bytes.begin(), bytes.end());
        return received.size() >= sent.size();
    }));
    EXPECT_EQ(received, sent);
    EXPECT_GT(listener.received, 0);
    EXPECT_EQ(server.bytesUndelivered(), 0u);
}

TEST_F(SerialLinkOnPty, CommandsReachTheElectronicsByteForByte) {
    ASSERT_TRUE(port.open(server.slavePath()));
    const std::vector<std::uint8_t> command{3, 1, 1, 0, 0, 1, 0, 20, 0, 27};
    ASSERT_TRUE(port.write(command));
    ASSERT_TRUE(port.write(std::vector<std::uint8_t>{0x0D, 0x0A, 0x11, 0x13}));
    ASSERT_TRUE(processEventsUntil([&] { return farEnd.written.size() == 14; }));
    EXPECT_EQ(std::vector<std::uint8_t>(farEnd.written.begin(), farEnd.written.begin() + 10),
              command);
    EXPECT_EQ(std::vector<std::uint8_t>(farEnd.written.begin() + 10, farEnd.written.end()),
              (std::vector<std::uint8_t>{0x0D, 0x0A, 0x11, 0x13}));
}

TEST_F(SerialLinkOnPty, PurgeEmptiesThePortsBufferAndTheDriver) {
    ASSERT_TRUE(port.open(server.slavePath()));
    farEnd.send(std::vector<std::uint8_t>(300, 0x55));
    ASSERT_TRUE(processEventsUntil([&] { return port.bytesWaiting() > 0; }));
    // Without the event loop the port does not look: these wait in the driver.
    farEnd.send(std::vector<std::uint8_t>(200, 0x66));
    port.purgeInput();
    EXPECT_EQ(port.bytesWaiting(), 0u);
    processEventsFor(50);
    EXPECT_EQ(port.bytesWaiting(), 0u);  // nothing of it was left in the driver
    farEnd.send({1, 2, 3, 4, 5});
    ASSERT_TRUE(processEventsUntil([&] { return port.bytesWaiting() == 5; }));
    EXPECT_EQ(readAll(), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
}

TEST_F(SerialLinkOnPty, APortThatVanishesIsReportedOnceAndRefusesWrites) {
    ASSERT_TRUE(port.open(server.slavePath()));
    farEnd.send({9, 9});
    ASSERT_TRUE(processEventsUntil([&] { return port.bytesWaiting() == 2; }));
    server.stop();  // the adapter is pulled out
    ASSERT_TRUE(processEventsUntil([&] { return listener.failed > 0; }));
    processEventsFor(100);
    EXPECT_EQ(listener.failed, 1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.errorText(), kHungUpText);
    EXPECT_FALSE(port.write(std::vector<std::uint8_t>{8, 0, 0, 0, 0, 0, 0, 20, 0, 27}));
    EXPECT_EQ(port.bytesWaiting(), 0u);
}

TEST_F(SerialLinkOnPty, APortCanBeOpenedAgainAfterClosing) {
    ASSERT_TRUE(port.open(server.slavePath()));
    port.close();
    EXPECT_FALSE(port.isOpen());
    ASSERT_TRUE(port.open(server.slavePath()));
    farEnd.send({42});
    ASSERT_TRUE(processEventsUntil([&] { return port.bytesWaiting() == 1; }));
    EXPECT_EQ(listener.failed, 0);
}

}  // namespace
}  // namespace dyno::test
