#include "link/UnitTransfer.h"

#include "image/DecodeImage.h"
#include "image/SettingsConversion.h"
#include "link/LinkMessages.h"

#include <optional>

namespace orb {

namespace lm = link_messages;

namespace {

/// The memory size the unit reported; a unit whose size stayed unknown cannot be read or written.
std::optional<int> KnownMemorySize(SettingsForm& form, std::string_view title) {
    const std::optional<int> size = form.memorySize();
    if (size && *size > 0) return size;
    tell(form.view(), title, lm::MemorySizeUnknown, MessageIcon::Critical);
    return std::nullopt;
}

} // namespace

LinkOutcome LoadFromUnit(SettingsForm& form, EepromImage& image, Progress& progress, BlockTransfer& blocks,
                         TransferScope scope, ReadCheck check) {
    const auto memorySize = KnownMemorySize(form, lm::LoadTitle);
    if (!memorySize) return LinkOutcome::SizeUnknown;
    auto finish = [&](LinkOutcome outcome, std::string_view text, MessageIcon icon) {
        tell(form.view(), lm::LoadTitle, text, icon);
        return outcome;
    };

    const BlockTransfer::Outcome read = scope == TransferScope::WholeMemory
                                            ? blocks.readImage(*memorySize, check)
                                            : blocks.readSettingsImage(*memorySize, check);
    if (read == BlockTransfer::Outcome::Failed) {
        const std::vector<int>& disagreeing = blocks.disagreeingBlocks();
        return finish(LinkOutcome::BlockFailed,
                      disagreeing.empty() ? std::string(lm::ReadBlockFailed) : lm::readsDisagree(disagreeing),
                      MessageIcon::Critical);
    }
    if (read == BlockTransfer::Outcome::Stopped)
        return finish(LinkOutcome::Cancelled, lm::ReadCancelled, MessageIcon::Information);
    // A header whose texts would lie beyond the memory read is no image of this unit: the buffer's bytes
    // there are what an earlier file or unit left.
    if (!CheckImageSignature(image) || !ImageFitsIn(image, *memorySize))
        return finish(LinkOutcome::NotProgrammed, lm::NotProgrammed, MessageIcon::Exclamation);

    // A decoding error has shown its own box and left the settings as they were: no success follows.
    if (!DecodeIntoForm(image, form, progress)) return LinkOutcome::DecodeFailed;
    return finish(LinkOutcome::Done, lm::ReadDone, MessageIcon::Information);
}

LinkOutcome SaveToUnit(SettingsForm& form, EepromImage& image, BlockTransfer& blocks, TransferScope scope) {
    const auto memorySize = KnownMemorySize(form, lm::SaveTitle);
    if (!memorySize) return LinkOutcome::SizeUnknown;
    auto refuse = [&](std::string_view text) {
        tell(form.view(), lm::SaveTitle, text, MessageIcon::Critical);
        return LinkOutcome::Refused;
    };

    if (!form.outputWordsRule()) return LinkOutcome::Refused;
    // The used size is one more than the image, so an image exactly as long as the memory is refused.
    if (*memorySize < form.imageUsage()) return refuse(lm::tooLarge(form.imageUsage(), *memorySize));
    // The window stays editable while the write runs; what the unit gets is the record of this moment.
    const SettingsRecord sent = form.record();
    const EncodedSettings encoded = EncodeForSaving(sent, image);
    if (encoded.fault)
        return refuse(*encoded.fault == EncodeFault::Value ? lm::EncodeFailed : lm::SignatureFailed);

    const BlockTransfer::Outcome written = blocks.writeImage(
        scope == TransferScope::WholeMemory ? *memorySize : encoded.length, form.options().CheckWrite);
    // Either way the write has begun: the unit holds no valid settings now.
    auto stopped = [&](LinkOutcome outcome, std::string_view text, MessageIcon icon) {
        tell(form.view(), lm::SaveTitle, lm::withNoValidSettings(text), icon);
        return outcome;
    };
    if (written == BlockTransfer::Outcome::Failed)
        return stopped(LinkOutcome::BlockFailed, lm::WriteBlockFailed, MessageIcon::Critical);
    if (written == BlockTransfer::Outcome::Stopped)
        return stopped(LinkOutcome::Cancelled, lm::WriteCancelled, MessageIcon::Information);
    form.markSettingsKept(sent);
    tell(form.view(), lm::SaveTitle, lm::WriteDone, MessageIcon::Information);
    return LinkOutcome::Done;
}

} // namespace orb
