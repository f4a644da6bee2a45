// Grabs the four tabs of the main window, its entry dialogs, the about and the progress window as PNG
// files into a folder, for the documentation: orb_screenshots DIR
#include "common/ShownProgress.h"
#include "image/EepromImage.h"
#include "settings/SettingsForm.h"
#include "ui/AppSetup.h"
#include "ui/Hlavni.h"

#include <cstdio>
#include <memory>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace {

/// Fills a few rows the way a technician would, so the pictures show more than empty fields.
void fillExample(orb::SettingsForm& form) {
    using orb::FlagField;
    using orb::TextField;
    form.setText({TextField::tabJmenoStanice}, "Sklad Brno");
    form.setText({TextField::tabTC, 0}, "+420123456789");
    form.setFlag(FlagField::tabTCPrijem, 0, true);
    form.setFlag(FlagField::tabTCUdalost, 0, true);
    form.setText({TextField::tabINPNazev, 0}, "DVERE");
    form.setText({TextField::tabINPZap, 0}, "OTEVRENO");
    form.setText({TextField::tabINPVyp, 0}, "ZAVRENO");
    form.setFlag(FlagField::tabINPZpr, 0, true);
    form.setText({TextField::tabOUTNazev, 0}, "SVETLO");
    form.setText({TextField::tabOUTZap, 0}, "ZAP");
    form.setText({TextField::tabOUTVyp, 0}, "VYP");
}

bool save(QWidget* widget, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name + ".png");
    if (widget->grab().save(path)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

/// Opens a modal dialog through open, grabs it once it shows and closes it as Esc would.
bool grabModal(const std::function<void()>& open, const QDir& dir, const QString& name) {
    bool saved = false;
    QTimer::singleShot(200, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        saved = save(dialog, dir, name);
        static_cast<QDialog*>(dialog)->reject();
    });
    open();
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    orb::setUpApplication(app);

    const auto image = std::make_unique<orb::EepromImage>();
    orb::Hlavni window(*image);
    fillExample(window.form());
    window.show();
    QApplication::processEvents();

    const char* tabNames[] = {"tab-vseobecne", "tab-telefonni-cisla", "tab-vstupy", "tab-vystupy"};
    auto* tabs = window.findChild<QTabWidget*>("TabList");
    bool ok = true;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        QApplication::processEvents();
        ok = save(&window, dir, tabNames[tab]) && ok;
    }
    ok = grabModal([&] { window.openRowDialog(orb::RowDialogKind::Phone, 0); }, dir, "dialog-telcislo") && ok;
    ok = grabModal([&] { window.openRowDialog(orb::RowDialogKind::Input, 0); }, dir, "dialog-vstup") && ok;
    ok = grabModal([&] { window.openRowDialog(orb::RowDialogKind::Output, 0); }, dir, "dialog-vystup") && ok;
    ok =
        grabModal([&] { window.findChild<QPushButton*>("btInformace")->click(); }, dir, "info-program") && ok;

    {
        const orb::ShownProgress shown(window.progress(), "Načítám data z EEPROM do PC.", true);
        window.progress().setProgressValue(96, 256);
        QApplication::processEvents();
        ok = save(window.findChild<QWidget*>("Info"), dir, "progress") && ok;
    }
    return ok ? 0 : 1;
}
