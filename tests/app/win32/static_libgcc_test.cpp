// The program's own GetModuleHandleA slot: it says the DLL build of libgcc is not
// there, without a search, and otherwise answers as kernel32 does.
#include <gtest/gtest.h>

#include "support/win32/windows_ansi.h"

namespace velbrook {
namespace {

TEST(StaticLibgcc, GetModuleHandleAAnswersLikeKernel32ButSkipsTheLibgccDll) {
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    const auto system = reinterpret_cast<HMODULE(WINAPI*)(LPCSTR)>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetModuleHandleA")));
    ASSERT_NE(system, nullptr);
#if defined(__i386__)
    // The program's calls go through its own slot, not kernel32's function.
    EXPECT_NE(reinterpret_cast<void*>(&GetModuleHandleA), reinterpret_cast<void*>(system));
#endif
    EXPECT_EQ(GetModuleHandleA(nullptr), system(nullptr));
    EXPECT_EQ(GetModuleHandleA("KERNEL32.DLL"), kernel);
    EXPECT_EQ(GetModuleHandleA("advapi32"), system("advapi32"));
    EXPECT_EQ(GetModuleHandleA("no-such-library-velbrook.dll"), nullptr);
    EXPECT_EQ(GetModuleHandleA("libgcc_s_dw2-1.dll"), nullptr);
    EXPECT_EQ(GetModuleHandleA("LIBGCC_S_DW2-1.DLL"), nullptr);
    // Exceptions work, so the unwind tables went to the static unwinder.
    EXPECT_THROW(throw 1, int);
}

} // namespace
} // namespace velbrook
