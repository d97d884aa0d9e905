#pragma once
// Direct access to values in a registry store, bypassing the classes under test.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "support/registry_store.h"

namespace velbrook::testing {

// A value as stored: its type and raw bytes, a string's terminating NUL included.
struct StoredValue {
    std::uint32_t type = 0;
    std::string data;

    bool operator==(const StoredValue&) const = default;
};

void PrintTo(const StoredValue& value, std::ostream* out);

StoredValue Sz(const std::string& text);
StoredValue Dword(std::uint32_t v);

// Creates the key below HKEY_CURRENT_USER as needed; a refused write fails the test.
void PutValue(RegistryStore& store, const std::string& path, const std::string& name,
              const StoredValue& value);
std::optional<StoredValue> GetValue(RegistryStore& store, const std::string& path,
                                    const std::string& name);
bool KeyExistsIn(RegistryStore& store, const std::string& path);

} // namespace velbrook::testing
