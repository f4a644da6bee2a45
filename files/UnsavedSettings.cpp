#include "files/UnsavedSettings.h"

#include "files/FileMessages.h"

namespace orb {

namespace msg = file_messages;

bool OfferToSaveChangedSettings(SettingsForm& form, EepromImage& image, Progress& progress,
                                FileDialogs& dialogs, const std::string& title) {
    if (!form.settingsChanged()) return true;
    const Answer answer =
        form.view().ask({title, msg::UnsavedQuestion, MessageIcon::Question, MessageButtons::YesNoCancel});
    if (answer == Answer::No) return true;
    if (answer != Answer::Yes) return false;
    // A cancelled dialog, a declined overwrite or a failed write all leave the settings unkept.
    SaveSettingsFile(form, image, progress, dialogs);
    return !form.settingsChanged();
}

} // namespace orb
