#include "files/SettingsFile.h"

#include "files/FileMessages.h"
#include "files/RawFile.h"
#include "files/WriteTarget.h"
#include "image/CodecMessages.h"
#include "image/EncodeImage.h"
#include "image/conversion/SettingsConversion.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedView.h"
#include "tests/support/TestProgress.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace orb {
namespace {

namespace fs = std::filesystem;
namespace msg = file_messages;
using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes imageBytes(const EepromImage& image, std::int32_t from, std::int32_t to) {
    Bytes bytes;
    for (std::int32_t i = from; i < to; ++i)
        bytes.push_back(image.getByte(i));
    return bytes;
}

Message saveError(const std::string& text) {
    return {msg::SaveTitle, text, MessageIcon::Critical, MessageButtons::Ok};
}
Message loadBox(const std::string& text, MessageIcon icon) {
    return {msg::LoadTitle, text, icon, MessageButtons::Ok};
}
const Message OverwriteQuestion{msg::OverwriteTitle, msg::OverwriteQuestion, MessageIcon::Question,
                                MessageButtons::YesNo};

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "orb-files-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (entry.is_directory()) fs::permissions(entry, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }

    /// Saves the form's settings under the name with no box expected, and returns the file's bytes.
    Bytes save(const fs::path& name) {
        dialogs.answers = {name.string()};
        SaveSettingsFile(form, image, progress, dialogs);
        return readFile(name);
    }

    void load(const fs::path& name) {
        dialogs.answers = {name.string()};
        LoadSettingsFile(form, image, progress, dialogs);
    }

    /// Fills every kind of setting with values the rules accept.
    void fillSettings() {
        form.setText({TextField::tabJmenoStanice}, "Chata Lipno");
        form.setText({TextField::tabPIN}, "1234");
        form.setText({TextField::tabTCcentra}, "+420603052000");
        form.setText({TextField::tabDobaPlatnostiSMS}, "14");
        form.setFlag(FlagField::tabOdpovidatT0, 0, true);
        form.setText({TextField::rtNotAuthorized}, "Pristup odepren");
        form.setText({TextField::tabTC, 0}, "+420777123456");
        form.setFlag(FlagField::tabTCPrijem, 0, true);
        form.setFlag(FlagField::tabTCUdalost, 0, true);
        form.setText({TextField::tabTC, 5}, "603111222");
        form.setText({TextField::tabINPNazev, 3}, "Dvere");
        form.setText({TextField::tabINPZap, 3}, "otevreno");
        form.setText({TextField::tabINPVyp, 3}, "zavreno");
        form.setFlag(FlagField::tabINPHLEvent, 3, true);
        form.setText({TextField::tabOUTNazev, 7}, "Topeni");
        form.setText({TextField::tabOUTZap, 7}, "TOPZAP");
        form.setText({TextField::tabOUTimpulsLEN, 7}, "125");
        form.setFlag(FlagField::tabOUTZpr, 7, true);
        form.setChoice(ChoiceField::tabKOMUNIKFormat, 1);
        form.setChoice(ChoiceField::tabKOMUNIKParita, 1);
    }

    fs::path folder;
    test::ScriptedView view;
    SettingsForm form{view};
    EepromImage image;
    test::TestProgress progress;
    test::ScriptedFileDialogs dialogs;
};

TEST_F(SettingsFileTest, WriteImageFileWritesExactlyTheGivenLength) {
    for (std::int32_t i = 0; i < 200; ++i)
        image.putByte(i, (i * 7 + 3) % 256);
    const fs::path name = folder / "part.eep";
    EXPECT_TRUE(WriteImageFile(name.string(), image, 99, progress));
    EXPECT_EQ(readFile(name), imageBytes(image, 0, 99));
}

