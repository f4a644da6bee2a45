#include "ui/RowDialog.h"

#include "settings/ImageSize.h"
#include "settings/SettingsForm.h"
#include "settings/TextRules.h"
#include "ui/FieldFocus.h"
#include "ui/PaintedIcons.h"
#include "ui/PhoneNumberPaste.h"
#include "ui/TextLimit.h"
#include "ui/Twips.h"

#include <algorithm>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

namespace orb {
namespace {

constexpr int CheckBoxMinHeight = 255; ///< the height a check box needs to show its box whole

} // namespace

RowDialog::RowDialog(const RowDialogTable& table, SettingsForm& form, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      table_(table), form_(form), focus_(new FieldFocus(this)) {
    build();
}

void RowDialog::build() {
    setObjectName(table_.name);
    setWindowIcon(paintedIcon(Picture::Unit));
    setFixedSize(twips(table_.clientWidth), twips(table_.clientHeight));

    std::vector<QWidget*> built;
    for (const DialogItem& item : table_.items) {
        built.push_back(buildItem(item, item.frame < 0 ? this : built[item.frame]));
        // A caption names the field under it, for its access key and for a screen reader.
        if (auto* caption = built.size() > 1 ? qobject_cast<QLabel*>(built[built.size() - 2]) : nullptr)
            if (item.kind == DialogItemKind::Text) caption->setBuddy(built.back());
    }

    auto* ok = new QPushButton("&Ok", this);
    ok->setObjectName("btOk");
    ok->setDefault(true);
    placeTwips(ok, 600, table_.buttonsTop, 1095, 375);
    connect(ok, &QPushButton::clicked, this, &RowDialog::accept);
    auto* storno = new QPushButton("&Storno", this);
    storno->setObjectName("btStorno");
    storno->setAutoDefault(false);
    placeTwips(storno, 2040, table_.buttonsTop, 1095, 375);
    connect(storno, &QPushButton::clicked, this, &RowDialog::reject);
}

QWidget* RowDialog::buildItem(const DialogItem& item, QWidget* parent) {
    QWidget* widget = nullptr;
    int height = item.height;
    switch (item.kind) {
    case DialogItemKind::Frame:
        widget = new QGroupBox(item.caption, parent);
        break;
    case DialogItemKind::Label:
        widget = new QLabel(item.caption, parent);
        break;
    case DialogItemKind::Rule: {
        auto* rule = new QFrame(parent);
        rule->setFrameShape(QFrame::HLine);
        rule->setFrameShadow(QFrame::Sunken);
        widget = rule;
        break;
    }
    case DialogItemKind::Text: {
        const auto field = std::get<TextField>(item.field);
        auto* edit = new QLineEdit(parent);
        limitText(edit, field);
        edit->setAcceptDrops(false); // a dragged file's address is no setting
        if (HoldsPhoneNumber(field)) CleanPastedPhoneNumbers(edit, edit);
        texts_.insert(static_cast<int>(field), edit);
        if (!firstText_) firstText_ = edit;
        focus_->watch(edit, edit, [this, field] { return checkField(field); });
        // The pulse length does not enter the image size.
        if (IsCountedText(field))
            connect(edit, &QLineEdit::textChanged, this, [this] { form_.updateImageSize(); });
        widget = edit;
        break;
    }
    case DialogItemKind::Check: {
        auto* check = new QCheckBox(item.caption, parent);
        checks_.insert(static_cast<int>(std::get<FlagField>(item.field)), check);
        height = std::max(height, CheckBoxMinHeight);
        widget = check;
        break;
    }
    }
    widget->setObjectName(item.name);
    placeTwips(widget, item.left, item.top, item.width, height);
    widget->setVisible(!item.hidden);
    widget->setEnabled(!item.disabled);
    return widget;
}

void RowDialog::edit(int row) {
    row_ = row;
    setWindowTitle(QString::fromUtf8(table_.captionPrefix) + QString::number(row));
    copyIn();
    cancelled_ = false;
    if (firstText_) {
        firstText_->setFocus();
        firstText_->selectAll(); // the dialog's showing gives it the focus without a field's focus-in
    }
    exec();
    if (!cancelled_) copyBack();
}

void RowDialog::copyIn() {
    for (const RowField& field : table_.copyOrder) {
        if (const auto* text = std::get_if<TextField>(&field))
            showText(texts_.value(static_cast<int>(*text)), form_.text({*text, row_}));
        else {
            const FlagField flag = std::get<FlagField>(field);
            checks_.value(static_cast<int>(flag))->setChecked(form_.flag(flag, row_));
        }
    }
}

void RowDialog::copyBack() {
    for (const RowField& field : table_.copyOrder) {
        if (const auto* text = std::get_if<TextField>(&field))
            form_.setText({*text, row_}, texts_.value(static_cast<int>(*text))->text().toStdString());
        else {
            const FlagField flag = std::get<FlagField>(field);
            form_.setFlag(flag, row_, checks_.value(static_cast<int>(flag))->isChecked());
        }
    }
}

bool RowDialog::checkField(TextField field) {
    // A rule whose turn comes after the dialog was closed has nothing left to guard.
    if (!isVisible()) return true;
    QLineEdit* edit = texts_.value(static_cast<int>(field));
    const auto partner = stateNamePartner(field);
    const std::string partnerText =
        partner ? texts_.value(static_cast<int>(*partner))->text().toStdString() : std::string();
    const RuleOutcome outcome =
        form_.checkDialogField({field, row_}, edit->text().toStdString(), partnerText);
    if (outcome.kind == RuleOutcome::Kind::Corrected) showText(edit, outcome.text);
    if (outcome.kind != RuleOutcome::Kind::Rejected) return true;
    focus_->returnFocus(edit);
    return false;
}

void RowDialog::accept() {
    // Ok may come before the field's rule had its turn: Enter presses it with the focus still in the field,
    // and a quick click may press it before the rule of the field it took the focus from has run. A
    // refusal keeps the dialog open with the focus back in the refused field.
    if (!focus_->leaveForCommand()) return;
    cancelled_ = false;
    QDialog::accept();
}

void RowDialog::reject() {
    cancelled_ = true;
    QDialog::reject();
}

void RowDialog::closeEvent(QCloseEvent* event) {
    discarded_ = true;
    QDialog::closeEvent(event);
}

} // namespace orb
