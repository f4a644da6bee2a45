// The request for low latency when the port opens: what it asks of the driver, and that a driver that
// refuses it (every pseudo-terminal does) still gives a working port.
#include "link/qt/LowLatency.h"

#include "link/qt/QtSerialPort.h"

#include <array>
#include <cerrno>
#include <gtest/gtest.h>
#include <linux/serial.h>
#include <pty.h>
#include <string>
#include <sys/ioctl.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace orb {
namespace {

/// A serial driver behind the ioctl seam: it records each request and answers as told.
struct FakeDriver {
    int flags = 0;
    int getResult = 0;
    int setResult = 0;
    std::vector<unsigned long> requests{};
    int setFlags = -1; ///< the flags that TIOCSSERIAL was asked to set

    IoctlCall call() {
        return [this](int, unsigned long request, void* argument) {
            requests.push_back(request);
            auto* settings = static_cast<serial_struct*>(argument);
            if (request == TIOCGSERIAL) {
                settings->flags = flags;
                return getResult;
            }
            setFlags = settings->flags;
            return setResult;
        };
    }
};

TEST(LowLatencyTest, AsksTheDriverAndKeepsItsOtherFlags) {
    FakeDriver driver{.flags = ASYNC_SPD_HI};
    EXPECT_TRUE(RequestLowLatency(3, driver.call()));
    EXPECT_EQ(driver.requests, (std::vector<unsigned long>{TIOCGSERIAL, TIOCSSERIAL}));
    EXPECT_EQ(driver.setFlags, ASYNC_SPD_HI | ASYNC_LOW_LATENCY);

    FakeDriver already{.flags = ASYNC_LOW_LATENCY};
    EXPECT_TRUE(RequestLowLatency(3, already.call()));
    EXPECT_EQ(already.requests, std::vector<unsigned long>{TIOCGSERIAL});
}

TEST(LowLatencyTest, RefusalIsReportedNotThrown) {
    FakeDriver noSettings{.getResult = -1};
    EXPECT_FALSE(RequestLowLatency(3, noSettings.call()));
    EXPECT_EQ(noSettings.requests, std::vector<unsigned long>{TIOCGSERIAL});

    FakeDriver readOnly{.setResult = -1};
    EXPECT_FALSE(RequestLowLatency(3, readOnly.call()));
}

/// A pseudo-terminal pair; the port opens the slave's path, the test talks through the master.
class PseudoTerminal {
  public:
    PseudoTerminal() {
        std::array<char, 256> name{};
        if (::openpty(&master_, &slave_, name.data(), nullptr, nullptr) != 0)
            throw std::system_error(errno, std::generic_category(), "openpty");
        path_ = name.data();
    }
    ~PseudoTerminal() {
        ::close(master_);
        ::close(slave_);
    }
    const std::string& path() const { return path_; }
    int master() const { return master_; }
    int slave() const { return slave_; }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

TEST(LowLatencyTest, PortAsksWhenItOpensAndWorksWhenRefused) {
    PseudoTerminal pty;
    errno = 0;
    EXPECT_FALSE(RequestLowLatency(pty.slave()));
    EXPECT_EQ(errno, ENOTTY);

    std::vector<unsigned long> requests;
    QtSerialPort port([&requests](int fd, unsigned long request, void* argument) {
        requests.push_back(request);
        return SystemIoctl(fd, request, argument);
    });
    ASSERT_TRUE(port.open(pty.path()));
    EXPECT_EQ(requests, std::vector<unsigned long>{TIOCGSERIAL});

    const std::array<std::uint8_t, 3> hello{0x01, 0x02, 0x0D};
    port.write(hello);
    std::array<std::uint8_t, 8> received{};
    ASSERT_EQ(::read(pty.master(), received.data(), received.size()), 3);
    EXPECT_EQ(received[2], 0x0D);

    port.close();

    // A driver that has the setting is asked to switch it on.
    FakeDriver adapterDriver;
    QtSerialPort adapter(adapterDriver.call());
    ASSERT_TRUE(adapter.open(pty.path()));
    EXPECT_EQ(adapterDriver.requests, (std::vector<unsigned long>{TIOCGSERIAL, TIOCSSERIAL}));
    EXPECT_EQ(adapterDriver.setFlags, ASYNC_LOW_LATENCY);
}

} // namespace
} // namespace orb
