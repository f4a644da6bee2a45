#pragma once

#include "ui/RowTables.h"

#include <functional>
#include <map>
#include <QHash>
#include <QObject>
#include <tuple>

class QWidget;

namespace orb {

/// The keys of the table tabs, as in a spreadsheet: Up and Down move to the same column's row above or
/// below, and Enter opens the row's entry dialog, as a double-click or its "Změnit" does.
class RowKeys : public QObject {
  public:
    using OpenDialog = std::function<void(RowDialogKind, int row)>;

    RowKeys(OpenDialog openDialog, QObject* parent);

    /// Takes the keys of a row's control in a table's column.
    void add(QWidget* control, RowDialogKind table, int column, int row);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using Cell = std::tuple<RowDialogKind, int, int>; ///< table, column, row

    OpenDialog openDialog_;
    QHash<QObject*, Cell> cells_;
    std::map<Cell, QWidget*> controls_;
};

} // namespace orb
