#include "support/win32/dll_safety.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "support/win32/visual_styles_context.h"

namespace velbrook::win32 {
namespace {

std::string FolderOf(HMODULE module) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, sizeof path);
    std::string folder(path);
    const auto slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

bool InSystemFolder(HMODULE module) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, FolderOf(module).c_str(), -1,
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

TEST(LoadSystemLibrary, LoadsADllNotLoadedBefore) {
    const char* name = "mpr.dll"; // nothing in the tests uses it
    if (GetModuleHandleA(name) != nullptr)
        GTEST_SKIP() << name << " is already loaded";
    Module module = LoadSystemLibrary(name);
    const HMODULE loaded = GetModuleHandleA(name);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(module.get(), loaded);
    EXPECT_TRUE(InSystemFolder(loaded)) << FolderOf(loaded);

    EXPECT_FALSE(LoadSystemLibrary("no-such-library-velbrook.dll"));
    EXPECT_EQ(GetModuleHandleA("no-such-library-velbrook.dll"), nullptr);
}

// A manifest that asks for common controls 6, as the program's does.
class CommonControls6Context {
  public:
    CommonControls6Context() {
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        path_ = std::string(folder) + "velbrook-test-cc6.manifest";
        if (std::FILE* file = std::fopen(path_.c_str(), "wb")) {
            std::fputs(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <dependency><dependentAssembly>
    <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
                      processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>
  </dependentAssembly></dependency>
</assembly>
)",
                       file);
            std::fclose(file);
        }
        ACTCTXA request{};
        request.cbSize = sizeof request;
        request.lpSource = path_.c_str();
        context_.emplace(request);
    }
    CommonControls6Context(const CommonControls6Context&) = delete;
    CommonControls6Context& operator=(const CommonControls6Context&) = delete;
    ~CommonControls6Context() {
        context_.reset();
        DeleteFileA(path_.c_str());
    }
    bool Active() const { return context_->Active(); }

  private:
    std::string path_;
    std::optional<ActiveContext> context_;
};

// The bare name keeps side-by-side redirection: the binder gets common controls 6.
TEST(LoadSystemLibrary, LoadsTheDllTheCallersActivationContextSelects) {
    const HMODULE plain = GetModuleHandleA("comctl32.dll"); // this program imports version 5
    const CommonControls6Context context;
    ASSERT_TRUE(context.Active());
    if (GetModuleHandleA("comctl32.dll") != nullptr)
        GTEST_SKIP() << "common controls 6 are already loaded";
    const HMODULE redirected =
        LoadSystemLibrary("comctl32.dll").release(); // stays, as the binder's
    ASSERT_NE(redirected, nullptr);
    EXPECT_EQ(GetModuleHandleA("comctl32.dll"), redirected);
    // Version 6 is a side-by-side assembly of its own, not the system folder's.
    EXPECT_NE(redirected, plain);
    EXPECT_FALSE(InSystemFolder(redirected)) << FolderOf(redirected);
}

} // namespace
} // namespace velbrook::win32
