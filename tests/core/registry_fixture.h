#pragma once
// A fresh in-memory registry for each test, with direct access to keys and
// values that bypasses the classes under test.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "tests/doubles/memory_registry_store.h"
#include "testlib/stored_values.h"

namespace velbrook::testing {

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override { SetActiveRegistryStore(&store); }
    void TearDown() override {
        EXPECT_EQ(store.OpenHandleCount(), 0);
        SetActiveRegistryStore(nullptr);
    }

    void CreateKey(const std::string& path) { Open(path, true); }

    bool KeyExists(const std::string& path) { return KeyExistsIn(store, path); }

    void Put(const std::string& path, const std::string& name, const StoredValue& value) {
        PutValue(store, path, name, value);
    }

    std::optional<StoredValue> Get(const std::string& path, const std::string& name) {
        return GetValue(store, path, name);
    }

    // Text written as the W functions write it, with its NUL.
    void PutWide(const std::string& path, const std::string& name, std::uint32_t type,
                 std::u16string text) {
        RegKeyHandle key = Open(path, true);
        text.push_back(u'\0');
        ASSERT_EQ(store.SetValueW(key.Get(), name.c_str(), type,
                                  reinterpret_cast<const std::uint8_t*>(text.data()),
                                  static_cast<std::uint32_t>(text.size() * 2)),
                  kRegSuccess);
    }

    // A text value as the W functions read it, up to its NUL.
    std::optional<std::u16string> GetWide(const std::string& path, const std::string& name) {
        RegKeyHandle key = Open(path, false);
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        if (!key ||
            store.QueryValueW(key.Get(), name.c_str(), &type, nullptr, &size) != kRegSuccess)
            return std::nullopt;
        std::u16string text(size / 2, u'\0');
        if (store.QueryValueW(key.Get(), name.c_str(), &type,
                              reinterpret_cast<std::uint8_t*>(text.data()), &size) != kRegSuccess)
            return std::nullopt;
        return text.substr(0, text.find(u'\0'));
    }

    MemoryRegistryStore store;

  private:
    RegKeyHandle Open(const std::string& path, bool create) {
        RegKey key = 0;
        const long result =
            create ? store.CreateKey(kHkeyCurrentUser, path.c_str(), kKeyAllAccess, &key)
                   : store.OpenKey(kHkeyCurrentUser, path.c_str(), kKeyAllAccess, &key);
        return RegKeyHandle(store, result == kRegSuccess ? key : 0);
    }
};

} // namespace velbrook::testing
