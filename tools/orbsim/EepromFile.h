#pragma once

#include "tools/orbsim/Frame.h"

#include <string>

namespace orb::sim {

/// Reads the EEPROM content kept in a file; a missing file gives no bytes (the unit starts erased).
Bytes LoadEeprom(const std::string& path);
/// Writes the EEPROM content to a file through a temporary file, so a crash never leaves half a file.
void SaveEeprom(const std::string& path, const Bytes& eeprom);

} // namespace orb::sim
