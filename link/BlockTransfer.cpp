#include "link/BlockTransfer.h"

#include "common/ShownProgress.h"
#include "image/DecodeImage.h"
#include "link/LinkMessages.h"
#include "link/RequestCodes.h"

#include <algorithm>
#include <optional>

namespace orb {

namespace lm = link_messages;

namespace {

/// The header and the option block: what a read needs before it knows how far the image reaches.
constexpr int HeaderBytes = 64;
/// How many times a transfer found out of step at its end reads the unit again before it fails.
constexpr int ReadsAgainWhenOutOfStep = 2;
/// How many reads of one block a read with a second pass takes at most before the block fails: the two
/// passes, then until a read repeats an earlier one.
constexpr int ReadsOfOneBlock = 5;
/// What a frame carries besides its payload: the checksum and the terminator.
constexpr int FrameOverhead = 2;

/// What goes out as block 0 until the real one is written last.
constexpr BlockTransfer::Block ZeroBlock{};

TransferBlock BlockRequest(RequestCode code, int address) {
    TransferBlock request = RequestFor(code);
    request.appendHexPair(static_cast<std::uint8_t>(address % 256));
    request.appendHexPair(static_cast<std::uint8_t>(address / 256));
    return request;
}

TransferBlock WriteRequest(int address, const BlockTransfer::Block& bytes) {
    TransferBlock request = BlockRequest(RequestCode::WriteBlock, address);
    for (const std::uint8_t byte : bytes)
        request.appendHexPair(byte);
    return request;
}

/// Tells whether the reply answers a block request: a write's code alone, a read's code with the block's
/// eight bytes as hex pairs (the reply does not repeat the address).
bool AnswersBlockRequest(const TransferBlock& request, const TransferBlock& reply) {
    const auto code = static_cast<RequestCode>(request.code());
    if (code == RequestCode::WriteBlock) return IsReplyTo(reply, code, 1);
    return IsReplyTo(reply, code, 1 + 2 * BlockTransfer::BlockSize) &&
           reply.hexDigitsAt(1, 2 * BlockTransfer::BlockSize);
}

BlockTransfer::Block BlockIn(const TransferBlock& readReply) {
    BlockTransfer::Block block;
    for (int k = 0; k < BlockTransfer::BlockSize; ++k)
        block[k] = readReply.hexPairAt(2 * k + 1);
    return block;
}

bool AnyReply(const TransferBlock&) {
    return true;
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

BlockTransfer::BlockTransfer(Transport& transport, EepromImage& image, Progress& progress, StopToken& stop)
    : transport_(transport), image_(image), progress_(progress), stop_(stop) {}

template <typename Attempt> bool BlockTransfer::withRetries(const RetrySchedule& schedule, Attempt attempt) {
    for (int n = 0; n < schedule.attempts; ++n) {
        if (n > 0) ++counts_.retries;
        if (attempt(schedule.limitMs(n))) return true;
    }
    return false;
}

template <typename Accept>
std::optional<TransferBlock> BlockTransfer::exchangeWithRetries(const TransferBlock& request,
                                                                const RetrySchedule& schedule,
                                                                Accept accept) {
    std::optional<TransferBlock> accepted;
    withRetries(schedule, [&](int limitMs) {
        const TransferBlock reply = transport_.exchange(request, limitMs);
        const bool valid = AnswersBlockRequest(request, reply);
        countExchange(request, reply, valid);
        if (valid && accept(reply)) accepted = reply;
        return accepted.has_value();
    });
    return accepted;
}

bool BlockTransfer::readBlock(int address) {
    return readIntoImage(address, Single);
}

bool BlockTransfer::writeBlock(int address, const Block& bytes) {
    return exchangeWithRetries(WriteRequest(address, bytes), Single, AnyReply).has_value();
}

BlockTransfer::Block BlockTransfer::imageBlock(int address) const {
    Block block;
    for (int k = 0; k < BlockSize; ++k)
        block[k] = image_.getByte(address + k);
    return block;
}

bool BlockTransfer::readIntoImage(int address, const RetrySchedule& schedule) {
    const std::optional<TransferBlock> reply =
        exchangeWithRetries(BlockRequest(RequestCode::ReadBlock, address), schedule, AnyReply);
    if (!reply) return false;
    const Block block = BlockIn(*reply);
    for (int k = 0; k < BlockSize; ++k)
        image_.putByte(address + k, block[k]);
    return true;
}

bool BlockTransfer::verifyBlock(int address, const Block& expected) {
    return exchangeWithRetries(BlockRequest(RequestCode::ReadBlock, address), Verify,
                               [&](const TransferBlock& reply) { return BlockIn(reply) == expected; })
        .has_value();
}

BlockTransfer::Outcome BlockTransfer::readImage(int memorySize, ReadCheck check) {
    return readTransfer([&] { return readEveryBlock(memorySize); }, check);
}

BlockTransfer::Outcome BlockTransfer::readSettingsImage(int memorySize, ReadCheck check) {
    const Outcome outcome = readTransfer([&] { return readHeaderAndImage(memorySize); }, check);
    if (outcome != Outcome::Done || check == ReadCheck::Once) return outcome;
    // Two passes whose headers were each spoiled in another block may both have stopped short of the
    // image that the agreed header describes: what lies beyond was never read.
    const bool whole =
        !CheckImageSignature(image_) || readEnd_ >= memorySize || ImageEnd(image_, readEnd_).has_value();
    return whole ? Outcome::Done : Outcome::Failed;
}

template <typename Pass> BlockTransfer::Outcome BlockTransfer::readTransfer(Pass pass, ReadCheck check) {
    const ShownProgress shown(progress_, std::string(lm::Reading), true);
    counts_ = {};
    const TransferReport report(progress_, counts_);
    disagreeing_.clear();
    passes_ = check == ReadCheck::Twice ? 2 : 1;
    passesDone_ = 0;
    Outcome outcome = readInStep(pass);
    if (outcome == Outcome::Done && check == ReadCheck::Twice) {
        const std::vector<Block> firstReads = blocksRead();
        passesDone_ = 1;
        outcome = readInStep(pass);
        if (outcome == Outcome::Done) outcome = settleAgainst(firstReads);
    }
    return outcome;
}

template <typename Pass> BlockTransfer::Outcome BlockTransfer::readInStep(Pass pass) {
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
    return outcome;
}

std::vector<BlockTransfer::Block> BlockTransfer::blocksRead() const {
    std::vector<Block> blocks;
    for (int address = 0; address < readEnd_; address += BlockSize)
        blocks.push_back(imageBlock(address));
    return blocks;
}

BlockTransfer::Outcome BlockTransfer::settleAgainst(const std::vector<Block>& firstReads) {
    const std::vector<Block> secondReads = blocksRead();
    const std::size_t blocks = std::max(firstReads.size(), secondReads.size());
    for (std::size_t n = 0; n < blocks; ++n) {
        // A pass of a settings-only read may have stopped sooner than the other: its header said so.
        std::vector<Block> reads;
        if (n < firstReads.size()) reads.push_back(firstReads[n]);
        if (n < secondReads.size()) reads.push_back(secondReads[n]);
        const int address = static_cast<int>(n) * BlockSize;
        auto agreed = [&reads] { return std::count(reads.begin(), reads.end() - 1, reads.back()) > 0; };
        while (!agreed() && static_cast<int>(reads.size()) < ReadsOfOneBlock) {
            if (!readIntoImage(address, Read)) return Outcome::Failed;
            reads.push_back(imageBlock(address));
        }
        if (!agreed()) disagreeing_.push_back(address);
        // The image keeps the agreed bytes, also where the first pass read further than the second.
        for (int k = 0; k < BlockSize; ++k)
            image_.putByte(address + k, reads.back()[k]);
        if (stop_.stopped()) return Outcome::Stopped;
    }
    readEnd_ = static_cast<int>(blocks) * BlockSize;
    return disagreeing_.empty() ? Outcome::Done : Outcome::Failed;
}

BlockTransfer::Outcome BlockTransfer::readEveryBlock(int memorySize) {
    blocksDone_ = 0;
    blocksTotal_ = memorySize / BlockSize;
    for (int address = 0; address < memorySize; address += BlockSize) {
        // Storno is looked at only once the block is done.
        if (!readIntoImage(address, Read)) return Outcome::Failed;
        countBlock();
        if (stop_.stopped()) return Outcome::Stopped;
    }
    readEnd_ = memorySize;
    return Outcome::Done;
}

BlockTransfer::Outcome BlockTransfer::readHeaderAndImage(int memorySize) {
    blocksDone_ = 0;
    blocksTotal_ = memorySize / BlockSize; // until the header tells how far the image reaches
    int end = std::min(HeaderBytes, memorySize);
    readEnd_ = 0;
    for (int address = 0; address < end; address += BlockSize) {
        if (!readIntoImage(address, Read)) return Outcome::Failed;
        countBlock();
        readEnd_ = address + BlockSize;
        if (stop_.stopped()) return Outcome::Stopped;
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
        if (!verifyBlock(address, imageBlock(address))) return Outcome::Failed;
        countBlock();
        if (stop_.stopped()) return Outcome::Stopped;
    }
    return Outcome::Done;
}

BlockTransfer::Outcome BlockTransfer::writeImage(int bytes, bool checkWrite) {
    const ShownProgress shown(progress_, std::string(lm::Writing), true);
    counts_ = {};
    const TransferReport report(progress_, counts_);
    const int covered = (bytes + BlockSize - 1) / BlockSize * BlockSize; // whole blocks
    blocksDone_ = 0;
    blocksTotal_ = 2 * (covered / BlockSize) + 2;
    passes_ = 1;
    passesDone_ = 0;
    transport_.forgetOutOfStep();

    // Until the real block 0 is back, the unit's header checksum fails: a write that stops early leaves a
    // unit that reads as not programmed rather than one that holds half of two configurations.
    Outcome outcome = writeBlockWithRetries(0, ZeroBlock, checkWrite);
    for (int pass = 0; pass < 2; ++pass)
        for (int address = 0; address < covered && outcome == Outcome::Done; address += BlockSize)
            outcome =
                writeBlockWithRetries(address, address == 0 ? ZeroBlock : imageBlock(address), checkWrite);
    if (outcome == Outcome::Done) outcome = writeBlockWithRetries(0, imageBlock(0), checkWrite);
    // Without read-back, an acknowledgement the unit repeated may stand for the header write it never got,
    // and the unit would hold no valid settings behind a write reported done: block 0 alone is read back.
    if (outcome == Outcome::Done && !checkWrite && !verifyBlock(0, imageBlock(0))) outcome = Outcome::Failed;
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
    return outcome;
}

BlockTransfer::Outcome BlockTransfer::writeBlockWithRetries(int address, const Block& bytes,
                                                            bool checkWrite) {
    bool ok = exchangeWithRetries(WriteRequest(address, bytes), Write, AnyReply).has_value();
    if (ok && checkWrite && !stop_.stopped()) ok = verifyBlock(address, bytes);
    if (!ok) return Outcome::Failed;
    if (stop_.stopped()) return Outcome::Stopped;
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
    ++blocksDone_;
    progress_.setProgressValue(passesDone_ * blocksTotal_ + blocksDone_, passes_ * blocksTotal_);
}

} // namespace orb
