#include "print/WrapReportLine.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace orb {

namespace {

bool startsCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

/// Returns the byte offset after each character of the text from `begin` on.
std::vector<std::size_t> characterEnds(const std::string& text, std::size_t begin) {
    std::vector<std::size_t> ends;
    for (std::size_t i = begin + 1; i <= text.size(); ++i)
        if (i == text.size() || startsCharacter(text[i])) ends.push_back(i);
    return ends;
}

/// Measures text[begin, end).
int widthOf(const PagePrinter& printer, const std::string& text, std::size_t begin, std::size_t end) {
    return printer.textWidth(text.substr(begin, end - begin));
}

/// Returns where the piece that starts at `begin` ends, given `room` twips across.
std::size_t pieceEnd(const PagePrinter& printer, const std::string& text, std::size_t begin, int room) {
    const std::vector<std::size_t> ends = characterEnds(text, begin);
    if (ends.empty()) return begin; // an empty line is one empty piece
    // The widest run of whole characters that fits; at least one, so that every piece moves on.
    const auto fits = [&](std::size_t end) { return widthOf(printer, text, begin, end) <= room; };
    const auto firstTooWide = std::partition_point(ends.begin() + 1, ends.end(), fits);
    const std::size_t end = *(firstTooWide - 1);
    if (end == text.size()) return end;
    if (text[end] == ' ') return end + 1;
    const std::size_t space = std::string_view(text).substr(begin, end - begin).rfind(' ');
    if (space != std::string_view::npos && 2 * widthOf(printer, text, begin, begin + space + 1) >= room)
        return begin + space + 1;
    return end;
}

} // namespace

WrappedLine WrapReportLine(const PagePrinter& printer, const ReportLine& line, int width) {
    const std::string& text = line.text;
    WrappedLine wrapped;
    std::size_t end = pieceEnd(printer, text, 0, width);
    wrapped.pieces.push_back(text.substr(0, end));
    if (line.rule) return wrapped;

    const int labelWidth = widthOf(printer, text, 0, std::min(line.labelLength, text.size()));
    if (2 * labelWidth <= width) wrapped.indent = labelWidth;
    while (end < text.size()) {
        const std::size_t begin = end;
        end = pieceEnd(printer, text, begin, width - wrapped.indent);
        wrapped.pieces.push_back(text.substr(begin, end - begin));
    }
    return wrapped;
}

} // namespace orb
