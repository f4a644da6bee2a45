#pragma once

#include "settings/UnitDisplay.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orb::link_messages {

inline constexpr std::string_view DeviceName = "ORB";

// Box titles
inline constexpr std::string_view OpenPortTitle = "Otevírání portu";
inline constexpr std::string_view ActivatingTitle = "ORB - Aktivování spojení";
inline constexpr std::string_view ActivationTitle = "ORB - Aktivace spojení";
inline constexpr std::string_view ActivationErrorTitle = "Aktivace spojení";
inline constexpr std::string_view DeactivationTitle = "Deaktivace spojení";
inline constexpr std::string_view ExitTitle = "ORB - ukončení programu";
inline constexpr std::string_view LoadTitle = "ORB - Načítání dat z EEPROM do PC";
inline constexpr std::string_view SaveTitle = "ORB - Ukládání dat z PC do EEPROM";

// Programming mode
inline std::string cannotOpenPort(std::string_view portText) {
    return "Nelze otevřít port " + std::string(portText) + ".";
}
/// Returns "COM 3 (/dev/ttyS2)", or the device alone for a port the messages name by its device.
inline std::string portAndDevice(std::string_view portName, std::string_view device) {
    if (portName == device) return std::string(device);
    return std::string(portName) + " (" + std::string(device) + ")";
}
inline std::string portInUse(std::string_view portName, std::string_view device) {
    return "Port " + portAndDevice(portName, device) + " právě používá jiný program.";
}
/// The group is the one whose members may use the device; without one the administrator must grant it.
inline std::string portNotPermitted(std::string_view portName, std::string_view device,
                                    const std::optional<std::string>& group) {
    const std::string opening = "Nemáte oprávnění otevřít port " + portAndDevice(portName, device) + ". ";
    if (!group)
        return opening + "Požádejte správce, aby vám k zařízení " + std::string(device) + " dal přístup.";
    return opening + "Požádejte správce, aby vás přidal do skupiny " + *group + ", a pak se znovu přihlaste.";
}
inline std::string deviceMissing(std::string_view device) {
    return "Zařízení " + std::string(device) + " neexistuje.";
}
inline std::string notASerialPort(std::string_view device) {
    return std::string(device) + " není sériový port.";
}
inline std::string systemSaid(std::string_view words) {
    return "Systém ohlásil: " + std::string(words) + ".";
}
inline constexpr std::string_view PressButton =
    "Na zařízení stiskněte tlačítko 'A1 VYP' a vyčkejte, než zelená LED 'STATUS' přestane blikat a bude "
    "svítit trvale. Poté potvrďte 'OK'.";
inline constexpr std::string_view SwitchOn = "Zapněte zařízení. Program se pokouší navázat komunikaci.";
inline constexpr std::string_view UnknownDevice = "Připojené zařízení není známo. Je sice povoleno ho "
                                                  "naprogramovat, ale za způsobené chyby není ručeno.";
inline std::string onlyDevice() {
    return "Touto verzí programu lze naprogramovat pouze zařízení " + std::string(DeviceName) + ".";
}
inline constexpr std::string_view LowestVersion = "1.2";
inline std::string versionTooOld() {
    return "Touto verzí programu lze naprogramovat pouze zařízení s procesorem verze " +
           std::string(LowestVersion) + " a vyšší.";
}
inline constexpr std::string_view ActivationFailed = "Při pokusu aktivovat spojení nastala chyba.";
inline constexpr std::string_view MayStillBeActive =
    "Zařízení nepotvrdilo deaktivaci a může být stále v programovacím módu.";
inline std::string activationFailedStillActive() {
    return std::string(ActivationFailed) + "\n\n" + std::string(MayStillBeActive);
}
inline constexpr std::string_view DeactivationFailed =
    "Při deaktivaci spojení došlo k chybě. Zařízení je zřejmě stále v programovacím módu. Mám přesto "
    "přejít do 'Neaktivního stavu'?";
inline constexpr std::string_view DeactivateBeforeExit =
    "Zařízení nebylo deaktivováno a je zřejmě stále v programovacím módu. Má se zařízení před ukončením "
    "programu deaktivovat?";

// Block transfer
inline constexpr std::string_view Reading = "Načítám data z EEPROM do PC.";
inline constexpr std::string_view Writing = "Ukládám data z PC do EEPROM.";

// Reading from the unit
inline constexpr std::string_view ReadBlockFailed =
    "Data nebyla úspěšně načtena z EEPROM. Došlo k chybě při načítání bloku dat.";
inline constexpr std::string_view ReadCancelled = "Načtítání dat z EEPROM do PC bylo stornováno.";
inline constexpr std::string_view NotProgrammed =
    "Data nebyla úspěšně načtena z EEPROM. EEPROM zřejmě není naprogramována.";
inline constexpr std::string_view ReadDone = "Data byla úspěšně načtena z EEPROM.";
/// Names the blocks whose reads never agreed (their addresses, decimal, as the unit's memory counts them).
inline std::string readsDisagree(const std::vector<int>& addresses) {
    constexpr std::size_t Named = 8;
    std::string text =
        "Data nebyla úspěšně načtena z EEPROM. Opakovaná čtení se neshodla u bloků na adresách ";
    for (std::size_t i = 0; i < addresses.size() && i < Named; ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(addresses[i]);
    if (addresses.size() > Named) text += " a " + std::to_string(addresses.size() - Named) + " dalších";
    return text + ".";
}

// Writing into the unit
/// Names the used size and the memory size as the window's labels show them.
inline std::string tooLarge(int usageBytes, int memoryBytes) {
    return "Velikost dat v nastavení (" + ByteCaption(usageBytes) +
           ") je větší než je možno vložit do EEPROM (" + MemorySizeCaption(memoryBytes) + ").";
}
inline constexpr std::string_view EncodeFailed =
    "Data nebyla úspěšně uložena do EEPROM. Nastavení obsahuje hodnotu, kterou nelze převést.";
inline constexpr std::string_view SignatureFailed =
    "Data nebyla úspěšně uložena do EEPROM. Nastala chyba při převodu dat z formuláře nastavení.";
inline constexpr std::string_view WriteBlockFailed =
    "Data nebyla úspěšně uložena do EEPROM. Došlo k chybě při ukládání bloku do EEPROM.";
inline constexpr std::string_view WriteCancelled = "Ukládání dat z PC do EEPROM bylo stornováno.";
inline constexpr std::string_view WriteDone = "Data byla úspěšně uložena do EEPROM.";
/// A write that did not finish has zeroed block 0 of the unit, so the unit has no valid settings left.
inline constexpr std::string_view NoValidSettings =
    "Zařízení nyní nemá platné nastavení; uložte je do něj znovu.";
/// Adds the notice that the unit has no valid settings as a second paragraph of a write's message.
inline std::string withNoValidSettings(std::string_view text) {
    return std::string(text) + "\n\n" + std::string(NoValidSettings);
}

// Both directions: a unit whose memory size stayed unknown, a port that failed during an exchange
inline constexpr std::string_view MemorySizeUnknown =
    "Velikost paměti připojeného zařízení není známa. Data nelze přenést.";
inline std::string portFailed(std::string_view portText) {
    return "Spojení se zařízením bylo přerušeno: port " + std::string(portText) +
           " přestal pracovat. Port byl uzavřen a spojení je neaktivní.";
}

} // namespace orb::link_messages
