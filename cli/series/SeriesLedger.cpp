#include "cli/series/SeriesLedger.h"

#include <utility>

namespace orb {

SeriesLedger::SeriesLedger(SeriesPlan& plan, SeriesBackups backups, SeriesLog* log, SeriesConsole& console)
    : plan_(plan), backups_(std::move(backups)), log_(log), console_(console) {}

SeriesOffer SeriesLedger::offer(std::size_t port, const std::optional<std::string>& heldSha256) {
    SeriesOffer offer = plan_.offer(heldSha256);
    if (offer.kind != SeriesOffer::Kind::Write) return offer;
    // A valid image that is no row's: settings of another site, which must not be lost unsaved.
    const bool otherSettings = heldSha256.has_value();
    if (backups_.folder && (backups_.everyUnit || otherSettings)) {
        offer.backupFolder = *backups_.folder;
    } else if (otherSettings) {
        plan_.finish(offer.row, false);
        return {SeriesOffer::Kind::KeepSettings};
    }
    heldRows_[port] = offer.row;
    return offer;
}

void SeriesLedger::record(std::size_t port, const SeriesRecord& record) {
    if (const auto held = heldRows_.find(port); held != heldRows_.end()) {
        plan_.finish(held->second, record.programmed);
        heldRows_.erase(held);
    }
    records_.push_back(record);
    console_.line(RecordLine(record, record.row > 0 ? plan_.rowName(record.row) : ""));
    if (log_) log_->append(record);
}

void SeriesLedger::portEnded(std::size_t port) {
    if (const auto held = heldRows_.find(port); held != heldRows_.end()) {
        plan_.finish(held->second, false);
        heldRows_.erase(held);
    }
}

} // namespace orb
