#include "settings/Fields.h"

#include <stdexcept>

namespace orb {
namespace {

/// Name and row-ness of a control, listed in the order of its enumeration.
struct FieldInfo {
    std::string_view name;
    bool row;
};

/// A text control: name, row-ness, the most characters its edit control takes (0: no limit), for a
/// number the values it may hold, and the main-window tab it stands on (none: a hidden frame).
struct TextFieldInfo {
    std::string_view name;
    bool row;
    int maxLength;
    std::optional<NumberRange> range;
    std::optional<int> tab;
};

constexpr TextFieldInfo TextFields[] = {
    {"tabJmenoStanice", false, 100, {}, 0},
    {"tabPIN", false, 8, {}, 0},
    {"tabTCcentra", false, 0, {}, 0},
    {"tabDobaPlatnostiSMS", false, 2, NumberRange{1, 30}, 0},
    {"rtNotAuthorized", false, 100, {}, 0},
    {"tabPrepnoutJTSCislo", false, 1, NumberRange{0, 9}, 0},
    {"tabTC", true, 50, {}, 1},
    {"tabINPNazev", true, 100, {}, 2},
    {"tabINPZap", true, 100, {}, 2},
    {"tabINPVyp", true, 100, {}, 2},
    {"tabINPLH", true, 100, {}, 2},
    {"tabINPHL", true, 100, {}, 2},
    {"tabOUTNazev", true, 100, {}, 3},
    {"tabOUTZap", true, 100, {}, 3},
    {"tabOUTVyp", true, 100, {}, 3},
    {"tabOUTimpuls", true, 100, {}, 3},
    {"tabOUTimpulsLEN", true, 3, NumberRange{0, 255}, 3},
    {"rtReCall", false, 100, {}, std::nullopt},
    {"eeExistTime", false, 5, NumberRange{5, 65535}, std::nullopt},
    {"tabRFRWait", false, 3, NumberRange{3, 768, 3}, std::nullopt},
    {"tabWaitFree", false, 3, NumberRange{5, 90}, std::nullopt},
    {"tabKOMUNIKPocetTestu", false, 3, NumberRange{1, 10}, std::nullopt},
    {"tabKOMUNIKPocetBloku", false, 3, NumberRange{1, 100}, std::nullopt},
    {"tabUTO", false, 4, {}, 1},
};

constexpr FieldInfo FlagFieldInfo[] = {
    {"tabBezpecRezim", false},  {"tabOdpovidatT0", false}, {"tabPrepnoutNepovolPristup", false},
    {"opNotAuthorized", false}, {"tabPrepnoutJTS", false}, {"tabTCPrijem", true},
    {"tabTCPoplach", true},     {"tabTCUdalost", true},    {"tabINPNeg", true},
    {"tabINPLHEvent", true},    {"tabINPHLEvent", true},   {"tabINPZpr", true},
    {"tabOUTNeg", true},        {"tabOUTZpr", true},       {"opExist", false},
    {"CheckWrite", false},
};

constexpr std::string_view ChoiceFieldNames[] = {"tabKOMUNIKFormat", "tabKOMUNIKParita",
                                                 "tabKOMUNIKFrekvence", "tabPort"};

static_assert(std::size(TextFields) == std::size(AllTextFields));
static_assert(std::size(FlagFieldInfo) == std::size(AllFlagFields));
static_assert(std::size(ChoiceFieldNames) == std::size(AllChoiceFields));

template <typename Table, typename Enum> const auto& entryOf(const Table& table, Enum field) {
    const auto index = static_cast<std::size_t>(field);
    if (index >= std::size(table)) throw std::out_of_range("unknown control");
    return table[index];
}

/// Checks the row of a row control; out-of-range rows are a programming error of the caller.
std::size_t rowIndex(int row) {
    if (row < 0 || row >= RowCount) throw std::out_of_range("row out of range");
    return static_cast<std::size_t>(row);
}

} // namespace

bool isRowField(TextField field) {
    return entryOf(TextFields, field).row;
}

bool isRowField(FlagField field) {
    return entryOf(FlagFieldInfo, field).row;
}

std::string_view fieldName(TextField field) {
    return entryOf(TextFields, field).name;
}

int maxTextLength(TextField field) {
    return entryOf(TextFields, field).maxLength;
}

std::optional<NumberRange> numberRange(TextField field) {
    return entryOf(TextFields, field).range;
}

std::optional<int> fieldTab(TextField field) {
    return entryOf(TextFields, field).tab;
}

std::string_view fieldName(FlagField field) {
    return entryOf(FlagFieldInfo, field).name;
}

std::string_view fieldName(ChoiceField field) {
    return entryOf(ChoiceFieldNames, field);
}

std::string& textOf(SettingsRecord& r, SettingsOptions& o, TextRef ref) {
    switch (ref.field) {
    case TextField::tabJmenoStanice:
        return r.tabJmenoStanice;
    case TextField::tabPIN:
        return r.tabPIN;
    case TextField::tabTCcentra:
        return r.tabTCcentra;
    case TextField::tabDobaPlatnostiSMS:
        return r.tabDobaPlatnostiSMS;
    case TextField::rtNotAuthorized:
        return r.rtNotAuthorized;
    case TextField::tabPrepnoutJTSCislo:
        return r.tabPrepnoutJTSCislo;
    case TextField::tabTC:
        return r.tabTC[rowIndex(ref.row)];
    case TextField::tabINPNazev:
        return r.tabINPNazev[rowIndex(ref.row)];
    case TextField::tabINPZap:
        return r.tabINPZap[rowIndex(ref.row)];
    case TextField::tabINPVyp:
        return r.tabINPVyp[rowIndex(ref.row)];
    case TextField::tabINPLH:
        return r.tabINPLH[rowIndex(ref.row)];
    case TextField::tabINPHL:
        return r.tabINPHL[rowIndex(ref.row)];
    case TextField::tabOUTNazev:
        return r.tabOUTNazev[rowIndex(ref.row)];
    case TextField::tabOUTZap:
        return r.tabOUTZap[rowIndex(ref.row)];
    case TextField::tabOUTVyp:
        return r.tabOUTVyp[rowIndex(ref.row)];
    case TextField::tabOUTimpuls:
        return r.tabOUTimpuls[rowIndex(ref.row)];
    case TextField::tabOUTimpulsLEN:
        return r.tabOUTimpulsLEN[rowIndex(ref.row)];
    case TextField::rtReCall:
        return r.rtReCall;
    case TextField::eeExistTime:
        return r.eeExistTime;
    case TextField::tabRFRWait:
        return r.tabRFRWait;
    case TextField::tabWaitFree:
        return r.tabWaitFree;
    case TextField::tabKOMUNIKPocetTestu:
        return r.tabKOMUNIKPocetTestu;
    case TextField::tabKOMUNIKPocetBloku:
        return r.tabKOMUNIKPocetBloku;
    case TextField::tabUTO:
        return o.tabUTO;
    }
    throw std::out_of_range("unknown text control");
}

const std::string& textOf(const SettingsRecord& record, const SettingsOptions& options, TextRef ref) {
    return textOf(const_cast<SettingsRecord&>(record), const_cast<SettingsOptions&>(options), ref);
}

bool& flagOf(SettingsRecord& r, SettingsOptions& o, FlagField field, int row) {
    switch (field) {
    case FlagField::tabBezpecRezim:
        return r.tabBezpecRezim;
    case FlagField::tabOdpovidatT0:
        return r.tabOdpovidatT0;
    case FlagField::tabPrepnoutNepovolPristup:
        return r.tabPrepnoutNepovolPristup;
    case FlagField::opNotAuthorized:
        return r.opNotAuthorized;
    case FlagField::tabPrepnoutJTS:
        return r.tabPrepnoutJTS;
    case FlagField::tabTCPrijem:
        return r.tabTCPrijem[rowIndex(row)];
    case FlagField::tabTCPoplach:
        return r.tabTCPoplach[rowIndex(row)];
    case FlagField::tabTCUdalost:
        return r.tabTCUdalost[rowIndex(row)];
    case FlagField::tabINPNeg:
        return r.tabINPNeg[rowIndex(row)];
    case FlagField::tabINPLHEvent:
        return r.tabINPLHEvent[rowIndex(row)];
    case FlagField::tabINPHLEvent:
        return r.tabINPHLEvent[rowIndex(row)];
    case FlagField::tabINPZpr:
        return r.tabINPZpr[rowIndex(row)];
    case FlagField::tabOUTNeg:
        return r.tabOUTNeg[rowIndex(row)];
    case FlagField::tabOUTZpr:
        return r.tabOUTZpr[rowIndex(row)];
    case FlagField::opExist:
        return r.opExist;
    case FlagField::CheckWrite:
        return o.CheckWrite;
    }
    throw std::out_of_range("unknown check box");
}

bool flagOf(const SettingsRecord& record, const SettingsOptions& options, FlagField field, int row) {
    return flagOf(const_cast<SettingsRecord&>(record), const_cast<SettingsOptions&>(options), field, row);
}

int& choiceOf(SettingsRecord& r, SettingsOptions& o, ChoiceField field) {
    switch (field) {
    case ChoiceField::tabKOMUNIKFormat:
        return r.tabKOMUNIKFormat;
    case ChoiceField::tabKOMUNIKParita:
        return r.tabKOMUNIKParita;
    case ChoiceField::tabKOMUNIKFrekvence:
        return r.tabKOMUNIKFrekvence;
    case ChoiceField::tabPort:
        return o.tabPort;
    }
    throw std::out_of_range("unknown drop-down list");
}

int choiceOf(const SettingsRecord& record, const SettingsOptions& options, ChoiceField field) {
    return choiceOf(const_cast<SettingsRecord&>(record), const_cast<SettingsOptions&>(options), field);
}

std::optional<TextField> stateNamePartner(TextField field) {
    switch (field) {
    case TextField::tabINPZap:
        return TextField::tabINPVyp;
    case TextField::tabINPVyp:
        return TextField::tabINPZap;
    case TextField::tabOUTZap:
        return TextField::tabOUTVyp;
    case TextField::tabOUTVyp:
        return TextField::tabOUTZap;
    default:
        return std::nullopt;
    }
}

} // namespace orb
