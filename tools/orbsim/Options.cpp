#include "tools/orbsim/Options.h"

#include "common/GnuOptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
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

// Every option is long only.
enum Id {
    Help,
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
    KeepSum,
};

constexpr OptionDefinition Definitions[] = {
    {Help, "help", 0, false},
    {Memory, "memory", 0, true},
    {MemoryCode, "memory-code", 0, true},
    {ProductOpt, "product", 0, true},
    {Version, "version", 0, true},
    {Modem, "modem", 0, true},
    {Eeprom, "eeprom", 0, true},
    {Link, "link", 0, true},
    {Log, "log", 0, true},
    {SilentHellos, "silent-hellos", 0, true},
    {Silent, "silent", 0, false},
    {Drop, "drop", 0, true},
    {DropEvery, "drop-every", 0, true},
    {Corrupt, "corrupt", 0, true},
    {CorruptEvery, "corrupt-every", 0, true},
    {DelayMs, "delay-ms", 0, true},
    {HangupAfter, "hangup-after", 0, true},
    {BadBlock, "bad-block", 0, true},
    {LongReply, "long-reply", 0, true},
    {GarbageReply, "garbage-reply", 0, true},
    {Pace, "pace", 0, false},
    {NoPace, "no-pace", 0, false},
    {ExitAfterDeactivate, "exit-after-deactivate", 0, false},
    {NextUnit, "next-unit", 0, true},
    {Late, "late", 0, true},
    {LateEvery, "late-every", 0, true},
    {Double, "double", 0, true},
    {DoubleEvery, "double-every", 0, true},
    {Split, "split", 0, true},
    {Noise, "noise", 0, true},
    {Repeat, "repeat", 0, true},
    {Lose, "lose", 0, true},
    {KeepSum, "keep-sum", 0, true},
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

std::string EnglishText(const OptionError& error) {
    switch (error.kind()) {
    case OptionError::Kind::Unknown:
        return "unknown option: " + error.option();
    case OptionError::Kind::Ambiguous:
        return "ambiguous option: " + error.option();
    case OptionError::Kind::MissingValue:
        return "option " + error.option() + " needs a value";
    case OptionError::Kind::UnexpectedValue:
        return "option " + error.option() + " takes no value";
    }
    return error.option();
}

} // namespace

Options ParseOptions(int argc, char** argv) {
    GivenArguments given;
    try {
        given = ReadGnuOptions(Definitions, std::vector<std::string>(argv + 1, argv + argc));
    } catch (const OptionError& error) {
        throw UsageError(EnglishText(error));
    }
    Options o;
    for (const GivenOption& option : given.options) {
        const int id = option.id;
        const char* name =
            std::find_if(std::begin(Definitions), std::end(Definitions),
                         [id](const OptionDefinition& definition) { return definition.id == id; })
                ->name.data();
        const char* value = option.value.c_str();
        auto count = [&] { return number(name, value, 0xFFFFFFFF); };
        switch (id) {
        case Help:
            o.help = true;
            break;
        case Memory:
            o.unit.memoryCode = memoryCodeOf(value);
            break;
        case MemoryCode:
            o.unit.memoryCode = static_cast<std::uint8_t>(number(name, value, 255));
            break;
        case ProductOpt:
            o.unit.product = productOf(value);
            break;
        case Version:
            setVersion(o.unit, value);
            break;
        case Modem:
            o.unit.modem = static_cast<std::uint8_t>(number(name, value, 255));
            break;
        case Eeprom:
            o.eepromFile = value;
            break;
        case Link:
            o.linkPath = value;
            break;
        case Log:
            o.logPath = value;
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
            o.badBlock = static_cast<std::uint16_t>(number(name, value, 0xFFFF));
            break;
        case LongReply:
            o.faults.longReply.replies.insert(count());
            break;
        case GarbageReply:
            o.faults.garbageReply.replies.insert(count());
            break;
        case Late: {
            const auto [reply, ms] = pairOf(name, value);
            o.faults.lateMs[reply] = ms;
            break;
        }
        case LateEvery:
            std::tie(o.faults.lateEvery, o.faults.lateEveryMs) = pairOf(name, value);
            break;
        case Double:
            o.faults.twice.replies.insert(count());
            break;
        case DoubleEvery:
            o.faults.twice.every = count();
            break;
        case Split: {
            const auto [reply, ms] = pairOf(name, value);
            o.faults.splitMs[reply] = ms;
            break;
        }
        case Noise:
            o.faults.noise.replies.insert(count());
            break;
        case Repeat: {
            const auto [reply, ms] = pairOf(name, value);
            o.faults.repeatMs[reply] = ms;
            break;
        }
        case Lose:
            o.faults.lostRequest.replies.insert(count());
            break;
        case KeepSum:
            o.faults.keptSum.replies.insert(count());
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
            o.nextUnitMs = number(name, value, 600000);
            break;
        }
    }
    if (!given.operands.empty()) throw UsageError("unexpected argument: " + given.operands.front());
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
  --keep-sum N           reply N has one hex digit one higher and a later one one lower, so its
                         checksum still holds
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
