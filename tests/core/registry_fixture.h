#pragma once
// A fresh in-memory registry for each test, with direct access to keys and
// values that bypasses the classes under test.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "support/memory_registry_store.h"

namespace velbrook::testing {

struct StoredValue {
    std::uint32_t type = 0;
    std::string data; // raw bytes, a string's terminating NUL included

    bool operator==(const StoredValue&) const = default;
};

inline void PrintTo(const StoredValue& value, std::ostream* out) {
    *out << "type " << value.type << " data ";
    ::testing::internal::UniversalPrint(value.data, out);
}

inline StoredValue Sz(const std::string& text) {
    return {kRegSz, text + '\0'};
}
inline StoredValue Dword(std::uint32_t v) {
    return {kRegDword, std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                                   char((v >> 24) & 0xFF)}};
}

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override { SetActiveRegistryStore(&store); }
    void TearDown() override {
        EXPECT_EQ(store.OpenHandleCount(), 0);
        SetActiveRegistryStore(nullptr);
    }

    void CreateKey(const std::string& path) { Open(path, true); }

    bool KeyExists(const std::string& path) {
        RegKey key = 0;
        if (store.OpenKey(kHkeyCurrentUser, path.c_str(), kKeyAllAccess, &key) != kRegSuccess)
            return false;
        store.CloseKey(key);
        return true;
    }

    void Put(const std::string& path, const std::string& name, const StoredValue& value) {
        RegKeyHandle key = Open(path, true);
        ASSERT_EQ(store.SetValue(key.Get(), name.c_str(), value.type,
                                 reinterpret_cast<const std::uint8_t*>(value.data.data()),
                                 static_cast<std::uint32_t>(value.data.size())),
                  kRegSuccess);
    }

    std::optional<StoredValue> Get(const std::string& path, const std::string& name) {
        RegKeyHandle key = Open(path, false);
        if (!key)
            return std::nullopt;
        StoredValue value;
        std::uint32_t size = 0;
        if (store.QueryValue(key.Get(), name.c_str(), &value.type, nullptr, &size) != kRegSuccess)
            return std::nullopt;
        value.data.resize(size);
        if (size > 0 && store.QueryValue(key.Get(), name.c_str(), &value.type,
                                         reinterpret_cast<std::uint8_t*>(value.data.data()),
                                         &size) != kRegSuccess)
            return std::nullopt;
        return value;
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
