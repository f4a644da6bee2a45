// Random faults at the wire's pace: each run draws a seed and a few faults (late by just over the limit
// up to several limits, doubled, overlong, split into bursts, dropped, damaged, damaged with the checksum
// kept, noise in front, repeated later with the next request lost) at random replies of an activation,
// a read proven by a second read (as a backup or --verify reads) and a verified write, through the real
// serial port against the simulated unit paced at 19,200 bit/s, and checks what the user and the unit
// are left with.
//
// Without settings it makes the same 20 runs every time (seeds drawn from a fixed start), so that a run
// that breaks an invariant with the other tests can be replayed; the settings explore with fresh seeds:
//   ORB_CAMPAIGN_RUNS=n     runs to make, each with a fresh seed
//   ORB_CAMPAIGN_SECONDS=s  make runs with fresh seeds until s seconds have passed
//   ORB_CAMPAIGN_SEED=seed  replay the one run with this seed
#include "image/EncodeImage.h"
#include "link/qt/QtSerialPort.h"
#include "link/qt/QtWaiter.h"
#include "link/session/UnitSession.h"
#include "link/UnitTransfer.h"
#include "settings/UnitDisplay.h"
#include "tests/faults/NamedSettings.h"
#include "tests/support/OrbsimProcess.h"
#include "tests/support/QuietView.h"
#include "tests/support/TestProgress.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <QTemporaryDir>
#include <random>
#include <string>
#include <vector>

namespace orb::test {
namespace {

constexpr int MemorySize = 256;
// Hello, identify twice, memory and modem twice; two reads of 32 blocks, each with its closing identify; a
// verified write of 2 × 33 blocks and its closing identify; deactivate.
constexpr unsigned FirstReadReply = 6;
constexpr unsigned LastReadReply = FirstReadReply + 2 * 33 - 2;
constexpr unsigned FirstWriteReply = LastReadReply + 2;
constexpr unsigned LastWriteReply = FirstWriteReply + 2 * 2 * 33 - 1;
constexpr unsigned RepliesInARun = LastWriteReply + 2;

const std::string ReadDone = "Data byla úspěšně načtena z EEPROM.";
const std::string ReadFailed = "Data nebyla úspěšně načtena z EEPROM. Došlo k chybě při načítání bloku dat.";
const std::string ReadsDisagree =
    "Data nebyla úspěšně načtena z EEPROM. Opakovaná čtení se neshodla u bloků na adresách ";
const std::string WriteDone = "Data byla úspěšně uložena do EEPROM.";
const std::string WriteFailed =
    "Data nebyla úspěšně uložena do EEPROM. Došlo k chybě při ukládání bloku do EEPROM.\n\n"
    "Zařízení nyní nemá platné nastavení; uložte je do něj znovu.";
const std::string ActivationFailed = "Při pokusu aktivovat spojení nastala chyba.";
const std::string ActivationFailedStillActive =
    ActivationFailed + "\n\nZařízení nepotvrdilo deaktivaci a může být stále v programovacím módu.";

/// Start-up settings with a station name, a telephone number and the not-authorised text.
SettingsRecord Settings(const std::string& station, const std::string& phone) {
    QuietView view;
    SettingsForm form(view);
    form.setText({TextField::tabJmenoStanice}, station);
    form.setText({TextField::tabTC, 0}, phone);
    form.setText({TextField::rtNotAuthorized}, "PRISTUP ODEPREN"); // the flag travels only with a text
    return form.record();
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    bytes.resize(MemorySize, 0xFF); // what the file lacks reads as erased
    return bytes;
}

std::vector<std::uint8_t> ImageBytes(const EepromImage& image) {
    std::vector<std::uint8_t> bytes(MemorySize);
    for (int i = 0; i < MemorySize; ++i)
        bytes[static_cast<std::size_t>(i)] = image.getByte(i);
    return bytes;
}

/// One fault on one reply, as orbsim takes it on its command line.
struct Fault {
    std::string kind;
    unsigned reply;
    unsigned ms;

