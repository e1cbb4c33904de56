// korvanel_loggen: writes a generated game log (ISO-8859-1) to a file or to
// standard output.
//
//   korvanel_loggen [--lines N] [--seed S] [--parts P] [--unbounded] [--output FILE] [--kinds]
//
// --parts P (1 to 10) cuts the log into P named parts with the in-log part
// commands; --ten-parts is --parts 10. --unbounded lifts the generator's
// budgets and widens its names (years of play in one log). --kinds prints on standard error how
// many lines of each kind were written.
#include <array>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "loggen_lib.h"

namespace {

bool read_count(std::string_view text, std::uint64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

int usage() {
    std::fputs("usage: korvanel_loggen [--lines N] [--seed S] [--parts P | --ten-parts] [--unbounded] [--output FILE] [--kinds]\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    korvanel::loggen::Options options;
    std::string output;
    bool show_kinds = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        const bool has_value = i + 1 < argc;
        std::uint64_t value = 0;
        if (option == "--kinds") {
            show_kinds = true;
        } else if (option == "--unbounded") {
            options.unbounded = true;
        } else if (option == "--ten-parts") {
            options.parts = 10;
        } else if (option == "--lines" && has_value && read_count(argv[i + 1], value)) {
            options.lines = value;
            ++i;
        } else if (option == "--seed" && has_value && read_count(argv[i + 1], value)) {
            options.seed = value;
            ++i;
        } else if (option == "--parts" && has_value && read_count(argv[i + 1], value) && value >= 1 && value <= 10) {
            options.parts = static_cast<int>(value);
            ++i;
        } else if (option == "--output" && has_value) {
            output = argv[++i];
        } else {
            return usage();
        }
    }

    std::FILE* file = output.empty() ? stdout : std::fopen(output.c_str(), "wb");
    if (file == nullptr) {
        std::perror(output.c_str());
        return 1;
    }
    std::string buffer;
    buffer.reserve(1 << 20);
    bool ok = true;
    const auto flush = [&] {
        ok = ok && std::fwrite(buffer.data(), 1, buffer.size(), file) == buffer.size();
        buffer.clear();
    };
    using korvanel::loggen::LineKind;
    std::array<std::uint64_t, static_cast<std::size_t>(LineKind::kCount)> lines{}, bytes{};
    korvanel::loggen::generate_log(options, [&](LineKind kind, std::string_view line) {
        ++lines[static_cast<std::size_t>(kind)];
        bytes[static_cast<std::size_t>(kind)] += line.size();
        buffer.append(line);
        if (buffer.size() >= (1 << 20) - 512) flush();
    });
    flush();
    ok = (file == stdout ? std::fflush(file) == 0 : std::fclose(file) == 0) && ok;
    if (!ok) {
        std::perror(output.empty() ? "standard output" : output.c_str());
        return 1;
    }
    if (show_kinds) {
        for (std::size_t kind = 0; kind < lines.size(); ++kind) {
            std::fprintf(stderr, "%-18s %10llu lines %12llu bytes\n",
                         std::string(korvanel::loggen::kind_name(static_cast<LineKind>(kind))).c_str(),
                         static_cast<unsigned long long>(lines[kind]), static_cast<unsigned long long>(bytes[kind]));
        }
    }
    return 0;
}
