#include "ui/main_window.h"

#include "support/messages.h"
#include "support/win32/shell.h"
#include "ui/application.h"
#include "ui/main_window_form.h"

namespace velbrook {

void RunMainWindow() {
    ui::Application& app = ui::Application::Instance();
    app.Initialize();
    app.SetTitle(msg::kAppTitle);
    ui::TfrSMain frSMain;
    frSMain.Create();
    app.SetMainWindow(frSMain.hwnd());
    win32::SetMainWindowHandle(frSMain.hwnd());
    frSMain.Show();
    app.Run();
}

} // namespace velbrook
