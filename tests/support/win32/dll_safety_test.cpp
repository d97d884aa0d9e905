#include "support/win32/dll_safety.h"

#include <gtest/gtest.h>

#include <string>

namespace velbrook::win32 {
namespace {

std::string FolderOf(HMODULE module) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, sizeof path);
    std::string folder(path);
    const auto slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

TEST(LoadSystemLibrary, LoadsFromTheSystemFolder) {
    const Module uxtheme = LoadSystemLibrary("uxtheme.dll");
    ASSERT_TRUE(uxtheme);
    EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, FolderOf(uxtheme.get()).c_str(),
                             -1, SystemDirectory().c_str(), -1),
              CSTR_EQUAL)
        << FolderOf(uxtheme.get()) << " vs " << SystemDirectory();
    EXPECT_NE(GetProcAddress(uxtheme.get(), "IsThemeActive"), nullptr);
}

TEST(LoadSystemLibrary, RefusesAnythingButAPlainNameOfAnExistingLibrary) {
    const char* refused[] = {
        "",
        "no-such-library-velbrook.dll",
        "..\\uxtheme.dll",
        "C:\\windows\\system32\\uxtheme.dll",
        "sub/uxtheme.dll",
        "..",
    };
    for (const char* name : refused)
        EXPECT_FALSE(LoadSystemLibrary(name)) << '"' << name << '"';
}

TEST(LoadSystemLibrary, TheModuleOwnerMovesAndFrees) {
    Module first = LoadSystemLibrary("version.dll");
    ASSERT_TRUE(first);
    const HMODULE handle = first.get();
    Module second = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), handle);
    second.reset();
    EXPECT_FALSE(second);
}

TEST(RestrictDllSearch, SystemLibrariesStillLoadByName) {
    RestrictDllSearch();
    EXPECT_FALSE(SystemDirectory().empty());
    EXPECT_NE(SystemDirectory().back(), '\\');
    const HMODULE comdlg = LoadLibraryA("comdlg32.dll");
    ASSERT_NE(comdlg, nullptr);
    EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, FolderOf(comdlg).c_str(), -1,
                             SystemDirectory().c_str(), -1),
              CSTR_EQUAL);
    FreeLibrary(comdlg);
}

} // namespace
} // namespace velbrook::win32
