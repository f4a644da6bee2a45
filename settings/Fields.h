#pragma once

#include "settings/SettingsRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace orb {

/// Every text control of the main window. Row fields take a row 0..7; single fields ignore it.
enum class TextField {
    tabJmenoStanice,
    tabPIN,
    tabTCcentra,
    tabDobaPlatnostiSMS,
    rtNotAuthorized,
    tabPrepnoutJTSCislo,
    tabTC,
    tabINPNazev,
    tabINPZap,
    tabINPVyp,
    tabINPLH,
    tabINPHL,
    tabOUTNazev,
    tabOUTZap,
    tabOUTVyp,
    tabOUTimpuls,
    tabOUTimpulsLEN,
    rtReCall,
    eeExistTime,
    tabRFRWait,
    tabWaitFree,
    tabKOMUNIKPocetTestu,
    tabKOMUNIKPocetBloku,
    tabUTO, ///< option beside the record
};

/// Every check box of the main window.
enum class FlagField {
    tabBezpecRezim,
    tabOdpovidatT0,
    tabPrepnoutNepovolPristup,
    opNotAuthorized,
    tabPrepnoutJTS,
    tabTCPrijem,
    tabTCPoplach,
    tabTCUdalost,
    tabINPNeg,
    tabINPLHEvent,
    tabINPHLEvent,
    tabINPZpr,
    tabOUTNeg,
    tabOUTZpr,
    opExist,
    CheckWrite, ///< option beside the record
};

/// Every drop-down list of the main window.
enum class ChoiceField {
    tabKOMUNIKFormat,
    tabKOMUNIKParita,
    tabKOMUNIKFrekvence,
    tabPort, ///< option beside the record
};

constexpr TextField AllTextFields[] = {
    TextField::tabJmenoStanice,
    TextField::tabPIN,
    TextField::tabTCcentra,
    TextField::tabDobaPlatnostiSMS,
    TextField::rtNotAuthorized,
    TextField::tabPrepnoutJTSCislo,
    TextField::tabTC,
    TextField::tabINPNazev,
    TextField::tabINPZap,
    TextField::tabINPVyp,
    TextField::tabINPLH,
    TextField::tabINPHL,
    TextField::tabOUTNazev,
    TextField::tabOUTZap,
    TextField::tabOUTVyp,
    TextField::tabOUTimpuls,
    TextField::tabOUTimpulsLEN,
    TextField::rtReCall,
    TextField::eeExistTime,
    TextField::tabRFRWait,
    TextField::tabWaitFree,
    TextField::tabKOMUNIKPocetTestu,
    TextField::tabKOMUNIKPocetBloku,
    TextField::tabUTO,
};

constexpr FlagField AllFlagFields[] = {
    FlagField::tabBezpecRezim,  FlagField::tabOdpovidatT0, FlagField::tabPrepnoutNepovolPristup,
    FlagField::opNotAuthorized, FlagField::tabPrepnoutJTS, FlagField::tabTCPrijem,
    FlagField::tabTCPoplach,    FlagField::tabTCUdalost,   FlagField::tabINPNeg,
    FlagField::tabINPLHEvent,   FlagField::tabINPHLEvent,  FlagField::tabINPZpr,
    FlagField::tabOUTNeg,       FlagField::tabOUTZpr,      FlagField::opExist,
    FlagField::CheckWrite,
};

constexpr ChoiceField AllChoiceFields[] = {
    ChoiceField::tabKOMUNIKFormat,
    ChoiceField::tabKOMUNIKParita,
    ChoiceField::tabKOMUNIKFrekvence,
    ChoiceField::tabPort,
};

/// A text control together with its row (0 for single fields).
struct TextRef {
    TextField field;
    int row = 0;
    bool operator==(const TextRef&) const = default;
};

/// The values a number field holds: min..max in steps of step counted from 0 (tabRFRWait: 3, 6, .. 768).
struct NumberRange {
    long long min;
    long long max;
    int step = 1;
    bool operator==(const NumberRange&) const = default;
};

/// True for the fields that exist once per telephone, input or output row.
bool isRowField(TextField field);
bool isRowField(FlagField field);

/// Returns the most characters the field's edit control takes; 0 when it takes any number.
int maxTextLength(TextField field);
/// Returns the values a number field holds, or nothing for a field that holds free text.
std::optional<NumberRange> numberRange(TextField field);

/// The other one of a row's on-name and off-name (tabINPZap and tabINPVyp, tabOUTZap and tabOUTVyp).
std::optional<TextField> stateNamePartner(TextField field);

/// The control's name as the program knows it ("tabTC", "opExist", ...).
std::string_view fieldName(TextField field);
std::string_view fieldName(FlagField field);
std::string_view fieldName(ChoiceField field);

/// Returns the main-window tab (0..3) the field stands on; nothing for the fields of the hidden frames.
std::optional<int> fieldTab(TextField field);

/// Gives access to a field of the record or of the options by its control.
std::string& textOf(SettingsRecord& record, SettingsOptions& options, TextRef ref);
const std::string& textOf(const SettingsRecord& record, const SettingsOptions& options, TextRef ref);
bool& flagOf(SettingsRecord& record, SettingsOptions& options, FlagField field, int row);
bool flagOf(const SettingsRecord& record, const SettingsOptions& options, FlagField field, int row);
int& choiceOf(SettingsRecord& record, SettingsOptions& options, ChoiceField field);
int choiceOf(const SettingsRecord& record, const SettingsOptions& options, ChoiceField field);

} // namespace orb
