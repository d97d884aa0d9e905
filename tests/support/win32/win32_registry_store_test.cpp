#include <random>
#include <string>

#include "support/win32/win32_registry_store.h"
#include "support/win32/windows_ansi.h"
#include "testlib/key_security_win32.h"
#include "testlib/registry_conformance.h"

namespace velbrook::testing {
namespace {

std::string ScratchPath() {
    std::random_device random;
    return "Software\\VelbrookTest\\" + std::to_string(random()) + std::to_string(random());
}

void SetReadOnly(RegistryStore&, const std::string& path, bool readOnly) {
    EXPECT_TRUE(SetKeyDacl(path, readOnly ? "D:P(A;;KR;;;WD)(A;;KA;;;SY)" : "D:(A;;KA;;;WD)"));
}

INSTANTIATE_TEST_SUITE_P(Win32Registry, RegistryConformance,
                         ::testing::Values(RegistryConformanceTarget{
                             "Win32", [] { return std::make_unique<Win32RegistryStore>(); },
                             ScratchPath(), SetReadOnly}),
                         [](const auto& info) { return info.param.label; });

// In a legacy ANSI code page, text that it cannot hold is refused instead of
// handed over with question marks; what it can hold reads as before.
TEST(Win32RegistryStore, TextTheCodePageCannotHoldIsRefusedNotAltered) {
    if (GetACP() == CP_UTF8)
        GTEST_SKIP() << "the process runs in UTF-8, which holds all text";
    Win32RegistryStore store;
    const std::string path = ScratchPath();
    RegKey key = 0;
    ASSERT_EQ(store.CreateKey(kHkeyCurrentUser, path.c_str(), kKeyAllAccess, &key), kRegSuccess);
    const auto putWide = [&](const char* name, std::u16string text) {
        text.push_back(u'\0');
        EXPECT_EQ(store.SetValueW(key, name, kRegSz,
                                  reinterpret_cast<const std::uint8_t*>(text.data()),
                                  static_cast<std::uint32_t>(text.size() * 2)),
                  kRegSuccess);
    };
    putWide("Foreign", u"C:\\\u0414\u043c\u0438\u0442\u0440\u0438\u0439 \u65e5\u672c");
    putWide("Own", u"C:\\Docs");
    std::uint8_t data[64] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof data;
    EXPECT_EQ(store.QueryValue(key, "Foreign", &type, data, &size), kRegNoUnicodeTranslation);
    size = 0;
    EXPECT_EQ(store.QueryValue(key, "Foreign", &type, nullptr, &size), kRegSuccess);
    size = sizeof data;
    ASSERT_EQ(store.QueryValue(key, "Own", &type, data, &size), kRegSuccess);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), std::string("C:\\Docs", 8));
    store.CloseKey(key);
    EXPECT_TRUE(DeleteTree(store, kHkeyCurrentUser, path));
}

} // namespace
} // namespace velbrook::testing
