// The whole program on arbitrary bytes as the log: reading, part commands,
// every recogniser, every page and the transcript, written into a scratch
// directory. A fatal report (status 1) is a normal outcome; a crash, a
// sanitizer report, a leak or a hang is a finding.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "run/run.h"
#include "run/scripted_console.h"

namespace {
std::filesystem::path scratch_dir() {
    static const std::filesystem::path dir = [] {
        const char* base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/korvanel-fuzz-XXXXXX";
        return std::filesystem::path(mkdtemp(pattern.data()));
    }();
    return dir;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path dir = scratch_dir();
    for (const auto& entry : std::filesystem::directory_iterator(dir)) std::filesystem::remove_all(entry.path());
    {
        std::ofstream log(dir / "chat.log", std::ios::binary);
        log.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    korvanel::ScriptedConsole console;
    console.key_at_ms = 0;  // no exit wait
    const int status = korvanel::run_korvanel(console, dir);
    if (status != 0 && status != 1) std::abort();
    if (status == 1 && console.output.find("\n\nERREUR\n\n") == std::string::npos) std::abort();
    return 0;
}
