#include "cli/PortTable.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace orb {
namespace {

TEST(PortTable, LinesUpEveryDetailUnderItsHeading) {
    setenv("ORB_COM2", "/dev/ttyUSB0", 1);
    const std::string table = PortTable({
        {.device = "/dev/ttyUSB0",
         .description = "FT232R USB UART",
         .manufacturer = "FTDI",
         .serialNumber = "A50285BI",
         .vendorId = 0x0403,
         .productId = 0x6001},
        {.device = "/dev/ttyACM0", .description = "Modem Žluťoučký"},
    });
    unsetenv("ORB_COM2");
    EXPECT_EQ(table, "ZAŘÍZENÍ      PORT   POPIS            VÝROBCE  SÉRIOVÉ ČÍSLO  USB\n"
                     "/dev/ttyUSB0  COM 2  FT232R USB UART  FTDI     A50285BI       0403:6001\n"
                     "/dev/ttyACM0  -      Modem Žluťoučký  -        -              -\n");
    EXPECT_EQ(PortTable({}), "Žádný sériový port nebyl nalezen.\n");
}

} // namespace
} // namespace orb
