#include "cli/device/PortJson.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>

namespace orb {

namespace {

nlohmann::ordered_json textOrNull(const std::string& text) {
    return text.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(text);
}

nlohmann::ordered_json idOrNull(std::optional<std::uint16_t> id) {
    if (!id) return nullptr;
    char hex[5];
    std::snprintf(hex, sizeof hex, "%04x", *id);
    return hex;
}

} // namespace

std::string PortJson(const std::vector<DetectedPort>& ports) {
    auto array = nlohmann::ordered_json::array();
    for (const DetectedPort& port : ports) {
        const std::optional<int> com = ComNumberOf(port.device);
        array.push_back({{"device", port.device},
                         {"com", com ? nlohmann::ordered_json(*com) : nlohmann::ordered_json()},
                         {"description", textOrNull(port.description)},
                         {"manufacturer", textOrNull(port.manufacturer)},
                         {"serialNumber", textOrNull(port.serialNumber)},
                         {"usbVendorId", idOrNull(port.vendorId)},
                         {"usbProductId", idOrNull(port.productId)}});
    }
    return array.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

} // namespace orb
