#include "cli/series/SeriesPipe.h"

#include "cli/CliError.h"
#include "cli/series/SeriesCsv.h"
#include "cli/terminal/TerminalText.h"
#include "common/CzechNumbers.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <limits>
#include <poll.h>
#include <string_view>
#include <unistd.h>
#include <utility>

namespace orb {

namespace {

using Fields = std::vector<std::string>;

/// A field with its line breaks, and the backslash that marks them, as two characters each.
std::string escaped(const std::string& field) {
    std::string text;
    text.reserve(field.size());
    for (const char c : field) {
        if (c == '\\' || c == '\n' || c == '\r') text += '\\';
        text += c == '\n' ? 'n' : c == '\r' ? 'r' : c;
    }
    return text;
}

std::string unescaped(const std::string& text) {
    std::string field;
    field.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            field += text[i];
            continue;
        }
        const char marked = text[++i];
        field += marked == 'n' ? '\n' : marked == 'r' ? '\r' : marked;
    }
    return field;
}

/// The line of a message: its name and fields, escaped, as CSV ending in LF.
std::string lineOf(const std::string& name, Fields fields) {
    fields.insert(fields.begin(), name);
    std::transform(fields.begin(), fields.end(), fields.begin(), escaped);
    std::string line = CsvLine(fields);
    line.erase(line.size() - 2); // the CRLF; the pipe's lines end in LF
    return line + "\n";
}

/// The name and fields of a message line; nothing for a line that is no CSV record.
std::optional<Fields> fieldsOf(const std::string& line) {
    try {
        const std::vector<CsvRecord> records = ParseCsv(line);
        if (records.size() != 1) return std::nullopt;
        Fields fields = records.front().fields;
        std::transform(fields.begin(), fields.end(), fields.begin(), unescaped);
        return fields;
    } catch (const CsvError&) {
        return std::nullopt;
    }
}

std::string hexOf(const std::vector<std::uint8_t>& bytes) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * bytes.size());
    for (const std::uint8_t byte : bytes) {
        hex += Digits[byte >> 4];
        hex += Digits[byte & 0x0F];
    }
    return hex;
}

