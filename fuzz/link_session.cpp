// The whole device link against a unit whose every reply comes from the fuzzer: activation, reading and
// writing the EEPROM, deactivation and the exit question, in an order the input chooses. Every command
// must end (the harness presses Storno once the input runs out) and leave the link in a known state.
#include "fuzz/ReplyScript.h"
#include "image/EepromImage.h"
#include "link/DeviceLink.h"
#include "tests/support/FakeUnit.h"
#include "tests/support/QuietView.h"
#include "tests/support/TestProgress.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orb;
    fuzz::FuzzInput input(data, size);
    test::QuietView view;
    SettingsForm form(view);
    auto image = std::make_unique<EepromImage>();
    test::TestProgress progress;
    test::FakeLine line;
    DeviceLink link(form, *image, progress, progress.stop, line, line);

    // Bit 0: a well-behaved unit of 128 << (bits 1-2) bytes activates first, so the fuzzer starts at the
    // block exchanges; bit 3: verify every written block.
    const std::uint8_t mode = input.byte();
    form.setFlag(FlagField::CheckWrite, 0, (mode & 0x08) != 0);
    if (mode & 0x01) {
        test::FakeUnit unit(line);
        unit.memoryCode = (mode >> 1) & 0x03;
        link.onDeaClicked();
        if (form.unit().link != LinkState::Active) __builtin_trap();
    }

    fuzz::ReplyScript script(input, line);
    script.onExhausted = [&progress] { progress.cancel(); };
    line.onWrite = [&script](std::span<const std::uint8_t> frame) {
        script.answer(frame.empty() ? 0 : frame[0]);
    };

    for (int command = 0; command < 6 && !input.empty(); ++command) {
        switch (input.byte() % 4) {
        case 0:
            link.onDeaClicked();
            break;
        case 1:
            link.loadFromUnit();
            break;
        case 2:
            link.saveToUnit();
            break;
        case 3:
            link.confirmExit();
            break;
        }
        // The port is open exactly while the unit is, or may still be, in programming mode.
        if (link.busy() || form.unit().connected() != line.isOpen()) __builtin_trap();
    }
    return 0;
}
