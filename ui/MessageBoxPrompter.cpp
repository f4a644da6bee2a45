#include "ui/MessageBoxPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSpacerItem>

namespace orb {
namespace {

QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return QMessageBox::Ok;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

/// A message box that Esc and its close box close without pressing a button. Qt's own would press the only
/// button of an OK-only box, and so start what the box asks to confirm.
class MessageBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Cancel) && !hasEscapeAnswer()) return reject();
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (hasEscapeAnswer()) return QMessageBox::closeEvent(event);
        QDialog::closeEvent(event); // rejects
    }

  private:
    /// A box with No or Cancel answers Esc with it, as Qt does.
    bool hasEscapeAnswer() const { return button(QMessageBox::No) || button(QMessageBox::Cancel); }
};

/// Pixels of a title bar besides its text: the window's icon and its buttons, with some air.
constexpr int TitleBarRoom = 120;

/// Makes a box with a short text wide enough for its title: the window system cuts a title that does not
/// fit ("ORB... yba"). The title bar's font is the window manager's; a bold window font stands for it.
void fitTitle(QMessageBox& box) {
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + TitleBarRoom;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const QMargins margins = grid->contentsMargins();
    grid->addItem(new QSpacerItem(width - margins.left() - margins.right(), 0, QSizePolicy::Minimum,
                                  QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

Answer answerOf(const QMessageBox& box, MessageButtons buttons) {
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked) return dismissedAnswer(buttons);
    switch (box.standardButton(clicked)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return Answer::Ok;
    }
}

} // namespace

Answer MessageBoxPrompter::ask(const Message& message) {
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = QApplication::activeWindow();
    if (!parent) parent = owner_;
    MessageBox box(iconOf(message.icon), QString::fromStdString(message.title),
                   QString::fromStdString(message.text), buttonsOf(message.buttons), parent);
    // The first button is the default, as the user expects of these boxes, unless the question names
    // another: Enter must not do what cannot be undone.
    if (message.buttons != MessageButtons::Ok)
        box.setDefaultButton(message.defaultAnswer == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    // The program's questions offer "Storno", the word its users know, where Qt's Czech says "Zrušit".
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel)) cancel->setText("Storno");
    fitTitle(box);
    box.exec();
    return answerOf(box, message.buttons);
}

} // namespace orb
