// The registry calls of each action against the fewest it needs, on the
// in-memory store. Each call is a round trip to the registry's owner (the
// kernel on Windows, the server under Wine), which a profile server holding
// many users' hives pays for every user at every logon.
//
// How the fewest are counted, a call being one Win32 registry function:
// - reading a key: opening it, its counts (RegQueryInfoKey) and closing it: 3;
//   each value 1 (RegEnumValue gives name, type and data at once);
// - writing a key: opening or making it and closing it: 2; each value 1;
// - -load: the scheme key, its "Count", the mark of a removal under way and
//   closing it: 4; each scheme passed over: opening its key, reading its name
//   and closing it: 3; the scheme found: its key read (6 values);
// - a change of the places bar of n values, k of them changed: the bar read
//   (n + 3, or 1 when there is no key); the mark of a change broken off read
//   (3); whether this user may change the key (2); the bar kept for -undo as
//   the copy keeps it (the undo and copy keys made, the tree key for a bar
//   that has a key, the n values, the planned bar, whether the key existed and
//   the staged mark, the copy put in force and the mark taken away, closing
//   the keys made); the k values written (k + 2), or the key deleted (1);
// - -undo reads the copy it brings back: the undo key, "Current", the copy's
//   key, whether the key existed, and the copy's tree;
// - a check reads what the change reads and writes nothing;
// - the window's start: the scheme key (4), each scheme read (6 values: 9), the
//   entry keys listed (1 + 1 each), and the five slots of the bar (5 + 2).
// Exit code 1 when an action needs more than 1.5 times its fewest, or when ten
// times the schemes or the values cost more than eleven times the calls.
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_schemes.h"
#include "core/places_bar.h"
#include "core/places_file.h"
#include "core/places_undo.h"
#include "core/schemes.h"
#include "support/files.h"
#include "support/registry.h"
#include "tests/doubles/memory_registry_store.h"
#include "testlib/active_store_scope.h"

namespace {

using namespace velbrook;

bool failed = false;

void Row(const std::string& action, int calls, int fewest) {
    const double ratio = double(calls) / fewest;
    failed = failed || ratio > 1.5;
    std::printf("%-34s %8d %8d %6.2f%s\n", action.c_str(), calls, fewest, ratio,
                ratio > 1.5 ? "  more than 1.5 times" : "");
}

int Count(MemoryRegistryStore& store, const std::function<void()>& action) {
    store.ResetCounters();
    action();
    return store.OperationCount();
}

// The calls of an action asked as a check, which writes nothing.
int CountCheck(MemoryRegistryStore& store, const std::function<void()>& action) {
    return Count(store, [&] {
        const PlacesBarCheck check;
        action();
    });
}

using bench::MakeSchemes;

const PlacesList kBar = {"C:\\A", "C:\\B", "", "D:\\", ""};
constexpr int kBarValues = 5; // four places and "Count"

int ReadKey(int values) {
    return 3 + values;
}
// A change of a bar of `values` values (-1: no key), `changed` of them written.
int Change(int values, int changed) {
    const bool key = values >= 0;
    const int read = key ? ReadKey(values) : 1;
    const int copy = (2 + key) + (key ? values : 0) + 3 + 2 + (2 + key);
    return read + 3 + 2 + copy + changed + 2;
}
int Check(int values) {
    return (values >= 0 ? ReadKey(values) : 1) + 3;
}
// The copy that -undo brings back, of `values` values: the undo key, "Current",
// the copy's key, whether the key existed, and the copy's tree.
int KeptCopy(int values) {
    return 2 + 1 + 2 + 1 + ReadKey(values);
}
int FindScheme(int passed) {
    return 4 + 3 * passed + ReadKey(6);
}

// Foreign values in the places bar key, as other programs leave them.
void AddForeignValues(int count) {
    RegistryCursor registry;
    registry.OpenKey(kPlacesBarKey, KeyMode::Create);
    for (int i = 0; i < count; ++i)
        registry.WriteString("Other " + std::to_string(i), "x");
}

} // namespace

