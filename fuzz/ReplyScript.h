#pragma once

#include "fuzz/FuzzInput.h"
#include "link/TransferBlock.h"
#include "tests/support/FakeLine.h"

#include <chrono>
#include <functional>

namespace orb::fuzz {

/// Plays the unit from the fuzzer's bytes: every request frame written to the line is answered by the
/// next segment of the input, split into bursts that arrive at their own times. A segment starts with a
/// byte whose low 3 bits count the bursts (0: silence), bit 6 puts the request's reply code in front
/// and bit 7 closes the segment with its correct checksum and terminator, so the fuzzer reaches the
/// parsing behind the frame check. Each burst is a delay in milliseconds, a length and the bytes.
class ReplyScript {
  public:
    ReplyScript(FuzzInput& input, test::FakeLine& line) : input_(input), line_(line) {}

    /// Schedules the next segment's bursts on the line, as the reply to a request with the given code.
    void answer(std::uint8_t requestCode) {
        if (input_.empty()) {
            if (onExhausted) onExhausted();
            return;
        }
        const std::uint8_t header = input_.byte();
        test::Bytes payload;
        if (header & 0x40) payload.push_back(static_cast<std::uint8_t>(requestCode | 0x80));
        const int bursts = header & 0x07;
        std::chrono::milliseconds at{0};
        for (int burst = 0; burst < bursts; ++burst) {
            at += std::chrono::milliseconds(input_.byte());
            test::Bytes bytes = input_.bytes(input_.byte() % 64);
            if (burst == 0) bytes.insert(bytes.begin(), payload.begin(), payload.end());
            if (burst == bursts - 1 && (header & 0x80)) {
                // The checksum covers everything this segment sends before it.
                sent_.insert(sent_.end(), bytes.begin(), bytes.end());
                bytes.push_back(FrameChecksum(sent_));
                bytes.push_back(TransferBlock::Terminator);
            } else {
                sent_.insert(sent_.end(), bytes.begin(), bytes.end());
            }
            line_.arrive(bytes, at);
        }
        sent_.clear();
    }

    /// Runs when a request finds no input left (the harness presses Storno there).
    std::function<void()> onExhausted;

  private:
    FuzzInput& input_;
    test::FakeLine& line_;
    test::Bytes sent_;
};

} // namespace orb::fuzz
