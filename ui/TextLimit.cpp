#include "ui/TextLimit.h"

#include <algorithm>
#include <QLineEdit>
#include <QValidator>

namespace orb {
namespace {

/// Qt's maximum length counts UTF-16 units, so a paste cut at the limit may keep the first half of a
/// character outside the Basic Multilingual Plane (an emoji) and drop the second. The half is no
/// character: it goes with the rest of what did not fit, and the text ends at a whole character.
class WholeCharacters : public QValidator {
  public:
    using QValidator::QValidator;

    State validate(QString& text, int& cursor) const override {
        for (qsizetype i = text.size() - 1; i >= 0; --i) {
            const bool paired = text[i].isHighSurrogate()
                                    ? i + 1 < text.size() && text[i + 1].isLowSurrogate()
                                    : !text[i].isLowSurrogate() || (i > 0 && text[i - 1].isHighSurrogate());
            if (paired) continue;
            text.remove(i, 1);
            if (cursor > i) --cursor;
        }
        return Acceptable;
    }
};

} // namespace

void limitText(QLineEdit* edit, TextField field) {
    const int limit = maxTextLength(field);
    edit->setProperty(TextLimitProperty, limit);
    if (limit > 0) edit->setMaxLength(limit);
    edit->setValidator(new WholeCharacters(edit));
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
