// The set-up program of the ORB and ORBTONE units: one main window over one EEPROM image for the run,
// with the serial link and the printer plugged into the window's commands.
#include "image/EepromImage.h"
#include "link/DeviceLink.h"
#include "link/qt/QtSerialPort.h"
#include "link/qt/QtWaiter.h"
#include "print/SettingsReport.h"
#include "print/qt/QtPrinterDialog.h"
#include "ui/AppSetup.h"
#include "ui/Hlavni.h"
#include "ui/ScreenCentre.h"

#include <memory>
#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("orb");
    QApplication::setDesktopFileName("orb");
    orb::setUpApplication(app);

    const auto image = std::make_unique<orb::EepromImage>();
    orb::Hlavni window(*image);
    orb::QtSerialPort port;
    orb::QtWaiter waiter;
    orb::DeviceLink link(window.form(), *image, window.progress(), port, waiter);

    window.commands() = {
        .dea = [&] { link.onDeaClicked(); },
        .loadFromUnit = [&] { link.loadFromUnit(); },
        .saveToUnit = [&] { link.saveToUnit(); },
        .print =
            [&] {
                orb::QtPrinterDialog printerDialog(&window);
                orb::PrintSettingsReport(window.form(), printerDialog, window.form().view());
            },
        .confirmExit = [&] { return link.confirmExit(); },
        .beforeClose = [&] { link.confirmClose(); },
    };

    window.show();
    orb::centreOnScreen(&window);
    return QApplication::exec();
}
