#include "print/qt/QtPagePrinter.h"

#include <cmath>
#include <fcntl.h>
#include <QFile>
#include <QFontMetricsF>
#include <QPageSize>
#include <sys/stat.h>
#include <unistd.h>

namespace orb {

namespace {

constexpr double TwipsPerInch = 1440.0;

/// The report asks for the Windows font "Arial CE"; Liberation Sans has Arial's metrics and Czech letters.
void substituteFonts() {
    static const bool done = [] {
        QFont::insertSubstitution("Arial CE", "Liberation Sans");
        return true;
    }();
    (void)done;
}

PrintError failure(const QString& cause) {
    return PrintError(cause.toStdString());
}

} // namespace

bool OpensWithoutWaiting(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0 || S_ISREG(status.st_mode)) return true;
    const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

QtPagePrinter::QtPagePrinter(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {
    substituteFonts();
    const bool toFile = printer_->outputFormat() == QPrinter::PdfFormat;
    if ((toFile && !OpensWithoutWaiting(printer_->outputFileName())) || !painter_.begin(printer_.get()))
        throw failure(deviceName() + " nelze otevřít.");
}

std::unique_ptr<QtPagePrinter> QtPagePrinter::toPdf(const QString& path, const QString& title) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setDocName(title);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return std::make_unique<QtPagePrinter>(std::move(printer));
}

QtPagePrinter::~QtPagePrinter() {
    if (painter_.isActive()) {
        printer_->abort();
        painter_.end();
    }
}

void QtPagePrinter::setFont(const std::string& name, double points) {
    font_ = QFont(QString::fromStdString(name));
    font_.setPointSizeF(points);
    painter_.setFont(font_);
}

void QtPagePrinter::setPosition(int x, int y) {
    x_ = x;
    y_ = y;
}

void QtPagePrinter::printLine(const std::string& text) {
    // The position is the top of the line; QPainter places text by its baseline.
    const QFontMetricsF metrics(font_, printer_.get());
    painter_.drawText(QPointF(toDevice(x_), toDevice(y_) + metrics.ascent()), QString::fromStdString(text));
    y_ += textHeight(text);
}

int QtPagePrinter::textHeight(const std::string&) const {
    return toTwips(QFontMetricsF(font_, printer_.get()).height());
}

int QtPagePrinter::textWidth(const std::string& text) const {
    const double advance =
        QFontMetricsF(font_, printer_.get()).horizontalAdvance(QString::fromStdString(text));
    return static_cast<int>(std::ceil(advance * TwipsPerInch / printer_->resolution()));
}

int QtPagePrinter::pageHeight() const {
    return toTwips(printer_->height());
}

int QtPagePrinter::pageWidth() const {
    return toTwips(printer_->width());
}

void QtPagePrinter::newPage() {
    if (!printer_->newPage()) throw failure("nelze začít novou stránku.");
}

void QtPagePrinter::endDocument() {
    if (!painter_.end()) throw failure("tiskovou úlohu nelze dokončit.");
}

double QtPagePrinter::toDevice(int twips) const {
    return twips * printer_->resolution() / TwipsPerInch;
}

int QtPagePrinter::toTwips(double device) const {
    return static_cast<int>(std::lround(device * TwipsPerInch / printer_->resolution()));
}

QString QtPagePrinter::deviceName() const {
    if (printer_->outputFormat() == QPrinter::PdfFormat) return "soubor '" + printer_->outputFileName() + "'";
    return "tiskárnu '" + printer_->printerName() + "'";
}

} // namespace orb
