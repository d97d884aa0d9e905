// Scheme store and places bar reading over any registry content: raised errors
// are fine, crashes, hangs and leaked key handles are not.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/places_bar.h"
#include "core/schemes.h"
#include "support/errors.h"
#include "tests/doubles/memory_registry_store.h"

namespace {

using namespace velbrook;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

const std::string kSchemesKey = std::string(kProgramKey) + "\\" + kSchemesSubkey;

std::string PickIndex(FuzzedDataProvider& input) {
    if (input.ConsumeIntegralInRange(0, 15) == 0)
        return input.ConsumeRandomLengthString(8);
    return std::to_string(input.ConsumeIntegralInRange(0, 9));
}

std::string PickKey(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 6)) {
    case 0:
        return kSchemesKey;
    case 1:
        return kSchemesKey + "\\" + PickIndex(input);
    case 2:
        return kSchemesKey + "\\" + PickIndex(input) + "\\Add";
    case 3:
        return kSchemesKey + "\\" + PickIndex(input) + "\\Delete";
    case 4:
        return kPlacesBarKey;
    case 5:
        return kSchemesKey + "\\" + PickIndex(input) + "\\" + input.ConsumeRandomLengthString(8);
    default:
        return kProgramKey;
    }
}

std::string PickValueName(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return "Count";
    case 1:
        return std::to_string(input.ConsumeIntegralInRange(0, 9));
    case 2:
        return "Place" + std::to_string(input.ConsumeIntegralInRange(0, 5));
    default:
        return input.ConsumeRandomLengthString(12);
    }
}

std::uint32_t PickType(FuzzedDataProvider& input) {
    static const std::uint32_t kTypes[] = {kRegSz,     kRegExpandSz, kRegDword,
                                           kRegBinary, kRegMultiSz,  kRegNone};
    if (input.ConsumeIntegralInRange(0, 7) == 0)
        return input.ConsumeIntegral<std::uint32_t>();
    return input.PickValueInArray(kTypes);
}

std::vector<std::uint8_t> PickData(FuzzedDataProvider& input, std::uint32_t type) {
    if (type == kRegDword && input.ConsumeBool()) {
        // Small counts most of the time, so that entries get read.
        const std::int32_t n = input.ConsumeBool() ? input.ConsumeIntegralInRange(-2, 12)
                                                   : input.ConsumeIntegral<std::int32_t>();
        const auto u = static_cast<std::uint32_t>(n);
        return {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16),
                std::uint8_t(u >> 24)};
    }
    return input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 48));
}

void BuildTree(MemoryRegistryStore& store, const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    while (input.remaining_bytes() > 0) {
        const std::string path = PickKey(input);
        RegKey key = 0;
        if (store.CreateKey(kHkeyCurrentUser, path.c_str(), kKeyAllAccess, &key) != kRegSuccess)
            continue;
        RegKeyHandle handle(store, key);
        const int values = input.ConsumeIntegralInRange(0, 4);
        for (int i = 0; i < values; ++i) {
            const std::string name = PickValueName(input);
            const std::uint32_t type = PickType(input);
            const std::vector<std::uint8_t> bytes = PickData(input, type);
            store.SetValue(key, name.c_str(), type, bytes.empty() ? nullptr : bytes.data(),
                           static_cast<std::uint32_t>(bytes.size()));
        }
    }
    store.ResetCounters();
}

bool SameSchemes(const SchemeList& a, const SchemeList& b) {
    if (a.Count() != b.Count())
        return false;
    for (int i = 0; i < a.Count(); ++i)
        if (a.Name(i) != b.Name(i) || a.Places(i) != b.Places(i))
            return false;
    return true;
}

// Loads, and when that worked, saves and loads again: the same list comes back.
void LoadSaveLoad(const std::uint8_t* data, std::size_t size, const SchemeLoadOptions& options) {
    MemoryRegistryStore store;
    BuildTree(store, data, size);
    SetActiveRegistryStore(&store);
    OrderedSchemeList loaded;
    bool complete = false;
    try {
        complete = LoadSchemes(loaded, options).empty();
    } catch (const Error&) {
    }
    Require(store.OpenHandleCount() == 0);
    if (complete && options.consumePendingEdits) {
        SaveSchemes(loaded);
        Require(store.OpenHandleCount() == 0);
        OrderedSchemeList reloaded;
        Require(LoadSchemes(reloaded, options).empty());
        Require(store.OpenHandleCount() == 0);
        Require(SameSchemes(loaded, reloaded));
    }
    loaded.Clear();
    Require(loaded.Count() == 0);

    (void)ReadPlacesBar();
    Require(store.OpenHandleCount() == 0);
    SetActiveRegistryStore(nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LoadSaveLoad(data, size, {.consumePendingEdits = true, .skipDamagedEntries = false});
    LoadSaveLoad(data, size, {.consumePendingEdits = false, .skipDamagedEntries = false});
    LoadSaveLoad(data, size, {.consumePendingEdits = true, .skipDamagedEntries = true});
    return 0;
}
