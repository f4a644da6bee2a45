// Paints the program's icon as PNG files in the sizes a desktop asks for, laid out as the hicolor icon
// theme wants them: orb_icons DIR writes DIR/<n>x<n>/apps/orb.png. The build runs it for the installation.
#include "ui/PaintedIcons.h"

#include <cstdio>
#include <cstdlib>
#include <QDir>
#include <QGuiApplication>
#include <QImage>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orb_icons DIR\n");
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    const QDir theme(QString::fromLocal8Bit(argv[1]));
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        orb::paintPicture(painter, orb::Picture::Unit, QRectF(0, 0, size, size));
        painter.end();
        if (!theme.mkpath(folder) || !image.save(theme.filePath(folder + "/orb.png"))) {
            std::fprintf(stderr, "orb_icons: cannot write %s\n", qPrintable(theme.filePath(folder)));
            return 1;
        }
    }
    return 0;
}
