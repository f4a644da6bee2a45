#pragma once

#include "settings/Fields.h"
#include "ui/RowTables.h"

#include <span>
#include <variant>

namespace orb {

/// The main-window control of a row that a dialog field is copied from and back to.
using RowField = std::variant<TextField, FlagField>;

enum class DialogItemKind { Frame, Label, Text, Check, Rule };

/// One control of an entry dialog; positions in twips, relative to its frame or to the dialog.
struct DialogItem {
    DialogItemKind kind;
    const char* name;    ///< object name; empty for plain captions and rules
    const char* caption; ///< text of a label, check box or frame
    int frame;           ///< index of the enclosing frame in the same table, or -1 for the dialog itself
    int left, top, width, height;
    RowField field = TextField::tabTC; ///< a text or check box's counterpart on the main window
    bool hidden = false;
    bool disabled = false; ///< a disabled frame greys everything it holds
};

/// The layout of one entry dialog and the order in which its fields are copied in and back.
struct RowDialogTable {
    const char* name;          ///< "TelCislo", "Vstup", "Vystup"
    const char* captionPrefix; ///< the caption is this followed by the row number
    int clientWidth, clientHeight, buttonsTop;
    std::span<const DialogItem> items;
    std::span<const RowField> copyOrder;
};

/// The table of the dialog that edits a row of the given kind.
const RowDialogTable& rowDialogTable(RowDialogKind kind);

} // namespace orb
