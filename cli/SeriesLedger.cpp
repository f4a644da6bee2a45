#include "cli/SeriesLedger.h"

namespace orb {

SeriesLedger::SeriesLedger(SeriesPlan& plan, SeriesLog* log, SeriesConsole& console)
    : plan_(plan), log_(log), console_(console) {}

SeriesOffer SeriesLedger::offer(std::size_t port, std::optional<std::size_t> heldImage) {
    const SeriesOffer offer = plan_.offer(heldImage);
    if (offer.kind == SeriesOffer::Kind::Write) heldRows_[port] = offer.row;
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
