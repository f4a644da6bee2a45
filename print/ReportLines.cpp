#include "print/ReportLines.h"

#include <span>
#include <variant>

namespace orb {

namespace {

using SingleField = std::variant<std::string SettingsRecord::*, bool SettingsRecord::*>;
using RowField = std::variant<RowTexts SettingsRecord::*, RowFlags SettingsRecord::*>;

struct GeneralLine {
    const char* label;
    SingleField field;
};

// Line 9 words the T0 option differently from its check box on the window; the printed words stay.
const GeneralLine GeneralLines[] = {
    {"Jméno stanice: ", &SettingsRecord::tabJmenoStanice},
    {"PIN: ", &SettingsRecord::tabPIN},
    {"Tel.č. SMS centra: ", &SettingsRecord::tabTCcentra},
    {"Doba platnosti SMS zprávy: ", &SettingsRecord::tabDobaPlatnostiSMS},
    {"Používat bezpečný režim: ", &SettingsRecord::tabBezpecRezim},
    {"V nebezpečném režimu odpovídat i na T0: ", &SettingsRecord::tabOdpovidatT0},
    {"Hlášení o nepovoleném přístupu posílat i na telefonní číslo T0: ",
     &SettingsRecord::tabPrepnoutNepovolPristup},
    {"Posílat hlášení, že není povolen přístup: ", &SettingsRecord::opNotAuthorized},
    {"Text hlášení o nepovolení přístupu: ", &SettingsRecord::rtNotAuthorized},
};

// The alarm-flag column of the telephone rows stays hidden on the window and off the report.
const RowField PhoneColumns[] = {&SettingsRecord::tabTC, &SettingsRecord::tabTCPrijem,
                                 &SettingsRecord::tabTCUdalost};

const RowField InputColumns[] = {
    &SettingsRecord::tabINPNazev,   &SettingsRecord::tabINPZap,     &SettingsRecord::tabINPVyp,
    &SettingsRecord::tabINPLH,      &SettingsRecord::tabINPHL,      &SettingsRecord::tabINPNeg,
    &SettingsRecord::tabINPLHEvent, &SettingsRecord::tabINPHLEvent, &SettingsRecord::tabINPZpr,
};

const RowField OutputColumns[] = {
    &SettingsRecord::tabOUTNazev, &SettingsRecord::tabOUTZap,    &SettingsRecord::tabOUTVyp,
    &SettingsRecord::tabOUTNeg,   &SettingsRecord::tabOUTimpuls, &SettingsRecord::tabOUTimpulsLEN,
    &SettingsRecord::tabOUTZpr,
};

struct TableSection {
    const char* heading;
    const char* rowLabel; ///< row i is labelled rowLabel + i
    std::span<const RowField> columns;
};

const TableSection TableSections[] = {
    {"TELEFONNÍ ČÍSLA - (Tel.číslo, Příjem, Odesílat události)", "T", PhoneColumns},
    {"VSTUPY: (Vstup, Název, Zapnuto, Vypnuto, Přechod N->A, Přechod A->N, Negace, N->A, A->N, Uvádět ve "
     "zprávě)",
     "I", InputColumns},
    {"VÝSTUPY: (Výstup, Název, Zapnuto, Vypnuto, Negace, Impuls, Délka impulsu * 0,1 sekund, Uvádět ve "
     "zprávě)",
     "O", OutputColumns},
};

const std::string Separator = "; ";

std::string asText(bool flag) {
    return flag ? "1" : "0";
}
const std::string& asText(const std::string& text) {
    return text;
}

std::string valueText(const SettingsRecord& record, const SingleField& field) {
    return std::visit([&](auto member) -> std::string { return asText(record.*member); }, field);
}

std::string valueText(const SettingsRecord& record, const RowField& field, int row) {
    return std::visit(
        [&](auto member) -> std::string { return asText((record.*member)[static_cast<std::size_t>(row)]); },
        field);
}

ReportLine tableRow(const SettingsRecord& record, const TableSection& section, int row) {
    ReportLine line{section.rowLabel + std::to_string(row) + Separator};
    line.labelLength = line.text.size();
    for (const RowField& column : section.columns)
        line.text += valueText(record, column, row) + Separator;
    return line;
}

const ReportLine RuleLine{std::string(165, '='), 0, true};

} // namespace

std::vector<ReportLine> BuildReport(const SettingsRecord& record) {
    std::vector<ReportLine> lines{{" "}, {""}, {"VŠEOBECNÉ"}, RuleLine};
    for (const GeneralLine& general : GeneralLines) {
        const std::string label = general.label;
        lines.push_back({label + valueText(record, general.field), label.size()});
    }
    for (const TableSection& section : TableSections) {
        lines.insert(lines.end(), {{""}, {section.heading}, RuleLine});
        for (int row = 0; row < RowCount; ++row)
            lines.push_back(tableRow(record, section, row));
    }
    return lines;
}

std::vector<std::string> ReportLines(const SettingsRecord& record) {
    std::vector<std::string> texts;
    for (ReportLine& line : BuildReport(record))
        texts.push_back(std::move(line.text));
    return texts;
}

} // namespace orb
