#include "ui/main_window.h"

#include "support/messages.h"
#include "support/errors.h"
#include "support/win32/handles.h"
#include "support/win32/user_mutex.h"
#include "ui/application.h"
#include "ui/main_window_design.h"
#include "ui/main_window_form.h"

namespace velbrook {

namespace {

// One window per user, in all the user's sessions.
constexpr char kWindowMutex[] = "Velbrook.MainWindow";
// How long a second start waits for the first one's window to show.
constexpr DWORD kWaitForWindowMs = 10000;
constexpr DWORD kPollMs = 50;

// Ownership of the named mutex, held while this copy's window is open.
class WindowLock {
  public:
    WindowLock() {
        bool existed = false;
        mutex_ = win32::OpenUserMutex(kWindowMutex, true, existed, msg::kWindowLockTaken,
                                      msg::kCannotFindOpenWindow);
        owned_ = !existed;
    }
    WindowLock(const WindowLock&) = delete;
    WindowLock& operator=(const WindowLock&) = delete;
    ~WindowLock() {
        if (owned_)
            ReleaseMutex(mutex_.get());
    }

    // True once this copy owns it; waits at most timeoutMs for the owner to end.
    bool Acquire(DWORD timeoutMs) {
        if (!owned_ && mutex_) {
            const DWORD state = WaitForSingleObject(mutex_.get(), timeoutMs);
            owned_ = state == WAIT_OBJECT_0 || state == WAIT_ABANDONED;
        }
        return owned_;
    }

  private:
    win32::KernelObject mutex_;
    bool owned_ = false;
};

// The shown window of the copy that is running; a window that is being closed
// is hidden first.
HWND RunningWindow() {
    const HWND window = FindWindowA(ui::design::kWindowClass, msg::kAppTitle);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

// Restored if minimised, with whatever dialog it shows, in front.
void BringToFront(HWND window) {
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    const HWND popup = GetLastActivePopup(window);
    SetForegroundWindow(popup != nullptr ? popup : window);
}

// True when this copy may open the window; false when the running copy's window
// has been brought to the front. Raises when there is none to bring forward.
bool MayOpenWindow(WindowLock& lock) {
    for (DWORD waited = 0; waited < kWaitForWindowMs; waited += kPollMs) {
        if (lock.Acquire(waited == 0 ? 0 : kPollMs))
            return true;
        if (const HWND window = RunningWindow()) {
            BringToFront(window);
            return false;
        }
    }
    throw Error(msg::kWindowOpenElsewhere);
}

} // namespace

void RunMainWindow() {
    WindowLock lock;
    if (!MayOpenWindow(lock))
        return;
    ui::Application& app = ui::Application::Instance();
    app.Initialize();
    app.SetTitle(msg::kAppTitle);
    ui::MainWindow mainWindow;
    mainWindow.Create();
    app.SetMainWindow(mainWindow.hwnd());
    mainWindow.Show();
    app.Run();
}

} // namespace velbrook
