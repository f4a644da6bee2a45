// Measures orbctl series against paced simulated units of 2,048 bytes that present a new unit at once
// after each deactivation: units per hour over one port and over two ports, and what the series adds per
// unit beyond what orbctl write takes to greet, activate, write with read-back and deactivate one unit.
// Prints figures; asserts nothing.
//
//   series_bench [UNITS]    UNITS per run (default 6)
#include "tests/support/OrbsimProcess.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

/// One paced simulated unit of 2,048 bytes, replaced by a fresh unit at once after each deactivation.
std::unique_ptr<orb::test::OrbsimProcess> pacedUnits(const fs::path& eeprom) {
    return std::make_unique<orb::test::OrbsimProcess>(
        QStringList{"--memory", "2048", "--next-unit", "0", "--eeprom", QString::fromStdString(eeprom.string())});
}

/// Runs orbctl to its end and returns the seconds it took; a failure ends the benchmark.
double timedOrbctl(const QStringList& args) {
    QProcess orbctl;
    orbctl.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    orbctl.start(ORBCTL_PATH, args);
    if (!orbctl.waitForFinished(-1) || orbctl.exitStatus() != QProcess::NormalExit || orbctl.exitCode() != 0)
        throw std::runtime_error("orbctl " + args.join(' ').toStdString() + " failed:\n" +
                                 orbctl.readAll().toStdString());
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

/// A row per unit, differing in what differs between units of one site.
std::string unitRows(int units) {
    std::string csv = "tabJmenoStanice,tabPIN,tabTC[0]\n";
    for (int unit = 1; unit <= units; ++unit)
        csv += "CHATA-" + std::to_string(unit) + "," + std::to_string(1000 + unit) + ",+42060200000" +
               std::to_string(unit % 10) + "\n";
    return csv;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int units = argc > 1 ? std::atoi(argv[1]) : 6;
    if (units < 2) {
        std::fprintf(stderr, "series_bench [UNITS]: UNITS is at least 2\n");
        return 2;
    }
    const fs::path dir =
        fs::temp_directory_path() / ("series_bench." + std::to_string(QCoreApplication::applicationPid()));
    fs::create_directories(dir);
    try {
        const fs::path json = dir / "sablona.json", eep = dir / "sablona.eep", csv = dir / "jednotky.csv";
        writeText(json, "{}");
        writeText(csv, unitRows(units));
        timedOrbctl(
            {"import", QString::fromStdString(json.string()), "-o", QString::fromStdString(eep.string())});

        double write = 0;
        {
            const auto unit = pacedUnits(dir / "write.eeprom");
            for (int run = 0; run < 3; ++run)
                write +=
                    timedOrbctl({"write", QString::fromStdString(eep.string()), "--port", unit->port()}) / 3;
        }
        std::printf(
            "orbctl write of one 2,048-byte unit (greet, activate, write, verify, deactivate): %.2f s\n",
            write);

        for (const int ports : {1, 2}) {
            std::vector<std::unique_ptr<orb::test::OrbsimProcess>> simulated;
            QStringList args{"series", QString::fromStdString(json.string()), "--units",
                             QString::fromStdString(csv.string())};
            for (int port = 0; port < ports; ++port) {
                simulated.push_back(pacedUnits(dir / ("series" + std::to_string(port) + ".eeprom")));
                args << "--port" << simulated.back()->port();
            }
            const double seconds = timedOrbctl(args);
            std::printf("series of %d units over %d port%s: %.1f s, %.0f units per hour", units, ports,
                        ports == 1 ? "" : "s", seconds, units * 3600.0 / seconds);
            if (ports == 1) std::printf(", %.2f s per unit beyond orbctl write", seconds / units - write);
            std::printf("\n");
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "series_bench: %s\n", error.what());
        fs::remove_all(dir);
        return 1;
    }
    fs::remove_all(dir);
    return 0;
}
