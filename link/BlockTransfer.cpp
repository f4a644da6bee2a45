#include "link/BlockTransfer.h"

#include "image/DecodeImage.h"
#include "link/Commands.h"
#include "link/LinkMessages.h"

#include <algorithm>
#include <array>
#include <optional>

namespace orb {

namespace lm = link_messages;

namespace {

constexpr int RetryStepMs = 100;
/// The header and the option block: what a read needs before it knows how far the image reaches.
constexpr int HeaderBytes = 64;
/// How many times a transfer found out of step at its end reads the unit again before it fails.
constexpr int ReadsAgainWhenOutOfStep = 2;
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

template <typename Attempt> bool BlockTransfer::withRetries(const RetrySchedule& schedule, Attempt attempt) {
    for (int n = 0; n < schedule.attempts; ++n) {
        if (n > 0) ++counts_.retries;
        if (attempt(schedule.firstLimitMs + n * RetryStepMs)) return true;
    }
    return false;
}

bool BlockTransfer::readBlockWithin(int address, int limitMs) {
    const TransferBlock request = BlockRequest(Command::ReadBlock, address);
    const TransferBlock reply = transport_.exchange(request, limitMs);
    // The reply does not repeat the address: eight hex pairs follow the code.
    const bool valid =
        IsReplyTo(reply, Command::ReadBlock, 1 + 2 * BlockSize) && reply.hexDigitsAt(1, 2 * BlockSize);
    countExchange(request, reply, valid);
    if (!valid) return false;
    for (int k = 0; k < BlockSize; ++k)
        image_.putByte(address + k, reply.hexPairAt(2 * k + 1));
    return true;
}

bool BlockTransfer::writeBlockWithin(int address, int limitMs) {
    TransferBlock request = BlockRequest(Command::WriteBlock, address);
    for (int k = 0; k < BlockSize; ++k)
        request.appendHexPair(image_.getByte(address + k));
    const TransferBlock reply = transport_.exchange(request, limitMs);
    const bool valid = IsReplyTo(reply, Command::WriteBlock, 1);
    countExchange(request, reply, valid);
    return valid;
}

bool BlockTransfer::verifyBlock(int address) {
    std::array<std::uint8_t, BlockSize> expected;
    for (int k = 0; k < BlockSize; ++k)
        expected[k] = image_.getByte(address + k);
    return withRetries(Verify, [&](int limitMs) {
        if (!readBlockWithin(address, limitMs)) return false;
        for (int k = 0; k < BlockSize; ++k)
            if (image_.getByte(address + k) != expected[k]) return false;
        return true;
    });
}

bool BlockTransfer::readImage(int memorySize) {
    return readInStep([&] { return readEveryBlock(memorySize); });
}

bool BlockTransfer::readSettingsImage(int memorySize) {
    return readInStep([&] { return readHeaderAndImage(memorySize); });
}

template <typename Pass> bool BlockTransfer::readInStep(Pass pass) {
    progress_.showProgress(std::string(lm::Reading), true);
    counts_ = {};
    const TransferReport report(progress_, counts_);
    // A reply the unit should never have sent may have shifted the blocks read since the start: the
    // closing check finds it, and the memory is read again.
    Outcome outcome = Outcome::Failed;
    for (int round = 0; round <= ReadsAgainWhenOutOfStep; ++round) {
        transport_.forgetOutOfStep();
        outcome = pass();
        if (outcome != Outcome::Done) break;
        const StepCheck check = closingCheck(Read);
        outcome = check == StepCheck::InStep ? Outcome::Done : Outcome::Failed;
        if (check != StepCheck::OutOfStep) break;
    }
    progress_.hideProgress();
    return outcome != Outcome::Failed;
}

bool BlockTransfer::readBlockWithRetries(int address) {
    return withRetries(Read, [&](int limitMs) { return readBlockWithin(address, limitMs); });
}

BlockTransfer::Outcome BlockTransfer::readEveryBlock(int memorySize) {
    blocksDone_ = 0;
    blocksTotal_ = memorySize / BlockSize;
    for (int address = 0; address < memorySize; address += BlockSize) {
        // Storno is looked at only once the block is done.
        if (!readBlockWithRetries(address)) return Outcome::Failed;
        countBlock();
        if (progress_.dialogCancelled()) return Outcome::Cancelled;
    }
    return Outcome::Done;
}

BlockTransfer::Outcome BlockTransfer::readHeaderAndImage(int memorySize) {
    blocksDone_ = 0;
    blocksTotal_ = memorySize / BlockSize; // until the header tells how far the image reaches
    int end = std::min(HeaderBytes, memorySize);
    for (int address = 0; address < end; address += BlockSize) {
        if (!readBlockWithRetries(address)) return Outcome::Failed;
        countBlock();
        if (progress_.dialogCancelled()) return Outcome::Cancelled;
        const int read = address + BlockSize;
        if (read < end) continue;
        // Past the header: a unit without a valid one holds no image to follow.
        if (!CheckImageSignature(image_)) break;
        if (const std::optional<std::int32_t> imageEnd = ImageEnd(image_, read)) {
            end = std::min(memorySize, (*imageEnd + BlockSize - 1) / BlockSize * BlockSize);
            blocksTotal_ = std::max(end, read) / BlockSize;
        } else {
            // The image reaches further than read so far: one more block, and look again.
            end = std::min(memorySize, read + BlockSize);
        }
    }
    return Outcome::Done;
}

BlockTransfer::Outcome BlockTransfer::verifyEveryBlock(int memorySize) {
    blocksDone_ = 0;
    blocksTotal_ = memorySize / BlockSize;
    for (int address = 0; address < memorySize; address += BlockSize) {
        if (!verifyBlock(address)) return Outcome::Failed;
        countBlock();
        if (progress_.dialogCancelled()) return Outcome::Cancelled;
    }
    return Outcome::Done;
}

bool BlockTransfer::writeImage(int bytes, bool checkWrite) {
    progress_.showProgress(std::string(lm::Writing), true);
    counts_ = {};
    const TransferReport report(progress_, counts_);
    const int covered = (bytes + BlockSize - 1) / BlockSize * BlockSize; // whole blocks
    blocksDone_ = 0;
    blocksTotal_ = 2 * (covered / BlockSize) + 2;
    transport_.forgetOutOfStep();

    // Until the real block 0 is back, the unit's header checksum fails: a write that stops early leaves a
    // unit that reads as not programmed rather than one that holds half of two configurations.
    std::array<std::uint8_t, BlockSize> header;
    for (int k = 0; k < BlockSize; ++k) {
        header[k] = image_.getByte(k);
        image_.putByte(k, 0);
    }
    Outcome outcome = writeBlockWithRetries(0, checkWrite);
    for (int pass = 0; pass < 2; ++pass)
        for (int address = 0; address < covered && outcome == Outcome::Done; address += BlockSize)
            outcome = writeBlockWithRetries(address, checkWrite);
    if (outcome == Outcome::Done) {
        for (int k = 0; k < BlockSize; ++k)
            image_.putByte(k, header[k]);
        outcome = writeBlockWithRetries(0, checkWrite);
    }
    // An acknowledgement or a read-back taken out of step may stand for a block the unit never stored:
    // with read-back, the unit's memory is compared with the image once more; without, the write fails.
    for (int pass = 0; outcome == Outcome::Done; ++pass) {
        const StepCheck check = closingCheck(Write);
        if (check == StepCheck::InStep) break;
        if (check == StepCheck::NoReply || !checkWrite || pass == ReadsAgainWhenOutOfStep)
            outcome = Outcome::Failed;
        else
            outcome = verifyEveryBlock(covered);
    }
    progress_.hideProgress();
    return outcome != Outcome::Failed;
}

BlockTransfer::Outcome BlockTransfer::writeBlockWithRetries(int address, bool checkWrite) {
    bool ok = withRetries(Write, [&](int limitMs) { return writeBlockWithin(address, limitMs); });
    if (ok && checkWrite && !progress_.dialogCancelled()) ok = verifyBlock(address);
    if (!ok) return Outcome::Failed;
    if (progress_.dialogCancelled()) return Outcome::Cancelled;
    countBlock();
    return Outcome::Done;
}

StepCheck BlockTransfer::closingCheck(const RetrySchedule& schedule) {
    StepCheck check = StepCheck::NoReply;
    withRetries(schedule, [&](int limitMs) {
        check = transport_.checkInStep(limitMs);
        return check != StepCheck::NoReply;
    });
    return check;
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