std::optional<std::vector<std::uint8_t>> bytesOf(const std::string& hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::vector<std::uint8_t> bytes(hex.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (std::from_chars(hex.data() + 2 * i, hex.data() + 2 * i + 2, bytes[i], 16).ptr !=
            hex.data() + 2 * i + 2)
            return std::nullopt;
    return bytes;
}

template <typename Value> using Names = std::array<std::pair<Value, std::string_view>, 2>;
constexpr Names<bool> YesNo{{{true, "ano"}, {false, "ne"}}};
constexpr Names<TransferScope> Scopes{
    {{TransferScope::WholeMemory, "whole"}, {TransferScope::SettingsOnly, "settings"}}};

template <typename Value> std::string nameOf(const Names<Value>& names, Value value) {
    return std::string(std::find_if(names.begin(), names.end(), [value](const auto& n) {
                           return n.first == value;
                       })->second);
}

constexpr int Most = std::numeric_limits<int>::max();

/// The fields of one message after its name, taken one after another. The first fault is kept, and a
/// message of fewer or more fields than were taken is no message either.
class FieldReader {
  public:
    explicit FieldReader(const Fields& message)
        : name_(message.front()), fields_(message.begin() + 1, message.end()) {}

    /// Takes the next field; past the last, an empty one (the count then refuses the message).
    const std::string& text() {
        static const std::string Missing;
        const std::size_t at = taken_++;
        return at < fields_.size() ? fields_[at] : Missing;
    }
    /// Takes the next field as a whole number from least to most.
    int number(int least, int most = Most) { return numberIn(text(), least, most); }
    /// A number, or nothing for an empty field.
    std::optional<int> optionalNumber(int least) {
        const std::string& field = text();
        if (field.empty()) return std::nullopt;
        return numberIn(field, least, Most);
    }
    /// Takes the next field as one of the names.
    template <typename Value> Value named(const Names<Value>& names) {
        const std::string& field = text();
        const auto found =
            std::find_if(names.begin(), names.end(), [&field](const auto& n) { return n.second == field; });
        if (found != names.end()) return found->first;
        refuse("neznámá hodnota '" + field + "'");
        return Value{};
    }
    /// Takes every field left.
    Fields rest() {
        const std::size_t from = std::min(taken_, fields_.size());
        taken_ = std::max(taken_, fields_.size());
        return {fields_.begin() + static_cast<std::ptrdiff_t>(from), fields_.end()};
    }
    /// Keeps the first fault: what is wrong with the message.
    void refuse(const std::string& what) {
        if (!fault_) fault_ = MalformedLine{"zpráva '" + name_ + "': " + what};
    }

    /// Returns the message that read makes of the fields, or what was wrong with them.
    template <typename Message, typename Read> std::variant<Message, MalformedLine> result(const Read& read) {
        Message message = read(*this);
        // A count that is wrong explains every other fault.
        if (taken_ != fields_.size()) {
            const auto count = static_cast<long long>(fields_.size());
            return MalformedLine{"zpráva '" + name_ + "': " + std::to_string(count) + " " +
                                 std::string(CzechPlural(count, "pole", "pole", "polí")) + " místo " +
                                 std::to_string(taken_)};
        }
        if (fault_) return *fault_;
        return message;
    }

  private:
    int numberIn(const std::string& field, int least, int most) {
        int value = 0;
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (error != std::errc() || end != field.data() + field.size())
            refuse("místo čísla '" + field + "'");
        else if (value < least || value > most)
            refuse("číslo " + field + " je mimo rozsah");
        return value;
    }

    std::string name_;
    Fields fields_;
    std::size_t taken_ = 0;
    std::optional<MalformedLine> fault_;
};

// What each message is on the pipe: written by encoded, read by the parser its name is listed with.

std::string encoded(const StatusMessage& m) {
    return lineOf("status", {m.status.unit, m.status.step, std::to_string(m.status.done),
                             std::to_string(m.status.total), m.status.timeLeft});
}
std::string encoded(const SayMessage& m) {
    return lineOf("say", {m.text});
}
std::string encoded(const OfferRequest& m) {
    return lineOf("offer", {m.held.sha256.value_or("")});
}
std::string encoded(const RecordMessage& m) {
    return lineOf("record", RecordFields(m.record));
}

std::string optionText(bool option) {
    return nameOf(YesNo, option);
}
std::string optionText(TransferScope option) {
    return nameOf(Scopes, option);
}
std::string optionText(const std::optional<int>& seconds) {
    return seconds ? std::to_string(*seconds) : "";
}

void readOption(FieldReader& fields, bool& option) {
    option = fields.named(YesNo);
}
void readOption(FieldReader& fields, TransferScope& option) {
    option = fields.named(Scopes);
}
void readOption(FieldReader& fields, std::optional<int>& seconds) {
    seconds = fields.optionalNumber(1);
}

std::string encoded(const OptionsMessage& m) {
    Fields fields;
    VisitSeriesOptions(m.options, [&fields](const auto& option) { fields.push_back(optionText(option)); });
    return lineOf("options", fields);
}
std::string encoded(const OfferAnswer& m) {
    const SeriesOffer& offer = m.offer;
    switch (offer.kind) {
    case SeriesOffer::Kind::Write:
        return lineOf("write", {std::to_string(offer.row), offer.rowName, offer.label, offer.position,
                                offer.backupFolder, hexOf(offer.image)});
    case SeriesOffer::Kind::AlreadyWritten:
        return lineOf("seen", {std::to_string(offer.row), offer.rowName, offer.label});
    case SeriesOffer::Kind::KeepSettings:
        return lineOf("keep", {});
    case SeriesOffer::Kind::Wait:
    case SeriesOffer::Kind::Nothing:
        break;
    }
    return lineOf("none", {});
}

template <typename Message> using Parser = std::variant<Message, MalformedLine> (*)(FieldReader&);

std::variant<WorkerMessage, MalformedLine> statusOf(FieldReader& fields) {
    return fields.result<WorkerMessage>([](FieldReader& f) {
        StatusMessage m;
        m.status.unit = f.text();
        m.status.step = f.text();
        m.status.done = f.number(0);
        m.status.total = f.number(m.status.done); // a bar is never more than full
        m.status.timeLeft = f.text();
        return m;
    });
}
std::variant<WorkerMessage, MalformedLine> sayOf(FieldReader& fields) {
    return fields.result<WorkerMessage>([](FieldReader& f) { return SayMessage{f.text()}; });
}
std::variant<WorkerMessage, MalformedLine> offerRequestOf(FieldReader& fields) {
    return fields.result<WorkerMessage>([](FieldReader& f) {
        const std::string& sha256 = f.text();
        return OfferRequest{sha256.empty() ? HeldImage{} : HeldImage{sha256}};
    });
}
std::variant<WorkerMessage, MalformedLine> recordOf(FieldReader& fields) {
    return fields.result<WorkerMessage>([](FieldReader& f) {
        try {
            return RecordMessage{RecordFromFields(f.rest())};
        } catch (const CliError& error) {
            f.refuse(error.what());
            return RecordMessage{};
        }
    });
}

std::variant<ParentMessage, MalformedLine> optionsOf(FieldReader& fields) {
    return fields.result<ParentMessage>([](FieldReader& f) {
        OptionsMessage m;
        VisitSeriesOptions(m.options, [&f](auto& option) { readOption(f, option); });
        return m;
    });
}
std::variant<ParentMessage, MalformedLine> writeOf(FieldReader& fields) {
    return fields.result<ParentMessage>([](FieldReader& f) {
        SeriesOffer offer{SeriesOffer::Kind::Write, f.number(1)};
        offer.rowName = f.text();
        offer.label = f.text();
        offer.position = f.text();
        offer.backupFolder = f.text();
        const std::optional<std::vector<std::uint8_t>> image = bytesOf(f.text());
        if (!image || image->empty()) f.refuse("obraz paměti není v šestnáctkové soustavě");
        offer.image = image.value_or(std::vector<std::uint8_t>{});
        return OfferAnswer{offer};
    });
}
std::variant<ParentMessage, MalformedLine> seenOf(FieldReader& fields) {
    return fields.result<ParentMessage>([](FieldReader& f) {
        SeriesOffer offer{SeriesOffer::Kind::AlreadyWritten, f.number(1)};
        offer.rowName = f.text();
        offer.label = f.text();
        return OfferAnswer{offer};
    });
}
std::variant<ParentMessage, MalformedLine> keepOf(FieldReader& fields) {
    return fields.result<ParentMessage>(
        [](FieldReader&) { return OfferAnswer{{SeriesOffer::Kind::KeepSettings}}; });
}
std::variant<ParentMessage, MalformedLine> noneOf(FieldReader& fields) {
    return fields.result<ParentMessage>([](FieldReader&) { return OfferAnswer{}; });
}

template <typename Message, std::size_t Count>
using Parsers = std::array<std::pair<std::string_view, Parser<Message>>, Count>;

/// Reads the line by the parser its first field names.
template <typename Message, std::size_t Count>
std::variant<Message, MalformedLine> parsed(const std::string& line, const Parsers<Message, Count>& parsers) {
    const std::optional<Fields> fields = fieldsOf(line);
    if (!fields) return MalformedLine{"řádek není zpráva"};
    const std::string& name = fields->front();
    const auto parser =
        std::find_if(parsers.begin(), parsers.end(), [&name](const auto& p) { return p.first == name; });
    if (parser == parsers.end()) return MalformedLine{"neznámá zpráva '" + name + "'"};
    FieldReader reader(*fields);
    return parser->second(reader);
}

} // namespace

