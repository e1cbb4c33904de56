// Microbenchmarks of dispatch_line, one per kind of line: where the time of
// the analysis goes. The lines come from a generated mixed log, so every
// kind is seen with the state the lines before it leave in a real log.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include "analysis/dispatch.h"
#include "analysis/log_line.h"
#include "loggen_lib.h"
#include "console/messages.h"
#include "stats/part_stats.h"

namespace {

using korvanel::loggen::LineKind;

constexpr std::size_t kKinds = static_cast<std::size_t>(LineKind::kCount);
constexpr std::size_t kMixed = kKinds;     // every analysed line, in log order
constexpr std::size_t kPerKind = 20000;    // lines kept of each kind

const std::array<std::vector<std::string>, kKinds + 1>& lines_by_kind() {
    static const auto buckets = [] {
        std::array<std::vector<std::string>, kKinds + 1> lines;
        korvanel::loggen::Options options;
        options.lines = 400000;
        options.seed = 11;
        korvanel::loggen::generate_log(options, [&lines](LineKind kind, std::string_view line) {
            if (kind == LineKind::kChat || kind == LineKind::kPartCommand) return;  // never analysed
            auto& bucket = lines[static_cast<std::size_t>(kind)];
            if (bucket.size() < kPerKind) bucket.emplace_back(line);
            if (lines[kMixed].size() < 5 * kPerKind) lines[kMixed].emplace_back(line);
        });
        return lines;
    }();
    return buckets;
}

void dispatch_lines(benchmark::State& state, std::size_t kind) {
    const std::vector<std::string>& lines = lines_by_kind()[kind];
    if (lines.empty()) {
        state.SkipWithError("no line of this kind");
        return;
    }
    auto stats = korvanel::new_part_stats();
    std::size_t next = 0;
    std::int64_t bytes = 0;
    try {
        for (auto _ : state) {
            const std::string& text = lines[next];
            korvanel::dispatch_line(korvanel::LogLine(text), *stats);
            bytes += static_cast<std::int64_t>(text.size());
            if (++next == lines.size()) {
                // start the round again on a fresh record, as a new log part would
                next = 0;
                state.PauseTiming();
                stats = korvanel::new_part_stats();
                state.ResumeTiming();
            }
        }
    } catch (const korvanel::FatalError& error) {
        state.SkipWithError(("fatal error: " + error.message).c_str());
        return;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(bytes);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RegisterBenchmark("dispatch/mixed", dispatch_lines, kMixed);
    for (std::size_t kind = 0; kind < kKinds; ++kind) {
        const auto line_kind = static_cast<LineKind>(kind);
        if (line_kind == LineKind::kChat || line_kind == LineKind::kPartCommand) continue;
        const std::string name = "dispatch/" + std::string(korvanel::loggen::kind_name(line_kind));
        benchmark::RegisterBenchmark(name.c_str(), dispatch_lines, kind);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
