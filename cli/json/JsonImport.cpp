#include "cli/json/JsonImport.h"

#include "cli/CliError.h"
#include "cli/json/JsonText.h"
#include "cli/json/SettingsDiff.h"
#include "cli/terminal/ConsoleView.h"
#include "cli/Workspace.h"
#include "link/LinkMessages.h"
#include "settings/ImageSize.h"
#include "settings/OutOfRuleValues.h"
#include "settings/SettingsForm.h"
#include "settings/TextRules.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace orb {

namespace {

struct StagedFlag {
    FlagField field;
    int row;
    bool value;
};

/// The JSON's values, checked for their form but not yet for the rules of their fields.
struct StagedSettings {
    std::vector<std::pair<TextRef, std::string>> texts;
    std::vector<StagedFlag> flags;
    std::vector<std::pair<ChoiceField, int>> choices;
    ReservedBytes reserved;
};

std::string settingName(std::string_view name, bool rowField, int row) {
    return rowField ? std::string(name) + "[" + std::to_string(row) + "]" : std::string(name);
}

template <typename Field, std::size_t N>
std::optional<Field> fieldNamed(const Field (&all)[N], const std::string& key) {
    for (Field field : all)
        if (!isOption(field) && fieldName(field) == key) return field;
    return std::nullopt;
}

std::string wholeNumberRefusal(long long min, long long max) {
    return "Hodnota musí být celé číslo " + std::to_string(min) + " až " + std::to_string(max) + ".";
}

std::string joined(const std::vector<std::string>& texts) {
    std::string list;
    for (const std::string& text : texts)
        list += (list.empty() ? "" : ", ") + text;
    return list;
}

/// Reads the JSON object into StagedSettings, refusing keys it does not know and values of the wrong form.
class Stager {
  public:
    explicit Stager(std::vector<Refusal>& refusals) : refusals_(refusals) {}

    StagedSettings stage(const Json& json) {
        if (!json.is_object()) {
            refuse("", "JSON musí být objekt, jehož klíče jsou jména nastavení.");
            return staged_;
        }
        for (const auto& [key, value] : json.items()) {
            if (auto field = fieldNamed(AllTextFields, key))
                stageRows(*field, key, value, [&](const Json& v, const std::string& name, int row) {
                    stageText({*field, row}, v, name);
                });
            else if (auto field = fieldNamed(AllFlagFields, key))
                stageRows(*field, key, value, [&](const Json& v, const std::string& name, int row) {
                    stageFlag(*field, row, v, name);
                });
            else if (auto field = fieldNamed(AllChoiceFields, key))
                stageChoice(*field, value, key);
            else if (key == Reserved27to31Key)
                stageReserved(value, key);
            else if (key == Reserved63Key)
                stageByte(value, key, staged_.reserved.at63);
            else
                refuse(EchoedKey(key), "Neznámé nastavení.");
        }
        return staged_;
    }

  private:
    void refuse(const std::string& setting, const std::string& message) {
        refusals_.push_back({setting, message});
    }

    /// Hands a single setting's value, or each of the eight values of a row setting, to stageOne.
    template <typename Field, typename StageOne>
    void stageRows(Field field, const std::string& key, const Json& value, StageOne stageOne) {
        if (!isRowField(field)) {
            stageOne(value, key, 0);
            return;
        }
        if (!value.is_array() || value.size() != RowCount) {
            refuse(key, "Hodnota musí být pole osmi hodnot, pro řádky 0 až 7.");
            return;
        }
        for (int row = 0; row < RowCount; ++row)
            stageOne(value[row], settingName(key, true, row), row);
    }

