// Fault sweeps: every registry call of an operation is made to fail once, on a
// freshly prepared store, and the outcome is checked against what a failure at
// that point must leave: the right error text, the values written before it,
// nothing after it, and no key handle left open.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/places_bar.h"
#include "core/schemes.h"
#include "testlib/scripted_dialogs.h"
#include "support/errors.h"
#include "support/memory_registry_store.h"
#include "support/messages.h"
#include "support/registry.h"

namespace velbrook {
namespace {

const std::string kSchemesKey = std::string(kProgramKey) + "\\" + kSchemesSubkey;

// A value as stored: type and raw bytes.
struct Stored {
    std::uint32_t type = 0;
    std::string data;
    bool operator==(const Stored&) const = default;
};
using Snapshot = std::map<std::string, std::optional<Stored>>; // "path|name" -> value

Stored Text(const std::string& s) {
    return {kRegSz, s + '\0'};
}
Stored Number(std::uint32_t v) {
    return {kRegDword, std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}};
}

void Put(RegistryStore& store, const std::string& path, const std::string& name,
         const Stored& value) {
    RegKey key = 0;
    ASSERT_EQ(store.CreateKey(kHkeyCurrentUser, path.c_str(), kKeyAllAccess, &key), kRegSuccess);
    RegKeyHandle handle(store, key);
    ASSERT_EQ(store.SetValue(key, name.c_str(), value.type,
                             reinterpret_cast<const std::uint8_t*>(value.data.data()),
                             static_cast<std::uint32_t>(value.data.size())),
              kRegSuccess);
}

bool KeyExists(RegistryStore& store, const std::string& path) {
    RegKey key = 0;
    if (store.OpenKey(kHkeyCurrentUser, path.c_str(), kKeyAllAccess, &key) != kRegSuccess)
        return false;
    store.CloseKey(key);
    return true;
}

std::optional<Stored> Get(RegistryStore& store, const std::string& path, const std::string& name) {
    RegKey key = 0;
    if (store.OpenKey(kHkeyCurrentUser, path.c_str(), kKeyAllAccess, &key) != kRegSuccess)
        return std::nullopt;
    RegKeyHandle handle(store, key);
    Stored value;
    std::uint32_t size = 0;
    if (store.QueryValue(key, name.c_str(), &value.type, nullptr, &size) != kRegSuccess)
        return std::nullopt;
    value.data.resize(size);
    if (size > 0)
        store.QueryValue(key, name.c_str(), &value.type,
                         reinterpret_cast<std::uint8_t*>(value.data.data()), &size);
    return value;
}

// Forwards to a memory store and records every call with the key path and the
// value or subkey name it concerns, so a sweep can tell which call it broke.
class RecordingStore : public RegistryStore {
  public:
    struct Call {
        RegOp op;
        std::string path; // key path below HKEY_CURRENT_USER
        std::string name; // value name or subkey
    };

    explicit RecordingStore(MemoryRegistryStore& inner) : inner_(inner) {}
    std::vector<Call> calls;

    long OpenKey(RegKey base, const char* subkey, std::uint32_t access, RegKey* key) override {
        Record(RegOp::Open, base, subkey);
        const long result = inner_.OpenKey(base, subkey, access, key);
        Remember(result, base, subkey, key);
        return result;
    }
    long CreateKey(RegKey base, const char* subkey, std::uint32_t access, RegKey* key) override {
        Record(RegOp::Create, base, subkey);
        const long result = inner_.CreateKey(base, subkey, access, key);
        Remember(result, base, subkey, key);
        return result;
    }
    long CloseKey(RegKey key) override {
        Record(RegOp::Close, key, "");
        return inner_.CloseKey(key);
    }
    long QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override {
        Record(RegOp::Query, key, name);
        return inner_.QueryValue(key, name, type, data, size);
    }
    long SetValue(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override {
        Record(RegOp::Set, key, name);
        return inner_.SetValue(key, name, type, data, size);
    }
    long QueryValueW(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size) override {
        Record(RegOp::QueryW, key, name);
        return inner_.QueryValueW(key, name, type, data, size);
    }
    long SetValueW(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                   std::uint32_t size) override {
        Record(RegOp::SetW, key, name);
        return inner_.SetValueW(key, name, type, data, size);
    }
    long DeleteValue(RegKey key, const char* name) override {
        Record(RegOp::DeleteValue, key, name);
        return inner_.DeleteValue(key, name);
    }
    long DeleteKey(RegKey base, const char* subkey) override {
        Record(RegOp::DeleteKey, base, subkey);
        return inner_.DeleteKey(base, subkey);
    }
    long QueryInfoKey(RegKey key, std::uint32_t* subkeys, std::uint32_t* maxLen,
                      std::uint32_t* values) override {
        Record(RegOp::QueryInfo, key, "");
        return inner_.QueryInfoKey(key, subkeys, maxLen, values);
    }
    long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) override {
        Record(RegOp::EnumKey, key, "");
        return inner_.EnumKey(key, index, name, nameLen);
    }

