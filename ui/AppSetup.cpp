#include "ui/AppSetup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

namespace orb {

void setUpApplication(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load("qtbase_cs", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);

    // Liberation Sans has Arial's metrics, so the captions fit the design's twips; DejaVu Sans stands in
    // where it is missing.
    QFont::insertSubstitutions("Arial CE", {"Liberation Sans", "DejaVu Sans"});
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "DejaVu Sans"});
    app.setFont(QFont("MS Sans Serif", 8));
}

} // namespace orb
