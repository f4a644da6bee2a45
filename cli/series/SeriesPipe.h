#pragma once

#include "cli/series/SeriesBroker.h"
#include "cli/series/SeriesOptions.h"

#include <optional>
#include <ostream>
#include <string>
#include <variant>

namespace orb {

// A port served by a process of its own talks to the series' parent in lines of CSV fields, the first
// naming the message. The parent first hands the worker the series' options,
// "options,VERIFY,SCOPE,TIMEOUT". The worker sends "status,UNIT,STEP,DONE,TOTAL,TIMELEFT", "say,TEXT",
// "offer,SHA256" (empty when the unit holds no valid image) and "record,FIELDS..." (RecordFields); the
// parent answers an offer with "write,ROW,NAME,LABEL,POSITION,BACKUPFOLDER,IMAGE" (the image in hex),
// "seen,ROW,NAME,LABEL", "keep" or "none". A backslash, a line feed and a carriage return in a field
// travel as "\\", "\n" and "\r", so every message is one line and every field arrives as it was sent.
// Only the parent reads the template and UNITS.csv: a worker never opens them, it writes what the parent
// hands it, so the rows that were checked and planned are the rows the units get.
// Besides the two pipes the parent hands each worker a socket of its own (SeriesWorkers.h): it proves
// that the worker was started by a series' parent, and its hang-up tells the worker that the parent is
// gone.

/// What the port shows now ("status").
struct StatusMessage {
    SeriesStatus status;
    bool operator==(const StatusMessage&) const = default;
};
/// A line the port prints ("say").
struct SayMessage {
    std::string text;
    bool operator==(const SayMessage&) const = default;
};
/// A unit answered and asks for its row ("offer").
struct OfferRequest {
    HeldImage held;
    bool operator==(const OfferRequest&) const = default;
};
/// How a unit's attempt ended ("record").
struct RecordMessage {
    SeriesRecord record;
    bool operator==(const RecordMessage&) const = default;
};
/// What a worker tells its parent.
using WorkerMessage = std::variant<StatusMessage, SayMessage, OfferRequest, RecordMessage>;

/// What every port of the series does the same way, handed to the worker before anything else ("options").
struct OptionsMessage {
    SeriesOptions options;
    bool operator==(const OptionsMessage&) const = default;
};
/// The parent's answer to an offer request ("write", "seen", "keep"; "none" for Wait and Nothing).
struct OfferAnswer {
    SeriesOffer offer;
    bool operator==(const OfferAnswer&) const = default;
};
/// What a parent tells its worker.
using ParentMessage = std::variant<OptionsMessage, OfferAnswer>;

/// A line that carries no message the reader knows, and why, in Czech.
struct MalformedLine {
    std::string reason;
    bool operator==(const MalformedLine&) const = default;
};

/// Encodes a worker's message as one line, its line feed included.
std::string EncodeMessage(const WorkerMessage& message);
/// Encodes a parent's message as one line, its line feed included.
std::string EncodeMessage(const ParentMessage& message);
/// Decodes a line a worker sent (its line feed may be left on).
std::variant<WorkerMessage, MalformedLine> ParseWorkerMessage(const std::string& line);
/// Decodes a line a parent sent (its line feed may be left on).
std::variant<ParentMessage, MalformedLine> ParseParentMessage(const std::string& line);

/// The worker's side: every call becomes a message to the parent; an offer waits for its answer. The
/// parent closes its end of the pipe once the series is done: an offer then gets "none" and no further
/// unit is greeted. A parent that is gone (its socket hung up, a message that cannot be written) ends
/// no transfer by an error: abandoned() tells the port to stop as at a stop signal, and what the port
/// says and records from then on goes to the worker's own standard error.
class PipeBroker : public SeriesBroker {
  public:
    /// Reads the parent's answers from the descriptor in (unbuffered, so that a look for the end never
    /// takes an answer away) and writes messages to the descriptor out; parent is the socket whose other
    /// end only the parent holds (-1: none), own the worker's standard error.
    PipeBroker(int in, int out, int parent, std::ostream& own)
        : in_(in), out_(out), parent_(parent), own_(own) {}

    /// Reads the options the parent hands the worker before anything else; why not, when they are not
    /// the first thing the parent sent.
    std::variant<SeriesOptions, MalformedLine> options();

    SeriesOffer offer(const std::optional<std::string>& heldSha256) override;
    void record(const SeriesRecord& record) override;
    void status(const SeriesStatus& status) override;
    void say(const std::string& text) override;
    bool seriesDone() override;
    bool abandoned() override;

  private:
    /// Sends the message; false, with the parent taken as gone, when it cannot.
    bool send(const WorkerMessage& message);
    std::optional<std::string> readLine();

    int in_;
    int out_;
    int parent_;
    std::ostream& own_;
    bool done_ = false;
    bool gone_ = false;
    std::string rowName_; ///< of the row last offered, for a record the parent no longer takes
};

} // namespace orb
