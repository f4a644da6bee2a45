#pragma once

#include "cli/SeriesBroker.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace orb {

// A port served by a process of its own talks to the series' parent in lines of CSV fields, the first
// naming the message. The worker sends "status,UNIT,STEP,DONE,TOTAL,TIMELEFT" (SeriesStatus), "say,TEXT",
// "offer,SHA256" (empty when the unit holds no valid image) and "record,FIELDS..." (RecordFields); the
// parent answers an offer with "write,ROW,NAME,LABEL,POSITION,BACKUPFOLDER,IMAGE" (the image in hex),
// "seen,ROW,NAME,LABEL", "keep" or "none".
// Only the parent reads the template and UNITS.csv: a worker writes what the parent hands it, so the
// rows that were checked and planned are the rows the units get.

/// Encodes one message: its name and fields as a CSV line; line breaks in a field become spaces.
std::string PipeMessage(const std::string& name, std::vector<std::string> fields);
/// Decodes a message line into its name and fields; nothing for a line that is no message.
std::optional<std::vector<std::string>> ParsePipeMessage(const std::string& line);

/// Encodes the parent's answer to an offer.
std::string OfferMessage(const SeriesOffer& offer);

/// Decodes the fields of a status message after its name; nothing when they are no status.
std::optional<SeriesStatus> StatusOf(const std::vector<std::string>& fields);

/// The worker's side: every call becomes a message to the parent; an offer waits for its answer. The
/// parent closes its end of the pipe once the series is done; a parent that went away is taken the same
/// way: an offer gets "none" and no further unit is greeted.
class PipeBroker : public SeriesBroker {
  public:
    /// Reads the parent's answers from the file descriptor in (unbuffered, so that a look for the end
    /// never takes an answer away) and writes to out.
    PipeBroker(int in, std::ostream& out) : in_(in), out_(out) {}

    SeriesOffer offer(const std::optional<std::string>& heldSha256) override;
    void record(const SeriesRecord& record) override;
    void status(const SeriesStatus& status) override;
    void say(const std::string& text) override;
    bool seriesDone() override;

  private:
    void send(const std::string& message);
    std::optional<std::string> readLine();

    int in_;
    std::ostream& out_;
    bool done_ = false;
};

} // namespace orb
