#pragma once
// Opens the real main window on an in-memory registry with scripted dialogs, and
// drives it with the messages a user's actions produce.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/places_bar.h"
#include "core/registry_fixture.h"
#include "core/schemes.h"
#include "testlib/scripted_dialogs.h"
#include "ui/application.h"
#include "ui/main_window_form.h"

namespace velbrook::testing {

// A path in the temporary folder, with no file there.
std::string TempFile(const std::string& name);
// The file's bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);

using ui::design::Part;

inline const std::string kSchemesKey = std::string(kProgramKey) + "\\" + kSchemesSubkey;

class MainWindowTest : public RegistryTest {
  public:
    // Texts of the general error reports shown since the test started.
    static std::vector<std::string> reports;
    using DialogAnswer = std::function<void(HWND dialog)>;

  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates and shows the window and lets it settle.
    void Open();
    // Runs the queued messages through the application's loop (dialog keys included).
    void Pump();
    bool IsOpen() const {
        return window_ && window_->hwnd() != nullptr && IsWindow(window_->hwnd());
    }
    ui::MainWindow& Window() { return *window_; }
    ui::PlacesListView& List() { return window_->List(); }
    HWND Item(ui::design::ControlId id) { return window_->Item(id); }

    void ClickImageButton(Part button, int dx = 0, int dy = 0);
    void MouseDownAt(Part part, UINT message = WM_LBUTTONDOWN);
    void SelectRow(int row);
    void Press(HWND target, WPARAM key);
    // The key with Ctrl held, as the thread's keyboard state has it.
    void PressWithCtrl(HWND target, WPARAM key);
    void ChooseScheme(int index);
    void DoubleClickList();
    HWND Editor();

    // The window's tab stops from the first, once round.
    std::vector<HWND> TabOrder();

    // Runs `action`, which shows real modal dialogs: each one that comes up is
    // handed to the next answer, which reads it and ends it. A dialog left
    // unanswered is ended after a bound and fails the test.
    void WithDialogs(const std::function<void()>& action, std::vector<DialogAnswer> answers);
    // Shows the real dialogs and the real error report from now on.
    void UseRealDialogs();

    PlacesList Rows() { return window_->RowCaptions(); }
    std::vector<std::string> Labels();
    std::vector<std::string> SchemeNames();
    bool Checked(ui::design::ControlId id) { return window_->IsChecked(id); }

    // Stored state, read through the program's own store functions.
    // Closes the window the way named: "Ok", "Cancel", "Esc", "close box" or "Alt+F4".
    void CloseBy(const std::string& route);
    void StoreSchemes(const std::vector<std::pair<std::string, PlacesList>>& schemes);
    std::vector<std::pair<std::string, PlacesList>> StoredSchemes();
    void StorePlaces(const PlacesList& places) { WritePlacesBar(&places); }

    ScriptedDialogs dialogs;

    // The design font's text height at the display's resolution, measured here:
    // what the layout must scale by.
    static int MeasuredDesignTextHeight(int dpi);

  private:
    std::unique_ptr<DialogsScope> dialogsScope_;
    std::unique_ptr<ui::MainWindow> window_;
};

} // namespace velbrook::testing
