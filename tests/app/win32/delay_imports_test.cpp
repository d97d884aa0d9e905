// The binder of the delay-loaded imports: registry functions come from an
// already loaded kernelbase where it has them, the rest from the DLL itself.
#include "app/win32/delay_imports.h"

#include <gtest/gtest.h>

namespace {

void* SystemFunction(const char* dll, const char* function) {
    return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), function));
}

TEST(DelayImports, PreferredModuleFirstThenTheDllItself) {
    ASSERT_NE(LoadLibraryA("advapi32.dll"), nullptr); // to compare against
    DelayDll advapi{"advapi32.dll", nullptr, "kernelbase.dll"};
    void* slot = nullptr;

    // kernelbase has the registry functions on Windows 8 and later, and in Wine.
    void* open = velbrook_bind_delay_import(&advapi, "RegOpenKeyExA", &slot);
    EXPECT_EQ(open, SystemFunction("kernelbase.dll", "RegOpenKeyExA"));
    EXPECT_EQ(slot, open);
    EXPECT_EQ(advapi.module, nullptr) << "advapi32 was loaded for a kernelbase function";

    // RegDeleteKeyA is advapi32's alone.
    ASSERT_EQ(SystemFunction("kernelbase.dll", "RegDeleteKeyA"), nullptr);
    void* remove = velbrook_bind_delay_import(&advapi, "RegDeleteKeyA", &slot);
    EXPECT_EQ(remove, SystemFunction("advapi32.dll", "RegDeleteKeyA"));
    EXPECT_EQ(slot, remove);
    EXPECT_EQ(advapi.module, GetModuleHandleA("advapi32.dll"));

    // A preferred module that is not loaded is not loaded for it.
    DelayDll version{"version.dll", nullptr, "no-such-module-velbrook.dll"};
    void* size = velbrook_bind_delay_import(&version, "GetFileVersionInfoSizeA", &slot);
    EXPECT_EQ(size, SystemFunction("version.dll", "GetFileVersionInfoSizeA"));
    EXPECT_EQ(version.module, GetModuleHandleA("version.dll"));
    EXPECT_EQ(GetModuleHandleA("no-such-module-velbrook.dll"), nullptr);
}

} // namespace
