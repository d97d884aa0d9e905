#include <random>
#include <string>

#include "support/win32/win32_registry_store.h"
#include "testlib/registry_conformance.h"

namespace velbrook::testing {
namespace {

std::string ScratchPath() {
    std::random_device random;
    return "Software\\VelbrookTest\\" + std::to_string(random()) + std::to_string(random());
}

INSTANTIATE_TEST_SUITE_P(Win32Registry, RegistryConformance,
                         ::testing::Values(RegistryConformanceTarget{
                             "Win32", [] { return std::make_unique<Win32RegistryStore>(); },
                             ScratchPath()}),
                         [](const auto& info) { return info.param.label; });

// The scratch parent is removed when no other run uses it.
TEST(Win32RegistryStore, ScratchParentCanBeRemovedWhenEmpty) {
    Win32RegistryStore store;
    RegKey key = 0;
    if (store.OpenKey(kHkeyCurrentUser, "Software\\VelbrookTest", kKeyAllAccess, &key) != 0)
        GTEST_SKIP() << "no scratch parent left";
    std::uint32_t count = 0;
    std::uint32_t longest = 0;
    ASSERT_EQ(kRegSuccess, store.QueryInfoKey(key, &count, &longest));
    store.CloseKey(key);
    if (count == 0)
        EXPECT_EQ(kRegSuccess, store.DeleteKey(kHkeyCurrentUser, "Software\\VelbrookTest"));
}

} // namespace
} // namespace velbrook::testing
