// Every way the unit can answer a window of three consecutive block exchanges, at the wire's pace on the
// virtual clock: a transfer ends either with exactly the unit's bytes (a read) or the unit's memory equal
// to the image (a write), or it fails. It never reports success with anything else.
#include "link/BlockTransfer.h"
#include "tests/support/FakeUnit.h"
#include "tests/support/TestProgress.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

namespace orb::test {
namespace {

constexpr int MemorySize = 128;

/// How the unit answers one attempt.
enum class Fate { InTime, JustLate, LongLate, Never, Twice, Damaged };
constexpr std::array AllFates{Fate::InTime, Fate::JustLate, Fate::LongLate,
                              Fate::Never,  Fate::Twice,    Fate::Damaged};
constexpr int Exchanges = 3;
constexpr int FatedAttempts = 2;
using Plan = std::array<std::array<Fate, FatedAttempts>, Exchanges>;

/// One block exchange of the window: the request's code and block address, as a request key.
struct Exchange {
    std::uint8_t code;
    int address;
    int firstLimitMs; ///< the first attempt's limit; each further attempt waits 100 ms longer
};

/// Applies a plan to the first run of attempts at each exchange of the window; every other request,
/// and every attempt past the second, is answered in time.
class FatedUnit {
  public:
    FatedUnit(FakeLine& line, const std::array<Exchange, Exchanges>& window, const Plan& plan)
        : unit(line), window_(window), plan_(plan) {
        unit.paced = true;
        unit.onRequest = [this](const FakeUnit::Request& r) { fates_[r.index] = fateOf(r); };
        unit.ignore = [this](const FakeUnit::Request& r) { return fates_[r.index].fate == Fate::Never; };
        unit.twice = [this](const FakeUnit::Request& r) { return fates_[r.index].fate == Fate::Twice; };
        unit.replyAfter = [this](const FakeUnit::Request& r) {
            const Fated& f = fates_[r.index];
            // Just late: the reply ends a few milliseconds after the attempt's limit.
            if (f.fate == Fate::JustLate) return std::chrono::milliseconds(f.limitMs - 10);
            // Long late: past several retries, which the unit queues and answers behind it.
            if (f.fate == Fate::LongLate) return std::chrono::milliseconds(2000);
            return std::chrono::milliseconds(2);
        };
        unit.replaceReply = [this](const FakeUnit::Request& r) -> std::optional<Bytes> {
            if (fates_[r.index].fate != Fate::Damaged) return std::nullopt;
            return Bytes{static_cast<std::uint8_t>(r.code() | 0x80), '0', 0x55, 0x0D};
        };
    }

    FakeUnit unit;

  private:
    struct Fated {
        Fate fate = Fate::InTime;
        int limitMs = 0;
    };

    Fated fateOf(const FakeUnit::Request& r) {
        if (r.code() == 0x02) return {}; // resynchronisations do not break a run of attempts
        if (r.payload != lastPayload_) {
            lastPayload_ = r.payload;
            attempt_ = 0;
        }
        ++attempt_;
        for (int e = 0; e < Exchanges; ++e) {
            const Exchange& x = window_[e];
            if (x.code != r.code() || x.address != r.address()) continue;
            if (attempt_ == 1) ++runsOf_[e];
            if (runsOf_[e] != 1 || attempt_ > FatedAttempts) return {};
            return {plan_[e][attempt_ - 1], x.firstLimitMs + 100 * (attempt_ - 1)};
        }
        return {};
    }

