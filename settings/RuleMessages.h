#pragma once

#include <string_view>

namespace orb::msg {

// Box titles
inline constexpr std::string_view ErrorTitle = "ORB - chyba";
inline constexpr std::string_view WarningTitle = "ORB - upozornění";
inline constexpr std::string_view QuestionTitle = "VEKinit - info";
inline constexpr std::string_view WriteRefusalTitle = "ORB - Ukládání dat z PC do EEPROM";

// Character-set texts: each is followed by the set it names.
inline constexpr std::string_view ReportTextChars = "Text může obsahovat pouze tyto znaky: ";
inline constexpr std::string_view RisingTransitionChars =
    "Název přechodu 'Neaktivní->Aktivní' může obsahovat pouze tyto znaky: ";
inline constexpr std::string_view FallingTransitionChars =
    "Název přechodu 'Aktivní->Neaktivní' může obsahovat pouze tyto znaky: ";
inline constexpr std::string_view InputNameChars = "Název vstupu může obsahovat pouze tyto znaky: ";
inline constexpr std::string_view OutputNameChars = "Název výstupu může obsahovat pouze tyto znaky: ";
inline constexpr std::string_view PulseCommandChars = "Název 'Impuls' může obsahovat pouze tyto znaky: ";
inline constexpr std::string_view OnNameChars = "Název 'Zapnuto' může obsahovat pouze tyto znaky: ";
inline constexpr std::string_view OffNameChars = "Název 'Vypnuto' může obsahovat pouze tyto znaky: ";

// Keyword texts: each is followed by the keyword list.
inline constexpr std::string_view InputNameKeyword =
    "Název vstupu nesmí být žádné z těchto klíčových slov (ani jejich předpony): ";
inline constexpr std::string_view OutputNameKeyword =
    "Název výstupu nesmí být žádné z těchto klíčových slov (ani jejich předpony): ";
inline constexpr std::string_view PulseCommandKeyword =
    "Název 'impuls' nesmí být žádné z těchto klíčových slov (ani jejich předpony): ";
inline constexpr std::string_view OnNameKeyword =
    "Název 'Zapnuto' nesmí být žádné z těchto klíčových slov (ani jejich předpony): ";
inline constexpr std::string_view OffNameKeyword =
    "Název 'Vypnuto' nesmí být žádné z těchto klíčových slov (ani jejich předpony): ";

// On-name and off-name of one row clash
inline constexpr std::string_view OnNameEqualsOffName =
    "Název 'Zapnuto' nesmí být stejný jako název 'Vypnuto'.";
inline constexpr std::string_view OffNameEqualsOnName =
    "Název 'Vypnuto' nesmí být stejný jako název 'Zapnuto'.";

// A character the unit's code page has no code for, in a field that no character set guards; the opening
// is followed by the character and its code point ("'日' (U+65E5"), then the tail.
inline constexpr std::string_view NoCodeCharacter = "Text obsahuje znak '";
inline constexpr std::string_view NoCodeCharacterTail =
    "), který nelze uložit do EEPROM. Lze použít pouze znaky kódové stránky Windows-1250.";

// Numbers and codes
inline constexpr std::string_view SmsValidity =
    "Doba platnosti SMS zprávy je špatně zadána. Povolené hodnoty jsou '1','2',..,'30'.";
inline constexpr std::string_view ExistTime = "Zadaná hodnota musí být celé číslo (5-65535).";
inline constexpr std::string_view BlockCount = "Zadaná hodnota musí být celé číslo (1-100).";
inline constexpr std::string_view TestCount = "Zadaná hodnota musí být celé číslo (1-10).";
inline constexpr std::string_view RingWait = "Zadaná hodnota musí být celé číslo dělitelné třemi (3-768).";
/// Names 15 as the lower bound, while the rule corrects only values below 5.
inline constexpr std::string_view WaitFree = "Zadaná hodnota musí být celé číslo (15-90).";
inline constexpr std::string_view JtsDigit = "Zadaná hodnota musí být číslo.";
inline constexpr std::string_view Pin = "PIN je špatně zadán.";
inline constexpr std::string_view ServiceCentre = "Telefonní číslo servisního centra je špatně zadáno.";
inline constexpr std::string_view CountryPrefix = "UTO je špatně zadáno.";
inline constexpr std::string_view PhoneNumber = "Telefonní číslo je špatně zadáno.";

// Telephone-row flags
inline constexpr std::string_view ReceiveWithoutNumber =
    "Pokud není zadáno telefonní číslo musí být zaškrtávací pole 'Příjem' nezaškrtnuté.";
inline constexpr std::string_view AlarmWithoutNumber =
    "Pokud není zadáno telefonní číslo musí být zaškrtávací pole 'Poplach' nezaškrtnuté.";
inline constexpr std::string_view EventsWithoutNumber =
    "Pokud není zadáno telefonní číslo musí být zaškrtávací pole 'Události' nezaškrtnuté.";
inline constexpr std::string_view SingleAlarmNumber =
    "V této verzi je možno povolit volání pouze na jedno telefonní číslo. Má to být právě toto?";

// Output words before a write; each opening is followed by the row caption ("O0".."O7") and the tail.
inline constexpr std::string_view OutputNameClash = "Název výstupu '";
inline constexpr std::string_view OnWordClash = "Název 'Zapnuto' výstupu '";
inline constexpr std::string_view OffWordClash = "Název 'Vypnuto' výstupu '";
inline constexpr std::string_view OutputWordsTail =
    "' není správně zadán. Jména výstupů se nesmějí shodovat a ani být předponou jiného názvu výstupu. "
    "EEPROM nelze naprogramovat dokud toto nebude odstraněno.";

} // namespace orb::msg
