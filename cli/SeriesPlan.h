#pragma once

#include "cli/SeriesRows.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orb {

/// What a unit that answered is to do next.
struct SeriesOffer {
    enum class Kind {
        Write,          ///< write the row's image into it
        AlreadyWritten, ///< it holds the image of a row this series programmed: write nothing
        Wait,           ///< every row left is held by another port; ask again when one comes back
        Nothing,        ///< the series has no row left for it
    };
    Kind kind = Kind::Nothing;
    int row = 0; ///< Write, AlreadyWritten: the row's number
};

/// Names a row as the messages do: "řádek 3", or "kus 3" (the third unit) with the template alone.
std::string SeriesRowName(int row, bool templateOnly);

/// Which unit gets which row: each unit that answers takes the first row nobody holds, a row whose unit
/// failed is offered again, and a row is never given out while another unit holds it or once a unit was
/// programmed with it. With the template alone there is a row for each unit, up to the count or without
/// end. Row numbers are the lines of UNITS.csv, or the units' order from 1 with the template alone.
class SeriesPlan {
  public:
    /// One row for each of the rows, each with its own image.
    explicit SeriesPlan(const std::vector<SeriesRow>& rows);
    /// The template's image for each unit, count units or, without a count, until the series is stopped.
    SeriesPlan(const SeriesRow& templateRow, std::optional<int> count);

    /// Gives the unit that answered a row to write, or tells it that it already holds one this series
    /// wrote; heldImage is the index (as imageOf counts) of the image the unit was found to hold, if any.
    SeriesOffer offer(std::optional<std::size_t> heldImage);
    /// Ends the attempt of the unit that took the row: programmed, or the row is free again.
    void finish(int row, bool programmed);
    /// Returns the index of the image a row gets, in the order of the rows given (0 for the template).
    std::size_t imageOf(int row) const;
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

  private:
    enum class State { Free, Held, Programmed };
    struct PlannedRow {
        int number;
        std::string label;
        std::size_t image;
        State state = State::Free;
    };

    PlannedRow& rowNumbered(int row);
    const PlannedRow& rowNumbered(int row) const;

    std::vector<PlannedRow> rows_;
    bool templateOnly_ = false;
    bool endless_ = false;
};

} // namespace orb
