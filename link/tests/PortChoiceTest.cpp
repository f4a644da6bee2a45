// The entries of the port list and the COM n a device is reachable as.
#include "link/PortChoice.h"

#include "link/PortDevice.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace orb {
namespace {

namespace fs = std::filesystem;

/// Clears ORB_COM1..4 for the test and again at its end, so the machine's own settings do not leak in.
class PortChoiceTest : public testing::Test {
  protected:
    PortChoiceTest() { clearAssignments(); }
    ~PortChoiceTest() override {
        clearAssignments();
        fs::remove_all(dir);
    }
    static void clearAssignments() {
        for (const char* name : {"ORB_COM1", "ORB_COM2", "ORB_COM3", "ORB_COM4"})
            unsetenv(name);
    }
    /// Creates an empty file standing in for a device node.
    std::string device(const std::string& name) const {
        fs::create_directories(dir);
        std::ofstream(dir / name).flush();
        return (dir / name).string();
    }

    fs::path dir = fs::temp_directory_path() / ("orb-ports-" + std::to_string(::getpid()));
};

std::vector<std::string> Texts(const std::vector<PortChoice>& choices) {
    std::vector<std::string> texts;
    for (const PortChoice& choice : choices)
        texts.push_back(choice.text());
    return texts;
}

TEST_F(PortChoiceTest, ComPortsFirstThenEveryDetectedPortThatIsNoneOfThem) {
    const std::string ttyUsb = device("ttyUSB0");
    const std::string ttyAcm = device("ttyACM0");
    const std::string byId = (dir / "usb-FTDI_FT232R-if00-port0").string();
    fs::create_symlink(ttyUsb, byId);
    setenv("ORB_COM2", byId.c_str(), 1); // COM 2 is the adapter, named by its symbolic link
    setenv("ORB_COM3", "/dev/ttyS7", 1);

    const std::vector<PortChoice> choices = PortChoices({
        {.device = ttyUsb, .description = "FT232R USB UART", .manufacturer = "FTDI"},
        {.device = "/dev/ttyS7"},
        {.device = ttyAcm, .description = "Modem"},
        {.device = "/dev/ttyS4"},
    });
    EXPECT_EQ(Texts(choices),
              (std::vector<std::string>{"COM 1", "COM 2", "COM 3", "COM 4", "ttyACM0 (Modem)", "ttyS4"}));
    EXPECT_EQ(choices[4].name(), ttyAcm);
    EXPECT_EQ(choices[4].device(), ttyAcm);
    EXPECT_EQ(choices[2].name(), "COM 3");
    EXPECT_EQ(ComNumberOf(ttyUsb), 2);
    EXPECT_EQ(ComNumberOf(ttyAcm), std::nullopt);
}

TEST_F(PortChoiceTest, ComPortFindsItsDeviceWhenItOpens) {
    const std::vector<PortChoice> choices = PortChoices({});
    EXPECT_EQ(choices[3].device(), "/dev/ttyS3");
    setenv("ORB_COM4", "/dev/pts/9", 1);
    EXPECT_EQ(choices[3].device(), "/dev/pts/9");
    EXPECT_EQ(choices[3].name(), "COM 4");
}

TEST_F(PortChoiceTest, ReachablePortsAddTheAssignedDevicesThatExist) {
    const std::string pty = device("pty");
    const std::string adapter = device("ttyUSB0");
    setenv("ORB_COM1", pty.c_str(), 1);
    setenv("ORB_COM2", (dir / "missing").c_str(), 1);
    setenv("ORB_COM3", adapter.c_str(), 1);

    const std::vector<DetectedPort> ports = ReachablePorts({{.device = adapter, .description = "FT232R"}});
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].description, "FT232R");
    EXPECT_EQ(ports[1], DetectedPort{.device = pty});
}

TEST_F(PortChoiceTest, TheGroupThatMayUseADeviceIsNamed) {
    const std::string port = device("ttyUSB0");
    const std::string ownGroup = ::getgrgid(::getegid())->gr_name; // the group a new file gets here
    fs::permissions(port, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write);
    EXPECT_EQ(AccessGroupOf(port), ownGroup);
    fs::permissions(port, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(AccessGroupOf(port), std::nullopt); // the group may not write: no use joining it
    EXPECT_EQ(AccessGroupOf((dir / "missing").string()), std::nullopt);
}

} // namespace
} // namespace orb
