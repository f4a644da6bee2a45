#include "tools/orbsim/Options.h"

#include <cerrno>
#include <cstdlib>
#include <getopt.h>
#include <tuple>
#include <utility>

namespace orb::sim {

namespace {

struct Product {
    const char* name;
    std::uint32_t code;
};

constexpr Product Products[] = {
    {"VEK", 3452674},
    {"TAL", 5350658},
    {"ORB", 250626},
    {"ORBTONE", 316162},
};

// Long-option-only ids, above every character getopt could return.
enum Id {
    Help = 256,
    Memory,
    MemoryCode,
    ProductOpt,
    Version,
    Modem,
    Eeprom,
    Link,
    Log,
    SilentHellos,
    Silent,
    Drop,
    DropEvery,
    Corrupt,
    CorruptEvery,
    DelayMs,
    HangupAfter,
    BadBlock,
    LongReply,
    GarbageReply,
    Pace,
    NoPace,
    ExitAfterDeactivate,
    NextUnit,
    Late,
    LateEvery,
    Double,
    DoubleEvery,
    Split,
    Noise,
    Repeat,
    Lose,
};

constexpr option LongOptions[] = {
    {"help", no_argument, nullptr, Help},
    {"memory", required_argument, nullptr, Memory},
    {"memory-code", required_argument, nullptr, MemoryCode},
    {"product", required_argument, nullptr, ProductOpt},
    {"version", required_argument, nullptr, Version},
    {"modem", required_argument, nullptr, Modem},
    {"eeprom", required_argument, nullptr, Eeprom},
    {"link", required_argument, nullptr, Link},
    {"log", required_argument, nullptr, Log},
    {"silent-hellos", required_argument, nullptr, SilentHellos},
    {"silent", no_argument, nullptr, Silent},
    {"drop", required_argument, nullptr, Drop},
    {"drop-every", required_argument, nullptr, DropEvery},
    {"corrupt", required_argument, nullptr, Corrupt},
    {"corrupt-every", required_argument, nullptr, CorruptEvery},
    {"delay-ms", required_argument, nullptr, DelayMs},
    {"hangup-after", required_argument, nullptr, HangupAfter},
    {"bad-block", required_argument, nullptr, BadBlock},
    {"long-reply", required_argument, nullptr, LongReply},
    {"garbage-reply", required_argument, nullptr, GarbageReply},
    {"pace", no_argument, nullptr, Pace},
    {"no-pace", no_argument, nullptr, NoPace},
    {"exit-after-deactivate", no_argument, nullptr, ExitAfterDeactivate},
    {"next-unit", required_argument, nullptr, NextUnit},
    {"late", required_argument, nullptr, Late},
    {"late-every", required_argument, nullptr, LateEvery},
    {"double", required_argument, nullptr, Double},
    {"double-every", required_argument, nullptr, DoubleEvery},
    {"split", required_argument, nullptr, Split},
    {"noise", required_argument, nullptr, Noise},
    {"repeat", required_argument, nullptr, Repeat},
    {"lose", required_argument, nullptr, Lose},
    {nullptr, 0, nullptr, 0},
};

// Decimal, or hexadecimal with 0x; the whole text must be the number.
std::uint32_t number(const char* option, const char* text, std::uint32_t max) {
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text, &end, 0);
    if (*text == '\0' || *end != '\0' || *text == '-' || errno != 0 || value > max)
        throw UsageError(std::string("--") + option + ": '" + text + "' is not a number from 0 to " +
                         std::to_string(max));
    return static_cast<std::uint32_t>(value);
}

// N:MS, two numbers joined by a colon.
std::pair<std::uint32_t, std::uint32_t> pairOf(const char* option, const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        throw UsageError(std::string("--") + option + ": '" + text + "' is not N:MS");
    return {number(option, text.substr(0, colon).c_str(), 0xFFFFFFFF),
            number(option, text.substr(colon + 1).c_str(), 600000)};
}

std::uint8_t memoryCodeOf(const char* text) {
    const std::uint32_t bytes = number("memory", text, 65536);
    for (std::uint8_t code = 0; code <= 9; ++code)
        if (MemoryBytes(code) == bytes) return code;
    throw UsageError(std::string("--memory: ") + text + " is not one of 128, 256, ... 65536");
}

std::uint32_t productOf(const char* text) {
    for (const auto& p : Products)
        if (std::string(text) == p.name) return p.code;
    return number("product", text, 0xFFFFFF);
}

void setVersion(UnitIdentity& unit, const std::string& text) {
    const auto dot = text.find('.');
    if (dot == std::string::npos) throw UsageError("--version: '" + text + "' is not MAJOR.MINOR");
    unit.major = static_cast<std::uint8_t>(number("version", text.substr(0, dot).c_str(), 255));
    unit.minor = static_cast<std::uint8_t>(number("version", text.substr(dot + 1).c_str(), 255));
}

} // namespace

