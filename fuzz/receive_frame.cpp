// Any byte stream in any bursts on the line: a received block either holds a whole reply to its request
// whose checksum and terminator are right, or counts 0; nothing is read or written outside the block.
#include "fuzz/ReplyScript.h"
#include "link/Transport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orb::fuzz::FuzzInput input(data, size);
    orb::test::FakeLine line;
    orb::Transport transport(line, line);
    orb::fuzz::ReplyScript script(input, line);
    if (!transport.openPort("/dev/ttyS0")) __builtin_trap();

    // Several exchanges in a row: what a late or overlong reply leaves behind meets the next one.
    std::uint8_t code = 0;
    line.onWrite = [&](std::span<const std::uint8_t>) { script.answer(code); };
    for (int exchange = 0; exchange < 4 && !input.empty(); ++exchange) {
        const int limitMs = 4 * input.byte();
        code = static_cast<std::uint8_t>(1 + exchange);
        const orb::TransferBlock block = transport.exchange(orb::TransferBlock::request(code), limitMs);
        if (block.count < 0 || block.count > 99) __builtin_trap();
        if (block.count > 0) {
            if (block.code() != (code | 0x80)) __builtin_trap();
            const auto n = static_cast<std::size_t>(block.count);
            if (block.data[n + 1] != orb::TransferBlock::Terminator) __builtin_trap();
            if (block.data[n] != orb::FrameChecksum(block.payload())) __builtin_trap();
        }
    }
    return 0;
}
