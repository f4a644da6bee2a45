#include "ui/AppSetup.h"

#include "ui/AltKeyGuard.h"
#include "ui/WindowFonts.h"
#include "ui/WindowPalette.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

namespace orb {

void setUpApplication(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load("qtbase_cs", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);

    // Liberation Sans has Arial's metrics; DejaVu Sans stands in where it is missing.
    QFont::insertSubstitutions("Arial CE", {"Liberation Sans", "DejaVu Sans"});
    app.setFont(windowFont());
    useWindowPalette();
    app.installEventFilter(new AltKeyGuard(&app));
}

} // namespace orb