    void stageText(TextRef ref, const Json& value, const std::string& name) {
        // A number field given a number that cannot be its value is told the values it holds.
        const std::optional<NumberRange> range = numberRange(ref.field);
        const auto refuseNumber = [&] { refuse(name, wholeNumberRefusal(range->min, range->max)); };
        std::string text;
        if (value.is_string())
            text = value.get<std::string>();
        else if (value.is_number_integer())
            text = value.dump();
        else
            return range ? refuseNumber() : refuse(name, "Hodnota musí být text.");
        // The window's edit control takes no more; the characters themselves are the field rule's business.
        const int limit = maxTextLength(ref.field);
        if (limit > 0 && CharacterCount(text) > static_cast<std::size_t>(limit))
            return range && !value.is_string() ? refuseNumber() : refuse(name, TextLengthRefusal(limit));
        if (text.find('\0') != std::string::npos)
            return refuse(name, "Text nesmí obsahovat znak s kódem 0 (NUL), ten v EEPROM ukončuje text.");
        staged_.texts.emplace_back(ref, text);
    }

    void stageFlag(FlagField field, int row, const Json& value, const std::string& name) {
        if (!value.is_boolean()) return refuse(name, "Hodnota musí být true nebo false.");
        staged_.flags.push_back({field, row, value.get<bool>()});
    }

    void stageChoice(ChoiceField field, const Json& value, const std::string& name) {
        const std::vector<std::string> texts = choiceTexts(field);
        auto it =
            value.is_string() ? std::find(texts.begin(), texts.end(), value.get<std::string>()) : texts.end();
        if (it == texts.end()) return refuse(name, "Hodnota musí být jedna z voleb: " + joined(texts) + ".");
        staged_.choices.emplace_back(field, static_cast<int>(it - texts.begin()));
    }

    void stageReserved(const Json& value, const std::string& name) {
        auto& bytes = staged_.reserved.at27to31;
        if (!value.is_array() || value.size() != bytes.size())
            return refuse(name, "Hodnota musí být pole pěti bajtů (adresy 27 až 31).");
        for (std::size_t k = 0; k < bytes.size(); ++k)
            stageByte(value[k], name + "[" + std::to_string(k) + "]", bytes[k]);
    }

    void stageByte(const Json& value, const std::string& name, std::uint8_t& byte) {
        if (!value.is_number_integer() || value.get<long long>() < 0 || value.get<long long>() > 255)
            return refuse(name, wholeNumberRefusal(0, 255));
        byte = static_cast<std::uint8_t>(value.get<int>());
    }

    std::vector<Refusal>& refusals_;
    StagedSettings staged_;
};

/// The window's part for an import: what the rules say is kept as values; their boxes are shown to nobody.
class NoticeView : public ConsoleView {
  public:
    void ruleSpoke(const RuleNotice& notice) override { notices_.push_back(notice); }
    /// Returns what the rules said since the last call and forgets it.
    std::vector<RuleNotice> takeNotices() {
        takeBoxes();
        return std::exchange(notices_, {});
    }

  private:
    std::vector<RuleNotice> notices_;
};

/// The settings form driven as a user would drive the window; whatever a rule says becomes a refusal.
class FormSession {
  public:
    explicit FormSession(std::vector<Refusal>& refusals) : form_(view_), refusals_(refusals) {}

    SettingsForm& form() { return form_; }

    /// Turns what the rules said since the last call into refusals of the field they are about, else of
    /// setting.
    void collect(const std::string& setting) {
        for (const RuleNotice& notice : view_.takeNotices())
            refusals_.push_back({notice.field ? SettingName(*notice.field) : setting, notice.text});
    }

    /// Lists each staged value the rules stored otherwise.
    std::vector<Correction> corrections(const StagedSettings& staged, const Json& json) const {
        std::vector<Correction> found;
        for (const auto& [ref, text] : staged.texts) {
            const std::string& stored = form_.text(ref);
            if (stored == text) continue;
            const Json& value = json.at(std::string(fieldName(ref.field)));
            const bool national =
                !text.starts_with('+') && stored.starts_with('+') && !numberRange(ref.field);
            found.push_back(
                {SettingName(ref), isRowField(ref.field) ? value.at(ref.row) : value, stored, national});
        }
        for (const StagedFlag& flag : staged.flags)
            if (form_.flag(flag.field, flag.row) != flag.value)
                found.push_back({settingName(fieldName(flag.field), isRowField(flag.field), flag.row),
                                 flag.value, form_.flag(flag.field, flag.row)});
        for (auto [field, index] : staged.choices)
            if (form_.choice(field) != index)
                found.push_back({std::string(fieldName(field)), choiceTexts(field).at(index),
                                 choiceTexts(field).at(form_.choice(field))});
        return found;
    }

