#pragma once

#include "image/EepromImage.h"
#include "settings/SettingsRecord.h"

#include <cstdint>

namespace orb {

/// Builds the unit's image of the settings in the buffer and returns its length L (addresses 0..L-1).
/// Every value is converted before the first byte is written, so a setting that is not a number, does
/// not fit its byte or has no Windows-1250 code throws (TypeMismatch, Overflow, EncodingError) and leaves
/// the buffer untouched. Bytes 27-31, 63 and everything from L up keep what the buffer held.
std::int32_t EncodeImage(const SettingsRecord& record, EepromImage& image);

} // namespace orb
