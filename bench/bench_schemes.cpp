// Time of saving and loading the scheme store as the number of schemes grows.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/schemes.h"
#include "support/memory_registry_store.h"

namespace {

using namespace velbrook;

OrderedSchemeList MakeSchemes(int count) {
    OrderedSchemeList list;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        list.Add("Scheme " + n, std::make_unique<PlacesList>(PlacesList{
                                    "C:\\Users\\" + n, "D:\\Work\\" + n, "", "E:\\", ""}));
    }
    return list;
}

// Seconds per scheme (shown with a unit prefix: 1.2u is 1.2 microseconds).
benchmark::Counter PerScheme(int count) {
    return benchmark::Counter(double(count), benchmark::Counter::kIsIterationInvariantRate |
                                                 benchmark::Counter::kInvert);
}

class StoreScope {
  public:
    explicit StoreScope(RegistryStore& store) { SetActiveRegistryStore(&store); }
    ~StoreScope() { SetActiveRegistryStore(nullptr); }
    StoreScope(const StoreScope&) = delete;
    StoreScope& operator=(const StoreScope&) = delete;
};

void SaveSchemesBench(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const OrderedSchemeList schemes = MakeSchemes(count);
    MemoryRegistryStore store;
    StoreScope scope(store);
    for (auto _ : state)
        SaveSchemes(schemes);
    state.SetComplexityN(count);
    state.counters["time_per_scheme"] = PerScheme(count);
}

void LoadSchemesBench(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    MemoryRegistryStore store;
    StoreScope scope(store);
    {
        const OrderedSchemeList schemes = MakeSchemes(count);
        SaveSchemes(schemes);
    }
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

} // namespace

BENCHMARK_MAIN();
