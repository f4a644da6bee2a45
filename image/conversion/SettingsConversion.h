#pragma once

#include "common/Progress.h"
#include "image/EepromImage.h"
#include "settings/SettingsForm.h"
#include "settings/SettingsRecord.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace orb {

/// The progress window's message while an image is decoded into the form.
inline constexpr std::string_view DecodingMessage = "Převádím data ...";

/// Why settings did not become an image fit to go out.
enum class EncodeFault {
    Value,     ///< a value cannot be encoded; the image is untouched
    Signature, ///< the image does not carry the signature a loader or the unit looks for
};

/// What encoding the settings for a file or the unit came to.
struct EncodedSettings {
    std::int32_t length = 0;          ///< L, the image's length, once encoded
    std::optional<EncodeFault> fault; ///< nothing when the image may go out
    std::string_view reason;          ///< for a Value fault: the kind of value it stopped at, in Czech
};

/// Encodes the settings into the image and checks its signature, as every save to a file or the unit does
/// before anything is written.
EncodedSettings EncodeForSaving(const SettingsRecord& record, EepromImage& image);

/// Decodes a checked image into the form as a load from a file or the unit does: the first tab comes
/// forward, the progress window says "Převádím data ..." while the decoder runs, and settings decoded
/// count as kept. A refusal has shown the decoder's own box and left the form as it was.
bool DecodeIntoForm(const EepromImage& image, SettingsForm& form, Progress& progress);

} // namespace orb
