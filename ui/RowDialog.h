#pragma once

#include "ui/RowDialogTables.h"

#include <QDialog>
#include <QHash>

class QCheckBox;
class QLineEdit;

namespace orb {

class FieldFocus;
class SettingsForm;

/// An entry dialog (TelCislo, Vstup or Vystup) that edits a copy of one row of the main window's table.
/// Ok copies the row back through the form's setters, so every changed value runs its reactions;
/// Storno, Esc and the close button change nothing. The dialog's cancel is its own: it never reaches an
/// exchange with the unit, which only the progress window's Storno may stop.
class RowDialog : public QDialog {
  public:
    RowDialog(const RowDialogTable& table, SettingsForm& form, QWidget* owner);

    /// Copies row i in, shows the dialog modally and copies the row back if the user confirms.
    void edit(int row);

    /// True once the close button closed the dialog: it is made afresh for the next row.
    bool discarded() const { return discarded_; }

    void accept() override;
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void build();
    QWidget* buildItem(const DialogItem& item, QWidget* parent);
    void copyIn();
    void copyBack();
    /// Runs the rule of a field as leaving it does; false when it refused the text.
    bool checkField(TextField field);

    const RowDialogTable& table_;
    SettingsForm& form_;
    bool cancelled_ = false;
    FieldFocus* focus_;
    int row_ = 0;
    bool discarded_ = false;
    QHash<int, QLineEdit*> texts_;  ///< by TextField
    QHash<int, QCheckBox*> checks_; ///< by FlagField
    QLineEdit* firstText_ = nullptr;
};

} // namespace orb
