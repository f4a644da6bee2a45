#pragma once

#include "link/SerialPort.h"
#include "link/Waiter.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace orb::test {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

/// A serial port and the event loop around it on a virtual clock: scripted bytes arrive at their time,
/// a wait jumps straight to the next arrival or the deadline, so time limits are exact and tests instant.
/// Like Qt's port, received bytes reach the input buffer only while events are processed.
class FakeLine : public SerialPort, public Waiter {
  public:
    // The clock and the waits
    Clock::time_point now() const override { return now_; }
    void processEvents() override {
        while (!arrivals_.empty() && arrivals_.front().at <= now_) {
            input_.insert(input_.end(), arrivals_.front().bytes.begin(), arrivals_.front().bytes.end());
            arrivals_.pop_front();
        }
    }
    void waitForEvents(Clock::time_point deadline) override {
        ++waits;
        const Clock::time_point next =
            arrivals_.empty() ? deadline : std::min(deadline, arrivals_.front().at);
        now_ = std::max(now_, next);
        processEvents();
    }

    // The port
    bool open(const std::string& device) override {
        openedDevices.push_back(device);
        open_ = !missingDevices.contains(device);
        hungUp_ = false;
        return open_;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void write(std::span<const std::uint8_t> bytes) override {
        checkPort();
        written.insert(written.end(), bytes.begin(), bytes.end());
        if (onWrite) onWrite(bytes);
    }
    std::size_t bytesWaiting() override {
        checkPort();
        return input_.size();
    }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        checkPort();
        const std::size_t count = std::min(buffer.size(), input_.size());
        std::copy_n(input_.begin(), count, buffer.begin());
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(count));
        return count;
    }

    // The script
    /// The time a byte takes on a line at 19,200 bit/s with a start and a stop bit.
    static constexpr std::chrono::nanoseconds ByteTime{520'833};

    /// Lets the bytes arrive together the given time from now.
    void arrive(const Bytes& bytes, Clock::duration after) {
        const Clock::time_point at = now_ + after;
        const auto place = std::upper_bound(arrivals_.begin(), arrivals_.end(), at,
                                            [](Clock::time_point t, const Arrival& a) { return t < a.at; });
        arrivals_.insert(place, {at, bytes});
    }
    /// Lets the bytes arrive one by one at the wire's pace, the first one the given time from now.
    void arrivePaced(const Bytes& bytes, Clock::duration after) {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            arrive({bytes[i]}, after + static_cast<long>(i) * ByteTime);
    }
    /// Moves the clock on without any event.
    void advance(std::chrono::milliseconds time) { now_ += time; }
    /// The cable is pulled: every later transfer fails until the port is opened again.
    void hangUp() { hungUp_ = true; }
    /// Milliseconds since the test began.
    long long elapsedMs() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(now_ - Clock::time_point{}).count();
    }

    std::set<std::string> missingDevices;
    std::vector<std::string> openedDevices;
    Bytes written;
    std::function<void(std::span<const std::uint8_t>)> onWrite;
    int waits = 0;

  private:
    struct Arrival {
        Clock::time_point at;
        Bytes bytes;
    };

    void checkPort() const {
        if (!open_) throw PortError("not open");
        if (hungUp_) throw PortError("hung up");
    }

    Clock::time_point now_{};
    std::deque<Arrival> arrivals_;
    std::deque<std::uint8_t> input_;
    bool open_ = false;
    bool hungUp_ = false;
};

} // namespace orb::test
