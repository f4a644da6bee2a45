#pragma once

#include "settings/Fields.h"

#include <cstdint>

namespace orb {

/// Fixed addresses of the unit's image. The header holds the address of each text group; the groups
/// are stored in the order of RowTextGroups, which is not the order of their header words.
namespace layout {
constexpr std::int32_t InputNames = 0;
constexpr std::int32_t OutputNames = 2;
constexpr std::int32_t InputOnNames = 4;
constexpr std::int32_t InputOffNames = 6;
constexpr std::int32_t OutputOnNames = 8;
constexpr std::int32_t OutputOffNames = 10;
constexpr std::int32_t PulseNames = 12;
constexpr std::int32_t RisingTexts = 14;
constexpr std::int32_t FallingTexts = 16;
constexpr std::int32_t StationGroup = 18;
constexpr std::int32_t PhoneNumbers = 20;
constexpr std::int32_t OptionBlockWord = 22;
constexpr std::int32_t SignatureWord = 24;
constexpr std::int32_t Checksum = 26;

constexpr std::int32_t OptionBlock = 32;
constexpr std::int32_t TextArea = 64;
constexpr int Signature = 10010;

// Option block
constexpr std::int32_t OptionFlags = 32;
constexpr std::int32_t SmsValidity = 33;
constexpr std::int32_t ReceiveFlags = 34;
constexpr std::int32_t AlarmFlags = 35;
constexpr std::int32_t EventFlags = 36;
constexpr std::int32_t InputsInMessage = 37;
constexpr std::int32_t OutputsInMessage = 38;
constexpr std::int32_t BlockCount = 39;
constexpr std::int32_t PanelSwitchDigit = 40;
constexpr std::int32_t FormatAndParity = 41;
constexpr std::int32_t TestsAndTone = 42;
constexpr std::int32_t RingWait = 45;
constexpr std::int32_t WaitFree = 46;
constexpr std::int32_t RisingEvents = 47;
constexpr std::int32_t FallingEvents = 48;
constexpr std::int32_t OutputNegation = 49;
constexpr std::int32_t InputNegation = 50;
constexpr std::int32_t PulseLengths = 51;
constexpr std::int32_t ExistenceLow = 59;
constexpr std::int32_t ExistenceHigh = 61;
constexpr std::int32_t OptionBlockEnd = 63;

// Bits of the option flags byte
constexpr int NotAuthorizedToT0Bit = 0;
constexpr int SecureModeBit = 2;
constexpr int ExistenceReportBit = 4;
constexpr int StatusToT0Bit = 5;
constexpr int NotAuthorizedReportBit = 6;

/// The panel-switch byte when the switch is off.
constexpr int PanelSwitchOff = 15;
/// Bytes 33 hold the validity in days plus this offset (the relative validity-period code of an SMS).
constexpr int ValidityOffset = 166;
/// The existence period counts units of 2.56 ms: 23437.5 = 46875 / 2 units per minute.
constexpr int ExistenceUnitsPerTwoMinutes = 46875;

/// One group of eight row texts and the header word that holds its address.
struct RowTextGroup {
    std::int32_t headerWord;
    TextField field;
};

/// The row-text groups in storage order; the pulse names follow the two transition groups.
constexpr RowTextGroup RowTextGroups[] = {
    {InputNames, TextField::tabINPNazev},  {OutputNames, TextField::tabOUTNazev},
    {InputOnNames, TextField::tabINPZap},  {InputOffNames, TextField::tabINPVyp},
    {OutputOnNames, TextField::tabOUTZap}, {OutputOffNames, TextField::tabOUTVyp},
    {RisingTexts, TextField::tabINPLH},    {FallingTexts, TextField::tabINPHL},
    {PulseNames, TextField::tabOUTimpuls},
};

/// The texts of the station group, in storage order.
constexpr TextField StationTexts[] = {TextField::tabJmenoStanice, TextField::tabPIN, TextField::tabTCcentra,
                                      TextField::rtReCall, TextField::rtNotAuthorized};
} // namespace layout

} // namespace orb
