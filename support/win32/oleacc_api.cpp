#include "support/win32/oleacc_api.h"

#include "support/win32/dll_safety.h"

#include <oleacc.h>

namespace velbrook::win32::oleacc {

namespace {

struct Library {
    // Stay loaded for the life of the process, like libraries of the import table.
    HMODULE oleacc = LoadSystemLibrary("oleacc.dll").release();
    HMODULE oleaut32 = LoadSystemLibrary("oleaut32.dll").release();
    decltype(&CreateStdAccessibleObject) createStd =
        ProcAddress<decltype(&CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject");
    decltype(&LresultFromObject) resultFromObject =
        ProcAddress<decltype(&LresultFromObject)>(oleacc, "LresultFromObject");
    decltype(&SysAllocString) allocString =
        ProcAddress<decltype(&SysAllocString)>(oleaut32, "SysAllocString");
};

const Library& Loaded() {
    static const Library library;
    return library;
}

} // namespace

HRESULT StdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object) {
    *object = nullptr;
    return Loaded().createStd ? Loaded().createStd(window, objectId, iid, object) : E_NOTIMPL;
}

LRESULT ResultFromObject(REFIID iid, WPARAM wParam, IUnknown* object) {
    return Loaded().resultFromObject ? Loaded().resultFromObject(iid, wParam, object) : E_NOTIMPL;
}

BSTR AllocString(const wchar_t* text) {
    return Loaded().allocString ? Loaded().allocString(text) : nullptr;
}

} // namespace velbrook::win32::oleacc
