#pragma once

#include <array>
#include <string_view>

namespace orb {

/// One entry of a drop-down list: what the list shows and the code the image stores.
struct ChoiceEntry {
    std::string_view text;
    int code;
};

inline constexpr std::array<ChoiceEntry, 2> FormatTable{{{"SIA", 0}, {"Pulzní", 1}}};
/// The parity codes are 1 and 2, not 0 and 1.
inline constexpr std::array<ChoiceEntry, 2> ParityTable{{{"Bez parity", 1}, {"S paritou", 2}}};
inline constexpr std::array<ChoiceEntry, 2> FrequencyTable{{{"1400 Hz", 0}, {"2300 Hz", 1}}};

/// Memory sizes in bytes the unit reports, code = index.
inline constexpr std::array<int, 10> EepromSizeTable{128, 256, 512, 1024, 2048, 4096, 8192, 16384, 32768, 65536};

/// Modem types the unit reports, code = index.
inline constexpr std::array<std::string_view, 4> ModemTypeTable{"M1 Siemens", "A1 Falcom", "A1 Siemens",
                                                                "M20 Siemens"};

/// A product the unit may identify itself as, with the three identity bytes it sends.
struct DeviceType {
    std::string_view name;
    int first;
    int second;
    int third;

    /// Combines the identity bytes into the 24-bit code (first byte most significant).
    constexpr int code() const { return first * 65536 + second * 256 + third; }
};

inline constexpr std::array<DeviceType, 4> DeviceTypeTable{{
    {"VEK", 52, 175, 2},
    {"TAL", 81, 165, 2},
    {"ORB", 3, 211, 2},
    {"ORBTONE", 4, 211, 2},
}};

/// SMS-centre numbers of the two national operators, offered in the list of tabTCcentra.
inline constexpr std::array<std::string_view, 2> ServiceCentreNumbers{"+420603052000", "+420602909909"};

/// The serial ports the unit may be connected to, index 0..3 of tabPort.
inline constexpr std::array<std::string_view, 4> PortTexts{"COM 1", "COM 2", "COM 3", "COM 4"};

} // namespace orb
