#include "ui/RowTables.h"

namespace orb {
namespace {

using enum ColumnKind;

constexpr RowColumn PhoneColumns[] = {
    {RowLabel, "tabTCjmeno", "", 360, 735},
    {Text, "tabTC", "telefonní číslo", 1320, 1815, TextField::tabTC},
    {Check, "tabTCPrijem", "příjem", 4320, 255, {}, FlagField::tabTCPrijem},
    {Check, "tabTCPoplach", "poplachy", 5760, 255, {}, FlagField::tabTCPoplach, true},
    {Check, "tabTCUdalost", "odesílat události", 6840, 255, {}, FlagField::tabTCUdalost},
    {Button, "tabTCZmenit", "Změnit", 8160, 650},
};

constexpr ColumnCaption PhoneCaptions[] = {
    {"Název", 480, 660},
    {"Telefonní číslo", 1320, 660},
    {"Příjem", 4200, 660},
    {"Odesílání", 5640, 420, 0, true},
    {"Poplachy", 5640, 660, 0, true},
    {"Odesílat události", 6600, 660},
};

constexpr RowColumn InputColumns[] = {
    {RowLabel, "tabINPjmeno", "", 120, 0},
    {Text, "tabINPNazev", "název", 360, 1455, TextField::tabINPNazev},
    {Text, "tabINPZap", "zapnuto", 1920, 1035, TextField::tabINPZap},
    {Text, "tabINPVyp", "vypnuto", 2940, 1035, TextField::tabINPVyp},
    {Text, "tabINPLH", "přechod N->A", 4080, 975, TextField::tabINPLH},
    {Text, "tabINPHL", "přechod A->N", 5040, 975, TextField::tabINPHL},
    {Check, "tabINPNeg", "negace", 6120, 255, {}, FlagField::tabINPNeg},
    {Check, "tabINPLHEvent", "SMS zprávy N->A", 6720, 255, {}, FlagField::tabINPLHEvent},
    {Check, "tabINPHLEvent", "SMS zprávy A->N", 7080, 255, {}, FlagField::tabINPHLEvent},
    {Check, "tabINPZpr", "uvádět ve zprávě", 7680, 255, {}, FlagField::tabINPZpr},
    {Button, "tabINPbt", "Změnit", 8160, 650},
};

constexpr ColumnCaption InputCaptions[] = {
    {"Název", 360, 660},
    {"Zapnuto", 1920, 660},
    {"Vypnuto", 2940, 660},
    {"Přechod", 4560, 420},
    {"N->A*", 4080, 660},
    {"A->N*", 5040, 660},
    {"Negace", 5940, 660},
    {"SMS zprávy", 6600, 420},
    {"N->A", 6600, 660},
    {"A->N", 7080, 660},
    {"Uvádět ve zprávě", 7560, 420, 900},
};

constexpr RowColumn OutputColumns[] = {
    {RowLabel, "tabOUTjmeno", "", 120, 0},
    {Text, "tabOUTNazev", "název", 360, 1455, TextField::tabOUTNazev},
    {Text, "tabOUTZap", "zapnuto", 1920, 1035, TextField::tabOUTZap},
    {Text, "tabOUTVyp", "vypnuto", 2940, 1035, TextField::tabOUTVyp},
    {Check, "tabOUTNeg", "negace", 4200, 255, {}, FlagField::tabOUTNeg},
    {Text, "tabOUTimpuls", "příkaz pro impuls", 5040, 1095, TextField::tabOUTimpuls, {}, false, true},
    {Text, "tabOUTimpulsLEN", "doba impulsu", 6120, 375, TextField::tabOUTimpulsLEN, {}, false, true},
    {Check, "tabOUTZpr", "uvádět ve zprávě", 7320, 255, {}, FlagField::tabOUTZpr},
    {Button, "tabOUTbt", "Změnit", 8160, 650},
};

constexpr ColumnCaption OutputCaptions[] = {
    {"Název", 360, 660},
    {"Zapnuto", 1920, 660},
    {"Vypnuto", 2940, 660},
    {"Negace", 4080, 660},
    {"Impuls *", 5520, 660, 0, false, true},
    {"Uvádět ve zprávě", 7200, 420, 900},
};

constexpr RowTab Tabs[] = {
    {"&Telefonní čísla", "T", RowDialogKind::Phone, PhoneColumns, PhoneCaptions,
     "UTO země, které se vkládá před tel. číslo:", 315},
    {"V&stupy", "I", RowDialogKind::Input, InputColumns, InputCaptions, "* N...neaktivní, A...aktivní", 480},
    {"Výstup&y", "O", RowDialogKind::Output, OutputColumns, OutputCaptions,
     "*příkaz pro impuls, doba trvání impulsu (0-255) x0,1 sekund => 125=12,5 sekund", 120},
};

} // namespace

std::span<const RowTab> rowTabs() {
    return Tabs;
}

QString rowControlName(const char* arrayName, int row) {
    return QStringLiteral("%1_%2").arg(QLatin1String(arrayName)).arg(row);
}

} // namespace orb
