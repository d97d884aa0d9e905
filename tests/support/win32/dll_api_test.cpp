#include <gtest/gtest.h>

#include <string>

#include "support/win32/dll_safety.h"
#include "support/win32/ole32_api.h"
#include "support/win32/shell32_api.h"

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

TEST(ProcAddress, FindsOnlyFunctionsOfALoadedModule) {
    using GetTickCountFunction = DWORD(WINAPI*)();
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ(ProcAddress<GetTickCountFunction>(nullptr, "GetTickCount"), nullptr);
    EXPECT_EQ(ProcAddress<GetTickCountFunction>(kernel, "NoSuchFunctionVelbrook"), nullptr);
    const auto tickCount = ProcAddress<GetTickCountFunction>(kernel, "GetTickCount");
    ASSERT_NE(tickCount, nullptr);
    EXPECT_GT(tickCount(), 0u);
}

TEST(Shell32Api, AnswersFromTheSystemFoldersShell32) {
    SHFILEINFOA info{};
    const DWORD_PTR images =
        shell32::FileInfo("C:\\", 0, &info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    EXPECT_NE(images, 0u);
    const HMODULE shell = GetModuleHandleA("shell32.dll");
    ASSERT_NE(shell, nullptr);
    EXPECT_TRUE(IsInSystemFolder(shell));

    IMalloc* allocator = nullptr;
    ASSERT_TRUE(SUCCEEDED(shell32::Allocator(&allocator)));
    ASSERT_NE(allocator, nullptr);
    void* block = allocator->Alloc(16);
    EXPECT_NE(block, nullptr);
    allocator->Free(block);
    allocator->Release();
}

TEST(Ole32Api, InitialisesAndReleasesOleOnTheThread) {
    ASSERT_TRUE(ole32::Initialize());
    const HMODULE ole = GetModuleHandleA("ole32.dll");
    ASSERT_NE(ole, nullptr);
    EXPECT_TRUE(IsInSystemFolder(ole));
    // Nested initialisation counts; each one is undone.
    EXPECT_TRUE(ole32::Initialize());
    ole32::Uninitialize();
    ole32::TaskMemFree(nullptr);
    ole32::Uninitialize();
}

} // namespace
} // namespace velbrook::win32
