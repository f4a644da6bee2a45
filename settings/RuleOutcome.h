#pragma once

#include <string>

namespace orb {

/// What a field rule decided about a text: keep it, replace it, or refuse it (box already shown).
struct RuleOutcome {
    enum class Kind { Accepted, Corrected, Rejected };
    Kind kind = Kind::Accepted;
    std::string text; ///< the corrected text when kind is Corrected

    bool operator==(const RuleOutcome&) const = default;
};

} // namespace orb
