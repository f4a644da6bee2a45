#include "settings/Fields.h"

#include <stdexcept>

namespace orb {
namespace {

/// Name and row-ness of a control, listed in the order of its enumeration.
struct FieldInfo {
    std::string_view name;
    bool row;
};

constexpr FieldInfo TextFieldInfo[] = {
    {"tabJmenoStanice", false},
    {"tabPIN", false},
    {"tabTCcentra", false},
    {"tabDobaPlatnostiSMS", false},
    {"rtNotAuthorized", false},
    {"tabPrepnoutJTSCislo", false},
    {"tabTC", true},
    {"tabINPNazev", true},
    {"tabINPZap", true},
    {"tabINPVyp", true},
    {"tabINPLH", true},
    {"tabINPHL", true},
    {"tabOUTNazev", true},
    {"tabOUTZap", true},
    {"tabOUTVyp", true},
    {"tabOUTimpuls", true},
    {"tabOUTimpulsLEN", true},
    {"rtReCall", false},
    {"eeExistTime", false},
    {"tabRFRWait", false},
    {"tabWaitFree", false},
    {"tabKOMUNIKPocetTestu", false},
    {"tabKOMUNIKPocetBloku", false},
    {"tabUTO", false},
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

static_assert(std::size(TextFieldInfo) == std::size(AllTextFields));
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
    return entryOf(TextFieldInfo, field).row;
}

bool isRowField(FlagField field) {
    return entryOf(FlagFieldInfo, field).row;
}

std::string_view fieldName(TextField field) {
    return entryOf(TextFieldInfo, field).name;
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
