#include "cli/device/PortTable.h"

#include "cli/device/PortJson.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace orb {
namespace {

/// An adapter that COM 2 names, with every detail, and a modem that names itself in bytes of every kind.
class Ports : public testing::Test {
  protected:
    Ports() { setenv("ORB_COM2", "/dev/ttyUSB0", 1); }
    ~Ports() override { unsetenv("ORB_COM2"); }

    const std::vector<DetectedPort> ports{
        {.device = "/dev/ttyUSB0",
         .description = "FT232R USB UART",
         .manufacturer = "FTDI",
         .serialNumber = "A50285BI",
         .vendorId = 0x0403,
         .productId = 0x6001},
        {.device = "/dev/ttyACM0", .description = "Modem Žluťoučký\xff\x1b[2J"},
    };
};

TEST_F(Ports, TableLinesUpEveryDetailUnderItsHeading) {
    EXPECT_EQ(PortTable(ports),
              "ZAŘÍZENÍ      PORT   POPIS                         VÝROBCE  SÉRIOVÉ ČÍSLO  USB\n"
              "/dev/ttyUSB0  COM 2  FT232R USB UART               FTDI     A50285BI       0403:6001\n"
              "/dev/ttyACM0  -      Modem Žluťoučký\\xFF\\u001B[2J  -        -              -\n");
    EXPECT_EQ(PortTable({}), "Žádný sériový port nebyl nalezen.\n");
}

TEST_F(Ports, JsonGivesEveryDetailOrNullAndAlwaysParses) {
    EXPECT_EQ(nlohmann::json::parse(PortJson(ports)), nlohmann::json::parse(R"([
        {"device": "/dev/ttyUSB0", "com": 2, "description": "FT232R USB UART", "manufacturer": "FTDI",
         "serialNumber": "A50285BI", "usbVendorId": "0403", "usbProductId": "6001"},
        {"device": "/dev/ttyACM0", "com": null, "description": "Modem Žluťoučký\ufffd\u001b[2J",
         "manufacturer": null, "serialNumber": null, "usbVendorId": null, "usbProductId": null}])"));
    EXPECT_EQ(PortJson({}), "[]\n");
}

} // namespace
} // namespace orb
