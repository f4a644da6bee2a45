#pragma once

#include "common/Progress.h"
#include "image/EepromImage.h"
#include "link/Transport.h"

#include <cstdint>

namespace orb {

/// Moves the unit's EEPROM in blocks of 8 bytes between the unit and the image buffer, with the retry
/// schedules the unit needs. The whole-memory operations show the progress window while they run and
/// return false only when the retries on a block ran out; a Storno (checked between blocks) ends them
/// with true and leaves the progress window's cancel flag set. Each tells the progress at its end what it
/// moved (TransferCounts).
class BlockTransfer {
  public:
    static constexpr int BlockSize = 8;

    BlockTransfer(Transport& transport, EepromImage& image, Progress& progress);

    /// Reads the unit's block at address into the image; false (image untouched) without a valid reply.
    bool readBlock(int address);
    /// Sends the image's block at address; true when the unit confirmed it.
    bool writeBlock(int address);
    /// Reads the block back until it equals the image's, at most 9 times; the image keeps what was read.
    bool verifyBlock(int address);

    /// Reads every block of a memory of the given size into the image, up to 12 attempts on each.
    bool readImage(int memorySize);
    /// Writes the image into a memory of the given size so that an interrupted write never leaves a
    /// valid-looking EEPROM: block 0 zeroed first, two full passes, the real block 0 last.
    bool writeImage(int memorySize, bool checkWrite);

  private:
    enum class BlockOutcome { Written, Failed, Cancelled };

    BlockOutcome writeBlockWithRetries(int address, bool checkWrite);
    void countExchange(const TransferBlock& request, const TransferBlock& reply, bool valid);
    void countBlock();

    Transport& transport_;
    EepromImage& image_;
    Progress& progress_;
    int retryTimeExtra_ = 0;
    int blocksDone_ = 0;
    int blocksTotal_ = 0;
    TransferCounts counts_;
};

} // namespace orb