    QStringList options() const {
        const QString n = QString::number(reply);
        const QString timed = n + ":" + QString::number(ms);
        if (kind == "late") return {"--late", timed};
        if (kind == "split") return {"--split", timed};
        if (kind == "doubled") return {"--double", n};
        if (kind == "repeated") return {"--repeat", timed};
        if (kind == "lost") return {"--lose", n};
        if (kind == "overlong") return {"--long-reply", n};
        if (kind == "dropped") return {"--drop", n};
        if (kind == "damaged") return {"--corrupt", n};
        if (kind == "damaged, checksum kept") return {"--keep-sum", n};
        return {"--noise", n};
    }
};

/// Draws one to three fault shapes at random replies of a run; a shape strikes one reply or a stretch.
std::vector<Fault> DrawFaults(std::mt19937_64& random) {
    auto uniform = [&random](unsigned low, unsigned high) {
        return std::uniform_int_distribution<unsigned>(low, high)(random);
    };
    static const char* const shapes[] = {"late",
                                         "late",
                                         "doubled",
                                         "overlong",
                                         "split",
                                         "dropped",
                                         "damaged",
                                         "noise",
                                         "lost",
                                         "queued",
                                         "busy",
                                         "jitter",
                                         "repeated",
                                         "edges",
                                         "late then doubled",
                                         "late read-back",
                                         "late deactivation",
                                         "late identify",
                                         "damaged, checksum kept",
                                         "repeated, next request lost"};
    const unsigned count = std::discrete_distribution<unsigned>({0, 5, 3, 2})(random);
    std::vector<Fault> faults;
    auto lateStretch = [&](unsigned first, unsigned length, unsigned lowMs, unsigned highMs) {
        for (unsigned r = first; r < first + length; ++r)
            faults.push_back({"late", r, uniform(lowMs, highMs)});
    };
    for (unsigned i = 0; i < count; ++i) {
        const std::string shape = shapes[uniform(0, std::size(shapes) - 1)];
        const unsigned reply = uniform(1, RepliesInARun);
        if (shape == "late") {
            // Just past a first attempt's 100 ms, up to several limits.
            const unsigned range = uniform(0, 2);
            faults.push_back({shape, reply,
                              range == 0   ? uniform(90, 130)
                              : range == 1 ? uniform(130, 500)
                                           : uniform(500, 1600)});
        } else if (shape == "split") {
            faults.push_back({shape, reply, uniform(5, 60)});
        } else if (shape == "repeated") {
            faults.push_back({shape, reply, uniform(15, 80)});
        } else if (shape == "repeated, next request lost") {
            faults.push_back({"repeated", reply, uniform(5, 400)});
            faults.push_back({"lost", reply + 1, 0});
        } else if (shape == "queued") {
            // Consecutive attempts at one block each answered late: the unit queues the retries.
            lateStretch(reply, uniform(2, 5), 150, 500);
        } else if (shape == "busy") {
            lateStretch(reply, uniform(5, 12), 100, 400);
        } else if (shape == "jitter") {
            lateStretch(reply, uniform(10, 30), 0, 250);
        } else if (shape == "edges") {
            const unsigned edge =
                std::array{FirstReadReply, LastReadReply, FirstWriteReply, LastWriteReply}[uniform(0, 3)];
            lateStretch(edge - std::min(edge - 1, uniform(0, 2)), uniform(1, 3), 110, 600);
        } else if (shape == "late then doubled") {
            faults.push_back({"late", reply, uniform(110, 600)});
            faults.push_back({"doubled", reply + uniform(1, 3), 0});
        } else if (shape == "late read-back") {
            // A write's replies alternate: the acknowledgement, then the read-back.
            const unsigned readBack = FirstWriteReply + 1 + 2 * uniform(0, 2 * 33 - 1);
            lateStretch(readBack, uniform(1, 2), 210, 900);
        } else if (shape == "late deactivation") {
            faults.push_back({"late", RepliesInARun, uniform(110, 600)});
        } else if (shape == "late identify") {
            faults.push_back({"late", 2, uniform(60, 300)});
        } else {
            faults.push_back({shape, reply, 0});
        }
    }
    return faults;
}

/// What one run left the user and the unit with; violations name the invariant that broke.
struct RunResult {
    std::vector<std::string> struck; ///< the faults orbsim applied, with the request they hit
    std::vector<std::string> outcome;
    std::vector<std::string> violations;
};

/// Whether a fault that struck this request is one the retries absorb.
bool IsRetried(const std::string& request) {
    return request.starts_with("hello") || request.starts_with("read 0x") || request.starts_with("write 0x");
}

/// Activates, reads (once or proven by a second read) and writes (with read-back or without) against a
/// unit that plays the faults.
RunResult RunWithFaults(const std::vector<Fault>& faults, bool checkWrite, ReadCheck readCheck) {
    RunResult result;
    auto violated = [&result](const std::string& what) { result.violations.push_back(what); };

    QTemporaryDir dir;
    const std::string eeprom = dir.filePath("unit.eep").toStdString();
    {
        EepromImage held;
        const std::int32_t length = EncodeImage(Settings("CHATA", "+12345"), held);
        std::ofstream out(eeprom, std::ios::binary);
        for (std::int32_t i = 0; i < length; ++i)
            out.put(static_cast<char>(held.getByte(i)));
    }
    const std::vector<std::uint8_t> unitBytes = FileBytes(eeprom);

    QStringList options{"--memory", QString::number(MemorySize), "--eeprom", QString::fromStdString(eeprom)};
    for (const Fault& fault : faults)
        options += fault.options();
    auto unit = std::make_optional<OrbsimProcess>(options);

    QuietView view; // confirms every box, Yes where asked
    SettingsForm form(view);
    form.setText({TextField::tabJmenoStanice}, "DOMA");
    auto image = std::make_unique<EepromImage>();
    TestProgress progress;
    QtSerialPort port;
    QtWaiter waiter;
    UnitSession session(view, *image, progress, progress.stop, port, waiter);
    session.showUnitIn([&form](const UnitState& unit) { form.setUnitState(unit); });

    std::vector<std::string> requests;
    auto finishUnit = [&] {
        requests = unit->requests();
        // The unit's log marks the request each fault struck, in brackets behind it.
        for (const std::string& request : requests)
            if (request.find("  [") != std::string::npos) result.struck.push_back(request);
        unit.reset(); // orbsim keeps its EEPROM in the file
    };

    bool allDone = false;
    const SessionResult activation = session.activate(PortChoices({}).front());
    if (activation.outcome != LinkOutcome::Done) {
        if (activation.message != ActivationFailed && activation.message != ActivationFailedStillActive)
            violated("activation ended with: " + activation.message);
        finishUnit();
        // Without a fault, only a reply later than its limit (a machine too busy) fails an activation.
        result.outcome.push_back("activation failed after " + std::to_string(requests.size()) + " requests");
    } else {
        result.outcome.push_back("active");
        const UnitState identified{LinkState::Active, "ORB", FirmwareVersion{1, 2}, MemorySize, "M1 Siemens"};
        if (session.unit() != identified) {
            const UnitWords words = DescribeUnit(session.unit());
            violated("activation: not Active with the unit's identity (" + words.product + " " +
                     words.firmware + ", " + words.memory + ", " + words.modem + ")");
        }

        const auto screen = Named(form.record());
        const SessionResult read =
            LoadFromUnit(form, *image, progress, session, TransferScope::WholeMemory, readCheck);
        const bool readDone = read.outcome == LinkOutcome::Done && read.message == ReadDone;
        if (readDone) {
            result.outcome.push_back("read done");
            if (ImageBytes(*image) != unitBytes)
                violated("read: success, but the image differs from the unit");
            if (Named(form.record()) != Named(Settings("CHATA", "+12345")))
                violated("read: success, but the settings differ from the unit's");
        } else if (read.outcome == LinkOutcome::BlockFailed &&
                   (read.message == ReadFailed || read.message.starts_with(ReadsDisagree))) {
            result.outcome.push_back("read failed");
            if (Named(form.record()) != screen) violated("read: failed, but the settings changed");
        } else {
            violated("read ended with: " + read.message);
        }

        form.setText({TextField::tabJmenoStanice}, "LES");
        form.setText({TextField::tabTC, 0}, "+98765");
        form.setFlag(FlagField::CheckWrite, 0, checkWrite);
        const SessionResult written = SaveToUnit(form, *image, session, TransferScope::WholeMemory);
        const auto writtenImage = ImageBytes(*image);
        session.deactivate(); // a deactivation without a reply is confirmed: the port closes in any case
        finishUnit();
        const bool writeDone = written.outcome == LinkOutcome::Done && written.message == WriteDone;
        if (writeDone) {
            result.outcome.push_back("write done");
            if (FileBytes(eeprom) != writtenImage)
                violated("write: success, but the unit differs from the image");
        } else if (written.outcome == LinkOutcome::BlockFailed && written.message == WriteFailed &&
                   written.unitLeftWithoutSettings) {
            result.outcome.push_back("write failed");
        } else {
            violated("write ended with: " + written.message);
        }
        allDone = readDone && writeDone;
    }
    if (result.struck.size() == 1 && IsRetried(result.struck.front()) && !allDone)
        violated("one fault the retries absorb did not end in success");
    return result;
}

RunResult RunWithSeed(std::uint64_t seed) {
    std::mt19937_64 random(seed);
    return RunWithFaults(DrawFaults(random), true, ReadCheck::Twice);
}

std::uint64_t FromEnvironment(const char* name, std::uint64_t otherwise) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : otherwise;
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : "; ") + part;
    return text;
}

