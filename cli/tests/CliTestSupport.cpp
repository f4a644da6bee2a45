#include "cli/tests/CliTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace orb::testing_support {

std::vector<std::uint8_t> HexBytes(const std::string& hex) {
    std::istringstream in(hex);
    std::vector<std::uint8_t> bytes;
    for (std::string pair; in >> pair;)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(pair, nullptr, 16)));
    return bytes;
}

namespace {
const std::string OptionBlock = "14 A9 00 00 00 00 00 01 0F 01 10 00 00 00 05 00 00 00 00 "
                                "01 01 01 01 01 01 01 01 C4 C9 01 00 00";

std::vector<std::uint8_t> withText(std::vector<std::uint8_t> bytes, const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}
} // namespace

std::vector<std::uint8_t> DefaultImage() {
    std::vector<std::uint8_t> image = HexBytes("40 00 48 00 50 00 58 00 60 00 68 00 80 00 70 00 78 00 88 00 "
                                               "8D 00 20 00 1A 27 D7 00 00 00 00 00 " +
                                               OptionBlock);
    image.resize(149, 0);
    return image;
}

std::vector<std::uint8_t> ExampleImage() {
    std::vector<std::uint8_t> image = HexBytes("40 00 4A 00 52 00 5A 00 62 00 6A 00 82 00 72 00 7A 00 8A 00 "
                                               "94 00 20 00 1A 27 F0 00 00 00 00 00 " +
                                               OptionBlock);
    image = withText(image, std::string("A1") + std::string(8, '\0'));         // input names, 64..73
    image.resize(138, 0);                                                      // 8 groups of 8 empty texts
    image = withText(image, std::string("CHATA") + std::string(5, '\0'));      // station group, 138..147
    image = withText(image, std::string("05912143F5") + std::string(8, '\0')); // numbers, 148..165
    return image;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orbctl-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(file(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file(name);
}

std::vector<std::uint8_t> TempDir::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace orb::testing_support
