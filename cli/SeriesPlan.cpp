#include "cli/SeriesPlan.h"

#include "cli/CliError.h"

#include <algorithm>
#include <utility>

namespace orb {

std::string SeriesRowName(int row, bool templateOnly) {
    return (templateOnly ? "kus " : "řádek ") + std::to_string(row);
}

SeriesPlan::SeriesPlan(const std::vector<SeriesRow>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows_.push_back({rows[i].number, rows[i].label, i});
}

SeriesPlan::SeriesPlan(const SeriesRow& templateRow, std::optional<int> count)
    : templateOnly_(true), endless_(!count) {
    for (int unit = 1; unit <= count.value_or(0); ++unit)
        rows_.push_back({unit, templateRow.label, 0});
}

SeriesOffer SeriesPlan::offer(std::optional<std::size_t> heldImage) {
    if (heldImage) {
        // The last row programmed with that image: with the template alone, the unit written last.
        const auto written = std::find_if(rows_.rbegin(), rows_.rend(), [&](const PlannedRow& row) {
            return row.image == *heldImage && row.state == State::Programmed;
        });
        if (written != rows_.rend()) return {SeriesOffer::Kind::AlreadyWritten, written->number};
    }
    auto free = std::find_if(rows_.begin(), rows_.end(),
                             [](const PlannedRow& row) { return row.state == State::Free; });
    if (free == rows_.end() && endless_) {
        rows_.push_back({static_cast<int>(rows_.size()) + 1, "", 0});
        free = rows_.end() - 1;
    }
    if (free != rows_.end()) {
        free->state = State::Held;
        return {SeriesOffer::Kind::Write, free->number};
    }
    const bool held = std::any_of(rows_.begin(), rows_.end(),
                                  [](const PlannedRow& row) { return row.state == State::Held; });
    return {held ? SeriesOffer::Kind::Wait : SeriesOffer::Kind::Nothing, 0};
}

void SeriesPlan::finish(int row, bool programmed) {
    rowNumbered(row).state = programmed ? State::Programmed : State::Free;
}

std::size_t SeriesPlan::imageOf(int row) const {
    return rowNumbered(row).image;
}

const std::string& SeriesPlan::labelOf(int row) const {
    return rowNumbered(row).label;
}

std::string SeriesPlan::rowName(int row) const {
    return SeriesRowName(row, templateOnly_);
}

bool SeriesPlan::complete() const {
    return std::all_of(rows_.begin(), rows_.end(),
                       [](const PlannedRow& row) { return row.state == State::Programmed; });
}

bool SeriesPlan::programmed(int row) const {
    return rowNumbered(row).state == State::Programmed;
}

std::vector<int> SeriesPlan::rowsLeft() const {
    std::vector<int> left;
    for (const PlannedRow& row : rows_)
        if (row.state != State::Programmed) left.push_back(row.number);
    return left;
}

SeriesPlan::PlannedRow& SeriesPlan::rowNumbered(int row) {
    return const_cast<PlannedRow&>(std::as_const(*this).rowNumbered(row));
}

const SeriesPlan::PlannedRow& SeriesPlan::rowNumbered(int row) const {
    const auto found = std::find_if(rows_.begin(), rows_.end(),
                                    [row](const PlannedRow& planned) { return planned.number == row; });
    if (found == rows_.end()) throw CliError(ExitStatus::Failure, "série nemá " + rowName(row));
    return *found;
}

} // namespace orb
