#include "app/win32/e2e_process.h"

#include <cstring>
#include <utility>

#include "support/win32/handles.h"
#include "support/win32/program_path.h"
#include "ui/main_window_design.h"

namespace velbrook::e2e {

namespace {

constexpr DWORD kAnswerBoxTimeoutMs = 20000;

using win32::KernelObject;

// "<bin>\<exe>" in double quotes; a path with a folder is taken as it is.
std::string QuotedProgram(const std::string& exe) {
    std::string text(1, '"');
    if (exe.find('\\') == std::string::npos)
        text.append(BinFolder());
    text.append(exe).push_back('"');
    return text;
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND owner; // nullptr: any visible one
    HWND found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner != search.processId || std::strcmp(className, search.className) != 0)
        return TRUE;
    if (search.owner != nullptr ? GetWindow(window, GW_OWNER) != search.owner
                                : !IsWindowVisible(window))
        return TRUE;
    search.found = window;
    return FALSE;
}

} // namespace

HWND FindProcessWindow(DWORD processId, const char* className, HWND owner) {
    WindowSearch search{processId, className, owner, nullptr};
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string BinFolder() {
    return win32::ProgramFolder();
}

ChildProcess::ChildProcess(const std::string& exe, const std::string& arguments,
                           const std::string& workDir) {
    std::string commandLine = QuotedProgram(exe);
    if (!arguments.empty())
        commandLine.append(" ").append(arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       workDir.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
}

ChildProcess::ChildProcess(const std::string& exe, const std::wstring& arguments,
                           const std::string& workDir) {
    const std::string program = QuotedProgram(exe);
    std::wstring commandLine(program.begin(), program.end());
    if (!arguments.empty())
        commandLine.append(L" ").append(arguments);
    const std::wstring folder(workDir.begin(), workDir.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(other.id_) {}

ChildProcess::~ChildProcess() {
    if (process_ == nullptr)
        return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT)
        TerminateProcess(process_, 99);
    CloseHandle(process_);
}

long ChildProcess::WaitForExit(DWORD timeoutMs) {
    if (process_ == nullptr)
        return -1;
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, timeoutMs);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<long>(code);
}

AnsweredBox AnswerMessageBox(const ChildProcess& process, const char* button) {
    AnsweredBox result;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readPipe = nullptr, writePipe = nullptr;
    if (!CreatePipe(&readPipe, &writePipe, &inherit, 0))
        return result;
    const KernelObject readEnd(readPipe);
    KernelObject writeEnd(writePipe);
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    std::string commandLine = QuotedProgram("answer_box.exe");
    commandLine.append(" ").append(std::to_string(process.Id())).append(" ").append(button);
    commandLine.append(" ").append(std::to_string(kAnswerBoxTimeoutMs));
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &info))
        return result;
    const KernelObject helper(info.hProcess);
    CloseHandle(info.hThread);
    writeEnd.reset(); // so that reading ends when the helper does

    std::string output;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(readEnd.get(), chunk, sizeof(chunk), &read, nullptr) && read > 0)
        output.append(chunk, read);
    if (WaitForSingleObject(helper.get(), kAnswerBoxTimeoutMs * 2) != WAIT_OBJECT_0) {
        TerminateProcess(helper.get(), 99);
        return result;
    }
    DWORD code = 1;
    GetExitCodeProcess(helper.get(), &code);
    const std::size_t lineEnd = output.find('\n');
    if (code != 0 || lineEnd == std::string::npos)
        return result;
    result.answered = true;
    result.caption = output.substr(0, lineEnd);
    result.text = output.substr(lineEnd + 1);
    return result;
}

bool CloseMainWindow(const ChildProcess& process, DWORD timeoutMs) {
    for (DWORD waited = 0; waited <= timeoutMs; waited += kPollMs) {
        if (const HWND window = FindProcessWindow(process.Id(), ui::design::kWindowClass))
            return PostMessageA(window, WM_CLOSE, 0, 0) != 0;
        // Also the poll interval: returns early when the program ends.
        if (WaitForSingleObject(process.Handle(), kPollMs) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

} // namespace velbrook::e2e
