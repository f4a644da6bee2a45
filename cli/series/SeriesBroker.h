#pragma once

#include "cli/series/SeriesConsole.h"
#include "cli/series/SeriesPlan.h"
#include "cli/series/SeriesRecord.h"

#include <cstddef>
#include <optional>
#include <string>

namespace orb {

/// What a unit that answered holds, as reading it to recognise it found: the SHA-256 of its valid image,
/// or none for a unit that holds no valid settings.
struct HeldImage {
    std::optional<std::string> sha256{};

    bool operator==(const HeldImage&) const = default;
};

/// What a port's loop of units asks of the series as a whole: the row for the unit that answered, and
/// a place for what happened. In one process that is the plan and the log themselves; a port served by
/// a process of its own asks its parent through a pipe.
class SeriesBroker {
  public:
    virtual ~SeriesBroker() = default;
    /// Returns what the unit that answered is to do; heldSha256 is the hash of the valid image it holds.
    /// Never Wait: a broker that has to wait for another port's row waits itself.
    virtual SeriesOffer offer(const std::optional<std::string>& heldSha256) = 0;
    /// Ends a unit's attempt: logs it, prints its line, frees or closes its row. Throws CliError when
    /// the log cannot be written, which ends the port's work.
    virtual void record(const SeriesRecord& record) = 0;
    /// Shows what the port is doing now (the port's status line on a terminal).
    virtual void status(const SeriesStatus& status) = 0;
    /// Prints a message of the port's on a line of its own.
    virtual void say(const std::string& text) = 0;
    /// Tells whether the series has nothing left for any unit to do, so no unit is to be greeted.
    virtual bool seriesDone() = 0;
    /// Tells whether whoever keeps the series' account is gone (a worker's parent that died): nothing
    /// the port does can be recorded any more, so it stops as at a stop signal.
    virtual bool abandoned() = 0;
};

} // namespace orb
