#include "files/SystemErrorText.h"

#include "files/FileMessages.h"

#include <cerrno>

namespace orb {

std::string DescribeSystemError(const std::error_code& error) {
    namespace msg = file_messages;
    if (error.category() == std::generic_category() || error.category() == std::system_category()) {
        switch (error.value()) {
        case ENOENT:
            return "Soubor nebo složka neexistuje.";
        case EACCES:
        case EPERM:
            return "Přístup byl odepřen.";
        case EISDIR:
            return msg::TargetIsFolder;
        case ENOTDIR:
            return "Část cesty není složka.";
        case EFBIG:
            return "Soubor je příliš velký.";
        case ENOSPC:
            return "Na disku není místo.";
        case EDQUOT:
            return "Byla vyčerpána kvóta disku.";
        case EROFS:
            return msg::ReadOnlyDisk;
        case ELOOP:
            return msg::LinkLoop;
        case ENAMETOOLONG:
            return "Jméno souboru je příliš dlouhé.";
        case EPIPE:
            return "Program, který měl data převzít, skončil.";
        case EIO:
            return "Disk nebo zařízení ohlásilo chybu čtení či zápisu.";
        default:
            break;
        }
    }
    return "Systém ohlásil: " + error.message() + ".";
}

} // namespace orb
