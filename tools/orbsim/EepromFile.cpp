#include "tools/orbsim/EepromFile.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

namespace orb::sim {

Bytes LoadEeprom(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (errno == ENOENT) return {};
        throw std::system_error(errno, std::generic_category(), "open " + path);
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void SaveEeprom(const std::string& path, const Bytes& eeprom) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(eeprom.data()), static_cast<std::streamsize>(eeprom.size()));
        out.close();
        if (!out) throw std::system_error(errno, std::generic_category(), "write " + temporary);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
        throw std::system_error(errno, std::generic_category(), "rename " + temporary);
}

} // namespace orb::sim
