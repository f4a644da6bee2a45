// Measures the device link against the simulated unit: exchanges per second without wire pacing, whole-
// memory read and write (with read-back) at 19,200 bit/s as a ratio to the wire time of their bytes, a
// read proven by a second read, a write with its backup and a write without read-back likewise, what
// one late block reply adds to a paced read, a typical configuration's settings alone read and written
// (2,048 and 65,536 bytes), what an activation and one resynchronising exchange take, and the processor
// time the program takes while it greets a silent unit. Prints figures; asserts nothing.
//
//   link_bench            2,048-byte unit only
//   link_bench --large    also the 65,536-byte unit (about ten minutes)
#include "image/EepromImage.h"
#include "link/BlockTransfer.h"
#include "link/DeviceLink.h"
#include "link/qt/QtSerialPort.h"
#include "link/qt/QtWaiter.h"
#include "settings/SettingsForm.h"
#include "settings/UnitDisplay.h"
#include "tests/support/OrbsimProcess.h"
#include "tests/support/QuietView.h"
#include "tests/support/TestProgress.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <sys/resource.h>
#include <vector>

namespace orb::bench {
namespace {

constexpr double SecondsPerByte = 10.0 / 19200.0; // start bit, 8 data bits, stop bit
constexpr int ReadExchangeBytes = (5 + 2) + (17 + 2);
constexpr int WriteExchangeBytes = (21 + 2) + (1 + 2);

/// A main window that confirms every box and tells what it showed on standard error.
class QuietView : public test::QuietView {
  public:
    Answer ask(const Message& message) override {
        std::fprintf(stderr, "  [%s] %s\n", message.title.c_str(), message.text.c_str());
        return test::QuietView::ask(message);
    }
};

/// The real serial port, timing how long the program takes from reading the end of a reply to handing
/// the next request to the port: the link's own share of every exchange, whatever the machine's load.
class TimedPort : public SerialPort {
  public:
    bool open(const std::string& device) override { return port_.open(device); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    void write(std::span<const std::uint8_t> bytes) override {
        if (replyEnded_) turnarounds.push_back(std::chrono::steady_clock::now() - *replyEnded_);
        replyEnded_.reset();
        port_.write(bytes);
    }
    std::size_t bytesWaiting() override { return port_.bytesWaiting(); }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t count = port_.read(buffer);
        if (count > 0 && buffer[count - 1] == TransferBlock::Terminator)
            replyEnded_ = std::chrono::steady_clock::now();
        return count;
    }

    /// Prints the turnarounds since the last call, then forgets them.
    void printTurnarounds(const char* what, double wireSeconds) {
        std::sort(turnarounds.begin(), turnarounds.end());
        if (turnarounds.empty()) return;
        double total = 0;
        for (const auto t : turnarounds)
            total += std::chrono::duration<double>(t).count();
        auto micros = [](std::chrono::nanoseconds t) {
            return std::chrono::duration<double, std::micro>(t).count();
        };
        std::printf("  the link's own time between a reply and the next request (%s): median %.0f µs, 99th "
                    "percentile %.0f µs, %.2f %% of the wire time\n",
                    what, micros(turnarounds[turnarounds.size() / 2]),
                    micros(turnarounds[turnarounds.size() * 99 / 100]), 100 * total / wireSeconds);
        turnarounds.clear();
    }

    std::vector<std::chrono::nanoseconds> turnarounds;

  private:
    QtSerialPort port_;
    std::optional<std::chrono::steady_clock::time_point> replyEnded_;
};

/// The window's side of the link on the real serial port, joined to a simulated unit.
struct Bench {
    explicit Bench(const QStringList& options) : unit(options) {}

    bool activate() { return link.onDeaClicked() == LinkOutcome::Done; }

