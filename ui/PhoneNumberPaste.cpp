#include "ui/PhoneNumberPaste.h"

#include "settings/TextRules.h"

#include <memory>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

namespace orb {
namespace {

/// Watches one field for its pastes and pastes cleaned text in their place.
class PasteCleaner : public QObject {
  public:
    PasteCleaner(QWidget* control, QLineEdit* edit) : QObject(edit), edit_(edit) {
        control->installEventFilter(this);
        // A drop-down list hands its keys to its field without the field's filters.
        if (control != edit) edit->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) return false;
            paste(QClipboard::Clipboard);
            return true;
        case QEvent::MouseButtonRelease:
            // X11 pastes the selection with the middle button.
            if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton ||
                !QApplication::clipboard()->supportsSelection())
                return false;
            paste(QClipboard::Selection);
            return true;
        case QEvent::ContextMenu:
            showMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        default:
            return false;
        }
    }

  private:
    void paste(QClipboard::Mode mode) {
        if (edit_->isReadOnly() || !edit_->isEnabled()) return;
        const std::string pasted = QApplication::clipboard()->text(mode).toStdString();
        edit_->insert(QString::fromStdString(PastedPhoneNumber(pasted)));
    }

    /// The field's own menu, whose paste pastes cleaned text. Its paste is the entry that names the paste
    /// key, as the menu shows it.
    void showMenu(const QPoint& at) {
        const std::unique_ptr<QMenu> menu(edit_->createStandardContextMenu());
        const QString pasteKey = "\t" + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        for (QAction* action : menu->actions()) {
            if (!action->text().endsWith(pasteKey)) continue;
            QObject::disconnect(action, &QAction::triggered, edit_, nullptr);
            QObject::connect(action, &QAction::triggered, this, [this] { paste(QClipboard::Clipboard); });
        }
        menu->exec(at);
    }

    QLineEdit* edit_;
};

} // namespace

void CleanPastedPhoneNumbers(QWidget* control, QLineEdit* edit) {
    new PasteCleaner(control, edit);
}

} // namespace orb
