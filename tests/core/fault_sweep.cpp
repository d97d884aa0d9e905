#include "fault_sweep.h"

#include <gtest/gtest.h>

#include "core/places_bar.h"
#include "core/places_undo.h"
#include "support/errors.h"
#include "support/messages.h"
#include "testlib/active_store_scope.h"

namespace velbrook::testing {

namespace {

// Forwards to a memory store and records every call with the key path and the
// value or subkey name it concerns, so a sweep can tell which call it broke.
class RecordingStore : public RegistryStore {
  public:
    explicit RecordingStore(MemoryRegistryStore& inner) : inner_(inner) {}
    std::vector<StoreCall> calls;

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
    long RenameKey(RegKey key, const char* subkey, const char* newName) override {
        Record(RegOp::RenameKey, key, subkey);
        return inner_.RenameKey(key, subkey, newName);
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
    long EnumValueW(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen,
                    std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) override {
        Record(RegOp::EnumValue, key, "");
        return inner_.EnumValueW(key, index, name, nameLen, type, data, size);
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
    static const char* const kNames[] = {
        "Open",        "Create",    "Close",     "Query",     "Set",     "QueryW",   "SetW",
        "DeleteValue", "DeleteKey", "RenameKey", "QueryInfo", "EnumKey", "EnumValue"};
    return kNames[static_cast<int>(op)];
}

// Position in the clean run of the call that changed the value, or -1.
int WriteIndex(const std::vector<StoreCall>& calls, const std::string& key) {
    for (int i = 0; i < static_cast<int>(calls.size()); ++i) {
        const auto& c = calls[i];
        if ((c.op == RegOp::Set || c.op == RegOp::DeleteValue) && c.path + "|" + c.name == key)
            return i;
    }
    return -1;
}

} // namespace

void Sweep(const Prepare& prepare, const Act& act, const Check& check) {
    MemoryRegistryStore clean;
    prepare(clean);
    clean.ResetCounters();
    RecordingStore cleanRecorder(clean);
    Outcome cleanOutcome;
    {
        ActiveStoreScope scope(cleanRecorder);
        cleanOutcome = Run(act);
    }
    ASSERT_FALSE(cleanOutcome.raised) << cleanOutcome.text;
    const int n = clean.OperationCount();
    ASSERT_GT(n, 0);
    ASSERT_EQ(static_cast<std::size_t>(n), cleanRecorder.calls.size());
    EXPECT_EQ(clean.OpenHandleCount(), 0);

    for (int k = 1; k <= n; ++k) {
        const StoreCall& failed = cleanRecorder.calls[k - 1];
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
            ActiveStoreScope scope(recorder);
            outcome = Run(act);
        }
        store.ClearFaults();
        // A key whose close was refused stays open in the fake store; nothing else may.
        EXPECT_LE(store.OpenHandleCount(), failed.op == RegOp::Close ? 1 : 0);
        check({store, failed, k - 1, cleanRecorder.calls, outcome});
    }
}

Snapshot Expectation::Take(MemoryRegistryStore& store) const {
    Snapshot shot;
    for (const auto& [path, name] : values)
        shot[path + "|" + name] = GetValue(store, path, name);
    return shot;
}

void Expectation::Record(const Prepare& prepare, const Act& act) {
    MemoryRegistryStore store;
    prepare(store);
    before = Take(store);
    ActiveStoreScope scope(store);
    act();
    after = Take(store);
}

void ExpectPrefixWritten(const FaultRun& run, const Expectation& e) {
    const Snapshot now = e.Take(run.store);
    for (const auto& [key, value] : now) {
        const int at = WriteIndex(run.cleanCalls, key);
        const bool written = at >= 0 && at < run.failedIndex;
        EXPECT_EQ(value, written ? e.after.at(key) : e.before.at(key)) << key;
    }
}

void ExpectCleanResultExcept(const FaultRun& run, const Expectation& e,
                             const std::function<bool(const std::string&)>& keepsOld) {
    const Snapshot now = e.Take(run.store);
    for (const auto& [key, value] : now)
        EXPECT_EQ(value, keepsOld(key) ? e.before.at(key) : e.after.at(key)) << key;
}

std::string SetFailedText(const std::string& name) {
    return FormatText(msg::kRegSetDataFailed, name);
}

bool CheckedWriteFault(const FaultRun& run, const Expectation& e) {
    switch (run.failed.op) {
    case RegOp::Set:
        EXPECT_TRUE(run.outcome.registryError);
        EXPECT_EQ(run.outcome.text, SetFailedText(run.failed.name));
        ExpectPrefixWritten(run, e);
        return true;
    case RegOp::DeleteValue:
        EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
        ExpectCleanResultExcept(run, e, [&](const std::string& key) {
            return key == run.failed.path + "|" + run.failed.name;
        });
        return true;
    case RegOp::Query: {
        // The tail of an old, longer list is removed up to the first value
        // that does not answer; the rest of that tail stays.
        EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
        const int from = std::stoi(run.failed.name);
        ExpectCleanResultExcept(run, e, [&](const std::string& key) {
            return key.rfind(run.failed.path + "|", 0) == 0 &&
                   std::stoi(key.substr(key.find('|') + 1)) >= from;
        });
        return true;
    }
    case RegOp::Close:
    case RegOp::QueryInfo:
        EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
        EXPECT_EQ(e.Take(run.store), e.after);
        return true;
    default:
        return false;
    }
}

void PrepareOldPlacesBar(MemoryRegistryStore& store) {
    for (int slot = 0; slot < 5; ++slot)
        PutValue(store, kPlacesBarKey, PlaceValueName(slot), Sz("old" + std::to_string(slot)));
    PutValue(store, kPlacesBarKey, "Place5", Sz("foreign"));
    PutValue(store, kPlacesBarKey, "Count", Dword(7));
}

Expectation PlacesBarValues() {
    Expectation e;
    for (const char* name : {"Place0", "Place1", "Place2", "Place3", "Place4", "Place5", "Count"})
        e.values.emplace_back(kPlacesBarKey, name);
    return e;
}

std::string EntryKey(int index) {
    return kSchemesKey + "\\" + std::to_string(index);
}

void PrepareStoredSchemes(MemoryRegistryStore& store) {
    PutValue(store, kSchemesKey, "Count", Dword(5));
    for (int i = 0; i < 5; ++i)
        for (int k = 0; k <= 5; ++k)
            PutValue(store, EntryKey(i), std::to_string(k),
                     Sz(k == 0 ? "Old" + std::to_string(i) : "old" + std::to_string(i * 10 + k)));
    PutValue(store, EntryKey(1), "7", Sz("beyond the gap"));
    PutValue(store, EntryKey(1) + "\\Delete", "0", Sz("OLD13"));
    PutValue(store, EntryKey(1) + "\\Add", "0", Sz("added"));
}

Expectation SchemeValues() {
    Expectation e;
    e.values.emplace_back(kSchemesKey, "Count");
    for (int i = 0; i < 5; ++i)
        for (int k = 0; k <= 7; ++k)
            e.values.emplace_back(EntryKey(i), std::to_string(k));
    return e;
}

bool RemovesPendingEdits(const StoreCall& call) {
    const auto is = [](const std::string& text, const std::string& tail) {
        return text == tail ||
               (text.size() > tail.size() &&
                text.compare(text.size() - tail.size() - 1, std::string::npos, "\\" + tail) == 0);
    };
    return is(call.name, "Add") || is(call.name, "Delete") || is(call.path, "Add") ||
           is(call.path, "Delete");
}

} // namespace velbrook::testing