    std::array<Exchange, Exchanges> window_;
    Plan plan_;
    std::map<int, Fated> fates_;
    Bytes lastPayload_;
    int attempt_ = 0;
    std::array<int, Exchanges> runsOf_{};
};

/// Calls back with every plan: each of the six fates for each of the two attempts of each exchange.
template <typename Run> void ForEveryPlan(Run run) {
    constexpr int Slots = Exchanges * FatedAttempts;
    int total = 1;
    for (int i = 0; i < Slots; ++i)
        total *= static_cast<int>(AllFates.size());
    for (int n = 0; n < total; ++n) {
        Plan plan;
        int rest = n;
        for (int slot = 0; slot < Slots; ++slot) {
            plan[slot / FatedAttempts][slot % FatedAttempts] = AllFates[rest % AllFates.size()];
            rest /= static_cast<int>(AllFates.size());
        }
        run(plan);
    }
}

std::string Describe(const Plan& plan) {
    static const char* const names[] = {"in time", "just late", "long late", "never", "twice", "damaged"};
    std::string text;
    for (const auto& exchange : plan)
        text += std::string("[") + names[static_cast<int>(exchange[0])] + ", " +
                names[static_cast<int>(exchange[1])] + "] ";
    return text;
}

struct Tally {
    int exact = 0;
    int failed = 0;
};

/// A transfer and the window of its exchanges that the plans strike.
struct WindowCase {
    const char* name;
    bool write;
    bool checkWrite;
    std::array<Exchange, Exchanges> window;
};

void PrintTo(const WindowCase& c, std::ostream* out) {
    *out << c.name;
}

class ResynchronisationTest : public ::testing::TestWithParam<WindowCase> {};

TEST_P(ResynchronisationTest, EveryAnswerToTheWindowEndsExactOrFails) {
    const WindowCase& c = GetParam();
    Tally tally;
    ForEveryPlan([&](const Plan& plan) {
        FakeLine line;
        FatedUnit fated(line, c.window, plan);
        auto image = std::make_unique<EepromImage>();
        // What the transfer must move, block by block different so that a shifted block shows.
        for (int i = 0; i < MemorySize; ++i)
            (c.write ? image->putByte(i, static_cast<std::uint8_t>(i * 13 + 1))
                     : void(fated.unit.eeprom[i] = static_cast<std::uint8_t>(i * 13 + 1)));
        Transport transport(line, line);
        ASSERT_TRUE(transport.openPort("/dev/ttyS0"));
        TestProgress progress;
        BlockTransfer blocks(transport, *image, progress, progress.stop);

        if ((c.write ? blocks.writeImage(MemorySize, c.checkWrite) : blocks.readImage(MemorySize)) !=
            BlockTransfer::Outcome::Done) {
            ++tally.failed;
            return;
        }
        ++tally.exact;
        for (int i = 0; i < MemorySize; ++i) {
            ASSERT_EQ(fated.unit.eeprom[i], static_cast<std::uint8_t>(i * 13 + 1))
                << "unit byte " << i << " after " << Describe(plan);
            ASSERT_EQ(image->getByte(i), fated.unit.eeprom[i])
                << "image byte " << i << " after " << Describe(plan);
        }
    });
    std::printf("%s: %d combinations, %d exact, %d failed\n", c.name, tally.exact + tally.failed, tally.exact,
                tally.failed);
    EXPECT_GT(tally.exact, 0);
}

// Read attempts wait 100 ms, then 200 ms; write and read-back attempts 200 ms, then 300 ms.
INSTANTIATE_TEST_SUITE_P(Windows, ResynchronisationTest,
                         ::testing::Values(WindowCase{"read of blocks 1, 2 and 3",
                                                      false,
                                                      false,
                                                      {{{0x04, 8, 100}, {0x04, 16, 100}, {0x04, 24, 100}}}},
                                           WindowCase{
                                               "verified write of block 1, its read-back, write of block 2",
                                               true,
                                               true,
                                               {{{0x05, 8, 200}, {0x04, 8, 200}, {0x05, 16, 200}}}},
                                           WindowCase{"unverified write of blocks 1, 2 and 3",
                                                      true,
                                                      false,
                                                      {{{0x05, 8, 200}, {0x05, 16, 200}, {0x05, 24, 200}}}}));

} // namespace
} // namespace orb::test
