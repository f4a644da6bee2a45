#pragma once

#include "settings/Fields.h"

#include <QString>
#include <span>

namespace orb {

/// The three row dialogs of the main window's tables.
enum class RowDialogKind { Phone, Input, Output };

enum class ColumnKind { RowLabel, Text, Check, Button };

/// One column of a table tab: a control array of eight controls, one in each row.
struct RowColumn {
    ColumnKind kind;
    const char* name; ///< the control array's name; row i's control is named rowControlName(name, i)
    /// What a screen reader calls the column's control after the row's label ("T3 telefonní číslo"), or
    /// before it for the row's button ("Změnit T3")
    const char* spoken;
    int left;  ///< twips from the left edge of the tab control
    int width; ///< twips; a row label without a width sizes itself, one with a width is centred in it
    TextField text = TextField::tabTC;       ///< the setting of a text column
    FlagField flag = FlagField::tabTCPrijem; ///< the setting of a check-box column
    bool hidden = false;
    bool disabled = false;
};

/// A caption over the rows of a table tab (column captions stand at 660, group captions at 420).
/// A caption with a width wraps within it and ends where the one-line column captions end.
struct ColumnCaption {
    const char* text;
    int left;
    int top;
    int width = 0;
    bool hidden = false;
    bool disabled = false;
};

/// A table tab: eight rows at top 1020 + 360 · i built from one column table.
struct RowTab {
    const char* title;     ///< with "&" before its access key
    const char* rowPrefix; ///< the row labels read prefix + row number: "T0" … "T7"
    RowDialogKind dialog;
    std::span<const RowColumn> columns;
    std::span<const ColumnCaption> captions;
    const char* footnote; ///< the line under the rows
    int footnoteLeft;
};

constexpr int RowTop = 1020;
constexpr int RowPitch = 360;
constexpr int FootnoteTop = 3900;

/// The tabs "Telefonní čísla", "Vstupy" and "Výstupy", in the order they stand in the window.
std::span<const RowTab> rowTabs();

/// The object name of row i's control of a control array: "tabTC_3" is tabTC(3).
QString rowControlName(const char* arrayName, int row);

} // namespace orb
