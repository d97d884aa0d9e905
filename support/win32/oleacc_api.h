#pragma once
// oleacc and oleaut32, loaded from the system folder on first use: only a
// screen reader or another accessibility client asking the window for its
// accessible object needs them. When a library or a function is missing, each
// call fails the way the function itself reports failure.
#include "support/win32/windows_ansi.h"

#include <ole2.h>

namespace velbrook::win32::oleacc {

// CreateStdAccessibleObject.
HRESULT StdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object);
// LresultFromObject: the answer to WM_GETOBJECT.
LRESULT ResultFromObject(REFIID iid, WPARAM wParam, IUnknown* object);
// SysAllocString; nullptr when it cannot be had.
BSTR AllocString(const wchar_t* text);

} // namespace velbrook::win32::oleacc
