#include "cli/files/SettingsDiff.h"

namespace orb {

namespace {

void diffValue(const std::string& name, const Json& a, const Json& b, std::vector<std::string>& lines) {
    if (a == b) return;
    if (a.is_array() && b.is_array() && a.size() == b.size()) {
        for (std::size_t i = 0; i < a.size(); ++i)
            diffValue(name + "[" + std::to_string(i) + "]", a[i], b[i], lines);
        return;
    }
    lines.push_back(name + ": " + a.dump() + " -> " + b.dump());
}

} // namespace

std::vector<std::string> DiffSettings(const Json& a, const Json& b) {
    std::vector<std::string> lines;
    for (const auto& [key, value] : a.items())
        diffValue(key, value, b.at(key), lines);
    return lines;
}

} // namespace orb