  private:
    std::string PathOf(RegKey key) const {
        const auto found = paths_.find(key);
        return found == paths_.end() ? std::string() : found->second;
    }
    void Record(RegOp op, RegKey key, const char* name) {
        calls.push_back({op, PathOf(key), name ? name : ""});
    }
    void Remember(long result, RegKey base, const char* subkey, const RegKey* key) {
        if (result != kRegSuccess || key == nullptr)
            return;
        const std::string above = PathOf(base);
        const std::string below = subkey ? subkey : "";
        paths_[*key] = above.empty() ? below : below.empty() ? above : above + "\\" + below;
    }

    MemoryRegistryStore& inner_;
    std::map<RegKey, std::string> paths_;
};

class StoreScope {
  public:
    explicit StoreScope(RegistryStore& store) { SetActiveRegistryStore(&store); }
    ~StoreScope() { SetActiveRegistryStore(nullptr); }
    StoreScope(const StoreScope&) = delete;
    StoreScope& operator=(const StoreScope&) = delete;
};

struct Outcome {
    bool raised = false;
    bool registryError = false;
    std::string text;
};

// What one run of a sweep hands to its check.
struct FaultRun {
    MemoryRegistryStore& store;
    const RecordingStore::Call& failed; // the call that was made to fail
    int failedIndex;                    // its 0-based position in the clean run
    const std::vector<RecordingStore::Call>& cleanCalls;
    const Outcome& outcome;
};

using Prepare = std::function<void(MemoryRegistryStore&)>;
using Act = std::function<void()>;
using Check = std::function<void(const FaultRun&)>;

Outcome Run(const Act& act) {
    Outcome outcome;
    try {
        act();
    } catch (const RegistryError& e) {
        outcome = {true, true, e.what()};
    } catch (const Error& e) {
        outcome = {true, false, e.what()};
    }
    return outcome;
}

const char* OpName(RegOp op) {
    static const char* const kNames[] = {"Open",      "Create",    "Close",  "Query",
                                         "Set",       "QueryW",    "SetW",   "DeleteValue",
                                         "DeleteKey", "QueryInfo", "EnumKey"};
    return kNames[static_cast<int>(op)];
}

// Runs act once cleanly, then once per call with that call failing.
void Sweep(const Prepare& prepare, const Act& act, const Check& check) {
    MemoryRegistryStore clean;
    prepare(clean);
    clean.ResetCounters();
    RecordingStore cleanRecorder(clean);
    Outcome cleanOutcome;
    {
        StoreScope scope(cleanRecorder);
        cleanOutcome = Run(act);
    }
    ASSERT_FALSE(cleanOutcome.raised) << cleanOutcome.text;
    const int n = clean.OperationCount();
    ASSERT_GT(n, 0);
    ASSERT_EQ(static_cast<std::size_t>(n), cleanRecorder.calls.size());
    EXPECT_EQ(clean.OpenHandleCount(), 0);

    for (int k = 1; k <= n; ++k) {
        const RecordingStore::Call& failed = cleanRecorder.calls[k - 1];
        SCOPED_TRACE(::testing::Message()
                     << "call " << k << " of " << n << ": " << OpName(failed.op) << " '"
                     << failed.path << "' '" << failed.name << "'");
        MemoryRegistryStore store;
        prepare(store);
        store.ResetCounters();
        store.FailOperation(k);
        RecordingStore recorder(store);
        Outcome outcome;
        {
            StoreScope scope(recorder);
            outcome = Run(act);
        }
        store.ClearFaults();
        // A key whose close was refused stays open in the fake store; nothing else may.
        EXPECT_LE(store.OpenHandleCount(), failed.op == RegOp::Close ? 1 : 0);
        check({store, failed, k - 1, cleanRecorder.calls, outcome});
    }
}

// Values whose final content is looked at, with their content before and after a clean run.
struct Expectation {
    std::vector<std::pair<std::string, std::string>> values; // path, name
    Snapshot before, after;

