// time_to_window RUNS PROGRAM...
// Starts each program in turn, RUNS rounds after one round that is not counted,
// and prints for each program, one line each, the median and the lower quartile
// of the times in milliseconds from CreateProcess to the first visible top-level window of its main thread;
// each window is then closed. The search looks at that thread's windows only:
// under Wine every look at another process's window is a server request, and a
// poll over the whole desktop every millisecond would load the server that the
// measured program is waiting on. One process does all runs, so Wine's desktop
// process stays up throughout instead of starting alongside some of the runs.
// Exit code 1 when a run shows no window within 30 s.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/win32/windows_ansi.h"

namespace {

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM found) {
    if (!IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

std::string Quote(const std::string& s) {
    if (s.find_first_of(" \t\"") == std::string::npos)
        return s;
    std::string quoted(1, '"');
    quoted.append(s).push_back('"');
    return quoted;
}

// Milliseconds to the first visible window, or a negative value on failure.
double TimeOneRun(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    HWND found = nullptr;
    double elapsed = -1;
    for (;;) {
        EnumThreadWindows(process.dwThreadId, FindVisibleWindow, reinterpret_cast<LPARAM>(&found));
        QueryPerformanceCounter(&now);
        if (found != nullptr) {
            elapsed = Seconds(start, now) * 1000.0;
            break;
        }
        if (Seconds(start, now) > 30 || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        Sleep(1);
    }
    if (found != nullptr)
        PostMessageA(found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: time_to_window RUNS PROGRAM...\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<std::string> commandLines;
    for (int i = 2; i < argc; ++i)
        commandLines.push_back(Quote(argv[i]));
    std::vector<std::vector<double>> times(commandLines.size());
    for (int round = 0; round <= runs; ++round) {
        for (std::size_t p = 0; p < commandLines.size(); ++p) {
            const double ms = TimeOneRun(commandLines[p]);
            if (ms < 0) {
                std::fprintf(stderr, "no visible window from %s\n", commandLines[p].c_str());
                return 1;
            }
            if (round > 0)
                times[p].push_back(ms);
        }
    }
    for (std::vector<double>& t : times) {
        std::sort(t.begin(), t.end());
        std::printf("%.1f %.1f\n", t[t.size() / 2], t[(t.size() - 1) / 4]);
    }
    return 0;
}
