#include "support/win32/comdlg32_api.h"

#include "support/win32/dll_safety.h"

namespace velbrook::win32::comdlg32 {

bool OpenFileName(OPENFILENAMEA* dialog) {
    // Stays loaded for the life of the process, like a library of the import table.
    static const auto open = ProcAddress<decltype(&GetOpenFileNameA)>(
        LoadSystemLibrary("comdlg32.dll").release(), "GetOpenFileNameA");
    return open != nullptr && open(dialog);
}

} // namespace velbrook::win32::comdlg32