std::string EncodeMessage(const WorkerMessage& message) {
    return std::visit([](const auto& m) { return encoded(m); }, message);
}

std::string EncodeMessage(const ParentMessage& message) {
    return std::visit([](const auto& m) { return encoded(m); }, message);
}

std::variant<WorkerMessage, MalformedLine> ParseWorkerMessage(const std::string& line) {
    static constexpr Parsers<WorkerMessage, 4> WorkerParsers{
        {{"status", statusOf}, {"say", sayOf}, {"offer", offerRequestOf}, {"record", recordOf}}};
    return parsed(line, WorkerParsers);
}

std::variant<ParentMessage, MalformedLine> ParseParentMessage(const std::string& line) {
    static constexpr Parsers<ParentMessage, 5> ParentParsers{
        {{"options", optionsOf}, {"write", writeOf}, {"seen", seenOf}, {"keep", keepOf}, {"none", noneOf}}};
    return parsed(line, ParentParsers);
}

std::variant<SeriesOptions, MalformedLine> PipeBroker::options() {
    const std::optional<std::string> line = readLine();
    if (!line) return MalformedLine{"proces, který sérii řídí, nepředal volby série"};
    const auto message = ParseParentMessage(*line);
    if (const auto* malformed = std::get_if<MalformedLine>(&message)) return *malformed;
    if (const auto* options = std::get_if<OptionsMessage>(&std::get<ParentMessage>(message)))
        return options->options;
    return MalformedLine{"proces, který sérii řídí, nepředal nejdřív volby série"};
}

