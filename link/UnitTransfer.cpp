#include "link/UnitTransfer.h"

#include "image/conversion/SettingsConversion.h"
#include "link/LinkMessages.h"

namespace orb {

namespace lm = link_messages;

namespace {

/// What a write moves: the whole memory, or the image's own bytes.
int BytesToWrite(TransferScope scope, int memorySize, int imageLength) {
    return scope == TransferScope::WholeMemory ? memorySize : imageLength;
}

} // namespace

SessionResult LoadFromUnit(SettingsForm& form, EepromImage& image, Progress& progress, UnitSession& session,
                           TransferScope scope, ReadCheck check) {
    SessionResult result = session.read(scope, check);
    if (result.outcome != LinkOutcome::Done) return result;
    // A decoding error has shown its own box and left the settings as they were: no success follows.
    if (!DecodeIntoForm(image, form, progress)) {
        result.outcome = LinkOutcome::DecodeFailed;
        return result;
    }
    tell(form.view(), lm::LoadTitle, lm::ReadDone, MessageIcon::Information);
    result.message = std::string(lm::ReadDone);
    return result;
}

SessionResult SaveToUnit(SettingsForm& form, EepromImage& image, UnitSession& session, TransferScope scope) {
    const auto memorySize = session.memorySizeFor(lm::SaveTitle);
    if (!memorySize)
        return {.outcome = LinkOutcome::SizeUnknown, .message = std::string(lm::MemorySizeUnknown)};
    auto refuse = [&](std::string text) {
        tell(form.view(), lm::SaveTitle, text, MessageIcon::Critical);
        return SessionResult{.outcome = LinkOutcome::Refused, .message = std::move(text)};
    };

    // The output words' rule has told its own refusal.
    if (!form.outputWordsRule()) return {.outcome = LinkOutcome::Refused};
    // The used size is one more than the image, so an image exactly as long as the memory is refused.
    if (*memorySize < form.imageUsage()) return refuse(lm::tooLarge(form.imageUsage(), *memorySize));
    // What the unit gets is the record of this moment.
    const SettingsRecord sent = form.record();
    const EncodedSettings encoded = EncodeForSaving(sent, image);
    if (encoded.fault)
        return refuse(
            std::string(*encoded.fault == EncodeFault::Value ? lm::EncodeFailed : lm::SignatureFailed));

    SessionResult result =
        session.write(BytesToWrite(scope, *memorySize, encoded.length), form.options().CheckWrite);
    if (result.outcome == LinkOutcome::Done) form.markSettingsKept(sent);
    return result;
}

SessionResult SaveImageToUnit(Prompter& prompter, UnitSession& session, int imageLength, TransferScope scope,
                              bool verify) {
    const auto memorySize = session.memorySizeFor(lm::SaveTitle);
    if (!memorySize)
        return {.outcome = LinkOutcome::SizeUnknown, .message = std::string(lm::MemorySizeUnknown)};
    // The used size is one more than the image, so an image exactly as long as the memory is refused.
    if (const int usage = imageLength + 1; *memorySize < usage) {
        std::string text = lm::tooLarge(usage, *memorySize);
        tell(prompter, lm::SaveTitle, text, MessageIcon::Critical);
        return {.outcome = LinkOutcome::Refused, .message = std::move(text)};
    }
    return session.write(BytesToWrite(scope, *memorySize, imageLength), verify);
}

} // namespace orb
