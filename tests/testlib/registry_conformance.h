#pragma once
// One suite that every RegistryStore must pass: the in-memory store natively
// and under Wine, and the Win32 registry under Wine. Instantiate it with
// INSTANTIATE_TEST_SUITE_P(Name, RegistryConformance, ::testing::Values(target)).
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/registry_store.h"

namespace velbrook::testing {

struct RegistryConformanceTarget {
    std::string label;
    std::function<std::unique_ptr<RegistryStore>()> makeStore;
    // Scratch key below HKEY_CURRENT_USER; each test creates it and removes it again.
    std::string basePath;
    // Gives the existing key at the path the rights of a key that an administrator's
    // policy set (read for everyone, changed by the system only), or takes them back.
    std::function<void(RegistryStore&, const std::string& path, bool readOnly)> setReadOnly;
};

inline void PrintTo(const RegistryConformanceTarget& target, std::ostream* out) {
    *out << target.label;
}

class RegistryConformance : public ::testing::TestWithParam<RegistryConformanceTarget> {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates (or opens) a key below the scratch key; closed at tear-down.
    RegKey Create(const std::string& subkey);
    // Opens a key below the scratch key, or returns the error.
    long Open(const std::string& subkey, RegKey* key);
    void Close(RegKey key);
    void SetBytes(RegKey key, const char* name, std::uint32_t type,
                  const std::vector<std::uint8_t>& bytes);
    std::vector<std::string> SubkeyNames(RegKey key);

    RegistryStore& Store() { return *store_; }
    RegKey Base() const { return base_; }

  private:
    std::unique_ptr<RegistryStore> store_;
    RegKey base_ = 0;
    std::vector<RegKey> open_;
};

// Removes a key and everything below it through the raw store; true when it is gone.
bool DeleteTree(RegistryStore& store, RegKey base, const std::string& subkey);

// The suite lives in a static library; referencing it from every file that
// instantiates it keeps the linker from dropping its tests.
int RegistryConformanceSuiteAnchor();
[[maybe_unused]] static const int registryConformanceLinked = RegistryConformanceSuiteAnchor();

} // namespace velbrook::testing
