#include "ui/Hlavni.h"

#include "files/FileMessages.h"
#include "files/SettingsFile.h"
#include "files/UnsavedSettings.h"
#include "link/LinkMessages.h"
#include "settings/SettingsForm.h"
#include "settings/TextRules.h"
#include "ui/FieldFocus.h"
#include "ui/InfoProgram.h"
#include "ui/LayoutParts.h"
#include "ui/PaintedIcons.h"
#include "ui/PhoneNumberPaste.h"
#include "ui/RowDialog.h"
#include "ui/TextLimit.h"
#include "ui/Twips.h"
#include "ui/WindowMessages.h"
#include "ui/WindowPalette.h"

#include <algorithm>
#include <exception>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScopeGuard>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QUrl>

namespace orb {
namespace {

QColor colourOf(LabelColour colour) {
    return colour == LabelColour::Red ? AlertColour : ValueColour;
}

void showCaption(QLabel* label, const std::string& text, std::optional<LabelColour> colour = std::nullopt) {
    label->setText(QString::fromStdString(text));
    if (colour) setTextColour(label, colourOf(*colour));
}

/// The dialog that a double-click on a row's text field opens, if the field stands in a table.
std::optional<RowDialogKind> dialogOfField(TextField field) {
    for (const RowTab& tab : rowTabs())
        for (const RowColumn& column : tab.columns)
            if (column.kind == ColumnKind::Text && column.text == field) return tab.dialog;
    return std::nullopt;
}

/// The one local file that a drag carries; nothing for text, a link or several files.
std::optional<std::string> draggedFile(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
    return QFile::encodeName(urls.front().toLocalFile()).toStdString();
}

} // namespace

Hlavni::Hlavni(EepromImage& image, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      image_(image), activity_([this] { return leaveFieldForCommand(); },
                               [this] { runExchange(commands_.leaveProgrammingMode); }, [this] { close(); }),
      boxes_(this), info_(this, stop_), focus_(new FieldFocus(this)), fileDialogs_(this, [this] { showTitle(); }) {
    setObjectName("Hlavni");
    setWindowIcon(paintedIcon(Picture::Unit));
    setFixedSize(twips(9270), twips(6525));
    setAcceptDrops(true);
    buildConnection(this);
    buildInformation(this);
    buildTabs(this);
    buildCommands(this);
    buildHiddenFrames(this);
    buildFileParts();
    setKeyboardOrder();
    form_ = std::make_unique<SettingsForm>(*this);
    showAll();
    showTitle();
}

Hlavni::~Hlavni() = default;

void Hlavni::bindText(TextRef ref, QWidget* control, QLineEdit* edit) {
    textControl(ref) = {control, edit};
    // A dragged file's address is no setting: the drag goes on to the window, which loads the file.
    edit->setAcceptDrops(false);
    if (HoldsPhoneNumber(ref.field)) CleanPastedPhoneNumbers(control, edit);
    connect(edit, &QLineEdit::textEdited, this,
            [this, ref](const QString& text) { form_->setText(ref, text.toStdString()); });
    std::function<void()> doubleClick;
    if (const auto kind = dialogOfField(ref.field))
        doubleClick = [this, kind, ref] { openRowDialog(*kind, ref.row); };
    focus_->watch(
        control, edit, [this, ref] { return form_->leaveField(ref); }, std::move(doubleClick));
}

Hlavni::TextControl& Hlavni::textControl(TextRef ref) {
    return texts_[static_cast<int>(ref.field)][ref.row];
}

QCheckBox*& Hlavni::flagControl(FlagField field, int row) {
    return flags_[static_cast<int>(field)][row];
}

void Hlavni::showAll() {
    for (TextField field : AllTextFields)
        for (int row = 0; row < (isRowField(field) ? RowCount : 1); ++row)
            textChanged({field, row});
    for (FlagField field : AllFlagFields)
        for (int row = 0; row < (isRowField(field) ? RowCount : 1); ++row)
            flagChanged(field, row);
    for (ChoiceField field : AllChoiceFields)
        choiceChanged(field);
    displayChanged();
}

void Hlavni::refreshPorts() {
    if (!commands_.listPorts || activity_.commandRunning()) return;
    QComboBox* list = choices_[static_cast<int>(ChoiceField::tabPort)];
    list->clear();
    int widest = 0;
    for (const std::string& text : commands_.listPorts()) {
        list->addItem(QString::fromStdString(text));
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(list->count() - 1)));
    }
    list->setCurrentIndex(form_->choice(ChoiceField::tabPort));
    // The closed list keeps the window's layout; the open one is as wide as its longest entry, with room
    // for the entries' margins and a scroll bar.
    list->view()->setMinimumWidth(widest + list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                                  twips(240));
}

