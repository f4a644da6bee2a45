#pragma once

#include "link/BlockTransfer.h"

#include <optional>

namespace orb {

/// What every port of a series does the same way; what each unit gets comes from the series' plan. The
/// parent hands it to each of its workers as one message.
struct SeriesOptions {
    bool verify = true;
    TransferScope scope = TransferScope::WholeMemory;
    std::optional<int> timeout; ///< seconds each unit is greeted before the port gives up

    bool operator==(const SeriesOptions&) const = default;
};

/// Calls visit on every option, in the order the workers' message carries them. It binds every member, so
/// that an option added above does not compile until it is added here, and with that travels to the
/// workers.
template <typename Options, typename Visit> void VisitSeriesOptions(Options& options, Visit&& visit) {
    auto& [verify, scope, timeout] = options;
    visit(verify);
    visit(scope);
    visit(timeout);
}

} // namespace orb
