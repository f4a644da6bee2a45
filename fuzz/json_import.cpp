// Any file handed to orbctl import: it is refused (malformed JSON, a value a field refuses) or encoded,
// and never ends in anything but the command's own statuses.
#include "cli/CliError.h"
#include "cli/json/JsonCommands.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

std::string TempPath(const char* suffix) {
    return (std::filesystem::temp_directory_path() / ("orb-fuzz-" + std::to_string(getpid()) + suffix))
        .string();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string input = TempPath(".json");
    static const std::string output = TempPath("-import.eep");
    {
        std::ofstream file(input, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    orb::CommandLine line;
    line.command = orb::Command::Import;
    line.files = {input};
    line.output = output;
    line.memory = 128 << (size % 10);
    std::ostringstream out;
    std::ostringstream err;
    try {
        const orb::ExitStatus status = orb::RunImport(line, out, err);
        if (status != orb::ExitStatus::Success && status != orb::ExitStatus::Refused) __builtin_trap();
    } catch (const orb::CliError& error) {
        if (error.status() != orb::ExitStatus::Refused) __builtin_trap();
    }
    return 0;
}