void Hlavni::openRowDialog(RowDialogKind kind, int row) {
    activity_.runDialog([this, kind, row] {
        std::unique_ptr<RowDialog>& dialog = rowDialogs_[static_cast<int>(kind)];
        if (!dialog) dialog = std::make_unique<RowDialog>(rowDialogTable(kind), *form_, this);
        dialog->edit(row);
        if (dialog->discarded()) dialog.reset();
        // A flag of a row whose number was emptied, in the dialog or before, is reported and cleared here.
        if (kind == RowDialogKind::Phone) form_->checkNumberFlags(row);
    });
}

bool Hlavni::leaveFieldForCommand() {
    // A rule's box is modal, but a drop or a timer may still come while it is open.
    return boxesOpen_ == 0 && focus_->leaveForCommand();
}

void Hlavni::runCommand(const std::function<void()>& command) {
    if (!command) return;
    activity_.runCommand([this, &command] { reportErrors(command); });
    // A write into the unit, like a file, now holds the settings: the mark of changes goes.
    showTitle();
}

void Hlavni::runExchange(const std::function<void()>& exchange) {
    if (exchange) runCommand([this, &exchange] { whilePagesLocked(exchange); });
}

void Hlavni::whilePagesLocked(const std::function<void()>& exchange) {
    pagesLocked_.emplace(tabs_, *focus_, [this](bool locked) { showCommandsLocked(locked); });
    const auto unlock = qScopeGuard([this] { pagesLocked_.reset(); });
    exchange();
}

void Hlavni::showCommandsLocked(bool locked) {
    commandsLocked_ = locked;
    // Only the progress window's Storno acts during an exchange; the close box, which the window system
    // draws, is ignored as before.
    const QList<QWidget*> commands = {btDEA_,
                                      btFileLoad_,
                                      btFileSave_,
                                      btTisk_,
                                      btInformace_,
                                      btKonec_,
                                      flagControl(FlagField::CheckWrite, 0)};
    for (QWidget* command : commands)
        command->setEnabled(!locked);
    displayChanged();
}

void Hlavni::reportErrors(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        ask({"ORB - chyba", std::string("Operaci se nepodařilo dokončit: ") + error.what(),
             MessageIcon::Critical, MessageButtons::Ok});
    }
}

void Hlavni::loadFromUnit() {
    // The read fills the image buffer, which saving the edits uses too: the question comes first.
    if (!OfferToSaveChangedSettings(*form_, image_, info_, fileDialogs_,
                                    std::string(link_messages::LoadTitle)))
        return;
    bool read = false;
    whilePagesLocked([this, &read] { read = commands_.loadFromUnit(); });
    if (read) fileDialogs_.settingsReadFromUnit();
}

void Hlavni::saveToUnit() {
    info_.askBeforeStorno([this] {
        return ask({std::string(link_messages::SaveTitle), std::string(window_messages::StopWriteQuestion),
                    MessageIcon::Exclamation, MessageButtons::YesNo, Answer::No}) == Answer::Yes;
    });
    const auto stopAtOnce = qScopeGuard([this] { info_.askBeforeStorno({}); });
    commands_.saveToUnit();
}

void Hlavni::showInfoProgram() {
    activity_.runDialog([this] {
        if (!infoProgram_) infoProgram_ = std::make_unique<InfoProgram>(this);
        infoProgram_->showModal();
    });
}

bool Hlavni::endConfirmed(MessageButtons buttons) {
    return activity_.decideEnd([this, buttons] {
        bool end = true;
        reportErrors([&] {
            end = OfferToSaveChangedSettings(*form_, image_, info_, fileDialogs_, file_messages::ExitTitle);
            if (!end || !commands_.confirmExit) return;
            // The unit may be taken out of programming mode on the way out.
            whilePagesLocked([&] { end = commands_.confirmExit(buttons); });
        });
        return end;
    });
}

void Hlavni::stopOnSignal() {
    activity_.requestStop([this] {
        info_.stopForGood();
        // The dialogs return from their own event loops once this event is handled; the last one out
        // finishes the stop.
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
                dialog->reject();
    });
}

