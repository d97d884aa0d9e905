// Time of saving, loading and applying from the scheme store as the number of
// schemes grows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "bench/bench_schemes.h"
#include "core/schemes.h"
#include "tests/doubles/memory_registry_store.h"
#include "testlib/active_store_scope.h"

namespace {

using namespace velbrook;

using bench::MakeSchemes;

// Seconds per scheme (shown with a unit prefix: 1.2u is 1.2 microseconds).
benchmark::Counter PerScheme(int count) {
    return benchmark::Counter(double(count), benchmark::Counter::kIsIterationInvariantRate |
                                                 benchmark::Counter::kInvert);
}

void SaveSchemesBench(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const OrderedSchemeList schemes = MakeSchemes(count);
    MemoryRegistryStore store;
    testing::ActiveStoreScope scope(store);
    for (auto _ : state)
        SaveSchemes(schemes);
    state.SetComplexityN(count);
    state.counters["time_per_scheme"] = PerScheme(count);
}

void LoadSchemesBench(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    MemoryRegistryStore store;
    testing::ActiveStoreScope scope(store);
    SaveSchemes(MakeSchemes(count));
    for (auto _ : state) {
        OrderedSchemeList loaded;
        LoadSchemes(loaded);
        if (loaded.Count() != count)
            state.SkipWithError("lost schemes");
        benchmark::DoNotOptimize(loaded);
    }
    state.SetComplexityN(count);
    state.counters["time_per_scheme"] = PerScheme(count);
}

// The window's load: it lists the entry keys first, so that damaged ones are
// skipped, which walks the scheme key's children by index.
void LoadSchemesForTheWindowBench(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    MemoryRegistryStore store;
    testing::ActiveStoreScope scope(store);
    SaveSchemes(MakeSchemes(count));
    const SchemeLoadOptions options{.consumePendingEdits = true, .skipDamagedEntries = true};
    for (auto _ : state) {
        OrderedSchemeList loaded;
        if (!LoadSchemes(loaded, options).empty() || loaded.Count() != count)
            state.SkipWithError("lost schemes");
        benchmark::DoNotOptimize(loaded);
    }
    state.SetComplexityN(count);
    state.counters["time_per_scheme"] = PerScheme(count);
}

// -load: of the last stored scheme: the names of the others are read on the way.
void ApplySchemeBench(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    MemoryRegistryStore store;
    testing::ActiveStoreScope scope(store);
    SaveSchemes(MakeSchemes(count));
    const std::string last = "Scheme " + std::to_string(count - 1);
    store.ResetCounters();
    std::int64_t runs = 0;
    for (auto _ : state) {
        if (!ApplyScheme(last))
            state.SkipWithError("scheme not found");
        ++runs;
    }
    state.SetComplexityN(count);
    state.counters["time_per_scheme"] = PerScheme(count);
    state.counters["store_calls_per_scheme"] =
        double(store.OperationCount()) / double(runs) / double(count);
}

BENCHMARK(SaveSchemesBench)
    ->RangeMultiplier(10)
    ->Range(10, 100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(LoadSchemesBench)
    ->RangeMultiplier(10)
    ->Range(10, 100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(LoadSchemesForTheWindowBench)
    ->RangeMultiplier(10)
    ->Range(10, 100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(ApplySchemeBench)
    ->RangeMultiplier(10)
    ->Range(10, 100000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