TEST_F(SettingsFileTest, SaveWritesTheEncodedImageUpToTheUsageShownLessOne) {
    fillSettings();
    for (std::int32_t i = 0; i < 1000; ++i)
        image.putByte(i, 0xAB); // bytes beyond the image stay out
    const fs::path name = folder / "chata.eep";

    const Bytes file = save(name);

    EXPECT_TRUE(view.boxes.empty());
    EXPECT_EQ(file.size(), static_cast<std::size_t>(form.imageUsage() - 1));
    EXPECT_EQ(file, imageBytes(image, 0, static_cast<std::int32_t>(file.size())));
    EXPECT_TRUE(CheckImageSignature(image));
    EXPECT_EQ(progress.messages, std::vector<std::string>{msg::saving(name.string())});
    EXPECT_FALSE(progress.shown);
    EXPECT_FALSE(progress.stornoOffered);
    EXPECT_EQ(fs::directory_iterator(folder)->path(), name) << "no temporary file left behind";
}

TEST_F(SettingsFileTest, SavedFileLoadedIntoFreshSettingsReproducesThem) {
    fillSettings();
    const fs::path name = folder / "chata Žďár.eep";
    save(name);

    test::ScriptedView otherView;
    SettingsForm other{otherView};
    EepromImage otherImage;
    dialogs.answers = {name.string()};
    otherView.expectBox(loadBox(msg::loaded(name.string()), MessageIcon::Information));
    LoadSettingsFile(other, otherImage, progress, dialogs);

    EXPECT_EQ(other.record(), form.record());
    EXPECT_EQ(otherView.events.front(), "tab 0");
    EXPECT_EQ(other.imageUsage(), form.imageUsage());
    EXPECT_FALSE(progress.shown);
}