Options ParseOptions(int argc, char** argv) {
    Options o;
    optind = 0; // start afresh, also when called more than once
    opterr = 0;
    for (;;) {
        int index = 0;
        const int id = getopt_long(argc, argv, "", LongOptions, &index);
        if (id == -1) break;
        const char* name = LongOptions[index].name;
        auto count = [&] { return number(name, optarg, 0xFFFFFFFF); };
        switch (id) {
        case Help:
            o.help = true;
            break;
        case Memory:
            o.unit.memoryCode = memoryCodeOf(optarg);
            break;
        case MemoryCode:
            o.unit.memoryCode = static_cast<std::uint8_t>(number(name, optarg, 255));
            break;
        case ProductOpt:
            o.unit.product = productOf(optarg);
            break;
        case Version:
            setVersion(o.unit, optarg);
            break;
        case Modem:
            o.unit.modem = static_cast<std::uint8_t>(number(name, optarg, 255));
            break;
        case Eeprom:
            o.eepromFile = optarg;
            break;
        case Link:
            o.linkPath = optarg;
            break;
        case Log:
            o.logPath = optarg;
            break;
        case SilentHellos:
            o.faults.silentHellos = count();
            break;
        case Silent:
            o.faults.silent = true;
            break;
        case Drop:
            o.faults.drop.replies.insert(count());
            break;
        case DropEvery:
            o.faults.drop.every = count();
            break;
        case Corrupt:
            o.faults.corrupt.replies.insert(count());
            break;
        case CorruptEvery:
            o.faults.corrupt.every = count();
            break;
        case DelayMs:
            o.delayMs = count();
            break;
        case HangupAfter:
            o.hangupAfter = count();
            break;
        case BadBlock:
            o.badBlock = static_cast<std::uint16_t>(number(name, optarg, 0xFFFF));
            break;
        case LongReply:
            o.faults.longReply.replies.insert(count());
            break;
        case GarbageReply:
            o.faults.garbageReply.replies.insert(count());
            break;
        case Late: {
            const auto [reply, ms] = pairOf(name, optarg);
            o.faults.lateMs[reply] = ms;
            break;
        }
        case LateEvery:
            std::tie(o.faults.lateEvery, o.faults.lateEveryMs) = pairOf(name, optarg);
            break;
        case Double:
            o.faults.twice.replies.insert(count());
            break;
        case DoubleEvery:
            o.faults.twice.every = count();
            break;
        case Split: {
            const auto [reply, ms] = pairOf(name, optarg);
            o.faults.splitMs[reply] = ms;
            break;
        }
        case Noise:
            o.faults.noise.replies.insert(count());
            break;
        case Repeat: {
            const auto [reply, ms] = pairOf(name, optarg);
            o.faults.repeatMs[reply] = ms;
            break;
        }
        case Lose:
            o.faults.lostRequest.replies.insert(count());
            break;
        case Pace:
            o.pace = true;
            break;
        case NoPace:
            o.pace = false;
            break;
        case ExitAfterDeactivate:
            o.exitAfterDeactivate = true;
            break;
        case NextUnit:
            o.nextUnitMs = number(name, optarg, 600000);
            break;
        default:
            throw UsageError(std::string("unknown option or missing value: ") + argv[optind - 1]);
        }
    }
    if (optind < argc) throw UsageError(std::string("unexpected argument: ") + argv[optind]);
    return o;
}

std::string HelpText() {
    return R"(Usage: orbsim [OPTIONS]
Plays an ORB/ORBTONE unit on a pseudo-terminal. The first line on stdout is the path of the
port to open (19,200 bit/s 8N1); runs until SIGINT/SIGTERM.

Unit:
  --memory BYTES         EEPROM size: 128, 256, ... 65536 (default 2048)
  --memory-code N        report this raw memory-size code 0..255 instead (codes above 9
                         keep a 65536-byte EEPROM behind them)
  --product P            ORB, ORBTONE, VEK, TAL or a 24-bit identity code (default ORB)
  --version MAJOR.MINOR  firmware version, each 0..255 (default 1.2)
  --modem N              modem code 0..255 (default 0)
  --eeprom FILE          start from the bytes of FILE; bytes the file lacks read as 0xFF, like an
                         erased EEPROM (also the start without this option); the EEPROM is written
                         back to FILE after every deactivation and on exit
Addresses beyond the EEPROM size wrap around (address modulo size).

Link:
  --link PATH            also make PATH a symbolic link to the port (an existing link is replaced)
  --log FILE             one line per request frame received: counter, payload bytes, meaning
  --pace / --no-pace     send and receive at the 19,200 bit/s wire speed (default: --pace)
  --exit-after-deactivate  exit once a deactivation has been answered
  --next-unit MS         a series of units: once a deactivation has been answered, a new unit with
                         an erased EEPROM takes the place of the old one and answers hellos from MS ms
                         on; with --eeprom FILE, unit N (from 1) is saved as FILE.N instead of FILE

Faults (replies are counted from 1; unanswered requests are not replies; the options that
name a reply may be given more than once):
  --silent-hellos N      ignore the first N hellos
  --silent               never answer anything
  --drop N, --drop-every N        do not send reply N / every Nth reply
  --corrupt N, --corrupt-every N  send reply N / every Nth reply with a wrong checksum
  --long-reply N         reply N is 300 bytes of junk ending with 13 (paced: 156 ms on the wire)
  --garbage-reply N      reply N has the right code but non-hex characters
  --late N:MS, --late-every N:MS  send reply N / every Nth reply MS ms late; requests that come
                         meanwhile wait their turn and are answered after it, in order
  --double N, --double-every N    send reply N / every Nth reply twice, back to back
  --repeat N:MS          send reply N again MS ms after its first copy; requests that come
                         meanwhile wait their turn
  --lose N               request frame N (counted from 1, answered or not) is lost on the
                         wire: the unit neither acts on it nor answers it
  --split N:MS           send reply N in three bursts MS ms apart
  --noise N              put a few noise bytes (never 13) right in front of reply N
  --bad-block ADDR       reads of the block at ADDR return every byte XOR 0xFF
  --delay-ms N           wait N ms before each reply
  --hangup-after N       when request frame N arrives, close the port unanswered and exit
Requests with a bad checksum, an unknown code or a wrong length get no reply.
)";
}

} // namespace orb::sim
