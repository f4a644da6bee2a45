// Any settings file: its export is JSON that import reads back within its bounds unless import would refuse
// it anyway, and when import takes every value as it is (no refusal, no correction), the image it builds
// is byte for byte the image the program saves for the loaded settings. So export then import gives back
// every file the program writes.
#include "cli/json/JsonImport.h"
#include "cli/json/JsonText.h"
#include "cli/Workspace.h"
#include "files/SettingsFile.h"
#include "image/DecodeImage.h"
#include "image/EncodeImage.h"
#include "image/ImageErrors.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > static_cast<std::size_t>(orb::EepromImage::Size)) return 0;
    orb::Workspace loaded;
    for (std::size_t i = 0; i < size; ++i)
        loaded.image->putByte(static_cast<std::int32_t>(i), data[i]);
    if (!orb::HoldsWholeImage(*loaded.image, static_cast<std::int32_t>(size))) return 0;
    if (!orb::DecodeImage(*loaded.image, loaded.form)) return 0;

    const orb::Json exported = orb::WorkspaceJson(loaded);
    auto imported = std::make_unique<orb::EepromImage>();
    orb::Json parsed;
    try {
        parsed = orb::ParseSettingsJson(exported.dump(2));
    } catch (const orb::JsonTextError&) {
        // The bounds read with the text refuse only what import refuses anyway: a file whose values no
        // field takes (a validity of -166 days is longer than its field).
        if (orb::ImportJson(exported, std::nullopt, *imported).refusals.empty()) __builtin_trap();
        return 0;
    }
    const orb::ImportOutcome outcome = orb::ImportJson(parsed, std::nullopt, *imported);
    if (!outcome.refusals.empty() || !outcome.corrections.empty()) return 0;

    auto saved = std::make_unique<orb::EepromImage>();
    orb::WriteReservedBytes(orb::ReadReservedBytes(*loaded.image), *saved);
    const std::int32_t length = orb::EncodeImage(loaded.form.record(), *saved); // import encoded the same
    if (outcome.length != length) __builtin_trap();
    for (std::int32_t address = 0; address < length; ++address)
        if (imported->getByte(address) != saved->getByte(address)) __builtin_trap();
    return 0;
}