    Snapshot Take(MemoryRegistryStore& store) const {
        Snapshot shot;
        for (const auto& [path, name] : values)
            shot[path + "|" + name] = Get(store, path, name);
        return shot;
    }
    void Record(const Prepare& prepare, const Act& act) {
        MemoryRegistryStore store;
        prepare(store);
        before = Take(store);
        StoreScope scope(store);
        act();
        after = Take(store);
    }
};

// Position in the clean run of the call that changed the value, or -1.
int WriteIndex(const std::vector<RecordingStore::Call>& calls, const std::string& key) {
    for (int i = 0; i < static_cast<int>(calls.size()); ++i) {
        const auto& c = calls[i];
        if ((c.op == RegOp::Set || c.op == RegOp::DeleteValue) && c.path + "|" + c.name == key)
            return i;
    }
    return -1;
}

// A raised write error: everything written before the failed call stays,
// nothing after it is written.
void ExpectPrefixWritten(const FaultRun& run, const Expectation& e) {
    const Snapshot now = e.Take(run.store);
    for (const auto& [key, value] : now) {
        const int at = WriteIndex(run.cleanCalls, key);
        const bool written = at >= 0 && at < run.failedIndex;
        EXPECT_EQ(value, written ? e.after.at(key) : e.before.at(key)) << key;
    }
}

// A silent failure: everything is as after a clean run except the listed values.
void ExpectCleanResultExcept(const FaultRun& run, const Expectation& e,
                             const std::function<bool(const std::string&)>& keepsOld) {
    const Snapshot now = e.Take(run.store);
    for (const auto& [key, value] : now)
        EXPECT_EQ(value, keepsOld(key) ? e.before.at(key) : e.after.at(key)) << key;
}

std::string SetFailedText(const std::string& name) {
    return FormatText(msg::kRegSetDataFailed, name);
}

// ---------------------------------------------------------------------------

const PlacesList kNewPlaces = {"  D:\\Work  ", "", "C:\\Data", " \t ", "E:\\"};

void PrepareOldPlacesBar(MemoryRegistryStore& store) {
    for (int slot = 0; slot < 5; ++slot)
        Put(store, kPlacesBarKey, PlaceValueName(slot), Text("old" + std::to_string(slot)));
    Put(store, kPlacesBarKey, "Place5", Text("foreign"));
    Put(store, kPlacesBarKey, "Count", Number(7));
}

Expectation PlacesBarValues() {
    Expectation e;
    for (const char* name : {"Place0", "Place1", "Place2", "Place3", "Place4", "Place5", "Count"})
        e.values.emplace_back(kPlacesBarKey, name);
    return e;
}

TEST(FaultSweep, WritePlacesBarWithAList) {
    const Prepare prepare = PrepareOldPlacesBar;
    const Act act = [] { EXPECT_TRUE(WritePlacesBar(&kNewPlaces)); };
    Expectation e = PlacesBarValues();
    e.Record(prepare, act);
    ASSERT_EQ(e.after.at(std::string(kPlacesBarKey) + "|Place0"), Text("D:\\Work"));

    Sweep(prepare, act, [&](const FaultRun& run) {
        switch (run.failed.op) {
        case RegOp::Create:
            EXPECT_TRUE(run.outcome.raised);
            EXPECT_EQ(run.outcome.text, FormatText(msg::kCannotOpenOrCreateKey, kPlacesBarKey));
            EXPECT_EQ(e.Take(run.store), e.before);
            break;
        case RegOp::Set:
            EXPECT_TRUE(run.outcome.registryError);
            EXPECT_EQ(run.outcome.text, SetFailedText(run.failed.name));
            ExpectPrefixWritten(run, e);
            break;
        case RegOp::DeleteValue:
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            ExpectCleanResultExcept(run, e, [&](const std::string& key) {
                return key == run.failed.path + "|" + run.failed.name;
            });
            break;
        case RegOp::Close:
        case RegOp::QueryInfo: // whether the entry key has pending edits to remove
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            EXPECT_EQ(e.Take(run.store), e.after);
            break;
        default:
            ADD_FAILURE() << "unexpected call";
        }
    });
}

TEST(FaultSweep, WritePlacesBarRestoringTheDefaults) {
    const Prepare prepare = [](MemoryRegistryStore& store) {
        PrepareOldPlacesBar(store);
        Put(store, std::string(kPlacesBarKey) + "\\Sub\\Deeper", "x", Text("1"));
        Put(store, std::string(kPlacesBarKey) + "\\Other", "y", Text("2"));
    };
    const Act act = [] { EXPECT_TRUE(WritePlacesBar(nullptr)); };
    const std::string parent = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32";

    Sweep(prepare, act, [&](const FaultRun& run) {
        // Never reported as done while the key is still there.
        if (!run.outcome.raised) {
            EXPECT_FALSE(KeyExists(run.store, kPlacesBarKey));
        } else {
            EXPECT_EQ(run.outcome.text, FormatText(msg::kCannotDeleteKey, kPlacesBarKey));
        }
        EXPECT_TRUE(KeyExists(run.store, parent));
    });
}

// ---------------------------------------------------------------------------

std::string EntryKey(int index) {
    return kSchemesKey + "\\" + std::to_string(index);
}

// Five stored schemes; entry 1 has a value beyond a gap and pending edits.
void PrepareStoredSchemes(MemoryRegistryStore& store) {
    Put(store, kSchemesKey, "Count", Number(5));
    for (int i = 0; i < 5; ++i)
        for (int k = 0; k <= 5; ++k)
            Put(store, EntryKey(i), std::to_string(k),
                Text(k == 0 ? "Old" + std::to_string(i) : "old" + std::to_string(i * 10 + k)));
    Put(store, EntryKey(1), "7", Text("beyond the gap"));
    Put(store, EntryKey(1) + "\\Delete", "0", Text("OLD13"));
    Put(store, EntryKey(1) + "\\Add", "0", Text("added"));
}

Expectation SchemeValues() {
    Expectation e;
    e.values.emplace_back(kSchemesKey, "Count");
    for (int i = 0; i < 5; ++i)
        for (int k = 0; k <= 7; ++k)
            e.values.emplace_back(EntryKey(i), std::to_string(k));
    return e;
}

OrderedSchemeList SchemesToSave() {
    OrderedSchemeList list;
    list.Add("Home", std::make_unique<PlacesList>(PlacesList{"C:\\Users", "", "", "", ""}));
    list.Add("Work",
             std::make_unique<PlacesList>(PlacesList{"C:\\Projects", "D:\\Docs", " x ", "", ""}));
    list.Add("Short", std::make_unique<PlacesList>(PlacesList{"a", "b", "c"}));
    return list;
}

// A call made while a written list's pending "Add" and "Delete" edits are removed.
bool RemovesPendingEdits(const RecordingStore::Call& call) {
    const auto is = [](const std::string& text, const std::string& tail) {
        return text == tail ||
               (text.size() > tail.size() &&
                text.compare(text.size() - tail.size() - 1, std::string::npos, "\\" + tail) == 0);
    };
    return is(call.name, "Add") || is(call.name, "Delete") || is(call.path, "Add") ||
           is(call.path, "Delete");
}

TEST(FaultSweep, SaveSchemes) {
    const Prepare prepare = PrepareStoredSchemes;
    const Act act = [] {
        const OrderedSchemeList list = SchemesToSave();
        SaveSchemes(list);
    };
    Expectation e = SchemeValues();
    e.Record(prepare, act);
    ASSERT_EQ(e.after.at(kSchemesKey + "|Count"), Number(3));
    ASSERT_EQ(e.after.at(EntryKey(2) + "|4"), std::nullopt);

    Sweep(prepare, act, [&](const FaultRun& run) {
        if (RemovesPendingEdits(run.failed)) {
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            EXPECT_EQ(e.Take(run.store), e.after);
            return;
        }
        const auto under = [](const std::string& key, const std::string& path) {
            return key.rfind(path + "|", 0) == 0;
        };
        switch (run.failed.op) {
        case RegOp::Create:
            if (run.failed.path.empty() || run.failed.path == kProgramKey) {
                // The program key or the scheme key: nothing is written.
                EXPECT_EQ(run.outcome.text, FormatText(msg::kCannotOpenOrCreateKey, kSchemesKey));
                EXPECT_EQ(e.Take(run.store), e.before);
            } else {
                // An entry key that cannot be opened or created stops the save,
                // naming the key; the entries before it stay written.
                const std::string entry = run.failed.path + "\\" + run.failed.name;
                EXPECT_FALSE(run.outcome.registryError);
                EXPECT_EQ(run.outcome.text, FormatText(msg::kCannotOpenOrCreateKey, entry));
                ExpectPrefixWritten(run, e);
            }
            break;
        case RegOp::Set:
            EXPECT_TRUE(run.outcome.registryError);
            EXPECT_EQ(run.outcome.text, SetFailedText(run.failed.name));
            ExpectPrefixWritten(run, e);
            break;
        case RegOp::DeleteValue:
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            ExpectCleanResultExcept(run, e, [&](const std::string& key) {
                return key == run.failed.path + "|" + run.failed.name;
            });
            break;
        case RegOp::Query: {
            // The tail of an old, longer list is removed up to the first value
            // that does not answer; the rest of that tail stays.
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            const int from = std::stoi(run.failed.name);
            ExpectCleanResultExcept(run, e, [&](const std::string& key) {
                return under(key, run.failed.path) &&
                       std::stoi(key.substr(key.find('|') + 1)) >= from;
            });
            break;
        }
        case RegOp::Open:
            // Returning to the scheme key after an entry failed: raising is
            // sound; what a save that goes on leaves is checked by
            // SaveSchemesNeverWritesOutsideItsKey.
            break;
        case RegOp::Close:
        case RegOp::QueryInfo: // whether the entry key has pending edits to remove
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            EXPECT_EQ(e.Take(run.store), e.after);
            break;
        default:
            ADD_FAILURE() << "unexpected call";
        }
    });
}

// Whatever call fails, no entry is written below HKEY_CURRENT_USER itself, and
// a save that does not raise has written everything.
TEST(FaultSweep, SaveSchemesNeverWritesOutsideItsKey) {
    const Act act = [] {
        const OrderedSchemeList list = SchemesToSave();
        SaveSchemes(list);
    };
    Expectation e = SchemeValues();
    e.Record(PrepareStoredSchemes, act);
    Sweep(PrepareStoredSchemes, act, [&](const FaultRun& run) {
        for (const char* stray : {"0", "1", "2"})
            EXPECT_FALSE(KeyExists(run.store, stray)) << stray;
        if (!run.outcome.raised && run.failed.op != RegOp::DeleteValue) {
            EXPECT_EQ(e.Take(run.store), e.after);
        }
    });
}

// ---------------------------------------------------------------------------

struct Loaded {
    std::string name;
    PlacesList places;
    bool operator==(const Loaded&) const = default;
};

std::vector<Loaded> Entries(const SchemeList& list) {
    std::vector<Loaded> entries;
    for (int i = 0; i < list.Count(); ++i)
        entries.push_back({list.Name(i), list.Places(i)});
    return entries;
}

// got is expected with at most one entry changed or left out, or cut off after it.
bool AtMostOneEntryDamaged(const std::vector<Loaded>& got, const std::vector<Loaded>& expected) {
    std::size_t i = 0;
    while (i < got.size() && i < expected.size() && got[i] == expected[i])
        ++i;
    if (i == got.size())
        return got.size() <= expected.size();
    const auto sameFrom = [&](std::size_t g, std::size_t x) {
        return x <= expected.size() && got.size() - g == expected.size() - x &&
               std::equal(got.begin() + g, got.end(), expected.begin() + x);
    };
    const bool cutAfter = i + 1 == got.size() && got.size() <= expected.size();
    return cutAfter || sameFrom(i + 1, i + 1) || sameFrom(i, i + 1);
}

bool AllowedLoadError(const Outcome& outcome) {
    const std::vector<std::string> allowed = {
        FormatText(msg::kRegGetDataFailed, "Count"),
        FormatText(msg::kRegInvalidDataType, "Count"),
        FormatText(msg::kListIndexOutOfBounds, 0LL),
    };
    for (const auto& text : allowed)
        if (outcome.text == text)
            return true;
    // A value of an entry that could be sized but not read.
    return outcome.text.rfind("Failed to get data for '", 0) == 0;
}

void SweepLoadSchemes(const SchemeLoadOptions& options) {
    std::vector<Loaded> cleanEntries;
    std::string reported; // what a load that skips damage reports
    const auto load = [&](std::vector<Loaded>& out) {
        OrderedSchemeList list;
        struct Keep {
            OrderedSchemeList& list;
            std::vector<Loaded>& out;
            ~Keep() { out = Entries(list); }
        } keep{list, out};
        reported.clear();
        reported = LoadSchemes(list, options);
    };
    {
        MemoryRegistryStore store;
        PrepareStoredSchemes(store);
        StoreScope scope(store);
        load(cleanEntries);
    }
    ASSERT_EQ(cleanEntries.size(), 5u);
    ASSERT_EQ(cleanEntries[1].places.back(), "added");

    std::vector<Loaded> entries;
    Sweep(
        PrepareStoredSchemes, [&] { load(entries); },
        [&](const FaultRun& run) {
            if (run.outcome.raised) {
                EXPECT_TRUE(AllowedLoadError(run.outcome)) << run.outcome.text;
            }
            switch (run.failed.op) {
            case RegOp::Create:
                // Program or scheme key: silently nothing.
                EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
                EXPECT_TRUE(entries.empty());
                return;
            case RegOp::Set:
            case RegOp::DeleteValue:
            case RegOp::DeleteKey:
            case RegOp::QueryInfo:
            case RegOp::EnumKey:
            case RegOp::Close:
                // Failures while listing the entry keys or removing pending
                // edits must not change what is loaded.
                EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
                EXPECT_EQ(entries, cleanEntries);
                return;
            default:
                break;
            }
            if (run.failed.op == RegOp::Query) {
                // A value that does not answer is an error, never a missing value.
                EXPECT_TRUE(run.outcome.raised || options.skipDamagedEntries);
                if (run.failed.name == "Count") {
                    EXPECT_EQ(options.skipDamagedEntries ? reported : run.outcome.text,
                              FormatText(msg::kRegGetDataFailed, "Count"));
                    EXPECT_TRUE(entries.empty());
                    return;
                }
            }
            // A failed open or query damages or drops at most the entry it
            // hit; the others are loaded as they are stored.
            EXPECT_TRUE(AtMostOneEntryDamaged(entries, cleanEntries));
            if (!run.outcome.raised && !options.skipDamagedEntries) {
                EXPECT_EQ(entries.size(), cleanEntries.size());
            }
        });
}

TEST(FaultSweep, LoadSchemesForTheWindow) {
    SweepLoadSchemes({.consumePendingEdits = true, .skipDamagedEntries = true});
}

TEST(FaultSweep, LoadSchemesStoppingAtADamagedEntry) {
    SweepLoadSchemes({.consumePendingEdits = true, .skipDamagedEntries = false});
}

TEST(FaultSweep, LoadSchemesKeepingPendingEdits) {
    SweepLoadSchemes({.consumePendingEdits = false, .skipDamagedEntries = false});
}

// ---------------------------------------------------------------------------

TEST(FaultSweep, ApplyScheme) {
    const Prepare prepare = [](MemoryRegistryStore& store) {
        PrepareStoredSchemes(store);
        PrepareOldPlacesBar(store);
    };
    testing::ScriptedDialogs dialogs;
    testing::DialogsScope dialogsScope(dialogs);
    bool applied = false;
    std::size_t messagesBefore = 0;
    const Act act = [&] {
        applied = false;
        messagesBefore = dialogs.messages.size();
        applied = ApplyScheme("OLD3");
    };
    Expectation bar = PlacesBarValues();
    bar.Record(prepare, act);
    ASSERT_TRUE(applied);
    ASSERT_EQ(bar.after.at(std::string(kPlacesBarKey) + "|Place0"), Text("old31"));
    Expectation schemes = SchemeValues();
    schemes.Record(prepare, act);
    ASSERT_EQ(schemes.after, schemes.before);

    Sweep(prepare, act, [&](const FaultRun& run) {
        // Applying never changes the stored schemes.
        EXPECT_EQ(schemes.Take(run.store), schemes.before);
        EXPECT_TRUE(KeyExists(run.store, EntryKey(1) + "\\Add"));
        if (run.outcome.raised) {
            EXPECT_FALSE(applied);
            if (run.failed.op == RegOp::Set)
                ExpectPrefixWritten(run, bar);
            else
                EXPECT_EQ(bar.Take(run.store), bar.before);
            return;
        }
        if (!applied) {
            // Not found: told so, and the places bar is untouched.
            ASSERT_EQ(dialogs.messages.size(), messagesBefore + 1);
            EXPECT_EQ(dialogs.messages.back().text, FormatText(msg::kSchemeNotFound, "OLD3"));
            EXPECT_EQ(bar.Take(run.store), bar.before);
            return;
        }
        if (run.failed.op == RegOp::DeleteValue) {
            ExpectCleanResultExcept(run, bar, [&](const std::string& key) {
                return key == run.failed.path + "|" + run.failed.name;
            });
        } else {
            // A place that does not answer is raised, never read as empty.
            EXPECT_FALSE(run.failed.op == RegOp::Query && run.failed.path == EntryKey(3));
            EXPECT_EQ(bar.Take(run.store), bar.after);
        }
    });
}

// ---------------------------------------------------------------------------

const std::string kListKey = "Software\\Lists\\L";

void PrepareOldList(MemoryRegistryStore& store) {
    for (int k = 0; k <= 4; ++k)
        Put(store, kListKey, std::to_string(k), Text("old" + std::to_string(k)));
    Put(store, kListKey, "6", Text("beyond the gap"));
    Put(store, kListKey + "\\Delete", "0", Text("OLD2"));
    Put(store, kListKey + "\\Add", "0", Text("added"));
}

Expectation ListValues() {
    Expectation e;
    for (int k = 0; k <= 6; ++k)
        e.values.emplace_back(kListKey, std::to_string(k));
    return e;
}

TEST(FaultSweep, WriteStringList) {
    std::string pathAfter;
    const Act act = [&] {
        pathAfter = "not run";
        ListRegistryCursor registry;
        if (!registry.OpenKey("Software\\Lists", false))
            return;
        const StringList list = {"a", "", "c"};
        registry.WriteStringList("L", &list);
        pathAfter = registry.CurrentPath();
    };
    Expectation e = ListValues();
    e.Record(PrepareOldList, act);
    ASSERT_EQ(e.after.at(kListKey + "|3"), std::nullopt);
    ASSERT_EQ(e.after.at(kListKey + "|6"), Text("beyond the gap"));

    Sweep(PrepareOldList, act, [&](const FaultRun& run) {
        if (RemovesPendingEdits(run.failed)) {
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            EXPECT_EQ(e.Take(run.store), e.after);
            EXPECT_EQ(pathAfter, "Software\\Lists");
            return;
        }
        switch (run.failed.op) {
        case RegOp::Open:
            if (run.failedIndex == 0) {
                EXPECT_EQ(e.Take(run.store), e.before);
                return; // the test's own open
            }
            // Returning to the parent key failed after the list was written:
            // either that is raised, or no key is current.
            EXPECT_EQ(e.Take(run.store), e.after);
            if (!run.outcome.raised) {
                EXPECT_EQ(pathAfter, "");
            }
            return;
        case RegOp::Create:
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            EXPECT_EQ(e.Take(run.store), e.before);
            break;
        case RegOp::Set:
            EXPECT_TRUE(run.outcome.registryError);
            EXPECT_EQ(run.outcome.text, SetFailedText(run.failed.name));
            ExpectPrefixWritten(run, e);
            return;
        case RegOp::DeleteValue:
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            ExpectCleanResultExcept(run, e, [&](const std::string& key) {
                return key == run.failed.path + "|" + run.failed.name;
            });
            break;
        case RegOp::Query: {
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            const int from = std::stoi(run.failed.name);
            ExpectCleanResultExcept(run, e, [&](const std::string& key) {
                return std::stoi(key.substr(key.find('|') + 1)) >= from;
            });
            break;
        }
        case RegOp::Close:
        case RegOp::QueryInfo: // whether the list key has pending edits to remove
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            EXPECT_EQ(e.Take(run.store), e.after);
            break;
        default:
            ADD_FAILURE() << "unexpected call";
        }
        EXPECT_EQ(pathAfter, "Software\\Lists");
    });
}

TEST(FaultSweep, ReadStringList) {
    StringList list;
    std::string pathAfter;
    const Act act = [&] {
        list = {"untouched"};
        pathAfter.clear();
        ListRegistryCursor registry;
        if (!registry.OpenKey("Software\\Lists", false))
            return;
        registry.ReadStringList("L", &list);
        pathAfter = registry.CurrentPath();
    };
    {
        MemoryRegistryStore store;
        PrepareOldList(store);
        StoreScope scope(store);
        act();
        ASSERT_EQ(list, (StringList{"old0", "old1", "old3", "old4", "added"}));
        EXPECT_FALSE(KeyExists(store, kListKey + "\\Add"));
    }
    const StringList cleanList = list;

    Sweep(PrepareOldList, act, [&](const FaultRun& run) {
        if (run.failedIndex == 0)
            return; // the test's own open
        if (run.failed.op == RegOp::Query) {
            // Only a missing value ends a list; a value that does not answer is raised.
            EXPECT_EQ(run.outcome.text, FormatText(msg::kRegGetDataFailed, run.failed.name));
        }
        if (run.outcome.raised) {
            // A value that could be sized but not read, or a key that could not
            // be made current again.
            EXPECT_TRUE(run.outcome.text.rfind("Failed to get data for '", 0) == 0 ||
                        run.failed.op == RegOp::Open)
                << run.outcome.text;
            return;
        }
        // The first open of a key reads it (or returns to it); later ones remove it.
        const bool readingSubkey =
            run.failed.op == RegOp::Open &&
            std::none_of(run.cleanCalls.begin(), run.cleanCalls.begin() + run.failedIndex,
                         [&](const RecordingStore::Call& c) {
                             return c.op == RegOp::Open && c.name == run.failed.name;
                         });
        switch (run.failed.op) {
        case RegOp::Open:
            if (run.failed.name == "L") {
                EXPECT_EQ(list, StringList{"untouched"});
                EXPECT_EQ(pathAfter, "Software\\Lists");
            } else if (readingSubkey && run.failed.name == "Delete") {
                // No pending deletions could be read: nothing is dropped.
                EXPECT_EQ(list, (StringList{"old0", "old1", "old2", "old3", "old4", "added"}));
            } else if (readingSubkey && run.failed.name == "Add") {
                EXPECT_EQ(list, (StringList{"old0", "old1", "old3", "old4"}));
            } else if (readingSubkey && run.failed.name == kListKey) {
                // The list key could not be made current again after reading
                // "Delete": no element can be read from it.
                EXPECT_TRUE(list.empty() || list == cleanList);
            } else {
                // Removing the pending edits or returning to the parent key.
                EXPECT_EQ(list, cleanList);
            }
            return;
        case RegOp::Query:
            if (run.failed.path == kListKey + "\\Delete") {
                // The deletions end early, or one reads as empty.
                EXPECT_TRUE(list == cleanList ||
                            list == StringList({"old0", "old1", "old2", "old3", "old4", "added"}));
            } else if (run.failed.path == kListKey + "\\Add") {
                // The additions end early, or one reads as empty.
                EXPECT_TRUE(list == cleanList ||
                            list == StringList({"old0", "old1", "old3", "old4"}) ||
                            list == StringList({"old0", "old1", "old3", "old4", ""}));
            } else {
                // The list ends early, or holds an empty text, where a value
                // does not answer; the pending additions still follow.
                ASSERT_FALSE(list.empty());
                EXPECT_EQ(list.back(), "added");
                EXPECT_LE(list.size(), cleanList.size() + 1);
            }
            return;
        default:
            // Failures while removing the pending edits or closing keys.
            EXPECT_EQ(list, cleanList);
        }
    });
}

} // namespace
} // namespace velbrook