    test::OrbsimProcess unit;
    QuietView view;
    SettingsForm form{view};
    std::unique_ptr<EepromImage> image = std::make_unique<EepromImage>();
    test::TestProgress progress;
    TimedPort port;
    QtWaiter waiter;
    DeviceLink link{form, *image, progress, progress.stop, port, waiter};
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

template <typename Operation> double SecondsOf(Operation operation) {
    QElapsedTimer clock;
    clock.start();
    operation();
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

void ExchangesPerSecond() {
    Bench bench({"--no-pace", "--memory", "2048"});
    if (!bench.activate()) return;
    // A second transport on the open port: the same exchanges the workflows make, without their windows.
    Transport transport(bench.port, bench.waiter);
    BlockTransfer blocks(transport, *bench.image, bench.progress, bench.progress.stop);
    constexpr int Exchanges = 5000;
    int failed = 0;
    const double seconds = SecondsOf([&] {
        for (int i = 0; i < Exchanges; ++i)
            failed += blocks.readBlock((i * 8) % 2048) ? 0 : 1;
    });
    std::printf("exchanges per second, unpaced:   %8.0f  (%d block reads in %.3f s, %d failed)\n",
                Exchanges / seconds, Exchanges, seconds, failed);
    bench.link.onDeaClicked();
}

/// Reads the whole memory of a paced unit with the given faults and returns the seconds it took; prints
/// the link's own share of it when asked.
double PacedRead(int memory, const QStringList& faults, bool printShare = false) {
    Bench bench(QStringList{"--memory", QString::number(memory)} + faults);
    if (!bench.activate()) return 0;
    bench.port.turnarounds.clear();
    const double seconds = SecondsOf([&] { bench.link.loadFromUnit(); });
    if (printShare) bench.port.printTurnarounds("read", memory / 8 * ReadExchangeBytes * SecondsPerByte);
    bench.link.onDeaClicked();
    return seconds;
}

void ReadAndWrite(int memory) {
    const int blocks = memory / 8;
    const double read = PacedRead(memory, {}, true);
    const double wire = blocks * ReadExchangeBytes * SecondsPerByte;
    std::printf("read %5d bytes, paced:          %8.3f s, wire %8.3f s, ratio %.3f\n", memory, read, wire,
                read / wire);
    {
        Bench bench({"--memory", QString::number(memory)});
        if (!bench.activate()) return;
        bench.port.turnarounds.clear();
        const double seconds = SecondsOf([&] { bench.link.saveToUnit(); });
        const double wire = (2 * blocks + 2) * (WriteExchangeBytes + ReadExchangeBytes) * SecondsPerByte;
        bench.port.printTurnarounds("write with verify", wire);
        std::printf("write %5d bytes + verify, paced: %7.3f s, wire %8.3f s, ratio %.3f\n", memory, seconds,
                    wire, seconds / wire);
        bench.link.onDeaClicked();
    }
}

/// Reads the whole memory twice as --verify and a backup do, writes it as `write --backup` does (the backup
/// read twice, then the write with read-back), and writes it without read-back, where only the header is
/// read back; each as a ratio to the wire time of its bytes.
void ProvenTransfers(int memory) {
    const int blocks = memory / 8;
    const double readWire = blocks * ReadExchangeBytes * SecondsPerByte;
    const double writeWire = (2 * blocks + 2) * WriteExchangeBytes * SecondsPerByte;
    Bench bench({"--memory", QString::number(memory)});
    if (!bench.activate()) return;
    const double verified =
        SecondsOf([&] { bench.link.loadFromUnit(TransferScope::WholeMemory, ReadCheck::Twice); });
    std::printf("read %5d bytes twice (--verify), paced: %7.3f s, %.3f × a single read's wire time\n", memory,
                verified, verified / readWire);
    const double backedUp = SecondsOf([&] {
        bench.link.loadFromUnit(TransferScope::WholeMemory, ReadCheck::Twice);
        bench.link.saveToUnit();
    });
    const double backedUpWire =
        2 * readWire + writeWire + (2 * blocks + 2) * ReadExchangeBytes * SecondsPerByte;
    std::printf("write %5d bytes with --backup, paced: %7.3f s, wire %8.3f s, ratio %.3f\n", memory, backedUp,
                backedUpWire, backedUp / backedUpWire);
    bench.form.setFlag(FlagField::CheckWrite, 0, false);
    const double unverified = SecondsOf([&] { bench.link.saveToUnit(); });
    const double headerWire = ReadExchangeBytes * SecondsPerByte;
    std::printf("write %5d bytes without read-back, paced: %7.3f s, wire %8.3f s (%.1f ms of it the header "
                "read back), ratio %.3f\n",
                memory, unverified, writeWire + headerWire, 1000 * headerWire,
                unverified / (writeWire + headerWire));
    bench.link.onDeaClicked();
}

/// Fills the form with a typical configuration: a station, eight numbers, named inputs with their words.
void TypicalSettings(SettingsForm& form) {
    form.setText({TextField::tabJmenoStanice}, "CHATA POD LESEM");
    for (int row = 0; row < RowCount; ++row) {
        const std::string n = std::to_string(row + 1);
        form.setText({TextField::tabTC, row}, "+42077712345" + n);
        form.setText({TextField::tabINPNazev, row}, "VSTUP " + n);
        form.setText({TextField::tabINPZap, row}, "ZAPNUTO " + n);
        form.setText({TextField::tabINPVyp, row}, "VYPNUTO " + n);
    }
}

/// Writes (with read-back) and reads a typical configuration with only the blocks it covers, paced.
void SettingsOnly(int memory) {
    Bench bench({"--memory", QString::number(memory)});
    TypicalSettings(bench.form);
    if (!bench.activate()) return;
    const double write = SecondsOf([&] { bench.link.saveToUnit(TransferScope::SettingsOnly); });
    const double read = SecondsOf([&] { bench.link.loadFromUnit(TransferScope::SettingsOnly); });
    std::printf("settings only (%s used) of %5d bytes, paced: read %.3f s, write + verify %.3f s\n",
                ByteCaption(bench.form.imageUsage()).c_str(), memory, read, write);
    bench.link.onDeaClicked();
}

/// Tells what one late reply adds to a paced read of a small unit, the fastest of three reads each way.
void LateReplyCost() {
    double onTime = 1e9;
    double late = 1e9;
    for (int i = 0; i < 3; ++i) {
        onTime = std::min(onTime, PacedRead(256, {}));
        // The first attempt at block 16 waits 100 ms; its reply comes 150 ms after that, about 14 ms of
        // it on the wire.
        late = std::min(late, PacedRead(256, {"--late", "22:236"}));
    }
    std::printf("one block reply 150 ms past its limit:  %5.0f ms more  (read of 256 bytes %.3f s, %.3f s)\n",
                1000 * (late - onTime), onTime, late);
}

/// Times the resynchronising exchange on its own at the wire's pace, beside a block read.
void ResynchronisationCost() {
    Bench bench({"--memory", "2048"});
    if (!bench.activate()) return;
    // A second transport on the open port: the exchanges alone, without the workflows' windows.
    Transport transport(bench.port, bench.waiter);
    BlockTransfer blocks(transport, *bench.image, bench.progress, bench.progress.stop);
    constexpr int Exchanges = 200;
    int failed = 0;
    const double resync = SecondsOf([&] {
        for (int i = 0; i < Exchanges; ++i)
            failed += transport.checkInStep(100) == StepCheck::InStep ? 0 : 1;
    });
    const double read = SecondsOf([&] {
        for (int i = 0; i < Exchanges; ++i)
            failed += blocks.readBlock(8 * i) ? 0 : 1;
    });
    std::printf("one resynchronisation, paced:     %6.2f ms  (one block read %.2f ms; %d failed)\n",
                1000 * resync / Exchanges, 1000 * read / Exchanges, failed);
    bench.link.onDeaClicked();
}

/// Times an activation of a paced unit that answers the first hello, the fastest of five.
void ActivationTime() {
    double fastest = 1e9;
    for (int i = 0; i < 5; ++i) {
        Bench bench({"--memory", "2048"});
        const double seconds = SecondsOf([&] { bench.activate(); });
        fastest = std::min(fastest, seconds);
        bench.link.onDeaClicked();
    }
    std::printf("activation, paced:                %6.1f ms  (the fastest of five)\n", 1000 * fastest);
}

void CpuWhileSilent() {
    Bench bench({"--silent"});
    constexpr int WaitMs = 5000;
    QTimer::singleShot(WaitMs, [&bench] { bench.progress.cancel(); });
    const double cpuBefore = CpuSeconds();
    const double seconds = SecondsOf([&] { bench.activate(); });
    const double cpu = CpuSeconds() - cpuBefore;
    std::printf("CPU while the unit stays silent:  %7.3f %% of a core  (%.3f s CPU in %.3f s of hellos)\n",
                100.0 * cpu / seconds, cpu, seconds);
}

} // namespace
} // namespace orb::bench

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as soon as it is measured
    const bool large = argc > 1 && std::strcmp(argv[1], "--large") == 0;
    orb::bench::ExchangesPerSecond();
    orb::bench::ReadAndWrite(2048);
    orb::bench::ProvenTransfers(2048);
    orb::bench::SettingsOnly(2048);
    if (large) orb::bench::ReadAndWrite(65536);
    orb::bench::SettingsOnly(65536);
    orb::bench::LateReplyCost();
    orb::bench::ActivationTime();
    orb::bench::ResynchronisationCost();
    orb::bench::CpuWhileSilent();
    return 0;
}
