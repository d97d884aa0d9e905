#pragma once
// Move-only owners of Win32 resources: one type per kind. A raw handle in a
// signature is borrowed; these types close what they hold in their destructor.
#include <utility>

#include "support/win32/windows_ansi.h"
#include <commctrl.h>

namespace velbrook::win32 {

// Traits::Close frees a handle; a Traits::Invalid() names the empty value where
// nullptr does not (files use INVALID_HANDLE_VALUE).
template <class Handle, class Traits> class UniqueHandle {
    static Handle Empty() {
        if constexpr (requires { Traits::Invalid(); })
            return Traits::Invalid();
        else
            return nullptr;
    }

  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    Handle operator->() const { return handle_; }
    explicit operator bool() const { return handle_ != Empty(); }
    Handle release() { return std::exchange(handle_, Empty()); }
    void reset(Handle handle = Empty()) {
        if (handle_ != Empty() && handle_ != handle)
            Traits::Close(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_ = Empty();
};

struct GdiObjectTraits {
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct ImageListTraits {
    static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};
struct IconTraits {
    static void Close(HICON h) { DestroyIcon(h); }
};
struct ModuleTraits {
    static void Close(HMODULE h) { FreeLibrary(h); }
};
struct RegistryKeyTraits {
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct FileTraits {
    static void Close(HANDLE h) { CloseHandle(h); }
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
};
struct KernelObjectTraits {
    static void Close(HANDLE h) { CloseHandle(h); }
};
// Memory that a system function allocated with LocalAlloc for the caller.
struct LocalMemoryTraits {
    static void Close(void* p) { LocalFree(p); }
};
// A DC from GetDC, released to the window it belongs to.
struct WindowDcTraits {
    static void Close(HDC h) { ReleaseDC(WindowFromDC(h), h); }
};
struct MemoryDcTraits {
    static void Close(HDC h) { DeleteDC(h); }
};
struct WindowTraits {
    static void Close(HWND h) {
        if (IsWindow(h))
            DestroyWindow(h);
    }
};
struct ComTraits {
    template <class Interface> static void Close(Interface* p) { p->Release(); }
};

using Font = UniqueHandle<HFONT, GdiObjectTraits>;
using Brush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using Bitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using ImageList = UniqueHandle<HIMAGELIST, ImageListTraits>;
using Icon = UniqueHandle<HICON, IconTraits>;
using Module = UniqueHandle<HMODULE, ModuleTraits>;
using RegistryKey = UniqueHandle<HKEY, RegistryKeyTraits>;
// Threads, processes, events: the handles that CloseHandle closes and nullptr marks absent.
using KernelObject = UniqueHandle<HANDLE, KernelObjectTraits>;
using LocalMemory = UniqueHandle<void*, LocalMemoryTraits>;
// What CreateFile opens: INVALID_HANDLE_VALUE marks it absent.
using File = UniqueHandle<HANDLE, FileTraits>;
using WindowDc = UniqueHandle<HDC, WindowDcTraits>;
// From CreateCompatibleDC.
using MemoryDc = UniqueHandle<HDC, MemoryDcTraits>;
// A top-level window made for a window of ours (such as its tooltip); its
// owner's destruction may have taken it first.
using OwnedWindow = UniqueHandle<HWND, WindowTraits>;
// One reference to a COM interface.
template <class Interface> using ComRef = UniqueHandle<Interface*, ComTraits>;

// Selects an object into a DC and puts the previous one back.
class DcSelection {
  public:
    DcSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    DcSelection(const DcSelection&) = delete;
    DcSelection& operator=(const DcSelection&) = delete;
    ~DcSelection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace velbrook::win32
