#include "ui/TextLimit.h"

#include <algorithm>
#include <QLineEdit>

namespace orb {

void limitText(QLineEdit* edit, TextField field) {
    const int limit = maxTextLength(field);
    edit->setProperty(TextLimitProperty, limit);
    if (limit > 0) edit->setMaxLength(limit);
}

void showText(QLineEdit* edit, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (edit->text() == value) return;
    const int limit = edit->property(TextLimitProperty).toInt();
    if (limit > 0) edit->setMaxLength(std::max(limit, static_cast<int>(value.size())));
    edit->setText(value);
    edit->setCursorPosition(0); // a text too long for the field shows its beginning
}

} // namespace orb
