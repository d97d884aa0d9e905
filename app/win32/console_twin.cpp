// velbrook.com, the console twin of velbrook.exe. Consoles do not wait for a
// Windows program, so this one runs velbrook.exe from its own folder with the
// same arguments and standard handles, waits for it and returns its exit code.
// A run that only opens the window is not waited for.
#include <string>

#include "app/command_line.h"
#include "support/console.h"
#include "support/errors.h"
#include "support/messages.h"
#include "support/win32/dll_safety.h"
#include "support/win32/handles.h"
#include "support/win32/windows_ansi.h"

namespace {

using velbrook::win32::KernelObject;

// velbrook.exe beside this program.
std::wstring WindowsProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return L"velbrook.exe";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t dot = path.find_last_of(L".\\");
    if (dot != std::wstring::npos && path[dot] == L'.')
        path.resize(dot);
    return path + L".exe";
}

bool WaitsForTheRun(std::u16string_view commandLine) {
    try {
        std::string refused;
        return !velbrook::OpensOnlyTheWindow(
            velbrook::BuildParamList(velbrook::SplitCommandLine(commandLine, refused)));
    } catch (const std::exception&) {
        return true; // velbrook.exe tells what is wrong
    }
}

// The handle as the child's own, when there is one.
HANDLE Inherited(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE)
        SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    return handle;
}

} // namespace

int main() {
    velbrook::win32::RestrictDllSearch();
    const std::u16string_view commandLine(reinterpret_cast<const char16_t*>(GetCommandLineW()));
    const std::wstring program = WindowsProgramPath();
    const std::u16string_view arguments = velbrook::ArgumentsAfterProgramName(commandLine);
    std::wstring childLine = L"\"" + program + L"\" ";
    childLine.append(reinterpret_cast<const wchar_t*>(arguments.data()), arguments.size());

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = Inherited(STD_INPUT_HANDLE);
    startup.hStdOutput = Inherited(STD_OUTPUT_HANDLE);
    startup.hStdError = Inherited(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), childLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &started)) {
        velbrook::WriteStandardError(velbrook::FormatText(velbrook::msg::kCannotStartWindowsProgram,
                                                          static_cast<long long>(GetLastError())) +
                                     "\r\n");
        return 1;
    }
    const KernelObject process(started.hProcess);
    const KernelObject thread(started.hThread);
    if (!WaitsForTheRun(commandLine))
        return 0;
    DWORD exitCode = 1;
    if (WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.get(), &exitCode))
        return 1;
    return static_cast<int>(exitCode);
}
