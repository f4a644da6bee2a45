#include "cli/SeriesPipe.h"

#include "cli/SeriesCsv.h"
#include "cli/TerminalText.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <poll.h>
#include <unistd.h>

namespace orb {

namespace {

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

std::optional<int> rowOf(const std::string& number) {
    int row = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), row);
    if (error != std::errc() || end != number.data() + number.size() || row < 1) return std::nullopt;
    return row;
}

/// Decodes the parent's answer to an offer; a line that is no answer counts as "none".
SeriesOffer offerOf(const std::vector<std::string>& fields) {
    using Kind = SeriesOffer::Kind;
    const std::string& name = fields.front();
    if (name == "keep" && fields.size() == 1) return {Kind::KeepSettings};
    const std::optional<int> row = fields.size() > 1 ? rowOf(fields[1]) : std::nullopt;
    if (name == "seen" && fields.size() == 4 && row)
        return {Kind::AlreadyWritten, *row, fields[2], fields[3]};
    if (name != "write" || fields.size() != 7 || !row) return {};
    const std::optional<std::vector<std::uint8_t>> image = bytesOf(fields[6]);
    if (!image || image->empty()) return {};
    return {Kind::Write, *row, fields[2], fields[3], fields[4], *image, fields[5]};
}

} // namespace

std::string PipeMessage(const std::string& name, std::vector<std::string> fields) {
    fields.insert(fields.begin(), name);
    std::transform(fields.begin(), fields.end(), fields.begin(), escaped);
    std::string line = CsvLine(fields);
    line.erase(line.size() - 2); // the CRLF; the pipe's lines end in LF
    return line + "\n";
}

std::optional<std::vector<std::string>> ParsePipeMessage(const std::string& line) {
    try {
        const std::vector<CsvRecord> records = ParseCsv(line);
        if (records.size() != 1) return std::nullopt;
        std::vector<std::string> fields = records.front().fields;
        std::transform(fields.begin(), fields.end(), fields.begin(), unescaped);
        return fields;
    } catch (const CsvError&) {
        return std::nullopt;
    }
}

std::string OfferMessage(const SeriesOffer& offer) {
    switch (offer.kind) {
    case SeriesOffer::Kind::Write:
        return PipeMessage("write", {std::to_string(offer.row), offer.rowName, offer.label, offer.position,
                                     offer.backupFolder, hexOf(offer.image)});
    case SeriesOffer::Kind::AlreadyWritten:
        return PipeMessage("seen", {std::to_string(offer.row), offer.rowName, offer.label});
    case SeriesOffer::Kind::KeepSettings:
        return PipeMessage("keep", {});
    case SeriesOffer::Kind::Wait:
    case SeriesOffer::Kind::Nothing:
        break;
    }
    return PipeMessage("none", {});
}

SeriesOffer PipeBroker::offer(const std::optional<std::string>& heldSha256) {
    if (!send(PipeMessage("offer", {heldSha256.value_or("")}))) return {};
    const std::optional<std::string> line = readLine();
    const std::optional<std::vector<std::string>> fields = line ? ParsePipeMessage(*line) : std::nullopt;
    const SeriesOffer offer = fields ? offerOf(*fields) : SeriesOffer{};
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
    if (!send(PipeMessage("record", RecordFields(record))))
        own_ << "orbctl: " << TerminalText(RecordLine(record, record.row > 0 ? rowName_ : "")) << std::endl;
}

void PipeBroker::status(const SeriesStatus& status) {
    send(PipeMessage("status", {status.unit, status.step, std::to_string(status.done),
                                std::to_string(status.total), status.timeLeft}));
}

std::optional<SeriesStatus> StatusOf(const std::vector<std::string>& fields) {
    if (fields.size() != 5) return std::nullopt;
    SeriesStatus status{fields[0], fields[1], 0, 0, fields[4]};
    for (const auto& [text, number] :
         {std::pair{&fields[2], &status.done}, std::pair{&fields[3], &status.total}})
        if (std::from_chars(text->data(), text->data() + text->size(), *number).ec != std::errc())
            return std::nullopt;
    return status;
}

void PipeBroker::say(const std::string& text) {
    if (!send(PipeMessage("say", {text}))) own_ << "orbctl: " << TerminalText(text) << std::endl;
}

bool PipeBroker::send(const std::string& message) {
    if (abandoned()) return false;
    // Written by hand, never through a stream that throws: a failed write is a parent gone, and a port in
    // the middle of a transfer must end it as at Storno, not be thrown out of it.
    for (std::size_t sent = 0; sent < message.size();) {
        const ssize_t n = ::write(out_, message.data() + sent, message.size() - sent);
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
