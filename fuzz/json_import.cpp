// Any JSON handed to orbctl import: it is refused with reasons or encoded, never anything else.
#include "cli/CliError.h"
#include "cli/JsonImport.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orb::Json json;
    try {
        json = orb::Json::parse(data, data + size);
    } catch (const orb::Json::parse_error&) {
        return 0; // the command reports malformed JSON itself, before import sees it
    }
    auto image = std::make_unique<orb::EepromImage>();
    const orb::ImportOutcome outcome = orb::ImportJson(json, 128 << (size % 10), *image);
    if (outcome.refusals.empty() && (outcome.length <= 0 || outcome.length > orb::EepromImage::Size))
        __builtin_trap();
    return 0;
}
