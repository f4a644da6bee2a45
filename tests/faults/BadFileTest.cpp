// Settings files under awkward names and in awkward places: each gives its message and loses nothing.
#include "files/FileMessages.h"
#include "files/SettingsFile.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedView.h"
#include "tests/support/TestProgress.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace orb::test {
namespace {

namespace fs = std::filesystem;
namespace msg = file_messages;

class BadFileTest : public ::testing::Test {
  protected:
    BadFileTest() {
        folder = fs::temp_directory_path() / ("orb-bad-file-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    ~BadFileTest() override { fs::remove_all(folder); }

    fs::path folder;
    ScriptedView view;
    SettingsForm form{view};
    std::unique_ptr<EepromImage> image = std::make_unique<EepromImage>();
    TestProgress progress;
    ScriptedFileDialogs dialogs;
};

TEST_F(BadFileTest, NameWithCzechLettersAndSpacesSavesAndLoads) {
    const std::string path = (folder / "Nastavení chaty Žďár č. 2.eep").string();
    dialogs.answers = {path, path};
    form.setText({TextField::tabJmenoStanice}, "CHATA");
    SaveSettingsFile(form, *image, progress, dialogs);
    ASSERT_TRUE(fs::is_regular_file(fs::u8path(path)));

    form.setText({TextField::tabJmenoStanice}, "DOMA");
    view.expectBox({msg::LoadTitle, msg::UnsavedQuestion, MessageIcon::Question, MessageButtons::YesNoCancel},
                   Answer::No);
    view.expectBox({msg::LoadTitle, msg::loaded(path), MessageIcon::Information, MessageButtons::Ok});
    LoadSettingsFile(form, *image, progress, dialogs);
    EXPECT_EQ(form.text({TextField::tabJmenoStanice}), "CHATA");
    EXPECT_FALSE(progress.shown);
}

TEST_F(BadFileTest, SavingOntoAFolderFailsAndKeepsTheFolder) {
    const fs::path name = folder / "složka.eep";
    fs::create_directory(name);
    fs::create_directory(name / "uvnitř");
    dialogs.answers = {name.string()};
    // A folder can never be replaced by a file, so there is nothing to ask.
    view.expectBox({msg::SaveTitle, msg::saveRefused(name.string(), msg::TargetIsFolder),
                    MessageIcon::Critical, MessageButtons::Ok});
    SaveSettingsFile(form, *image, progress, dialogs);
    EXPECT_TRUE(fs::is_directory(name / "uvnitř"));
    EXPECT_FALSE(progress.shown);
}

} // namespace
} // namespace orb::test
