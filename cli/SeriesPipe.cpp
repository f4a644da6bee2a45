#include "cli/SeriesPipe.h"

#include "cli/SeriesCsv.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <poll.h>
#include <unistd.h>

namespace orb {

std::string PipeMessage(const std::string& name, std::vector<std::string> fields) {
    fields.insert(fields.begin(), name);
    for (std::string& field : fields)
        std::replace_if(
            field.begin(), field.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    std::string line = CsvLine(fields);
    line.erase(line.size() - 2); // the CRLF; the pipe's lines end in LF
    return line + "\n";
}

std::optional<std::vector<std::string>> ParsePipeMessage(const std::string& line) {
    try {
        const std::vector<CsvRecord> records = ParseCsv(line);
        if (records.size() != 1) return std::nullopt;
        return records.front().fields;
    } catch (const CsvError&) {
        return std::nullopt;
    }
}

std::string OfferMessage(const SeriesOffer& offer) {
    switch (offer.kind) {
    case SeriesOffer::Kind::Write:
        return PipeMessage("write", {std::to_string(offer.row)});
    case SeriesOffer::Kind::AlreadyWritten:
        return PipeMessage("seen", {std::to_string(offer.row)});
    case SeriesOffer::Kind::Wait:
    case SeriesOffer::Kind::Nothing:
        break;
    }
    return PipeMessage("none", {});
}

SeriesOffer PipeBroker::offer(std::optional<std::size_t> heldImage) {
    send(PipeMessage("offer", {heldImage ? std::to_string(*heldImage) : ""}));
    const std::optional<std::string> line = readLine();
    if (!line) return {};
    const auto fields = ParsePipeMessage(*line);
    if (!fields || fields->size() != 2) return {};
    int row = 0;
    const std::string& number = fields->at(1);
    if (std::from_chars(number.data(), number.data() + number.size(), row).ec != std::errc()) return {};
    if (fields->front() == "write") return {SeriesOffer::Kind::Write, row};
    if (fields->front() == "seen") return {SeriesOffer::Kind::AlreadyWritten, row};
    return {};
}

bool PipeBroker::seriesDone() {
    if (done_) return true;
    pollfd pending{in_, POLLIN, 0};
    // The parent sends nothing unasked: whatever can be read now is the end of the pipe.
    if (::poll(&pending, 1, 0) == 1 && !readLine()) done_ = true;
    return done_;
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
    send(PipeMessage("record", RecordFields(record)));
}

void PipeBroker::status(const std::string& text) {
    send(PipeMessage("status", {text}));
}

void PipeBroker::say(const std::string& text) {
    send(PipeMessage("say", {text}));
}

void PipeBroker::send(const std::string& message) {
    out_ << message << std::flush;
}

} // namespace orb
