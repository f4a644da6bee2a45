// Any file the user picks in the open dialog: the load reports its outcome in one message (and the
// decoder's), never crashes, and leaves the settings unchanged whenever it does not report success.
#include "files/SettingsFile.h"
#include "tests/support/QuietView.h"
#include "tests/support/TestProgress.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

// The harness runs as a libFuzzer program without GoogleTest, so it cannot use the scripted dialogs of
// the tests, which report a dialog nobody expected as a test failure; every dialog here gives the file.
class FixedDialogs : public orb::FileDialogs {
  public:
    explicit FixedDialogs(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> chooseSaveFile() override { return path_; }
    std::optional<std::string> chooseOpenFile() override { return path_; }

  private:
    std::string path_;
};

const std::string& FilePath() {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("orb-fuzz-" + std::to_string(getpid()) + ".eep")).string();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream file(FilePath(), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    orb::test::QuietView view;
    orb::SettingsForm form(view);
    const orb::SettingsRecord before = form.record();
    auto image = std::make_unique<orb::EepromImage>();
    orb::test::TestProgress progress;
    FixedDialogs dialogs(FilePath());
    orb::LoadSettingsFile(form, *image, progress, dialogs);
    if (view.boxes == 0) __builtin_trap();
    // Only a file that holds a whole header with a valid signature may change the settings.
    auto alone = std::make_unique<orb::EepromImage>();
    for (std::size_t i = 0; i < size && i < static_cast<std::size_t>(orb::EepromImage::Size); ++i)
        alone->putByte(static_cast<std::int32_t>(i), data[i]);
    const bool holdsImage = size >= 27 && size <= 65536 && orb::CheckImageSignature(*alone);
    if (!holdsImage && form.record() != before) __builtin_trap();
    return 0;
}