TEST(RandomFaultCampaign, EveryRunEndsInSuccessOrInItsFailureMessage) {
    const std::uint64_t replay = FromEnvironment("ORB_CAMPAIGN_SEED", 0);
    const std::uint64_t askedRuns = FromEnvironment("ORB_CAMPAIGN_RUNS", 0);
    const std::uint64_t runs = replay ? 1 : askedRuns ? askedRuns : 20;
    const auto seconds = std::chrono::seconds(FromEnvironment("ORB_CAMPAIGN_SECONDS", 0));
    const bool exploring = askedRuns != 0 || seconds.count() != 0;
    const auto start = std::chrono::steady_clock::now();
    std::random_device device;
    std::mt19937_64 fixedSeeds(20261211);
    auto nextSeed = [&]() -> std::uint64_t {
        if (replay) return replay;
        if (exploring) return (std::uint64_t{device()} << 32 | device()) | 1;
        return fixedSeeds() | 1;
    };
    std::map<std::string, int> outcomes;
    int made = 0;
    int failed = 0;
    while (seconds.count() ? std::chrono::steady_clock::now() - start < seconds
                           : made < static_cast<int>(runs)) {
        const std::uint64_t seed = nextSeed();
        const RunResult result = RunWithSeed(seed);
        ++made;
        ++outcomes[Joined(result.outcome)];
        std::printf("run %d seed %llu: %s -> %s\n", made, static_cast<unsigned long long>(seed),
                    result.struck.empty() ? "no fault struck" : Joined(result.struck).c_str(),
                    Joined(result.outcome).c_str());
        if (!result.violations.empty()) ++failed;
        for (const std::string& violation : result.violations)
            ADD_FAILURE() << "seed " << seed << " (replay with ORB_CAMPAIGN_SEED=" << seed
                          << "): " << violation;
    }
    std::printf("%d runs, %d with a broken invariant\n", made, failed);
    for (const auto& [outcome, count] : outcomes)
        std::printf("  %4d  %s\n", count, outcome.c_str());
}

