#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace orb {

/// A print job that failed: no printer, an error while printing, an output file that cannot be written.
/// The text names the cause in Czech, ready to be shown to the user.
class PrintError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// One print job on a page printer, in twips (1/1440 inch) from the top left of the printable area.
/// Failures throw PrintError.
class PagePrinter {
  public:
    virtual ~PagePrinter() = default;
    /// Selects the font for the following lines.
    virtual void setFont(const std::string& name, double points) = 0;
    /// Moves the print position.
    virtual void setPosition(int x, int y) = 0;
    /// Returns the vertical print position.
    virtual int currentY() const = 0;
    /// Prints a text at the position and moves the position down by one line height.
    virtual void printLine(const std::string& text) = 0;
    /// Returns the height of the text in the current font; an empty text is one line high.
    virtual int textHeight(const std::string& text) const = 0;
    /// Returns how far the text reaches to the right when printed in the current font.
    virtual int textWidth(const std::string& text) const = 0;
    /// Returns the height of the printable area.
    virtual int pageHeight() const = 0;
    /// Returns the width of the printable area.
    virtual int pageWidth() const = 0;
    /// Ends the page and starts the next one.
    virtual void newPage() = 0;
    /// Ends the document and hands it to the printer.
    virtual void endDocument() = 0;
};

/// The printer dialog: the user picks a printer and starts a job, or cancels.
class PrinterDialog {
  public:
    virtual ~PrinterDialog() = default;
    /// Returns a ready print job under the title, which a PDF keeps as its own and a print queue shows, or
    /// nothing when the user cancels.
    virtual std::unique_ptr<PagePrinter> choosePrinter(const std::string& title) = 0;
};

} // namespace orb
