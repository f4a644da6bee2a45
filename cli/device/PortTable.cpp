#include "cli/device/PortTable.h"

#include "cli/terminal/TerminalText.h"
#include "settings/ImageSize.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace orb {

namespace {

constexpr std::size_t Columns = 6;
using Row = std::array<std::string, Columns>;

std::string OrDash(const std::string& text) {
    return text.empty() ? "-" : text;
}

std::string UsbIds(const DetectedPort& port) {
    if (!port.vendorId || !port.productId) return "-";
    std::array<char, 10> ids{};
    std::snprintf(ids.data(), ids.size(), "%04x:%04x", *port.vendorId, *port.productId);
    return ids.data();
}

Row RowOf(const DetectedPort& port) {
    const std::optional<int> com = ComNumberOf(port.device);
    // A USB device names itself: its strings reach the terminal only as plain text.
    return {TerminalText(port.device),
            com ? "COM " + std::to_string(*com) : "-",
            TerminalText(OrDash(port.description)),
            TerminalText(OrDash(port.manufacturer)),
            TerminalText(OrDash(port.serialNumber)),
            UsbIds(port)};
}

} // namespace

std::string PortTable(const std::vector<DetectedPort>& ports) {
    if (ports.empty()) return "Žádný sériový port nebyl nalezen.\n";
    std::vector<Row> rows{{"ZAŘÍZENÍ", "PORT", "POPIS", "VÝROBCE", "SÉRIOVÉ ČÍSLO", "USB"}};
    std::transform(ports.begin(), ports.end(), std::back_inserter(rows), RowOf);
    std::array<std::size_t, Columns> widths{};
    for (const Row& row : rows)
        for (std::size_t c = 0; c < Columns; ++c)
            widths[c] = std::max(widths[c], CharacterCount(row[c]));

    std::string table;
    for (const Row& row : rows) {
        for (std::size_t c = 0; c + 1 < Columns; ++c)
            table += row[c] + std::string(widths[c] - CharacterCount(row[c]) + 2, ' ');
        table += row[Columns - 1] + "\n";
    }
    return table;
}

} // namespace orb
