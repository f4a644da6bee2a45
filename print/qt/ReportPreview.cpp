// Renders the report of the start-up settings to a PDF file, for the documentation.
#include "print/qt/QtPagePrinter.h"
#include "print/ReportLines.h"
#include "print/SettingsReport.h"

#include <cstdio>
#include <cstdlib>
#include <QGuiApplication>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.pdf\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        orb::PrintReport(*orb::QtPagePrinter::toPdf(QString::fromLocal8Bit(argv[1])),
                         orb::BuildReport(orb::SettingsRecord{}));
    } catch (const orb::PrintError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
