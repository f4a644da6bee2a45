// Any image that a file or a unit delivers: the decoder must either fill the form or refuse with its
// message, never read outside the buffer or overflow.
#include "fuzz/FuzzInput.h"
#include "image/DecodeImage.h"
#include "tests/support/QuietView.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orb::fuzz::FuzzInput input(data, size);
    auto image = std::make_unique<orb::EepromImage>();
    // The first byte fills the part of the buffer the input does not reach, so texts can run to its end.
    const std::uint8_t fill = input.byte();
    const auto bytes = input.rest();
    for (std::int32_t address = 0; address < orb::EepromImage::Size; ++address)
        image->putByte(address, static_cast<std::size_t>(address) < bytes.size() ? bytes[address] : fill);

    orb::test::QuietView view;
    orb::SettingsForm form(view);
    const bool decoded = orb::DecodeImage(*image, form);
    // A refusal shows exactly one box; a decode may ask the single-alarm-number question on its way.
    if (!decoded && view.boxes == 0) __builtin_trap();
    return 0;
}
