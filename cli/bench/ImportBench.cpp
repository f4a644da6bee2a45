// Prints the time and the peak memory orbctl import takes for hostile JSON files just under the size cap,
// and for an ordinary export. Each case runs in a process of its own, so that its peak is its own.
#include "cli/CliError.h"
#include "cli/json/JsonCommands.h"
#include "cli/json/SettingsJson.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t NearTheCap = 15 * 1024 * 1024;

struct Case {
    const char* name;
    std::function<std::string()> text;
};

std::string manyKeys(const std::string& open, std::size_t keys, const std::string& close) {
    std::string text = open;
    for (std::size_t key = 0; key < keys; ++key)
        text += (key ? ",\"k" : "\"k") + std::to_string(key) + "\":1";
    return text + close;
}

std::string repeated(const std::string& open, const std::string& unit, const std::string& close) {
    std::string text = open;
    while (text.size() + unit.size() + close.size() < NearTheCap)
        text += unit;
    return text + close;
}

const Case Cases[] = {
    {"80 000 unknown keys", [] { return manyKeys("{", 80'000, "}"); }},
    {"{\"tabTC\": {160 000 keys}}", [] { return manyKeys("{\"tabTC\":{", 160'000, "}}"); }},
    {"1 300 000 keys", [] { return manyKeys("{", 1'300'000, "}"); }},
    {"15 MB of [", [] { return std::string(NearTheCap, '['); }},
    {"15 MB text in tabPIN", [] { return repeated("{\"tabPIN\":\"", "1", "\"}"); }},
    {"15 MB text under an unknown key", [] { return repeated("{\"poznamka\":\"", "x", "\"}"); }},
    {"15 MB array in tabTC", [] { return repeated("{\"tabTC\":[1", ",1", "]}"); }},
    {"an export of the start-up settings",
     [] { return orb::SettingsToJson(orb::SettingsRecord{}, orb::ReservedBytes{}).dump(2); }},
};

/// Imports the file as orbctl import does and ends the process with its status.
[[noreturn]] void importIn(const std::string& input, const std::string& output) {
    orb::CommandLine line;
    line.command = orb::Command::Import;
    line.files = {input};
    line.output = output;
    std::ostringstream out;
    std::ostringstream err;
    int status = 0;
    try {
        status = static_cast<int>(orb::RunImport(line, out, err));
    } catch (const orb::CliError& error) {
        status = static_cast<int>(error.status());
    }
    std::_Exit(status);
}

} // namespace

int main() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("orb-import-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string input = (folder / "input.json").string();
    const std::string output = (folder / "output.eep").string();
    std::printf("%-38s %10s %8s %10s %7s\n", "case", "bytes", "status", "time [s]", "peak MB");
    for (const Case& bench : Cases) {
        const std::string text = bench.text();
        std::ofstream(input, std::ios::binary | std::ios::trunc) << text;
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = ::fork();
        if (child == 0) importIn(input, output);
        int status = 0;
        rusage usage{};
        ::wait4(child, &status, 0, &usage);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::printf("%-38s %10zu %8d %10.3f %7.1f\n", bench.name, text.size(),
                    WIFEXITED(status) ? WEXITSTATUS(status) : -1, took.count(), usage.ru_maxrss / 1024.0);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
