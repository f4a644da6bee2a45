#pragma once

#include <string_view>

namespace orb::window_messages {

/// Asked when Storno or Esc would stop a write that has begun: the unit keeps no valid settings then.
inline constexpr std::string_view StopWriteQuestion =
    "Zápis ještě neskončil. Opravdu přerušit? Zařízení pak nebude mít platné nastavení.";

} // namespace orb::window_messages
