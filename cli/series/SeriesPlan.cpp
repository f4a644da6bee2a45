#include "cli/series/SeriesPlan.h"

#include "cli/CliError.h"

#include <algorithm>
#include <utility>

namespace orb {

std::string SeriesRowName(int row, bool templateOnly) {
    return (templateOnly ? "kus " : "řádek ") + std::to_string(row);
}

SeriesPlan::SeriesPlan(const std::vector<SeriesRow>& rows, const std::vector<std::string>& sha256)
    : sha256_(sha256) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows_.push_back({rows[i].number, rows[i].label, i});
        images_.push_back(rows[i].image);
    }
}

SeriesPlan::SeriesPlan(const SeriesRow& templateRow, const std::string& sha256, std::optional<int> count)
    : images_{templateRow.image}, sha256_{sha256}, templateOnly_(true), endless_(!count) {
    for (int unit = 1; unit <= count.value_or(0); ++unit)
        rows_.push_back({unit, templateRow.label, 0});
}

void SeriesPlan::resume(const std::vector<SeriesRecord>& earlier) {
    for (const SeriesRecord& record : earlier) {
        if (!record.programmed || record.imageSha256.empty()) continue;
        logged_.insert_or_assign(record.imageSha256, LoggedImage{record.row, record.label});
        const auto sameImage = std::find(sha256_.begin(), sha256_.end(), record.imageSha256);
        if (sameImage == sha256_.end()) continue;
        const std::size_t image = static_cast<std::size_t>(sameImage - sha256_.begin());
        // With the template alone every unit has the same image: each record stands for one unit.
        const auto row = std::find_if(rows_.begin(), rows_.end(), [image](const PlannedRow& r) {
            return r.image == image && r.state == State::Free;
        });
        if (row != rows_.end()) row->state = State::ProgrammedEarlier;
    }
}

SeriesOffer SeriesPlan::offer(const std::optional<std::string>& heldSha256) {
    if (heldSha256) {
        // The last row programmed with that image: with the template alone, the unit written last.
        const auto written = std::find_if(rows_.rbegin(), rows_.rend(), [&](const PlannedRow& row) {
            return sha256_[row.image] == *heldSha256 && isDone(row.state);
        });
        if (written != rows_.rend())
            return {SeriesOffer::Kind::AlreadyWritten, written->number, rowName(written->number),
                    written->label};
        if (const auto logged = logged_.find(*heldSha256); logged != logged_.end())
            return {SeriesOffer::Kind::AlreadyWritten, logged->second.row, rowName(logged->second.row),
                    logged->second.label};
    }
    auto free = std::find_if(rows_.begin(), rows_.end(),
                             [](const PlannedRow& row) { return row.state == State::Free; });
    if (free == rows_.end() && endless_) {
        rows_.push_back({static_cast<int>(rows_.size()) + 1, rows_.empty() ? "" : rows_.front().label, 0});
        free = rows_.end() - 1;
    }
    if (free != rows_.end()) {
        free->state = State::Held;
        return writeOffer(*free);
    }
    const bool held = std::any_of(rows_.begin(), rows_.end(),
                                  [](const PlannedRow& row) { return row.state == State::Held; });
    return {held ? SeriesOffer::Kind::Wait : SeriesOffer::Kind::Nothing};
}

SeriesOffer SeriesPlan::writeOffer(const PlannedRow& row) const {
    const std::size_t place = static_cast<std::size_t>(&row - rows_.data()) + 1;
    const std::string position = endless_ ? "" : std::to_string(place) + " z " + std::to_string(rows_.size());
    return {SeriesOffer::Kind::Write, row.number, rowName(row.number), row.label, position,
            images_[row.image]};
}

void SeriesPlan::finish(int row, bool programmed) {
    rowNumbered(row).state = programmed ? State::Programmed : State::Free;
}

const std::string& SeriesPlan::labelOf(int row) const {
    return rowNumbered(row).label;
}

std::string SeriesPlan::rowName(int row) const {
    return SeriesRowName(row, templateOnly_);
}

bool SeriesPlan::complete() const {
    return std::all_of(rows_.begin(), rows_.end(), [](const PlannedRow& row) { return isDone(row.state); });
}

bool SeriesPlan::programmed(int row) const {
    return isDone(rowNumbered(row).state);
}

std::vector<int> SeriesPlan::rowsLeft() const {
    std::vector<int> left;
    for (const PlannedRow& row : rows_)
        if (!isDone(row.state)) left.push_back(row.number);
    return left;
}

std::vector<int> SeriesPlan::rowsDoneEarlier() const {
    std::vector<int> done;
    for (const PlannedRow& row : rows_)
        if (row.state == State::ProgrammedEarlier) done.push_back(row.number);
    return done;
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
