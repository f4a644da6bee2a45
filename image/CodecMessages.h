#pragma once

namespace orb {

/// The box the decoder shows when an image cannot be read.
inline constexpr const char* DecodeErrorTitle = "ORB - překlad dat";
inline constexpr const char* DecodeErrorText = "Neznámá chyba při překladu dat.";

} // namespace orb
