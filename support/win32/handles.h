#pragma once
// Move-only owners of Win32 resources: one type per kind. A raw handle in a
// signature is borrowed; these types close what they hold in their destructor.
#include <utility>

#include "support/win32/windows_ansi.h"
#include <commctrl.h>

namespace velbrook::win32 {

template <class Handle, class Traits> class UniqueHandle {
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
    explicit operator bool() const { return handle_ != nullptr; }
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        if (handle_ != nullptr && handle_ != handle)
            Traits::Close(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_ = nullptr;
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
struct KernelObjectTraits {
    static void Close(HANDLE h) { CloseHandle(h); }
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

// Owns one reference to a COM interface.
template <class T> class ComRef {
  public:
    ComRef() = default;
    explicit ComRef(T* p) : p_(p) {}
    ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() { Reset(); }

    T* Get() const { return p_; }
    void Reset() {
        if (p_ != nullptr)
            p_->Release();
        p_ = nullptr;
    }

  private:
    T* p_ = nullptr;
};

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

// A window's DC from GetDC, released with ReleaseDC.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr)
            ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class MemoryDc {
  public:
    explicit MemoryDc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() {
        if (dc_ != nullptr)
            DeleteDC(dc_);
    }
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

} // namespace velbrook::win32