    void apply(const StagedSettings& staged) {
        for (auto [field, index] : staged.choices)
            form_.setChoice(field, index);
        for (const auto& [ref, text] : staged.texts)
            form_.setText(ref, text);
        collect("");
        leaveEveryField();
        for (const StagedFlag& flag : staged.flags) {
            form_.setFlag(flag.field, flag.row, flag.value);
            collect(settingName(fieldName(flag.field), isRowField(flag.field), flag.row));
        }
        form_.outputWordsRule();
        collect("");
    }

    /// Refuses a number the rules left outside its field's range; only the locked pulse lengths, which
    /// no rule corrects, can get there.
    void checkRanges() {
        for (const OutOfRuleValue& value : OutOfRuleValues(form_.record()))
            refusals_.push_back(
                {SettingName(value.field), wholeNumberRefusal(value.range.min, value.range.max)});
    }

    /// Shows memoryBytes as the size of an identified unit and refuses a used size that does not fit,
    /// as the write to the unit does. Without a size, the largest EEPROM is the limit, and the refusal
    /// names the longest text: the other texts' limits keep them far below it.
    void checkSize(std::optional<int> memoryBytes) {
        UnitState unit = form_.unit();
        unit.memoryBytes = memoryBytes.value_or(EepromImage::Size);
        form_.setUnitState(unit);
        if (form_.memorySize() < form_.imageUsage())
            refusals_.push_back({memoryBytes ? "--memory" : SettingName(longestText()),
                                 link_messages::tooLarge(form_.imageUsage(), *unit.memoryBytes)});
    }

  private:
    TextRef longestText() const {
        TextRef longest{TextField::tabJmenoStanice};
        for (TextField field : AllTextFields)
            for (int row = 0; row < (isRowField(field) ? RowCount : 1); ++row)
                if (!isOption(field) &&
                    CharacterCount(form_.text({field, row})) > CharacterCount(form_.text(longest)))
                    longest = {field, row};
        return longest;
    }

    void leave(TextRef ref) {
        form_.leaveField(ref);
        collect(SettingName(ref));
    }

    /// Leaves every field once, the single fields first, then row by row, so that the on- and off-name
    /// of a row are left one after the other, as tabbing through the window does.
    void leaveEveryField() {
        for (TextField field : AllTextFields)
            if (!isOption(field) && !isRowField(field)) leave({field});
        for (int row = 0; row < RowCount; ++row)
            for (TextField field : AllTextFields)
                if (isRowField(field)) leave({field, row});
    }

    NoticeView view_;
    SettingsForm form_;
    std::vector<Refusal>& refusals_;
};

} // namespace

std::string CorrectionText(const Correction& correction) {
    return ChangeText({correction.setting, correction.given, correction.stored}) +
           (correction.national ? " (číslo se ukládá v mezinárodním tvaru; soubor, který je měl v národním, "
                                  "z JSON znovu nevznikne)"
                                : " (opraveno podle pravidla pole)");
}

ImportOutcome ImportJson(const Json& json, std::optional<int> memoryBytes, EepromImage& image) {
    ImportOutcome outcome;
    const StagedSettings staged = Stager(outcome.refusals).stage(json);
    if (!outcome.refusals.empty()) return outcome;

    FormSession session(outcome.refusals);
    session.apply(staged);
    outcome.corrections = session.corrections(staged, json);
    if (outcome.refusals.empty()) session.checkRanges();
    session.checkSize(memoryBytes);
    if (!outcome.refusals.empty()) return outcome;

    WriteReservedBytes(staged.reserved, image);
    try {
        outcome.length = EncodeSettings(session.form().record(), image);
    } catch (const CliError& error) {
        outcome.refusals.push_back({"", error.what()});
    }
    return outcome;
}

} // namespace orb
