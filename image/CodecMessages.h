#pragma once

#include "image/ImageErrors.h"

#include <string_view>

namespace orb {

/// The box the decoder shows when an image cannot be read.
inline constexpr const char* DecodeErrorTitle = "ORB - překlad dat";
inline constexpr const char* DecodeErrorText = "Neznámá chyba při překladu dat.";

/// Says in Czech what kind of value a codec error stopped at; the error's own text is for developers.
inline std::string_view ImageErrorReason(const ImageError& error) {
    if (dynamic_cast<const EncodingError*>(&error)) return "text obsahuje znak, který nelze uložit";
    if (dynamic_cast<const Overflow*>(&error)) return "hodnota je mimo svůj rozsah";
    if (dynamic_cast<const TypeMismatch*>(&error)) return "hodnota není číslo";
    return "data přesahují paměť";
}

} // namespace orb
