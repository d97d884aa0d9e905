#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/doubles/memory_registry_store.h"
#include "testlib/registry_conformance.h"

namespace velbrook::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(MemoryRegistry, RegistryConformance,
                         ::testing::Values(RegistryConformanceTarget{
                             "Memory", [] { return std::make_unique<MemoryRegistryStore>(); },
                             "Software\\VelbrookTest\\Memory",
                             [](RegistryStore& store, const std::string& path, bool readOnly) {
                                 static_cast<MemoryRegistryStore&>(store).SetKeyReadOnly(path,
                                                                                         readOnly);
                             }}),
                         [](const auto& info) { return info.param.label; });

RegKey MustCreate(MemoryRegistryStore& store, const char* path) {
    RegKey key = 0;
    EXPECT_EQ(kRegSuccess, store.CreateKey(kHkeyCurrentUser, path, kKeyAllAccess, &key));
    return key;
}

TEST(MemoryRegistryStore, FailNextSkipsCallsOfItsKindOnlyAndChangesNothing) {
    MemoryRegistryStore store;
    RegKey key = MustCreate(store, "A");
    const std::uint8_t data[1] = {7};
    store.FailNext(RegOp::Set, kRegAccessDenied, 1);
    std::uint32_t size = 0;
    EXPECT_EQ(kRegFileNotFound, store.QueryValue(key, "x", nullptr, nullptr, &size));
    EXPECT_EQ(kRegSuccess, store.SetValue(key, "first", kRegBinary, data, 1));
    EXPECT_EQ(kRegAccessDenied, store.SetValue(key, "second", kRegBinary, data, 1));
    EXPECT_EQ(kRegFileNotFound, store.QueryValue(key, "second", nullptr, nullptr, &size));
    EXPECT_EQ(kRegSuccess, store.SetValue(key, "second", kRegBinary, data, 1));

    RegKey sub = 0;
    store.FailNext(RegOp::Create, kRegKeyDeleted);
    EXPECT_EQ(kRegKeyDeleted, store.CreateKey(key, "Sub", kKeyAllAccess, &sub));
    EXPECT_EQ(kRegFileNotFound, store.OpenKey(key, "Sub", kKeyAllAccess, &sub));
    EXPECT_EQ(kRegSuccess, store.CloseKey(key));
}

TEST(MemoryRegistryStore, FailOperationCountsEveryKindAndClearFaultsDisarms) {
    MemoryRegistryStore store;
    RegKey key = MustCreate(store, "A");
    std::uint32_t size = 0;
    store.FailOperation(3, kRegInvalidParameter);
    EXPECT_EQ(kRegFileNotFound, store.QueryValue(key, "x", nullptr, nullptr, &size));
    EXPECT_EQ(kRegFileNotFound, store.DeleteValue(key, "x"));
    EXPECT_EQ(kRegInvalidParameter, store.CloseKey(key));
    EXPECT_EQ(1, store.OpenHandleCount()); // the failed close did nothing

    store.FailOperation(1);
    store.FailNext(RegOp::Close);
    store.ClearFaults();
    EXPECT_EQ(kRegSuccess, store.CloseKey(key));
    EXPECT_EQ(0, store.OpenHandleCount());
}

TEST(MemoryRegistryStore, CountsOperationsAndOpenHandles) {
    MemoryRegistryStore store;
    EXPECT_EQ(0, store.OperationCount());
    RegKey a = MustCreate(store, "A");
    RegKey b = MustCreate(store, "A\\B");
    RegKey root = 0;
    EXPECT_EQ(kRegSuccess, store.OpenKey(kHkeyCurrentUser, "", kKeyAllAccess, &root));
    EXPECT_EQ(3, store.OpenHandleCount());
    EXPECT_EQ(3, store.OperationCount());
    store.ResetCounters();
    for (RegKey key : {a, b, root, kHkeyCurrentUser})
        EXPECT_EQ(kRegSuccess, store.CloseKey(key));
    EXPECT_EQ(4, store.OperationCount());
    EXPECT_EQ(0, store.OpenHandleCount());
}