struct FaultShape {
    const char* name;
    std::vector<Fault> faults;
    bool checkWrite;
    std::string mustEndWith; ///< the outcome the shape has to reach, "" when a failure message will do
    ReadCheck readCheck = ReadCheck::Once;
    /// The request whose fault decides mustEndWith, "" when any will do. Faults are aimed by reply number,
    /// and a machine too busy to take a reply in time asks again and moves every later number; a shape
    /// that missed its request is then held to the invariants alone.
    std::string aimedAt = "";
};

TEST(FaultShapes, ShapesThatOnceShiftedABlockEndExactOrInTheFailureMessage) {
    // Replies 1 to 5 activate (identify and memory-and-modem asked twice each); 6 to 37 read blocks 0 to 31
    // while nothing is retried.
    const FaultShape shapes[] = {
        {"two queued attempts at block 5 each 350 ms late, a reply repeated 40 ms later in the read",
         {{"late", 11, 350}, {"late", 12, 350}, {"repeated", 22, 40}},
         true,
         "active; read done; write done"},
        {"the same during a verified write",
         {{"late", 50, 350}, {"late", 51, 350}, {"repeated", 62, 40}},
         true,
         ""},
        {"without read-back: the last two blocks' acknowledgements 400 ms late, a request lost after them",
         {{"late", 102, 400}, {"late", 103, 400}, {"lost", 106, 0}},
         false,
         ""},
        // Shapes no frame count can see; replies 6 to 37 read blocks 0 to 31 the first time, 39 to 70 the
        // second, and a write without read-back sends 66 blocks from reply 72, the header last. A lost
        // request has no reply: after it, reply n answers request n + 1.
        {"a reply repeated 120 ms later while the next request is lost, in each read",
         {{"repeated", 12, 120}, {"lost", 13, 0}, {"repeated", 52, 120}, {"lost", 54, 0}},
         true,
         "active; read done; write done",
         ReadCheck::Twice},
        {"damage that keeps the checksum in the first read",
         {{"damaged, checksum kept", 22, 0}},
         true,
         "active; read done; write done",
         ReadCheck::Twice},
        {"without read-back: the header write lost behind a repeated acknowledgement",
         {{"repeated", 136, 30}, {"lost", 137, 0}},
         false,
         "active; read done; write failed",
         ReadCheck::Twice,
         "write 0x0000 "},
        // The identity the activation takes is the one every closing resynchronisation must see again,
        // and the memory size decides how much is read and written.
        {"damage that keeps the checksum in the activation's first identify reply",
         {{"damaged, checksum kept", 2, 0}},
         true,
         "active; read done; write done",
         ReadCheck::Twice},
        {"damage that keeps the checksum in the activation's first memory-and-modem reply",
         {{"damaged, checksum kept", 4, 0}},
         true,
         "active; read done; write done",
         ReadCheck::Twice},
    };
    for (const FaultShape& shape : shapes) {
        const RunResult result = RunWithFaults(shape.faults, shape.checkWrite, shape.readCheck);
        std::printf("%s: %s -> %s\n", shape.name, Joined(result.struck).c_str(),
                    Joined(result.outcome).c_str());
        EXPECT_EQ(result.violations, std::vector<std::string>{}) << shape.name;
        const bool onAim =
            shape.aimedAt.empty() || std::ranges::any_of(result.struck, [&](const std::string& hit) {
                return hit.starts_with(shape.aimedAt);
            });
        if (!onAim) {
            std::printf("  the faults missed \"%s\": only the invariants count\n", shape.aimedAt.c_str());
        } else if (!shape.mustEndWith.empty()) {
            EXPECT_EQ(Joined(result.outcome), shape.mustEndWith) << shape.name;
        }
    }
}

} // namespace
} // namespace orb::test
