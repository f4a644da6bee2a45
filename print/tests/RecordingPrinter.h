#pragma once

#include "print/PagePrinter.h"

#include <ostream>
#include <string>
#include <vector>

namespace orb::test {

/// A page printer with a fixed line height and one width for every character, that records where each line
/// and page break lands.
class RecordingPrinter : public PagePrinter {
  public:
    struct Line {
        int page;
        int x;
        int y;
        std::string text;
        bool operator==(const Line&) const = default;
        friend void PrintTo(const Line& line, std::ostream* out) {
            *out << "page " << line.page << " (" << line.x << ", " << line.y << ") \"" << line.text << '"';
        }
    };

    explicit RecordingPrinter(int pageHeight = 16000, int lineHeight = 160, int pageWidth = 12000,
                              int characterWidth = 50)
        : pageHeight_(pageHeight), lineHeight_(lineHeight), pageWidth_(pageWidth),
          characterWidth_(characterWidth) {}

    void setFont(const std::string& name, double points) override {
        fontName = name;
        fontPoints = points;
    }
    void setPosition(int x, int y) override {
        x_ = x;
        y_ = y;
    }
    int currentY() const override { return y_; }
    void printLine(const std::string& text) override {
        lines.push_back({page, x_, y_, text});
        y_ += lineHeight_;
    }
    int textHeight(const std::string&) const override { return lineHeight_; }
    int textWidth(const std::string& text) const override {
        int characters = 0;
        for (char byte : text)
            characters += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
        return characters * characterWidth_;
    }
    int pageHeight() const override { return pageHeight_; }
    int pageWidth() const override { return pageWidth_; }
    void newPage() override { ++page; }
    void endDocument() override { ended = true; }

    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const Line& line : lines)
            result.push_back(line.text);
        return result;
    }

    std::vector<Line> lines;
    std::string fontName;
    double fontPoints = 0;
    int page = 1;
    bool ended = false;

  private:
    int pageHeight_;
    int lineHeight_;
    int pageWidth_;
    int characterWidth_;
    int x_ = -1;
    int y_ = -1;
};

} // namespace orb::test
