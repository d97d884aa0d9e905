#include "ui/main_window_commands.h"

#include "support/errors.h"
#include "support/messages.h"
#include "ui/main_window_form.h"

namespace velbrook::ui {

namespace {

using enum ShortcutScope;

// F4 changes the row (F2 types it in place); Enter stays with the default button.
constexpr Command kCommands[] = {
    {.id = design::kCmdChange,
     .run = [](MainWindow& w) { w.OnChangeRow(); },
     .hint = msg::kHintChange,
     .shortcut = {VK_F4, false, List}},
    {.id = design::kCmdClear,
     .run = [](MainWindow& w) { w.OnClearRow(); },
     .hint = msg::kHintClear,
     .shortcut = {VK_DELETE, false, List}},
    {.id = design::kCmdMoveUp,
     .run = [](MainWindow& w) { w.OnMoveRow(design::kCmdMoveUp); },
     .hint = msg::kHintMoveUp,
     .shortcut = {VK_UP, true, List}},
    {.id = design::kCmdMoveDown,
     .run = [](MainWindow& w) { w.OnMoveRow(design::kCmdMoveDown); },
     .hint = msg::kHintMoveDown,
     .shortcut = {VK_DOWN, true, List}},
    {.id = design::kCmdSavePlacesFile,
     .run = [](MainWindow& w) { w.OnSavePlacesFile(); },
     .hint = msg::kHintSaveScheme,
     .shortcut = {'S', true, Window}},
    {.id = design::kCmdAddScheme,
     .run = [](MainWindow& w) { w.OnAddScheme(); },
     .hint = msg::kHintAddScheme,
     .shortcut = {VK_INSERT, false, Window}},
    {.id = design::kCmdDeleteScheme,
     .run = [](MainWindow& w) { w.OnDeleteScheme(); },
     .hint = msg::kHintDeleteScheme,
     .shortcut = {VK_DELETE, false, SchemeBox},
     .enabled = [](const MainWindow& w) { return w.SchemeDeleteEnabled(); },
     .usesRows = false},
};

std::string KeyName(UINT key) {
    switch (key) {
    case VK_DELETE:
        return msg::kKeyDelete;
    case VK_INSERT:
        return msg::kKeyInsert;
    case VK_UP:
        return msg::kKeyUp;
    case VK_DOWN:
        return msg::kKeyDown;
    default:
        break;
    }
    std::string name;
    if (key >= VK_F1 && key <= VK_F24)
        name.append("F").append(std::to_string(key - VK_F1 + 1));
    else
        name.push_back(static_cast<char>(key)); // letters and digits are their own codes
    return name;
}

} // namespace

std::span<const Command> Commands() {
    return kCommands;
}

const Command* FindCommand(int id) {
    for (const Command& command : kCommands) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}

std::string ShortcutText(const Shortcut& shortcut) {
    std::string text = shortcut.ctrl ? msg::kKeyCtrl : "";
    text.append(KeyName(shortcut.key));
    return text;
}

std::string HintWithShortcut(const Command& command) {
    std::string text = FormatText(msg::kHintWithShortcut, command.hint);
    return FormatText(text, ShortcutText(command.shortcut));
}

ImageButton& MainWindow::CommandButton(int commandId) {
    for (const CommandButtonPlace& place : commandButtons_) {
        if (place.control->id == commandId)
            return *place.button;
    }
    throw Error(FormatText(msg::kNoImageButtonForCommand, static_cast<long long>(commandId)));
}

ImageButton& MainWindow::ImageButtonOf(design::Part part) {
    return CommandButton(design::ControlOf(part).id);
}

bool MainWindow::CommandEnabled(const Command& command) const {
    return command.enabled == nullptr || command.enabled(*this);
}

void MainWindow::RunCommand(int commandId) {
    const Command* command = FindCommand(commandId);
    if (command != nullptr && CommandEnabled(*command))
        command->run(*this);
}

void MainWindow::UpdateCommandStates() {
    for (const CommandButtonPlace& place : commandButtons_)
        place.button->SetEnabled(CommandEnabled(*FindCommand(place.control->id)));
}

// A key of the table's shortcuts, where its scope says, when its command is enabled.
bool MainWindow::TranslateShortcut(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !list_ || GetKeyState(VK_SHIFT) < 0 ||
        GetKeyState(VK_MENU) < 0)
        return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const HWND schemeBox = Item(design::kIdSchemeBox);
    const bool inList = msg.hwnd == list_->Handle();
    const bool inSchemeBox =
        msg.hwnd == schemeBox && !SendMessageA(schemeBox, CB_GETDROPPEDSTATE, 0, 0);
    const bool editing = list_->IsEditing();
    for (const Command& command : Commands()) {
        const Shortcut& shortcut = command.shortcut;
        if (shortcut.key != msg.wParam || shortcut.ctrl != ctrl)
            continue;
        bool applies = false;
        switch (shortcut.scope) {
        case ShortcutScope::List:
            applies = inList;
            break;
        case ShortcutScope::SchemeBox:
            applies = inSchemeBox;
            break;
        case ShortcutScope::Window:
            applies = !(editing && command.usesRows);
            break;
        }
        if (!applies || !CommandEnabled(command))
            continue;
        // As an accelerator's command, so that the key counts as used even when
        // the command fails.
        SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(command.id, kShortcutCode), 0);
        return true;
    }
    return false;
}

} // namespace velbrook::ui
