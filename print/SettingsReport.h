#pragma once

#include "common/Prompter.h"
#include "print/PagePrinter.h"
#include "print/ReportLines.h"
#include "settings/SettingsForm.h"

#include <vector>

namespace orb {

/// The margin on every side of the page, in twips.
inline constexpr int ReportMargin = 200;

/// Prints one report line at the left margin, continued on further lines (one line height apart, under its
/// first value) where it is wider than the room between the margins; then advances by the line's own height
/// less 50 twips. A new page starts whenever the position passes the bottom margin, also inside a line.
void PrintReportLine(PagePrinter& printer, const ReportLine& line);

/// Prints the report's lines as one job: the first line plainly, every further one through PrintReportLine.
void PrintReport(PagePrinter& printer, const std::vector<ReportLine>& lines);

/// Prints the report of the form's settings on a printer the user picks (btTisk), titled with the name of
/// the file they came from (empty: none) or their station; a cancelled dialog prints nothing, a failed job
/// is reported in one box and leaves the program running.
void PrintSettingsReport(const SettingsForm& form, PrinterDialog& dialog, Prompter& prompter,
                         const std::string& fileName = {});

} // namespace orb
