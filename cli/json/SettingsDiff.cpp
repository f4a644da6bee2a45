#include "cli/json/SettingsDiff.h"

namespace orb {

namespace {

void diffValue(const std::string& name, const Json& a, const Json& b, std::vector<SettingChange>& changes) {
    if (a == b) return;
    if (a.is_array() && b.is_array() && a.size() == b.size()) {
        for (std::size_t i = 0; i < a.size(); ++i)
            diffValue(name + "[" + std::to_string(i) + "]", a[i], b[i], changes);
        return;
    }
    changes.push_back({name, a, b});
}

} // namespace

std::string ChangeText(const SettingChange& change) {
    return change.setting + ": " + change.from.dump() + " -> " + change.to.dump();
}

std::vector<SettingChange> SettingChanges(const Json& a, const Json& b) {
    std::vector<SettingChange> changes;
    for (const auto& [key, value] : a.items())
        diffValue(key, value, b.at(key), changes);
    return changes;
}

std::vector<std::string> DiffSettings(const Json& a, const Json& b) {
    std::vector<std::string> lines;
    for (const SettingChange& change : SettingChanges(a, b))
        lines.push_back(ChangeText(change));
    return lines;
}

} // namespace orb
