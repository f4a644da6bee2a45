// The set-up program of the ORB and ORBTONE units: one main window over one EEPROM image for the run.
#include "image/EepromImage.h"
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
    window.show();
    orb::centreOnScreen(&window);
    return QApplication::exec();
}
