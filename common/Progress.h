#pragma once

#include <string>

namespace orb {

/// What a whole-memory read or write of the unit moved.
struct TransferCounts {
    int blocks = 0;          ///< block exchanges that got their reply: reads, writes and read-backs
    long long bytes = 0;     ///< the EEPROM bytes those blocks carried
    int retries = 0;         ///< attempts that repeated one that got no valid reply or a wrong block
    long long lineBytes = 0; ///< bytes on the line: every request sent and every valid reply

    TransferCounts& operator+=(const TransferCounts& other) {
        blocks += other.blocks;
        bytes += other.bytes;
        retries += other.retries;
        lineBytes += other.lineBytes;
        return *this;
    }
    bool operator==(const TransferCounts&) const = default;
};

/// The modeless progress window with its optional Storno button; what the button does is the stop token's
/// business, so a progress only shows.
class Progress {
  public:
    virtual ~Progress() = default;
    /// Shows the window with a message.
    virtual void showProgress(const std::string& message, bool withStorno) = 0;
    /// Hides the window; hiding a hidden window does nothing else.
    virtual void hideProgress() = 0;
    /// Reports how far a long transfer has come (blocks done of all); windows may show it as a bar.
    virtual void setProgressValue(int done, int total) = 0;
    /// Reports what a whole-memory read or write moved, once at its end, also when it failed, was
    /// cancelled or lost its port. The window shows nothing of it; a terminal prints a line.
    virtual void transferEnded(const TransferCounts&) {}
};

} // namespace orb
