// The shell's DLLs bind late like the rest: the program's calls work through
// slots that the binder fills from the system folder's DLLs.
#include "app/win32/delay_imports.h"

#include <gtest/gtest.h>

#include <string>

#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include "support/win32/dll_safety.h"

namespace velbrook::win32 {
namespace {

bool IsInSystemFolder(HMODULE module) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, sizeof path);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\') == std::string::npos ? 0 : folder.find_last_of('\\'));
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, folder.c_str(), -1,
                          SystemDirectory().c_str(), -1) == CSTR_EQUAL;
}

template <class Function> Function Bound(DelayDll& dll, const char* name) {
    void* slot = nullptr;
    void* function = velbrook_bind_delay_import(&dll, name, &slot);
    EXPECT_EQ(slot, function);
    return reinterpret_cast<Function>(function);
}

TEST(LateBoundDlls, Shell32AnswersFromTheSystemFolder) {
    DelayDll shell32{"shell32.dll", nullptr, nullptr};
    const auto fileInfo = Bound<decltype(&SHGetFileInfoA)>(shell32, "SHGetFileInfoA");
    SHFILEINFOA info{};
    EXPECT_NE(fileInfo("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON), 0u);
    ASSERT_NE(shell32.module, nullptr);
    EXPECT_TRUE(IsInSystemFolder(shell32.module));

    const auto getMalloc = Bound<decltype(&SHGetMalloc)>(shell32, "SHGetMalloc");
    IMalloc* allocator = nullptr;
    ASSERT_TRUE(SUCCEEDED(getMalloc(&allocator)));
    ASSERT_NE(allocator, nullptr);
    void* block = allocator->Alloc(16);
    EXPECT_NE(block, nullptr);
    allocator->Free(block);
    allocator->Release();
}

TEST(LateBoundDlls, Ole32InitialisesAndReleasesOleOnTheThread) {
    DelayDll ole32{"ole32.dll", nullptr, nullptr};
    const auto initialize = Bound<decltype(&OleInitialize)>(ole32, "OleInitialize");
    const auto uninitialize = Bound<decltype(&OleUninitialize)>(ole32, "OleUninitialize");
    ASSERT_TRUE(SUCCEEDED(initialize(nullptr)));
    ASSERT_NE(ole32.module, nullptr);
    EXPECT_TRUE(IsInSystemFolder(ole32.module));
    // Nested initialisation counts; each one is undone.
    EXPECT_TRUE(SUCCEEDED(initialize(nullptr)));
    uninitialize();
    Bound<decltype(&CoTaskMemFree)>(ole32, "CoTaskMemFree")(nullptr);
    uninitialize();
}

} // namespace
} // namespace velbrook::win32
