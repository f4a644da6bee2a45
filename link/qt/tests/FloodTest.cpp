// A line that sends faster than the link reads it (a pseudo-terminal, or an adapter that ignores the baud
// rate): every exchange still ends at its time limit without a valid reply, and memory stays flat.
#include "link/qt/QtSerialPort.h"
#include "link/qt/QtWaiter.h"
#include "link/Transport.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <pty.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace orb {
namespace {

using Bytes = std::vector<std::uint8_t>;

/// The most memory the process has held so far, in kB (VmHWM).
long PeakKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

/// Writes the pattern into the master side of a pseudo-terminal as fast as it takes it, until destroyed.
class Flood {
  public:
    Flood(int master, const Bytes& pattern) : master_(master) {
        Bytes chunk;
        while (chunk.size() < 4096)
            chunk.insert(chunk.end(), pattern.begin(), pattern.end());
        writer_ = std::thread([this, chunk] {
            while (!stop_)
                if (::write(master_, chunk.data(), chunk.size()) < 0) std::this_thread::yield();
        });
    }
    ~Flood() {
        stop_ = true;
        writer_.join();
    }
    Flood(const Flood&) = delete;
    Flood& operator=(const Flood&) = delete;

  private:
    int master_;
    std::atomic<bool> stop_{false};
    std::thread writer_;
};

struct FloodCase {
    const char* name;
    Bytes pattern;
};

TEST(FloodTest, EveryExchangeEndsAtItsLimitWithMemoryFlat) {
    const FloodCase cases[] = {
        {"terminators", {0x0D}},
        {"noise without a terminator", {'N', 'O', 'I', 'S', 'E', 0xFF, 0x00}},
        {"valid hello replies", {0x81, 0x82, 0x0D}},
    };
    TransferBlock readOfBlock0 = TransferBlock::request(0x04);
    readOfBlock0.appendHexPair(0);
    readOfBlock0.appendHexPair(0);
    for (const FloodCase& c : cases) {
        SCOPED_TRACE(c.name);
        int master = -1;
        int slave = -1;
        std::array<char, 128> name{};
        ASSERT_EQ(::openpty(&master, &slave, name.data(), nullptr, nullptr), 0);
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
        QtSerialPort port;
        QtWaiter waiter;
        Transport transport(port, waiter);
        ASSERT_TRUE(transport.openPort(name.data()));

        const long peakBefore = PeakKilobytes();
        const auto start = std::chrono::steady_clock::now();
        int replies = 0;
        {
            const Flood flood(master, c.pattern);
            for (int i = 0; i < 5; ++i)
                replies += transport.exchange(readOfBlock0, 100).count > 0 ? 1 : 0;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const long grownKb = PeakKilobytes() - peakBefore;
        std::printf("flood of %s: 5 block reads of 100 ms in %.3f s, peak memory grew by %ld kB\n", c.name,
                    seconds, grownKb);
        EXPECT_EQ(replies, 0);
        EXPECT_LT(grownKb, 50 * 1024);
        transport.closePort();
        ::close(slave);
        ::close(master);
    }
}

} // namespace
} // namespace orb
