// What happens when a late-loaded system DLL, or a function in it, is missing
// (an older Windows): the program says so and ends with exit code 1. A quiet
// run writes the message to standard error instead of showing a box. Linked
// into velbrook.exe itself, so that the delay-load helper finds this hook.
#include <string>

#include "app/entry.h"
#include "support/console.h"
#include "support/errors.h"
#include "support/messages.h"
#include "support/win32/windows_ansi.h"
#include <delayimp.h>

namespace {

FARPROC WINAPI OnLateDllFailure(unsigned, PDelayLoadInfo info) {
    const std::string function = info->dlp.fImportByName
                                     ? std::string(info->dlp.szProcName)
                                     : "#" + std::to_string(info->dlp.dwOrdinal);
    const std::string text =
        velbrook::FormatText(velbrook::msg::kMissingSystemFunction, info->szDll, function);
    if (velbrook::IsQuietRun())
        velbrook::WriteStandardError(text + "\r\n");
    else
        MessageBoxA(nullptr, text.c_str(), velbrook::msg::kCaptionError, MB_OK | MB_ICONSTOP);
    ExitProcess(1);
}

} // namespace

PfnDliHook __pfnDliFailureHook2 = OnLateDllFailure;
