#pragma once

#include "common/Progress.h"
#include "image/EepromImage.h"
#include "link/session/StopToken.h"
#include "link/Transport.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace orb {

/// How much of the unit's memory a read or write moves.
enum class TransferScope {
    WholeMemory,  ///< every block, whatever it holds
    SettingsOnly, ///< the blocks the image covers; the rest stays as the unit holds it
};

/// How many reads of each block a read of the unit trusts.
enum class ReadCheck {
    Once,  ///< one read, kept in step by the closing resynchronisation
    Twice, ///< a second read compared with the first, for what is kept for later (a backup, a file)
};

/// Moves the unit's EEPROM in blocks of 8 bytes between the unit and the image buffer, with the retry
/// schedules the unit needs. The whole-memory operations show the progress window while they run and
/// return how they ended: Failed when the retries on a block ran out or the line was found out of step at
/// the end, Stopped when the stop token (looked at between blocks) said so. Each tells the progress at its
/// end what it moved (TransferCounts).
///
/// Success means exactly the unit's bytes: every whole-memory transfer that runs to its end closes with
/// one resynchronising exchange, which proves that each reply taken answered its own request. A read
/// found out of step is read again from the start; a write so found is compared with the unit's memory
/// once more when it reads back, and fails when it does not.
///
/// Two faults keep the frame count and so pass that proof: a reply the unit repeats later while the next
/// request was lost (the repeat is taken as that request's reply, and a block read gets the previous
/// block's bytes), and damage that keeps the frame checksum. Only the memory itself can tell them: a
/// read with ReadCheck::Twice reads it a second time and reads each block that differs again until two
/// reads agree, and a write without read-back still reads block 0 back, so that the header, which
/// decides whether the unit holds valid settings, is never taken on an acknowledgement alone.
class BlockTransfer {
  public:
    static constexpr int BlockSize = 8;
    using Block = std::array<std::uint8_t, BlockSize>;

    /// How a whole-memory transfer ended.
    enum class Outcome {
        Done,    ///< every block moved, in step
        Failed,  ///< the retries on a block ran out, or the line was out of step at the end
        Stopped, ///< the stop token said so between blocks: the block in flight was finished
    };

    BlockTransfer(Transport& transport, EepromImage& image, Progress& progress, StopToken& stop);

    /// Reads the unit's block at address into the image in one attempt; false (image untouched) without
    /// a valid reply.
    bool readBlock(int address);
    /// Sends the bytes as the unit's block at address in one attempt; true when the unit confirmed it.
    bool writeBlock(int address, const Block& bytes);

    /// Reads every block of a memory of the given size into the image, up to 12 attempts on each.
    Outcome readImage(int memorySize, ReadCheck check = ReadCheck::Once);
    /// Reads the header blocks, then only the blocks that the image they describe covers. A unit whose
    /// header fails the signature, or whose image would run past its memory, is read no further: the
    /// image buffer then tells the caller that the unit is not programmed, as after a whole read.
    Outcome readSettingsImage(int memorySize, ReadCheck check = ReadCheck::Once);
    /// Returns the addresses of the blocks whose reads never agreed in the last read with
    /// ReadCheck::Twice (which then failed); empty after any other.
    const std::vector<int>& disagreeingBlocks() const { return disagreeing_; }
    /// Writes the image's first bytes (the whole memory, or the blocks the image covers) so that an
    /// interrupted write never leaves a valid-looking EEPROM: block 0 as zeros first, two passes over them
    /// with block 0 still zeros, the real block 0 last. Blocks beyond are left as the unit holds them; the
    /// image is only read.
    Outcome writeImage(int bytes, bool checkWrite);
    /// Returns the image's block at address.
    Block imageBlock(int address) const;
    /// What the last whole-memory transfer moved, also when it failed or was stopped.
    const TransferCounts& counts() const { return counts_; }

  private:
    /// How often one exchange is tried, and how long each attempt waits for the reply.
    struct RetrySchedule {
        int attempts;
        int firstLimitMs;
        int stepMs; ///< each attempt waits this much longer than the one before

        int limitMs(int attempt) const { return firstLimitMs + attempt * stepMs; }
    };
    static constexpr RetrySchedule Single{1, 100, 0};   // a block on its own: one attempt, 100 ms
    static constexpr RetrySchedule Read{12, 100, 100};  // 100, 200, ... 1200 ms
    static constexpr RetrySchedule Write{10, 200, 100}; // 200, 300, ... 1100 ms
    static constexpr RetrySchedule Verify{9, 200, 100}; // 200, 300, ... 1000 ms

    /// Runs attempt with each of the schedule's limits in turn until one succeeds; counts the retries.
    template <typename Attempt> bool withRetries(const RetrySchedule& schedule, Attempt attempt);
    /// Sends the request until a valid reply passes accept, on the schedule; nothing once it ran out.
    template <typename Accept>
    std::optional<TransferBlock> exchangeWithRetries(const TransferBlock& request,
                                                     const RetrySchedule& schedule, Accept accept);
    template <typename Pass> Outcome readTransfer(Pass pass, ReadCheck check);
    template <typename Pass> Outcome readInStep(Pass pass);
    /// Settles each block read so far against its first read: equal reads stand, others are read again
    /// until a read repeats one taken before; a block that never agrees fails the read.
    Outcome settleAgainst(const std::vector<Block>& firstReads);
    /// Returns the image's blocks that the last pass read.
    std::vector<Block> blocksRead() const;
    bool readIntoImage(int address, const RetrySchedule& schedule);
    /// Reads the unit's block until it equals expected, on the Verify schedule; the image is not touched.
    bool verifyBlock(int address, const Block& expected);
    Outcome readEveryBlock(int memorySize);
    Outcome readHeaderAndImage(int memorySize);
    Outcome verifyEveryBlock(int memorySize);
    Outcome writeBlockWithRetries(int address, const Block& bytes, bool checkWrite);
    StepCheck closingCheck(const RetrySchedule& schedule);
    void countExchange(const TransferBlock& request, const TransferBlock& reply, bool valid);
    void countBlock();

    Transport& transport_;
    EepromImage& image_;
    Progress& progress_;
    StopToken& stop_;
    int blocksDone_ = 0;
    int blocksTotal_ = 0;
    int passesDone_ = 0; ///< passes of a read over the memory before this one, for the progress shown
    int passes_ = 1;
    int readEnd_ = 0; ///< where the last pass of a read stopped
    std::vector<int> disagreeing_;
    TransferCounts counts_;
};

} // namespace orb
