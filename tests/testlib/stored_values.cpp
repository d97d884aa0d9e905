#include "testlib/stored_values.h"

#include <gtest/gtest.h>

namespace velbrook::testing {

namespace {

RegKeyHandle OpenKey(RegistryStore& store, const std::string& path, bool create) {
    RegKey key = 0;
    const long result = create
                            ? store.CreateKey(kHkeyCurrentUser, path.c_str(), kKeyAllAccess, &key)
                            : store.OpenKey(kHkeyCurrentUser, path.c_str(), kKeyAllAccess, &key);
    return RegKeyHandle(store, result == kRegSuccess ? key : 0);
}

} // namespace

void PrintTo(const StoredValue& value, std::ostream* out) {
    *out << "type " << value.type << " data ";
    ::testing::internal::UniversalPrint(value.data, out);
}

StoredValue Sz(const std::string& text) {
    return {kRegSz, text + '\0'};
}

StoredValue Dword(std::uint32_t v) {
    return {kRegDword, std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                                   char((v >> 24) & 0xFF)}};
}

void PutValue(RegistryStore& store, const std::string& path, const std::string& name,
              const StoredValue& value) {
    RegKeyHandle key = OpenKey(store, path, true);
    ASSERT_TRUE(key) << path;
    ASSERT_EQ(store.SetValue(key.Get(), name.c_str(), value.type,
                             reinterpret_cast<const std::uint8_t*>(value.data.data()),
                             static_cast<std::uint32_t>(value.data.size())),
              kRegSuccess);
}

std::optional<StoredValue> GetValue(RegistryStore& store, const std::string& path,
                                    const std::string& name) {
    RegKeyHandle key = OpenKey(store, path, false);
    if (!key)
        return std::nullopt;
    StoredValue value;
    std::uint32_t size = 0;
    if (store.QueryValue(key.Get(), name.c_str(), &value.type, nullptr, &size) != kRegSuccess)
        return std::nullopt;
    value.data.resize(size);
    if (size > 0 &&
        store.QueryValue(key.Get(), name.c_str(), &value.type,
                         reinterpret_cast<std::uint8_t*>(value.data.data()), &size) != kRegSuccess)
        return std::nullopt;
    return value;
}

bool KeyExistsIn(RegistryStore& store, const std::string& path) {
    return static_cast<bool>(OpenKey(store, path, false));
}

} // namespace velbrook::testing
