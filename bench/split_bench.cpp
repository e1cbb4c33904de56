// The precise-shot split of the archery section on one ranged weapon with
// 1,000,000 hits: ordinary shots around a mean, a few strong ones among
// them and, now and then, a hit that must not count.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>

#include "report/sections.h"
#include "stats/part_stats.h"

namespace {

void split(benchmark::State& state) {
    const auto hits = static_cast<int>(state.range(0));
    korvanel::WeaponStats bow;
    bow.weaponName = "arc long";
    bow.styleName = "Range";
    std::mt19937 random(5);
    for (int i = 0; i < hits; ++i) {
        const unsigned roll = random() % 100;
        const std::int32_t hit = roll == 0  ? korvanel::kExcludedValue
                                 : roll < 5 ? 200 + static_cast<std::int32_t>(random() % 120)
                                            : 60 + static_cast<std::int32_t>(random() % 80);
        bow.hits.push(hit);
        bow.modifiers.push(hit == korvanel::kExcludedValue ? hit : static_cast<std::int32_t>(random() % 20));
    }
    std::int64_t moved = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto stats = korvanel::new_part_stats();
        stats->weapons[0] = bow;
        stats->weaponCount = 1;
        state.ResumeTiming();
        korvanel::precise_shot_split(*stats);
        moved = stats->weapons[0].preciseShots.count();
    }
    state.counters["moved"] = static_cast<double>(moved);
}

BENCHMARK(split)->Name("split/ranged_hits")->Arg(80000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
