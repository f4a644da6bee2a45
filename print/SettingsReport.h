#pragma once

#include "common/Prompter.h"
#include "print/PagePrinter.h"
#include "settings/SettingsForm.h"

#include <string>
#include <vector>

namespace orb {

/// The margin on the left and at the top of every page, in twips.
inline constexpr int ReportMargin = 200;

/// Prints one report line at the left margin and advances by the line's own height less 50 twips on top
/// of the printer's line feed, starting a new page when the position passes the bottom margin.
void PrintReportLine(PagePrinter& printer, const std::string& text);

/// Prints the report's lines as one job: the first line plainly, every further one through PrintReportLine.
void PrintReport(PagePrinter& printer, const std::vector<std::string>& lines);

/// Prints the report of the form's settings on a printer the user picks (btTisk); a cancelled dialog
/// prints nothing, a failed job is reported in one box and leaves the program running.
void PrintSettingsReport(const SettingsForm& form, PrinterDialog& dialog, Prompter& prompter);

} // namespace orb
