#include "app/win32/e2e_console.h"

#include "app/win32/e2e_process.h"

namespace velbrook::e2e {

namespace {

constexpr DWORD kPollMs = 20;

struct WindowWatch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM param) {
    auto& watch = *reinterpret_cast<WindowWatch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == watch.processId && IsWindowVisible(window)) {
        watch.found = true;
        return FALSE;
    }
    return TRUE;
}

bool ShowsWindow(DWORD processId) {
    WindowWatch watch{processId, false};
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&watch));
    return watch.found;
}

// A pipe whose writing end the child inherits.
bool MakePipe(win32::KernelObject& readEnd, win32::KernelObject& writeEnd) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0))
        return false;
    readEnd.reset(read);
    writeEnd.reset(write);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    return true;
}

} // namespace

ScriptProcess::ScriptProcess(const std::string& arguments, const std::string& workDir) {
    win32::KernelObject outWrite, errWrite;
    if (!MakePipe(out_, outWrite) || !MakePipe(err_, errWrite))
        return;
    std::string commandLine = "\"" + BinFolder() + "velbrook.exe\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = outWrite.get();
    startup.hStdError = errWrite.get();
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        workDir.c_str(), &startup, &info))
        return;
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
}

ScriptProcess::~ScriptProcess() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT)
        TerminateProcess(process_.get(), 99);
}

// Takes what the pipe holds without blocking; false once it is broken (the child ended).
bool ScriptProcess::Drain(HANDLE pipe, std::string& text) {
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr))
            return false;
        if (available == 0)
            return true;
        std::string chunk(available, '\0');
        DWORD read = 0;
        if (!ReadFile(pipe, chunk.data(), available, &read, nullptr))
            return false;
        text.append(chunk, 0, read);
    }
}

ScriptRun ScriptProcess::Finish(DWORD timeoutMs) {
    ScriptRun run;
    if (!process_)
        return run;
    bool ended = false;
    for (DWORD waited = 0; !ended && waited <= timeoutMs; waited += kPollMs) {
        ended = WaitForSingleObject(process_.get(), kPollMs) == WAIT_OBJECT_0;
        run.showedWindow = run.showedWindow || ShowsWindow(id_);
        Drain(out_.get(), run.out);
        Drain(err_.get(), run.err);
    }
    if (!ended) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), timeoutMs);
        return run;
    }
    // What it wrote just before it ended.
    Drain(out_.get(), run.out);
    Drain(err_.get(), run.err);
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    run.exitCode = static_cast<long>(code);
    return run;
}

} // namespace velbrook::e2e
