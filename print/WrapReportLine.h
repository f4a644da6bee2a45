#pragma once

#include "print/PagePrinter.h"
#include "print/ReportLines.h"

#include <string>
#include <vector>

namespace orb {

/// A report line cut into the pieces that fit across the paper, printed one under the other.
struct WrappedLine {
    std::vector<std::string> pieces; ///< their concatenation is the line's text, except for a cut rule
    int indent = 0;                  ///< how far right of the margin every piece after the first starts
};

/// Cuts a line into pieces no wider than `width` in the printer's current font, losing no character.
///
/// A piece ends after the last space that fits, unless that space lies in the first half of the piece's
/// room (a long word is then broken after its last character that fits); a space directly after the
/// fitting part stays at the end of the piece, past the width, where it shows nothing. Every piece holds
/// at least one character. Further pieces start under the first value, past the line's label, unless the
/// label takes more than half the width; they then start at the margin. A rule is cut to its first piece.
WrappedLine WrapReportLine(const PagePrinter& printer, const ReportLine& line, int width);

} // namespace orb
