#include "image/conversion/SettingsConversion.h"

#include "common/ShownProgress.h"
#include "image/CodecMessages.h"
#include "image/DecodeImage.h"
#include "image/EncodeImage.h"
#include "image/ImageErrors.h"

#include <string>

namespace orb {

EncodedSettings EncodeForSaving(const SettingsRecord& record, EepromImage& image) {
    try {
        const std::int32_t length = EncodeImage(record, image);
        if (!CheckImageSignature(image)) return {length, EncodeFault::Signature, {}};
        return {length, std::nullopt, {}};
    } catch (const ImageError& error) {
        return {0, EncodeFault::Value, ImageErrorReason(error)};
    }
}

bool DecodeIntoForm(const EepromImage& image, SettingsForm& form, Progress& progress) {
    form.view().selectTab(0);
    {
        const ShownProgress shown(progress, std::string(DecodingMessage), false);
        if (!DecodeImage(image, form)) return false;
    }
    form.markSettingsKept(form.record());
    return true;
}

} // namespace orb
