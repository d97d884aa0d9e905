#pragma once
// Fault sweeps: every registry call of an operation is made to fail once, on a
// freshly prepared store, and the outcome is checked against what a failure at
// that point must leave: the right error text, the values written before it,
// nothing after it, and no key handle left open.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/schemes.h"
#include "tests/doubles/memory_registry_store.h"
#include "testlib/stored_values.h"

namespace velbrook::testing {

inline const std::string kSchemesKey = std::string(kProgramKey) + "\\" + kSchemesSubkey;

using Snapshot = std::map<std::string, std::optional<StoredValue>>; // "path|name" -> value

// A store call with the key path and the value or subkey name it concerns.
struct StoreCall {
    RegOp op;
    std::string path; // key path below HKEY_CURRENT_USER
    std::string name; // value name or subkey
};

struct Outcome {
    bool raised = false;
    bool registryError = false;
    std::string text;
};

// What one run of a sweep hands to its check.
struct FaultRun {
    MemoryRegistryStore& store;
    const StoreCall& failed; // the call that was made to fail
    int failedIndex;         // its 0-based position in the clean run
    const std::vector<StoreCall>& cleanCalls;
    const Outcome& outcome;
};

using Prepare = std::function<void(MemoryRegistryStore&)>;
using Act = std::function<void()>;
using Check = std::function<void(const FaultRun&)>;

// Runs act once cleanly, then once per call with that call failing.
void Sweep(const Prepare& prepare, const Act& act, const Check& check);

// Values whose final content is looked at, with their content before and after a clean run.
struct Expectation {
    std::vector<std::pair<std::string, std::string>> values; // path, name
    Snapshot before, after;

    Snapshot Take(MemoryRegistryStore& store) const;
    void Record(const Prepare& prepare, const Act& act);
};

// A raised write error: everything written before the failed call stays,
// nothing after it is written.
void ExpectPrefixWritten(const FaultRun& run, const Expectation& e);
// A silent failure: everything is as after a clean run except the listed values.
void ExpectCleanResultExcept(const FaultRun& run, const Expectation& e,
                             const std::function<bool(const std::string&)>& keepsOld);
std::string SetFailedText(const std::string& name);
// Checks a failed call of a write: a refused write raises with what came before
// it written; a refused delete or query of an older list's tail silently leaves
// that part of the tail; a refused close, or count of a list key's pending
// edits, changes nothing. False for any other call.
bool CheckedWriteFault(const FaultRun& run, const Expectation& e);

// The places bar holding five old places, a sixth value and a count of 7.
void PrepareOldPlacesBar(MemoryRegistryStore& store);
Expectation PlacesBarValues();

std::string EntryKey(int index);
// Five stored schemes; entry 1 has a value beyond a gap and pending edits.
void PrepareStoredSchemes(MemoryRegistryStore& store);
Expectation SchemeValues();
// A call made while a written list's pending "Add" and "Delete" edits are removed.
bool RemovesPendingEdits(const StoreCall& call);

} // namespace velbrook::testing
