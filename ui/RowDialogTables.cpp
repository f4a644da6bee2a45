#include "ui/RowDialogTables.h"

namespace orb {
namespace {

using enum DialogItemKind;
using F = FlagField;
using T = TextField;

constexpr DialogItem TelCisloItems[] = {
    {Label, "", "&Telefonní číslo:", -1, 120, 120, 3495, 225},
    {Text, "TC", "", -1, 120, 360, 3495, 285, T::tabTC},
    {Check, "TCPrijem", "&Akceptovat SMS z tohoto tel. čísla", -1, 240, 840, 3375, 255, F::tabTCPrijem},
    {Check, "TCUdalost", "&Posílat na toto tel. číslo SMS o stavu", -1, 240, 1155, 3375, 255,
     F::tabTCUdalost},
    {Check, "TCPoplach", "Posílat na toto tel. číslo SMS s poplachem", -1, 105, 1680, 3375, 255,
     F::tabTCPoplach, true},
};
constexpr RowField TelCisloOrder[] = {T::tabTC, F::tabTCPrijem, F::tabTCPoplach, F::tabTCUdalost};

constexpr DialogItem VstupItems[] = {
    {Frame, "Frame1", "", -1, 120, 0, 3495, 1095},
    {Label, "", "&Název:", 0, 120, 120, 3255, 225},
    {Text, "INPNazev", "", 0, 120, 360, 3255, 285, T::tabINPNazev},
    {Check, "INPZpr", "&Uvádět tento vstup ve zprávě o stavu", 0, 120, 720, 3015, 195, F::tabINPZpr},
    {Frame, "Frame2", "Změna stavu", -1, 120, 1200, 3495, 3615},
    {Label, "", "&Zapnuto:", 4, 120, 240, 1455, 225},
    {Text, "INPZap", "", 4, 120, 480, 1455, 285, T::tabINPZap},
    {Label, "", "&Vypnuto:", 4, 1920, 240, 1455, 225},
    {Text, "INPVyp", "", 4, 1920, 480, 1455, 285, T::tabINPVyp},
    {Rule, "", "", 4, 120, 960, 3240, 30},
    {Label, "", "Změna stavu N&EAKTIVNÍ->AKTIVNÍ:", 4, 120, 1080, 3255, 225},
    {Text, "INPLH", "", 4, 120, 1320, 3255, 285, T::tabINPLH},
    {Check, "INPLHEvent", "Při změně N->A &posílat SMS zprávu", 4, 120, 1680, 3135, 255, F::tabINPLHEvent},
    {Rule, "", "", 4, 120, 2040, 3240, 30},
    {Label, "", "Změna stavu &AKTIVNÍ->NEAKTIVNÍ:", 4, 120, 2160, 3255, 225},
    {Text, "INPHL", "", 4, 120, 2400, 3255, 285, T::tabINPHL},
    {Check, "INPHLEvent", "Při změně A->N posílat SMS zp&rávu", 4, 120, 2760, 3135, 195, F::tabINPHLEvent},
    {Rule, "", "", 4, 120, 3120, 3240, 30},
    {Check, "INPNeg", "Ne&govat hodnoty", 4, 120, 3240, 3255, 255, F::tabINPNeg},
};
constexpr RowField VstupOrder[] = {T::tabINPNazev,   T::tabINPZap,     T::tabINPVyp,
                                   T::tabINPLH,      T::tabINPHL,      F::tabINPZpr,
                                   F::tabINPLHEvent, F::tabINPHLEvent, F::tabINPNeg};

constexpr DialogItem VystupItems[] = {
    {Frame, "Frame1", "", -1, 120, 0, 3495, 1095},
    {Label, "", "&Název:", 0, 120, 120, 3255, 225},
    {Text, "OUTNazev", "", 0, 120, 360, 3255, 285, T::tabOUTNazev},
    {Check, "OUTZpr", "&Uvádět tento vstup ve zprávě o stavu", 0, 120, 720, 3015, 195, F::tabOUTZpr},
    {Frame, "Frame2", "Změna stavu", -1, 120, 1200, 3495, 1215},
    {Label, "", "&Zapnuto:", 4, 120, 240, 1455, 225},
    {Text, "OUTZap", "", 4, 120, 480, 1455, 285, T::tabOUTZap},
    {Label, "", "&Vypnuto:", 4, 1920, 240, 1455, 225},
    {Text, "OUTVyp", "", 4, 1920, 480, 1455, 285, T::tabOUTVyp},
    {Check, "OUTNeg", "Ne&govat hodnoty", 4, 120, 840, 3255, 255, F::tabOUTNeg},
    {Frame, "Frame3", "Impulsy", -1, 120, 2520, 3495, 1335, {}, false, true},
    {Label, "", "Příkaz pro vyslání impulsu:", 10, 120, 240, 3255, 225},
    {Text, "OUTimpuls", "", 10, 120, 480, 3255, 285, T::tabOUTimpuls},
    {Label, "", "Doba trvání impulsu:", 10, 120, 960, 1560, 225},
    {Text, "OUTimpulsLEN", "", 10, 1680, 870, 495, 285, T::tabOUTimpulsLEN},
    {Label, "", "* 0,1 sekund", 10, 2280, 960, 1155, 225},
};
constexpr RowField VystupOrder[] = {T::tabOUTNazev, T::tabOUTZap,    T::tabOUTVyp,      F::tabOUTZpr,
                                    F::tabOUTNeg,   T::tabOUTimpuls, T::tabOUTimpulsLEN};

constexpr RowDialogTable Dialogs[] = {
    {"TelCislo", "Telefonní číslo T", 3780, 2550, 2040, TelCisloItems, TelCisloOrder},
    {"Vstup", "Vstup I", 3750, 5520, 5040, VstupItems, VstupOrder},
    {"Vystup", "Výstup O", 3750, 4605, 4080, VystupItems, VystupOrder},
};

} // namespace

const RowDialogTable& rowDialogTable(RowDialogKind kind) {
    return Dialogs[static_cast<int>(kind)];
}

} // namespace orb
