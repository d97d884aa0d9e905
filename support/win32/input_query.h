#pragma once
// The modal one-line input box: caption, prompt, an edit preset with the value
// (all selected, at most 255 characters), OK and Cancel.
#include <string>

#include "support/win32/windows_ansi.h"

namespace velbrook::win32 {

// False when cancelled; value is the preset on entry and the typed text on return.
bool InputQueryBox(HWND owner, const std::string& caption, const std::string& prompt,
                   std::string& value);

} // namespace velbrook::win32
