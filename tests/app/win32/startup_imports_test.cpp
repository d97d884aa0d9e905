// The system DLLs that are not KnownDLLs are not in the program's import table
// (they load on first use, from the system folder), and no manifest but the
// process one has an ID that a loader acts on by itself.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/win32/e2e_process.h"
#include "res/manifest_ids.h"

namespace velbrook::e2e {
namespace {

std::string Upper(std::string text) {
    CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

const IMAGE_NT_HEADERS& NtHeaders(HMODULE image) {
    const auto* base = reinterpret_cast<const unsigned char*>(image);
    return *reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
}

// The names of the DLLs in an executable's import table.
std::set<std::string> ImportedLibraries(const std::string& exe) {
    std::set<std::string> names;
    const HMODULE image = LoadLibraryExA(exe.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (image == nullptr)
        return names;
    const auto* base = reinterpret_cast<const unsigned char*>(image);
    const IMAGE_DATA_DIRECTORY& imports =
        NtHeaders(image).OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress != 0) {
        for (auto* entry =
                 reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
             entry->Name != 0; ++entry)
            names.insert(Upper(reinterpret_cast<const char*>(base + entry->Name)));
    }
    FreeLibrary(image);
    return names;
}

// The system DLLs that are not KnownDLLs load late, once the program has
// limited loading to the system folder: they are not in the import table.
TEST(StartupImports, TheDllsThatAreNotKnownDllsAreNotImportedAtStart) {
    const std::set<std::string> names = ImportedLibraries(BinFolder() + "velbrook.exe");
    ASSERT_TRUE(names.count("KERNEL32.DLL")) << "import table not read";
    for (const char* late : {"COMCTL32.DLL", "VERSION.DLL", "UXTHEME.DLL", "OLEACC.DLL"})
        EXPECT_FALSE(names.count(late)) << late;
}

BOOL CALLBACK AddResourceId(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<WORD>*>(ids)->insert(LOWORD(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

TEST(StartupImports, OnlyTheProcessManifestHasAnIdLoadersUse) {
    const HMODULE image =
        LoadLibraryExA((BinFolder() + "velbrook.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    std::set<WORD> ids;
    EnumResourceNamesA(image, RT_MANIFEST, AddResourceId, reinterpret_cast<LONG_PTR>(&ids));
    FreeLibrary(image);
    EXPECT_EQ(ids, (std::set<WORD>{1, VELBROOK_VISUAL_STYLES_MANIFEST_ID}));
    EXPECT_GT(VELBROOK_VISUAL_STYLES_MANIFEST_ID,
              LOWORD(reinterpret_cast<ULONG_PTR>(MAXIMUM_RESERVED_MANIFEST_RESOURCE_ID)));
}

} // namespace
} // namespace velbrook::e2e
