#include "app/win32/e2e_console.h"

#include "app/win32/e2e_process.h"
#include "support/win32/handles.h"

namespace velbrook::e2e {

namespace {

using win32::KernelObject;

BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
    auto* processId = reinterpret_cast<DWORD*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != *processId || !IsWindowVisible(window))
        return TRUE;
    *processId = 0;
    return FALSE;
}

bool ShowsWindow(DWORD processId) {
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&processId));
    return processId == 0;
}

// Takes what the pipe holds, without waiting for more.
void Drain(HANDLE pipe, std::string& text) {
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        std::string chunk(available, '\0');
        DWORD read = 0;
        if (!ReadFile(pipe, chunk.data(), available, &read, nullptr))
            return;
        text.append(chunk, 0, read);
    }
}

} // namespace

ScriptRun RunScript(const std::string& arguments, DWORD timeoutMs, const std::string& program) {
    ScriptRun run;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE ends[4] = {};
    if (!CreatePipe(&ends[0], &ends[1], &inherit, 0) ||
        !CreatePipe(&ends[2], &ends[3], &inherit, 0))
        return run;
    const KernelObject out(ends[0]), outWrite(ends[1]), err(ends[2]), errWrite(ends[3]);
    SetHandleInformation(out.get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(err.get(), HANDLE_FLAG_INHERIT, 0);
    std::string commandLine = "\"" + BinFolder() + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outWrite.get();
    startup.hStdError = errWrite.get();
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, "C:\\",
                        &startup, &info)) {
        run.err = "not started: system error " + std::to_string(GetLastError());
        return run;
    }
    CloseHandle(info.hThread);
    const KernelObject process(info.hProcess);
    bool ended = false;
    for (DWORD waited = 0; !ended && waited <= timeoutMs; waited += 20) {
        ended = WaitForSingleObject(process.get(), 20) == WAIT_OBJECT_0;
        run.showedWindow = ShowsWindow(info.dwProcessId) || run.showedWindow;
        Drain(out.get(), run.out);
        Drain(err.get(), run.err);
    }
    if (!ended) {
        TerminateProcess(process.get(), 99);
        WaitForSingleObject(process.get(), timeoutMs);
        return run;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    run.exitCode = static_cast<long>(code);
    return run;
}

} // namespace velbrook::e2e
