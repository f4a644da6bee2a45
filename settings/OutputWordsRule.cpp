#include "settings/OutputWordsRule.h"

#include "settings/RuleMessages.h"
#include "settings/TextRules.h"

namespace orb {
namespace {

std::string refusal(std::string_view opening, int row) {
    return std::string(opening) + "O" + std::to_string(row) + std::string(msg::OutputWordsTail);
}

/// Every on-word and off-word, and every name but that of row `except`, each followed by ';'.
std::string wordsAndOtherNames(const SettingsRecord& r, int except) {
    std::string list;
    for (int j = 0; j < RowCount; ++j) {
        const auto row = static_cast<std::size_t>(j);
        list += r.tabOUTZap[row] + ";" + r.tabOUTVyp[row] + ";";
        if (j != except) list += r.tabOUTNazev[row] + ";";
    }
    return list;
}

std::string allNames(const SettingsRecord& r) {
    std::string list;
    for (const std::string& name : r.tabOUTNazev)
        list += name + ";";
    return list;
}

} // namespace

std::optional<OutputWordsViolation> FindOutputWordsViolation(const SettingsRecord& r) {
    const std::string names = allNames(r);
    for (int row = 0; row < RowCount; ++row) {
        const auto i = static_cast<std::size_t>(row);
        if (!IsAllowedName(r.tabOUTNazev[i], wordsAndOtherNames(r, row)))
            return OutputWordsViolation{{TextField::tabOUTNazev, row}, refusal(msg::OutputNameClash, row)};
        if (!IsAllowedName(r.tabOUTZap[i], names))
            return OutputWordsViolation{{TextField::tabOUTZap, row}, refusal(msg::OnWordClash, row)};
        if (!IsAllowedName(r.tabOUTVyp[i], names))
            return OutputWordsViolation{{TextField::tabOUTVyp, row}, refusal(msg::OffWordClash, row)};
    }
    return std::nullopt;
}

} // namespace orb
