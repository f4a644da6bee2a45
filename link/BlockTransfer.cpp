#include "link/BlockTransfer.h"

#include "link/Commands.h"
#include "link/LinkMessages.h"

#include <array>

namespace orb {

namespace lm = link_messages;

namespace {

constexpr int BaseLimitMs = 100;
constexpr int RetryStepMs = 100;
constexpr int ReadAttempts = 12;
constexpr int WriteAttempts = 10;
constexpr int VerifyAttempts = 9;
/// What a frame carries besides its payload: the checksum and the terminator.
constexpr int FrameOverhead = 2;

TransferBlock BlockRequest(Command command, int address) {
    TransferBlock request = RequestFor(command);
    request.appendHexPair(static_cast<std::uint8_t>(address % 256));
    request.appendHexPair(static_cast<std::uint8_t>(address / 256));
    return request;
}

/// Tells the progress what a whole-memory transfer moved when it ends, however it ends.
class TransferReport {
  public:
    TransferReport(Progress& progress, const TransferCounts& counts) : progress_(progress), counts_(counts) {}
    ~TransferReport() { progress_.transferEnded(counts_); }
    TransferReport(const TransferReport&) = delete;
    TransferReport& operator=(const TransferReport&) = delete;

  private:
    Progress& progress_;
    const TransferCounts& counts_;
};

} // namespace

BlockTransfer::BlockTransfer(Transport& transport, EepromImage& image, Progress& progress)
    : transport_(transport), image_(image), progress_(progress) {}

bool BlockTransfer::readBlock(int address) {
    const TransferBlock request = BlockRequest(Command::ReadBlock, address);
    const TransferBlock reply = transport_.exchange(request, retryTimeExtra_ + BaseLimitMs);
    // The reply does not repeat the address: eight hex pairs follow the code.
    const bool valid =
        IsReplyTo(reply, Command::ReadBlock, 1 + 2 * BlockSize) && reply.hexDigitsAt(1, 2 * BlockSize);
    countExchange(request, reply, valid);
    if (!valid) return false;
    for (int k = 0; k < BlockSize; ++k)
        image_.putByte(address + k, reply.hexPairAt(2 * k + 1));
    return true;
}

bool BlockTransfer::writeBlock(int address) {
    TransferBlock request = BlockRequest(Command::WriteBlock, address);
    for (int k = 0; k < BlockSize; ++k)
        request.appendHexPair(image_.getByte(address + k));
    const TransferBlock reply = transport_.exchange(request, retryTimeExtra_ + BaseLimitMs);
    const bool valid = IsReplyTo(reply, Command::WriteBlock, 1);
    countExchange(request, reply, valid);
    return valid;
}

bool BlockTransfer::verifyBlock(int address) {
    std::array<std::uint8_t, BlockSize> expected;
    for (int k = 0; k < BlockSize; ++k)
        expected[k] = image_.getByte(address + k);
    // Waits of 200, 300, ... 1000 ms.
    retryTimeExtra_ = 0;
    for (int attempt = 0; attempt < VerifyAttempts; ++attempt) {
        retryTimeExtra_ += RetryStepMs;
        if (attempt > 0) ++counts_.retries;
        if (!readBlock(address)) continue;
        bool equal = true;
        for (int k = 0; k < BlockSize; ++k)
            equal = equal && image_.getByte(address + k) == expected[k];
        if (equal) return true;
    }
    return false;
}

bool BlockTransfer::readImage(int memorySize) {
    progress_.showProgress(std::string(lm::Reading), true);
    counts_ = {};
    const TransferReport report(progress_, counts_);
    blocksDone_ = 0;
    blocksTotal_ = memorySize / BlockSize;
    for (int address = 0; address < memorySize; address += BlockSize) {
        // Waits of 100, 200, ... 1200 ms; Storno is looked at only once the block is done.
        retryTimeExtra_ = 0;
        int attempt = 1;
        while (!readBlock(address)) {
            if (attempt == ReadAttempts) {
                progress_.hideProgress();
                return false;
            }
            ++attempt;
            ++counts_.retries;
            retryTimeExtra_ += RetryStepMs;
        }
        countBlock();
        if (progress_.dialogCancelled()) break;
    }
    progress_.hideProgress();
    return true;
}

bool BlockTransfer::writeImage(int memorySize, bool checkWrite) {
    progress_.showProgress(std::string(lm::Writing), true);
    counts_ = {};
    const TransferReport report(progress_, counts_);
    blocksDone_ = 0;
    blocksTotal_ = 2 * (memorySize / BlockSize) + 2;

    // Until the real block 0 is back, the unit's header checksum fails: a write that stops early leaves a
    // unit that reads as not programmed rather than one that holds half of two configurations.
    std::array<std::uint8_t, BlockSize> header;
    for (int k = 0; k < BlockSize; ++k) {
        header[k] = image_.getByte(k);
        image_.putByte(k, 0);
    }
    BlockOutcome outcome = writeBlockWithRetries(0, checkWrite);
    for (int pass = 0; pass < 2; ++pass)
        for (int address = 0; address < memorySize && outcome == BlockOutcome::Written; address += BlockSize)
            outcome = writeBlockWithRetries(address, checkWrite);
    if (outcome == BlockOutcome::Written) {
        for (int k = 0; k < BlockSize; ++k)
            image_.putByte(k, header[k]);
        outcome = writeBlockWithRetries(0, checkWrite);
    }
    progress_.hideProgress();
    return outcome != BlockOutcome::Failed;
}

BlockTransfer::BlockOutcome BlockTransfer::writeBlockWithRetries(int address, bool checkWrite) {
    // Waits of 200, 300, ... 1100 ms.
    retryTimeExtra_ = 0;
    bool ok = false;
    for (int attempt = 0; attempt < WriteAttempts && !ok; ++attempt) {
        retryTimeExtra_ += RetryStepMs;
        if (attempt > 0) ++counts_.retries;
        ok = writeBlock(address);
    }
    if (ok && checkWrite && !progress_.dialogCancelled()) ok = verifyBlock(address);
    if (!ok) return BlockOutcome::Failed;
    if (progress_.dialogCancelled()) return BlockOutcome::Cancelled;
    countBlock();
    return BlockOutcome::Written;
}

void BlockTransfer::countExchange(const TransferBlock& request, const TransferBlock& reply, bool valid) {
    counts_.lineBytes += request.count + FrameOverhead;
    if (!valid) return;
    counts_.lineBytes += reply.count + FrameOverhead;
    ++counts_.blocks;
    counts_.bytes += BlockSize;
}

void BlockTransfer::countBlock() {
    progress_.setProgressValue(++blocksDone_, blocksTotal_);
}

} // namespace orb
