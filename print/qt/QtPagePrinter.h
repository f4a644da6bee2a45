#pragma once

#include "print/PagePrinter.h"

#include <memory>
#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QString>

namespace orb {

/// Tells whether a PDF can be written to the path without the program waiting there: a FIFO that no
/// program reads, or a device that is not ready, would hold the print job, and the window, for good.
bool OpensWithoutWaiting(const QString& path);

/// A print job painted with QPainter on a QPrinter, a real printer or a PDF file.
class QtPagePrinter : public PagePrinter {
  public:
    /// Starts the job on the printer; throws PrintError when the printer or its file cannot be opened.
    explicit QtPagePrinter(std::unique_ptr<QPrinter> printer);
    /// Starts a job that writes an A4 PDF file with the title.
    static std::unique_ptr<QtPagePrinter> toPdf(const QString& path, const QString& title = {});
    /// Abandons a job that did not reach endDocument.
    ~QtPagePrinter() override;

    void setFont(const std::string& name, double points) override;
    void setPosition(int x, int y) override;
    int currentY() const override { return y_; }
    void printLine(const std::string& text) override;
    /// Returns one line height: report lines hold no line breaks.
    int textHeight(const std::string& text) const override;
    /// Returns the text's advance, rounded up to whole twips so that a text measured to fit does fit.
    int textWidth(const std::string& text) const override;
    int pageHeight() const override;
    int pageWidth() const override;
    void newPage() override;
    void endDocument() override;

  private:
    double toDevice(int twips) const;
    int toTwips(double device) const;
    QString deviceName() const;

    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    QFont font_;
    int x_ = 0;
    int y_ = 0;
};

} // namespace orb