TEST_F(SettingsFileTest, CancelledDialogsDoNothing) {
    dialogs.answers = {std::nullopt, std::nullopt};
    SaveSettingsFile(form, image, progress, dialogs);
    LoadSettingsFile(form, image, progress, dialogs);
    EXPECT_TRUE(view.boxes.empty());
    EXPECT_TRUE(progress.messages.empty());
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(SettingsFileTest, DecliningTheOverwriteLeavesTheFileAndShowsNothingElse) {
    const fs::path name = folder / "old.eep";
    const Bytes old{'o', 'l', 'd'};
    writeFile(name, old);
    view.expectBox(OverwriteQuestion, Answer::No);

    EXPECT_EQ(save(name), old);
    EXPECT_EQ(view.boxes.size(), 1u);
    EXPECT_TRUE(progress.messages.empty());
}

TEST_F(SettingsFileTest, AcceptedOverwriteReplacesTheContentAndKeepsThePermissions) {
    const fs::path name = folder / "old.eep";
    writeFile(name, Bytes(500, 0x55));
    fs::permissions(name, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    view.expectBox(OverwriteQuestion, Answer::Yes);

    const Bytes file = save(name);

    EXPECT_EQ(file, imageBytes(image, 0, form.imageUsage() - 1));
    EXPECT_EQ(fs::status(name).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

class FailedSaveTest : public SettingsFileTest {
  protected:
    const Bytes old = Bytes(40, 'x');

    /// Saves onto the existing old file in a way that must fail, and checks the file survives whole.
    /// A target found unwritable is refused before the overwrite question; a write fails after it.
    void expectFailureKeepsOldFile(const fs::path& name, const std::string& text, bool asked) {
        if (asked) view.expectBox(OverwriteQuestion, Answer::Yes);
        view.expectBox(saveError(text));
        EXPECT_EQ(save(name), old);
        EXPECT_FALSE(progress.shown);
        EXPECT_EQ(std::distance(fs::directory_iterator(name.parent_path()), {}), 1)
            << "no temporary file left behind";
    }
};

TEST_F(FailedSaveTest, ReadOnlyFileOrFolderIsRefusedNamingTheCause) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root; orbctl's test runs this as nobody";
    const fs::path locked = folder / "locked";
    fs::create_directory(locked);
    writeFile(locked / "old.eep", old);
    fs::permissions(locked / "old.eep", fs::perms::owner_read | fs::perms::group_read);
    expectFailureKeepsOldFile(locked / "old.eep",
                              msg::saveRefused((locked / "old.eep").string(), msg::FileReadOnly), false);

    fs::permissions(locked / "old.eep", fs::perms::owner_write, fs::perm_options::add);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    expectFailureKeepsOldFile(
        locked / "old.eep",
        msg::saveRefused((locked / "old.eep").string(), msg::folderReadOnly(locked.string())), false);
}

TEST_F(FailedSaveTest, FullDiskKeepsTheOldFile) {
    // A file-size limit makes the write fail part way, the way a full disk does, even for root.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 64;
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    writeFile(folder / "old.eep", old);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    expectFailureKeepsOldFile(folder / "old.eep", msg::saveFailed((folder / "old.eep").string()), true);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
}

TEST_F(FailedSaveTest, MissingFolderOrAFileForAFolderIsNamed) {
    writeFile(folder / "plain", {});
    const std::pair<fs::path, std::string> cases[] = {
        {folder / "plain" / "new.eep", msg::notAFolder((folder / "plain").string())},
        {folder / "nowhere" / "new.eep", msg::folderMissing((folder / "nowhere").string())},
    };
    for (const auto& [name, reason] : cases) {
        view.expectBox(saveError(msg::saveRefused(name.string(), reason)));
        save(name);
        EXPECT_FALSE(progress.shown);
    }
    EXPECT_FALSE(fs::exists(folder / "nowhere"));
}

class SaveTargetTest : public SettingsFileTest {
  protected:
    /// Returns what the save writes: the encoded image up to the usage shown less one.
    Bytes expectedFile() {
        EncodeImage(form.record(), image);
        return imageBytes(image, 0, form.imageUsage() - 1);
    }
};

TEST_F(SaveTargetTest, DeviceNodeStaysADevice) {
    view.expectBox(OverwriteQuestion, Answer::Yes);
    save("/dev/null");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(SaveTargetTest, FifoStaysAFifoAndCarriesTheFile) {
    fillSettings();
    const fs::path pipe = folder / "pipe.eep";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    view.expectBox(OverwriteQuestion, Answer::Yes);
    dialogs.answers = {pipe.string()};
    SaveSettingsFile(form, image, progress, dialogs);

    Bytes received(70000);
    const ssize_t n = ::read(reader, received.data(), received.size());
    ::close(reader);
    received.resize(static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    EXPECT_EQ(received, expectedFile());
    EXPECT_TRUE(fs::is_fifo(pipe));
}

TEST_F(SaveTargetTest, FifoNobodyReadsFailsAtOnceInsteadOfFreezingTheWindow) {
    const fs::path pipe = folder / "pipe.eep";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ::alarm(20); // a save that waits for a reader would hang the test
    view.expectBox(OverwriteQuestion, Answer::Yes);
    view.expectBox(saveError(msg::saveFailed(pipe.string())));
    dialogs.answers = {pipe.string()};
    SaveSettingsFile(form, image, progress, dialogs);
    ::alarm(0);
    EXPECT_FALSE(progress.shown);
    EXPECT_TRUE(fs::is_fifo(pipe));
}

TEST_F(SaveTargetTest, AFileThatMustStayAFileRefusesAFifoOrDeviceWithoutWaitingAndIsAppendedInPlace) {
    const fs::path pipe = folder / "pipe.eep";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK); // a reader that would take the bytes
    ::alarm(20);                                                    // an opening that waits would hang
    for (const fs::path& stream : {pipe, fs::path("/dev/null")}) {
        SCOPED_TRACE(stream);
        try {
            ReplaceRegularFile(stream.string(), {'n', 'e', 'w'});
            ADD_FAILURE() << "written";
        } catch (const UnwritableTarget& refusal) {
            EXPECT_EQ(refusal.reason(), msg::TargetNotAFile);
        }
        EXPECT_THROW(OpenForAppending(stream.string()), UnwritableTarget);
    }
    ::alarm(0);
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0);
    ::close(reader);

    // A log: created, then appended to in place, through one's own link.
    fs::create_symlink(folder / "protokol.csv", folder / "odkaz.csv");
    for (const char* line : {"a\n", "b\n"}) {
        const int fd = OpenForAppending((folder / "odkaz.csv").string());
        ASSERT_GE(fd, 0);
        EXPECT_EQ(::write(fd, line, 2), 2);
        ::close(fd);
    }
    EXPECT_EQ(readFile(folder / "protokol.csv"), (Bytes{'a', '\n', 'b', '\n'}));
    EXPECT_TRUE(fs::is_symlink(folder / "odkaz.csv"));
}

TEST_F(SaveTargetTest, LinkToAMissingFileCreatesItAndStaysALink) {
    fs::create_directory(folder / "archiv");
    fs::create_symlink("archiv/chata.eep", folder / "link.eep");
    fs::create_symlink(folder / "link.eep", folder / "link-to-link.eep");

    const Bytes file = save(folder / "link-to-link.eep");

    EXPECT_EQ(file, expectedFile());
    EXPECT_TRUE(fs::is_symlink(folder / "link.eep"));
    EXPECT_TRUE(fs::is_symlink(folder / "link-to-link.eep"));
    EXPECT_EQ(readFile(folder / "archiv" / "chata.eep"), file);
    EXPECT_TRUE(view.boxes.empty());
}

/// The user another user is to the one running the tests; root can plant that user's links.
constexpr uid_t Nobody = 65534;

TEST(SaveThroughLinks, ALinkPlantedInASharedFolderIsRefusedAndOnesOwnIsFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "planting another user's link takes root";
    const fs::path folder = fs::temp_directory_path() / ("orb-links-" + std::to_string(::getpid()));
    fs::create_directories(folder / "shared");
    fs::permissions(folder / "shared", fs::perms::all | fs::perms::sticky_bit);
    writeFile(folder / "roots.eep", {'o', 'l', 'd'});
    const fs::path planted = folder / "shared" / "planted.eep";
    const fs::path dangling = folder / "shared" / "dangling.eep";
    const fs::path own = folder / "shared" / "own.eep";
    fs::create_symlink(folder / "roots.eep", planted);
    fs::create_symlink(folder / "created.eep", dangling);
    fs::create_symlink(folder / "roots.eep", own);
    ASSERT_EQ(::lchown(planted.c_str(), Nobody, Nobody), 0);
    ASSERT_EQ(::lchown(dangling.c_str(), Nobody, Nobody), 0);

    const std::string refusal = msg::foreignLink((folder / "shared").string());
    for (const fs::path& link : {planted, dangling}) {
        try {
            ReplaceFileContent(link.string(), {'n', 'e', 'w'});
            ADD_FAILURE() << link << " was followed";
        } catch (const UnwritableTarget& error) {
            EXPECT_EQ(error.reason(), refusal);
        }
    }
    EXPECT_EQ(readFile(folder / "roots.eep"), (Bytes{'o', 'l', 'd'}));
    EXPECT_FALSE(fs::exists(folder / "created.eep"));

    ReplaceFileContent(own.string(), {'n', 'e', 'w'});
    EXPECT_EQ(readFile(folder / "roots.eep"), (Bytes{'n', 'e', 'w'}));
    EXPECT_TRUE(fs::is_symlink(own));
    fs::remove_all(folder);
}

TEST_F(SettingsFileTest, AReplacedFileKeepsItsOwnerButNeverSetuidOrSetgid) {
    const fs::path name = folder / "program.eep";
    writeFile(name, {'o', 'l', 'd'});
    fs::permissions(name, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::set_uid | fs::perms::set_gid);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(name.c_str(), Nobody, Nobody), 0);
    }

    ReplaceFileContent(name.string(), {'n', 'e', 'w'});

    struct stat status {};
    ASSERT_EQ(::stat(name.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0750u);
    if (root) {
        EXPECT_EQ(status.st_uid, Nobody);
        EXPECT_EQ(status.st_gid, Nobody);
    }
    EXPECT_EQ(readFile(name), (Bytes{'n', 'e', 'w'}));
}

TEST_F(SettingsFileTest, SettingThatCannotBeEncodedEndsTheSaveWithoutAFile) {
    form.setText({TextField::tabDobaPlatnostiSMS}, "tri");
    view.expectBox(saveError(msg::EncodeFailed));
    save(folder / "bad.eep");
    EXPECT_TRUE(fs::is_empty(folder));
}

class LoadTest : public SettingsFileTest {
  protected:
    /// Writes the image of the start-up settings, changed by the edit, to a file.
    fs::path imageFile(
        const std::string& fileName, void (*edit)(Bytes&) = [](Bytes&) {}) {
        EepromImage scratch;
        const std::int32_t length = EncodeImage(SettingsRecord{}, scratch);
        Bytes bytes = imageBytes(scratch, 0, length);
        edit(bytes);
        writeFile(folder / fileName, bytes);
        return folder / fileName;
    }

    void expectUnchanged() {
        EXPECT_EQ(form.record(), SettingsRecord{});
        EXPECT_FALSE(progress.shown);
    }
};

TEST_F(LoadTest, FileFailingTheSignatureLeavesTheSettings) {
    const fs::path name = imageFile("foreign.eep", [](Bytes& b) { b[24] = 0x1B; });
    view.expectBox(loadBox(msg::notAnImage(name.string()), MessageIcon::Information));
    load(name);
    expectUnchanged();
}

TEST_F(LoadTest, EmptyFileIsNoImageEvenWhenTheBufferHoldsOne) {
    EncodeImage(SettingsRecord{}, image);
    writeFile(folder / "empty.eep", {});
    view.expectBox(loadBox(msg::notAnImage((folder / "empty.eep").string()), MessageIcon::Information));
    load(folder / "empty.eep");
    expectUnchanged();
}

TEST_F(LoadTest, UnreadableFilesLeaveImageAndSettingsUntouched) {
    fs::create_directory(folder / "a folder.eep");
    writeFile(folder / "long.eep", Bytes(70000, 0x11));
    writeFile(folder / "one too many.eep", Bytes(65537, 0x11));
    for (const char* name : {"missing.eep", "a folder.eep", "long.eep", "one too many.eep"}) {
        SCOPED_TRACE(name);
        const fs::path path = folder / name;
        view.expectBox(loadBox(msg::loadFailed(path.string()), MessageIcon::Critical));
        load(path);
        expectUnchanged();
        EXPECT_EQ(imageBytes(image, 0, EepromImage::Size), Bytes(EepromImage::Size, 0));
    }
}

TEST_F(LoadTest, FifoNobodyServesEndsTheLoadInsteadOfFreezingTheWindow) {
    const fs::path pipe = folder / "pipe.eep";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ::alarm(20); // a load that waits for a writer or for its bytes would hang the test
    // Nobody writes: the pipe reads as empty.
    view.expectBox(loadBox(msg::notAnImage(pipe.string()), MessageIcon::Information));
    load(pipe);
    expectUnchanged();
    // A writer that holds the pipe open and says nothing.
    const int silentWriter = ::open(pipe.c_str(), O_RDWR);
    ASSERT_GE(silentWriter, 0);
    view.expectBox(loadBox(msg::loadFailed(pipe.string()), MessageIcon::Critical));
    load(pipe);
    ::close(silentWriter);
    ::alarm(0);
    expectUnchanged();
}

TEST(ReadDescriptorContent, NonBlockingInputIsWaitedForUnlessTheCallerMustNotWait) {
    for (const StreamWait wait : {StreamWait::UntilReady, StreamWait::Never}) {
        int ends[2];
        ASSERT_EQ(::pipe2(ends, O_NONBLOCK), 0);
        // The writer's pause is longer than the second a window may wait for each piece.
        std::thread writer([fd = ends[1]] {
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            [[maybe_unused]] const ssize_t n = ::write(fd, "eep", 3);
            ::close(fd);
        });
        if (wait == StreamWait::UntilReady)
            EXPECT_EQ(ReadDescriptorContent(ends[0], 100, wait), (Bytes{'e', 'e', 'p'}));
        else
            EXPECT_THROW(ReadDescriptorContent(ends[0], 100, wait), std::system_error);
        writer.join();
        ::close(ends[0]);
    }
}

TEST_F(LoadTest, FifoWhoseWriterTricklesEndsTheLoadInsteadOfFreezingTheWindow) {
    const fs::path pipe = folder / "trickle.eep";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int writerEnd = ::open(pipe.c_str(), O_RDWR);
    ASSERT_GE(writerEnd, 0);
    // A byte every 0.3 s never leaves the second a piece may take idle, and never ends.
    std::atomic<bool> loaded = false;
    std::thread writer([&] {
        while (!loaded) {
            [[maybe_unused]] const ssize_t n = ::write(writerEnd, "e", 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
    });
    ::alarm(30); // a load without its overall limit would wait for the writer forever
    view.expectBox(loadBox(msg::loadFailed(pipe.string()), MessageIcon::Critical));
    load(pipe);
    ::alarm(0);
    loaded = true;
    writer.join();
    ::close(writerEnd);
    expectUnchanged();
}

TEST_F(LoadTest, ShorterFileKeepsTheBytesBeyondItsEnd) {
    for (std::int32_t i = 0; i < 1000; ++i)
        image.putByte(i, 0xAB);
    const fs::path name = imageFile("short.eep");
    const Bytes file = readFile(name);
    view.expectBox(loadBox(msg::loaded(name.string()), MessageIcon::Information));
    load(name);
    EXPECT_EQ(imageBytes(image, 0, static_cast<std::int32_t>(file.size())), file);
    EXPECT_EQ(imageBytes(image, static_cast<std::int32_t>(file.size()), 1000),
              Bytes(1000 - file.size(), 0xAB));
}

TEST_F(LoadTest, EveryTruncatedCopyIsRefusedWhileTheBufferHoldsTheWholeImage) {
    fillSettings();
    const fs::path whole = folder / "whole.eep";
    const Bytes file = save(whole);
    view.expectBox(loadBox(msg::loaded(whole.string()), MessageIcon::Information));
    load(whole);
    form.setText({TextField::tabJmenoStanice}, "Jinde");
    const SettingsRecord before = form.record();
    form.markSettingsKept(before); // as if saved: no question before each load

    const fs::path cut = folder / "cut.eep";
    for (std::size_t length = 1; length < file.size(); ++length) {
        SCOPED_TRACE(length);
        writeFile(cut, Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length)));
        view.expectBox(loadBox(msg::notAnImage(cut.string()), MessageIcon::Information));
        load(cut);
        EXPECT_EQ(form.record(), before);
    }
    EXPECT_EQ(progress.messages.back(), msg::loading(cut.string())) << "no decoding started";
}

TEST_F(LoadTest, FileFillingTheWholeBufferLoads) {
    const fs::path name = imageFile("full.eep", [](Bytes& b) { b.resize(EepromImage::Size, 0x5A); });
    view.expectBox(loadBox(msg::loaded(name.string()), MessageIcon::Information));
    load(name);
    EXPECT_EQ(image.getByte(EepromImage::Size - 1), 0x5A);
}

TEST_F(LoadTest, ValuesNoRuleAllowsAreNamedInOneBoxAndKeptAsLoaded) {
    // The option block is not covered by the header's checksum: validity 0 - 166 days, no blocks.
    const fs::path name = imageFile("outside.eep", [](Bytes& b) {
        b[33] = 0;
        b[39] = 0;
    });
    view.expectBox(loadBox(msg::loaded(name.string()), MessageIcon::Information));
    view.expectBox(
        loadBox(msg::outOfRule("tabDobaPlatnostiSMS: hodnota \"-166\" je mimo rozsah pole (1 až 30).\n"
                               "tabKOMUNIKPocetBloku: hodnota \"0\" je mimo rozsah pole (1 až 100)."),
                MessageIcon::Exclamation));
    load(name);
    EXPECT_EQ(form.record().tabDobaPlatnostiSMS, "-166");
    EXPECT_EQ(form.record().tabKOMUNIKPocetBloku, "0");
}

TEST_F(LoadTest, DecodeErrorShowsTheDecoderBoxAndNoSuccess) {
    // The telephone-number group starts at the address in header word 20; a length that is no hex pair.
    const fs::path name = imageFile("garbled.eep", [](Bytes& b) {
        const std::size_t phones = b[20] + 256u * b[21];
        b[phones] = 'G';
        b[phones + 1] = 'G';
    });
    view.expectBox({DecodeErrorTitle, DecodeErrorText, MessageIcon::Critical, MessageButtons::Ok});
    load(name);
    expectUnchanged();
    EXPECT_EQ(progress.messages.back(), DecodingMessage);
}

} // namespace
} // namespace orb