int main() {
    MemoryRegistryStore store;
    testing::ActiveStoreScope scope(store);
    std::printf("%-34s %8s %8s %6s\n", "action", "calls", "fewest", "ratio");

    int lastOf[3] = {};
    int at = 0;
    for (const int count : {10, 1000, 10000}) {
        store.Clear();
        SaveSchemes(MakeSchemes(count));
        WritePlacesBar(&kBar);
        const std::string n = std::to_string(count);
        const std::string last = "Scheme " + std::to_string(count - 1);
        Row("-load: first of " + n, Count(store, [] { ApplyScheme("Scheme 0"); }),
            FindScheme(0) + Change(kBarValues, 3));
        WritePlacesBar(&kBar);
        Row("-check -load: first of " + n, CountCheck(store, [] { ApplyScheme("Scheme 0"); }),
            FindScheme(0) + Check(kBarValues));
        WritePlacesBar(&kBar);
        lastOf[at++] = Count(store, [&] { ApplyScheme(last); });
        Row("-load: last of " + n, lastOf[at - 1], FindScheme(count - 1) + Change(kBarValues, 3));
        WritePlacesBar(&kBar);
        Row("-check -load: last of " + n, CountCheck(store, [&] { ApplyScheme(last); }),
            FindScheme(count - 1) + Check(kBarValues));
    }
    failed = failed || lastOf[2] > 11 * lastOf[1];

    store.Clear();
    WritePlacesBar(&kBar);
    const std::string file = "registry_cost.ini";
    std::string reason;
    DeleteFileByName(file);
    ReplaceFileContent(file, "[Places]\r\nPlace0=C:\\File\r\n");
    Row("-file:", Count(store, [&] { LoadPlacesFile(file); }), Change(kBarValues, 5));
    Row("-check -file:", CountCheck(store, [&] { LoadPlacesFile(file); }), Check(2));
    DeleteFileByName(file);
    Row("-check default", CountCheck(store, [] { WritePlacesBar(nullptr); }), Check(2));
    Row("default", Count(store, [] { WritePlacesBar(nullptr); }), Change(2, 0) - 2 + 1);
    Row("-check -undo", CountCheck(store, [] { UndoPlacesBarChange(); }), Check(-1) + KeptCopy(2));
    Row("-undo", Count(store, [] { UndoPlacesBarChange(); }), KeptCopy(2) + Change(-1, 2));

    for (const int count : {0, 1000}) {
        store.Clear();
        SaveSchemes(MakeSchemes(count));
        WritePlacesBar(&kBar);
        Row("window start, " + std::to_string(count) + " schemes",
            Count(store,
                  [] {
                      OrderedSchemeList list;
                      LoadSchemes(list, {.consumePendingEdits = false, .skipDamagedEntries = true});
                      ReadPlacesBar();
                  }),
            4 + 1 + count * (1 + ReadKey(6)) + 2 + kPlaceSlots);
    }
    store.Clear();
    WritePlacesBar(&kBar);
    Row("Ok after one edit",
        Count(store,
              [] {
                  std::vector<PlaceSlot> slots(kPlaceSlots);
                  slots[0].path = "C:\\Edited";
                  WritePlacesBar(slots);
              }),
        Change(kBarValues, 4));

    // A change of a key that other programs filled: linear in their values.
    int foreign[2] = {};
    double seconds = 0;
    for (const int values : {800, 8000}) {
        store.Clear();
        AddForeignValues(values);
        const auto start = std::chrono::steady_clock::now();
        foreign[values == 8000] = Count(store, [] { WritePlacesBar(&kBar); });
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        Row("-file: beside " + std::to_string(values) + " values", foreign[values == 8000],
            Change(values, 5));
    }
    failed = failed || foreign[1] > 11 * foreign[0];
    std::printf("the change beside 8000 values took %.2f s\n", seconds);
    return failed ? 1 : 0;
}
