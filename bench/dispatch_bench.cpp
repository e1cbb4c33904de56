// Microbenchmarks of dispatch_line, one per kind of line: where the time of
// the analysis goes. The lines come from a generated mixed log, so every
// kind is seen with the state the lines before it leave in a real log.
//
// dispatch/KIND takes the first look of each line itself, as a line without
// one gets it; looked/KIND is given the first look as the reader takes it,
// ahead and on its own thread, so it is what is left for the main thread;
// first_look/mixed is the reader's first look of whole blocks of lines.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include "analysis/dispatch.h"
#include "analysis/log_line.h"
#include "loggen_lib.h"
#include "diag/messages.h"
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

void dispatch_lines(benchmark::State& state, std::size_t kind, bool looked_ahead) {
    const std::vector<std::string>& lines = lines_by_kind()[kind];
    if (lines.empty()) {
        state.SkipWithError("no line of this kind");
        return;
    }
    std::vector<std::string_view> texts(lines.begin(), lines.end());
    std::vector<std::uint64_t> looks(texts.size());
    korvanel::first_look_at(texts.data(), looks.data(), texts.size());
    auto stats = korvanel::new_part_stats();
    std::size_t next = 0;
    std::int64_t bytes = 0;
    try {
        for (auto _ : state) {
            const std::string& text = lines[next];
            if (looked_ahead) {
                korvanel::dispatch_line(korvanel::LogLine(text, looks[next]), *stats);
            } else {
                korvanel::dispatch_line(korvanel::LogLine(text), *stats);
            }
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

void first_looks(benchmark::State& state) {
    const std::vector<std::string>& lines = lines_by_kind()[kMixed];
    std::vector<std::string_view> texts(lines.begin(), lines.end());
    std::vector<std::uint64_t> looks(texts.size());
    std::int64_t bytes = 0;
    for (const std::string& line : lines) bytes += static_cast<std::int64_t>(line.size());
    for (auto _ : state) {
        korvanel::first_look_at(texts.data(), looks.data(), texts.size());
        benchmark::DoNotOptimize(looks.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
    state.SetBytesProcessed(state.iterations() * bytes);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    for (const bool looked_ahead : {false, true}) {
        const std::string family = looked_ahead ? "looked/" : "dispatch/";
        benchmark::RegisterBenchmark((family + "mixed").c_str(), dispatch_lines, kMixed, looked_ahead);
        for (std::size_t kind = 0; kind < kKinds; ++kind) {
            const auto line_kind = static_cast<LineKind>(kind);
            if (line_kind == LineKind::kChat || line_kind == LineKind::kPartCommand) continue;
            const std::string name = family + std::string(korvanel::loggen::kind_name(line_kind));
            benchmark::RegisterBenchmark(name.c_str(), dispatch_lines, kind, looked_ahead);
        }
    }
    benchmark::RegisterBenchmark("first_look/mixed", first_looks);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
