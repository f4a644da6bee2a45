#pragma once

#include <array>
#include <string>

namespace orb {

constexpr int RowCount = 8;

using RowTexts = std::array<std::string, RowCount>;
using RowFlags = std::array<bool, RowCount>;

inline RowTexts rowTexts(const char* value) {
    RowTexts rows;
    rows.fill(value);
    return rows;
}

/// The whole configuration of one unit, one member per main-window control, named after it.
/// Texts are UTF-8; numeric fields keep their decimal text exactly as typed ("007" stays "007").
/// Choices hold the index of the chosen entry of their table.
struct SettingsRecord {
    // General settings ("Všeobecné")
    std::string tabJmenoStanice;
    std::string tabPIN;
    std::string tabTCcentra;
    std::string tabDobaPlatnostiSMS = "3";
    bool tabBezpecRezim = true;
    bool tabOdpovidatT0 = false;
    bool tabPrepnoutNepovolPristup = false;
    bool opNotAuthorized = true;
    std::string rtNotAuthorized;
    bool tabPrepnoutJTS = false;
    std::string tabPrepnoutJTSCislo = "0";

    // Telephone numbers T0..T7
    RowTexts tabTC;
    RowFlags tabTCPrijem{};
    RowFlags tabTCPoplach{};
    RowFlags tabTCUdalost{};

    // Inputs I0..I7
    RowTexts tabINPNazev;
    RowTexts tabINPZap;
    RowTexts tabINPVyp;
    RowTexts tabINPLH;
    RowTexts tabINPHL;
    RowFlags tabINPNeg{};
    RowFlags tabINPLHEvent{};
    RowFlags tabINPHLEvent{};
    RowFlags tabINPZpr{};

    // Outputs O0..O7
    RowTexts tabOUTNazev;
    RowTexts tabOUTZap;
    RowTexts tabOUTVyp;
    RowFlags tabOUTNeg{};
    RowTexts tabOUTimpuls;
    RowTexts tabOUTimpulsLEN = rowTexts("1");
    RowFlags tabOUTZpr{};

    // Existence report (hidden frame "USSD")
    bool opExist = true;
    std::string rtReCall;
    std::string eeExistTime = "5";

    // Line timing and alarm-panel link (hidden)
    std::string tabRFRWait = "3";
    std::string tabWaitFree = "5";
    std::string tabKOMUNIKPocetTestu = "1";
    std::string tabKOMUNIKPocetBloku = "1";

    // Communication format (hidden): indices into FormatTable, ParityTable, FrequencyTable
    int tabKOMUNIKFormat = 0;
    int tabKOMUNIKParita = 0;
    int tabKOMUNIKFrekvence = 0;

    bool operator==(const SettingsRecord&) const = default;
};

/// The three options that sit beside the record on the main window but never enter the image.
struct SettingsOptions {
    int tabPort = 0; ///< index 0..3 of "COM 1".."COM 4"
    bool CheckWrite = true;
    std::string tabUTO = "+420";

    bool operator==(const SettingsOptions&) const = default;
};

} // namespace orb
