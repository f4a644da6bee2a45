// The set-up program of the ORB and ORBTONE units: one main window over one EEPROM image for the run,
// with the serial link and the printer plugged into the window's commands.
#include "image/EepromImage.h"
#include "link/DeviceLink.h"
#include "link/PortChoice.h"
#include "link/qt/DetectSerialPorts.h"
#include "link/qt/QtSerialPort.h"
#include "link/qt/QtWaiter.h"
#include "link/qt/StopSignals.h"
#include "print/qt/QtPrinterDialog.h"
#include "print/SettingsReport.h"
#include "ui/AppSetup.h"
#include "ui/Hlavni.h"
#include "ui/ScreenCentre.h"
#include "ui/StartOptions.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <QApplication>
#include <QTimer>
#include <string>
#include <vector>

namespace {

/// Ends the program with the graphical-session hint when Qt finds no display it can use after all (a
/// DISPLAY that names no running server); Qt would abort.
void exitWithoutDisplay(QtMsgType type, const QMessageLogContext&, const QString& message) {
    std::cerr << message.toStdString() << std::endl;
    if (type != QtFatalMsg) return;
    std::cerr << orb::NoDisplayText();
    std::_Exit(1);
}

/// Prints what --help or --version asks for; tells whether either was asked.
bool printedHelpOrVersion(const orb::StartOptions& options) {
    if (!options.help && !options.version) return false;
    std::cout << (options.help ? orb::StartHelpText() : orb::StartVersionText());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const orb::StartOptions given = orb::ParseStartOptions(args);
    if (given.error.empty() && printedHelpOrVersion(given)) return 0;
    if (!orb::HasDisplay(args)) {
        // Without a display Qt takes no options of its own, so a wrong option is the user's to hear of.
        if (!given.error.empty()) {
            std::cerr << "orb: " << given.error << std::endl;
            return 2;
        }
        std::cerr << orb::NoDisplayText();
        return 1;
    }

    qInstallMessageHandler(exitWithoutDisplay);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    QApplication::setApplicationName("orb");
    QApplication::setDesktopFileName("orb");

    // Qt has taken its own options; what is left is the program's.
    std::vector<std::string> ownArgs;
    for (const QString& arg : QApplication::arguments().mid(1))
        ownArgs.push_back(arg.toStdString());
    const orb::StartOptions options = orb::ParseStartOptions(ownArgs);
    if (!options.error.empty()) {
        std::cerr << "orb: " << options.error << std::endl;
        return 2;
    }
    if (printedHelpOrVersion(options)) return 0; // after options of Qt's own: orb -style fusion --help
    orb::setUpApplication(app);

    const auto image = std::make_unique<orb::EepromImage>();
    orb::Hlavni window(*image);
    orb::QtSerialPort port;
    orb::QtWaiter waiter;
    orb::DeviceLink link(window.form(), *image, window.progress(), window.stop(), port, waiter);

    window.commands() = {
        .dea = [&] { link.onDeaClicked(); },
        .loadFromUnit = [&] { return link.loadFromUnit() == orb::LinkOutcome::Done; },
        .saveToUnit = [&] { link.saveToUnit(); },
        .print =
            [&] {
                orb::QtPrinterDialog printerDialog(&window);
                orb::PrintSettingsReport(window.form(), printerDialog, window.form().view(),
                                         window.settingsFileName());
            },
        .confirmExit = [&](orb::MessageButtons buttons) { return link.confirmExit(buttons); },
        .listPorts =
            [&] {
                link.setPorts(orb::PortChoices(orb::DetectSerialPorts()));
                std::vector<std::string> texts;
                for (const orb::PortChoice& port : link.ports())
                    texts.push_back(port.text());
                return texts;
            },
        .leaveProgrammingMode = [&] { link.leaveProgrammingMode(); },
    };
    window.refreshPorts();
    // A logout or a service manager ends the program with SIGTERM or SIGHUP: the unit is left in order.
    const orb::StopSignals stopSignals([&window] { window.stopOnSignal(); });

    // Placed before it shows: the window manager then puts the frame, title bar included, where asked,
    // while a window moved once shown may have its client area put there and its title bar above it.
    orb::centreOnScreen(&window);
    window.show();
    if (options.file) {
        // The dialog of the load command names files by their whole path; so does the command line.
        const std::string file = std::filesystem::absolute(*options.file).string();
        QTimer::singleShot(0, &window, [&window, file] { window.loadFile(file); });
    }
    return QApplication::exec();
}
