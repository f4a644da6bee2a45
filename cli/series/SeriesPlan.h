#pragma once

#include "cli/series/SeriesRecord.h"
#include "cli/series/SeriesRows.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orb {

/// What a unit that answered is to do next, with all it needs for it: a port's loop knows nothing of the
/// series' files.
struct SeriesOffer {
    enum class Kind {
        Write,          ///< write the image into it
        AlreadyWritten, ///< it holds the image of a row this series programmed: write nothing
        KeepSettings,   ///< it holds other valid settings and there is nowhere to save them: write nothing
        Wait,           ///< every row left is held by another port; ask again when one comes back
        Nothing,        ///< the series has no row left for it
    };
    Kind kind = Kind::Nothing;
    int row = 0;                       ///< Write, AlreadyWritten: the row's number
    std::string rowName{};             ///< "řádek 3", or "kus 3" with the template alone
    std::string label{};               ///< the row's first column
    std::string position{};            ///< Write: "3 z 10", the row's place in the series; empty without end
    std::vector<std::uint8_t> image{}; ///< Write: what the unit's EEPROM gets
    std::string backupFolder{}; ///< Write: where the unit's whole memory is saved first; empty: nowhere

    bool operator==(const SeriesOffer&) const = default;
};

/// Names a row as the messages do: "řádek 3", or "kus 3" (the third unit) with the template alone.
std::string SeriesRowName(int row, bool templateOnly);

/// Which unit gets which row: each unit that answers takes the first row nobody holds, a row whose unit
/// failed is offered again, and a row is never given out while another unit holds it or once a unit was
/// programmed with it, in this run or, as the log records, in an earlier one. A unit is recognised by
/// the SHA-256 of the image it holds. With the template alone there is a row for each unit, up to the
/// count or without end. Row numbers are the lines of UNITS.csv, or the units' order from 1 with the
/// template alone.
class SeriesPlan {
  public:
    /// One row for each of the rows, each with its own image; sha256 is the hash of each row's image.
    SeriesPlan(const std::vector<SeriesRow>& rows, const std::vector<std::string>& sha256);
    /// The template's image for each unit, count units or, without a count, until the series is stopped.
    SeriesPlan(const SeriesRow& templateRow, const std::string& sha256, std::optional<int> count);

    /// Takes what an earlier run of the series did, as its log records it: a row whose image a unit was
    /// programmed with is done (with the template alone, as many units as the log counts), and a unit
    /// that holds any image the log records as programmed is recognised.
    void resume(const std::vector<SeriesRecord>& earlier);

    /// Gives the unit that answered a row to write, or tells it that it already holds one; heldSha256 is
    /// the hash of the valid image the unit holds, if any.
    SeriesOffer offer(const std::optional<std::string>& heldSha256);
    /// Ends the attempt of the unit that took the row: programmed, or the row is free again.
    void finish(int row, bool programmed);
    /// Returns the first column's value of a row (empty for the template).
    const std::string& labelOf(int row) const;
    /// Names a row as the messages do: "řádek 3", or "kus 3" with the template alone.
    std::string rowName(int row) const;
    /// Tells whether every row was programmed (with the template alone and no count: none is left failed).
    bool complete() const;
    /// Tells whether the series has ended: every row programmed, and there is a last one.
    bool done() const { return !endless_ && complete(); }
    /// Tells whether a unit was programmed with the row.
    bool programmed(int row) const;
    /// Returns the rows no unit was programmed with yet, in order.
    std::vector<int> rowsLeft() const;
    /// Returns the rows an earlier run programmed, as resume found them.
    std::vector<int> rowsDoneEarlier() const;
    /// Returns how many rows the plan has (so far, with the template alone and no count).
    std::size_t size() const { return rows_.size(); }

  private:
    enum class State { Free, Held, Programmed, ProgrammedEarlier };
    struct PlannedRow {
        int number;
        std::string label;
        std::size_t image; ///< index into images_
        State state = State::Free;
    };
    struct LoggedImage {
        int row;
        std::string label;
    };

    static bool isDone(State state) {
        return state == State::Programmed || state == State::ProgrammedEarlier;
    }
    PlannedRow& rowNumbered(int row);
    const PlannedRow& rowNumbered(int row) const;
    SeriesOffer writeOffer(const PlannedRow& row) const;

    std::vector<PlannedRow> rows_;
    std::vector<std::vector<std::uint8_t>> images_;
    std::vector<std::string> sha256_; ///< of each image
    std::map<std::string, LoggedImage> logged_;
    bool templateOnly_ = false;
    bool endless_ = false;
};

} // namespace orb