SeriesOffer PipeBroker::offer(const std::optional<std::string>& heldSha256) {
    if (!send(OfferRequest{{heldSha256}})) return {};
    // A line that is no answer counts as "none": the port ends its work.
    const std::optional<std::string> line = readLine();
    const auto message = line ? ParseParentMessage(*line) : MalformedLine{};
    const auto* parent = std::get_if<ParentMessage>(&message);
    const auto* answer = parent ? std::get_if<OfferAnswer>(parent) : nullptr;
    const SeriesOffer offer = answer ? answer->offer : SeriesOffer{};
    rowName_ = offer.rowName;
    return offer;
}

bool PipeBroker::seriesDone() {
    if (done_ || abandoned()) return true;
    pollfd pending{in_, POLLIN, 0};
    // The parent sends nothing unasked: whatever can be read now is the end of the pipe.
    if (::poll(&pending, 1, 0) == 1 && !readLine()) done_ = true;
    return done_;
}

bool PipeBroker::abandoned() {
    if (!gone_ && parent_ >= 0) {
        // The parent never writes on its socket: anything to read there is its end, closed as it went.
        pollfd hangUp{parent_, POLLIN, 0};
        if (::poll(&hangUp, 1, 0) == 1) gone_ = true;
    }
    return gone_;
}

std::optional<std::string> PipeBroker::readLine() {
    std::string line;
    for (char c;;) {
        const ssize_t n = ::read(in_, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            done_ = true;
            return std::nullopt;
        }
        if (c == '\n') return line;
        line += c;
    }
}

void PipeBroker::record(const SeriesRecord& record) {
    if (!send(RecordMessage{record}))
        own_ << "orbctl: " << TerminalText(RecordLine(record, record.row > 0 ? rowName_ : "")) << std::endl;
}

void PipeBroker::status(const SeriesStatus& status) {
    send(StatusMessage{status});
}

void PipeBroker::say(const std::string& text) {
    if (!send(SayMessage{text})) own_ << "orbctl: " << TerminalText(text) << std::endl;
}

bool PipeBroker::send(const WorkerMessage& message) {
    if (abandoned()) return false;
    const std::string line = EncodeMessage(message);
    // Written by hand, never through a stream that throws: a failed write is a parent gone, and a port in
    // the middle of a transfer must end it as at Storno, not be thrown out of it.
    for (std::size_t sent = 0; sent < line.size();) {
        const ssize_t n = ::write(out_, line.data() + sent, line.size() - sent);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            gone_ = true;
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace orb