void Hlavni::closeEvent(QCloseEvent* event) {
    // A transfer in progress ends first (its Storno is on the progress window); then the window may close.
    event->setAccepted(endConfirmed(MessageButtons::YesNo));
}

void Hlavni::dragEnterEvent(QDragEnterEvent* event) {
    if (draggedFile(event->mimeData()) && !activity_.commandRunning()) event->acceptProposedAction();
}

void Hlavni::dragMoveEvent(QDragMoveEvent* event) {
    if (draggedFile(event->mimeData()) && !activity_.commandRunning()) event->acceptProposedAction();
}

void Hlavni::dropEvent(QDropEvent* event) {
    const std::optional<std::string> name = draggedFile(event->mimeData());
    if (!name) return;
    event->acceptProposedAction();
    loadFile(*name);
}

Answer Hlavni::ask(const Message& message) {
    // While the program stops on a signal nobody answers: each box is closed as without a button, which
    // changes nothing and starts nothing.
    if (activity_.stopping()) return dismissedAnswer(message.buttons);
    const QScopedValueRollback open(boxesOpen_, boxesOpen_ + 1);
    const Answer answer = prompter_ ? prompter_->ask(message) : boxes_.ask(message);
    return activity_.stopping() ? dismissedAnswer(message.buttons) : answer;
}

void Hlavni::selectTab(int tab) {
    if (tab < 0 || tab >= tabs_->count()) return;
    focus_->whileReturning([this, tab] { tabs_->setCurrentIndex(tab); });
}

void Hlavni::focusField(TextRef field) {
    QWidget* control = textControl(field).control;
    if (pagesLocked_)
        pagesLocked_->returnFocusAfterwards(control);
    else
        focus_->returnFocus(control);
}

void Hlavni::textChanged(TextRef field) {
    if (!form_) return;
    if (QLineEdit* edit = textControl(field).edit) showText(edit, form_->text(field));
    showTitle();
}

void Hlavni::flagChanged(FlagField field, int row) {
    if (!form_) return;
    if (QCheckBox* check = flagControl(field, row)) check->setChecked(form_->flag(field, row));
    showTitle();
}

void Hlavni::choiceChanged(ChoiceField field) {
    if (!form_) return;
    if (QComboBox* combo = choices_[static_cast<int>(field)]) combo->setCurrentIndex(form_->choice(field));
    showTitle();
}

void Hlavni::displayChanged() {
    if (!form_) return;
    const FormDisplay& display = form_->display();
    showCaption(lblInfoProdukt_, display.lblInfoProdukt);
    showCaption(lblInfoVerze_, display.lblInfoVerze);
    showCaption(lblInfoModem_, display.lblInfoModem);
    showCaption(lblInfoPamSize_, display.lblInfoPamSize);
    showCaption(lblInfoPamUsage_, display.lblInfoPamUsage);
    showCaption(lblInfoPamFree_, display.lblInfoPamFree, display.lblInfoPamFreeColour);
    showCaption(tabDeAktivNapis_, display.tabDeAktivNapis, display.tabDeAktivNapisColour);
    // "&" gives each caption its access key: Alt+A activates, Alt+D deactivates.
    if (const QString caption = "&" + QString::fromStdString(display.btDEA); btDEA_->text() != caption) {
        if (!btDEA_->text().isEmpty()) deaCaptionChanged_.start();
        btDEA_->setText(caption);
    }
    choices_[static_cast<int>(ChoiceField::tabPort)]->setEnabled(display.tabPortEnabled && !commandsLocked_);
    btEEPROMLoad_->setEnabled(display.btEEPROMLoadEnabled && !commandsLocked_);
    btEEPROMSave_->setEnabled(display.btEEPROMSaveEnabled && !commandsLocked_);
    textControl({TextField::rtNotAuthorized}).control->setEnabled(display.rtNotAuthorizedEnabled);
    txtNotAuthorized_->setEnabled(display.rtNotAuthorizedEnabled);
    textControl({TextField::rtReCall}).control->setEnabled(display.existEnabled);
    textControl({TextField::eeExistTime}).control->setEnabled(display.existEnabled);
    for (QLabel* label : existLabels_)
        label->setEnabled(display.existEnabled);
    choices_[static_cast<int>(ChoiceField::tabKOMUNIKParita)]->setEnabled(display.tabKOMUNIKParitaEnabled);
    choices_[static_cast<int>(ChoiceField::tabKOMUNIKFrekvence)]->setEnabled(
        display.tabKOMUNIKFrekvenceEnabled);
}

} // namespace orb