TEST(MemoryRegistryStore, ProtectedKeyRefusesDeletionUntilReleased) {
    MemoryRegistryStore store;
    store.CloseKey(MustCreate(store, "Software\\Policy"));
    store.ProtectKey("software\\POLICY");
    EXPECT_EQ(kRegAccessDenied, store.DeleteKey(kHkeyCurrentUser, "Software\\Policy"));
    store.ProtectKey("Software\\Policy", false);
    EXPECT_EQ(kRegSuccess, store.DeleteKey(kHkeyCurrentUser, "Software\\Policy"));
}

TEST(MemoryRegistryStore, ClearEmptiesTheTreeAndOldHandlesSeeDeletedKeys) {
    MemoryRegistryStore store;
    RegKey key = MustCreate(store, "A\\B");
    store.Clear();
    RegKey probe = 0;
    EXPECT_EQ(kRegFileNotFound, store.OpenKey(kHkeyCurrentUser, "A", kKeyAllAccess, &probe));
    std::uint32_t size = 0;
    EXPECT_EQ(kRegKeyDeleted, store.QueryValue(key, "", nullptr, nullptr, &size));
    EXPECT_EQ(kRegSuccess, store.CloseKey(key));
}

TEST(MemoryRegistryStore, OtherPredefinedRootsAreRefused) {
    MemoryRegistryStore store;
    RegKey key = 0;
    EXPECT_NE(kRegSuccess, store.CreateKey(0x80000002u, "Software", kKeyAllAccess, &key));
    EXPECT_EQ(0, store.OpenHandleCount());
}

// Enumeration by index in any order, across insertions and deletions, and
// lookups that ignore case also beyond ASCII.
TEST(MemoryRegistryStore, SubkeysAreFoundAndEnumeratedInRegistryOrder) {
    MemoryRegistryStore store;
    RegKeyHandle list(store, MustCreate(store, "List"));
    std::vector<std::string> expected;
    for (int i = 0; i < 300; ++i)
        expected.push_back(std::to_string(i));
    for (const std::string& name : expected)
        store.CloseKey(MustCreate(store, ("List\\" + name).c_str()));
    std::sort(expected.begin(), expected.end());
    const auto nameAt = [&](std::uint32_t index) {
        char name[16] = {};
        std::uint32_t length = sizeof name;
        return store.EnumKey(list.Get(), index, name, &length) == kRegSuccess ? std::string(name)
                                                                              : "(none)";
    };
    for (const std::uint32_t index : {0u, 299u, 150u, 151u, 149u, 7u, 298u, 0u})
        EXPECT_EQ(expected[index], nameAt(index)) << index;
    for (std::uint32_t index = 300; index-- > 0;)
        EXPECT_EQ(expected[index], nameAt(index)) << index;
    ASSERT_EQ(kRegSuccess, store.DeleteKey(list.Get(), expected[100].c_str()));
    expected.erase(expected.begin() + 100);
    EXPECT_EQ(expected[100], nameAt(100));
    EXPECT_EQ(expected[99], nameAt(99));
    EXPECT_EQ("(none)", nameAt(299));

    store.CloseKey(MustCreate(store, "List\\\xC9t\xE9"));
    RegKey key = 0;
    EXPECT_EQ(kRegSuccess, store.OpenKey(list.Get(), "\xE9T\xC9", kKeyAllAccess, &key));
    store.CloseKey(key);
    store.CloseKey(MustCreate(store, "List\\\xE9t\xC9")); // the same key
    std::uint32_t count = 0;
    std::uint32_t longest = 0;
    ASSERT_EQ(kRegSuccess, store.QueryInfoKey(list.Get(), &count, &longest, nullptr));
    EXPECT_EQ(300u, count);
    EXPECT_EQ(kRegFileNotFound, store.OpenKey(list.Get(), "\xE9t", kKeyAllAccess, &key));
}

} // namespace
} // namespace velbrook::testing
