#include "support/dialogs.h"

#include "support/errors.h"
#include "support/messages.h"

namespace velbrook {

namespace {
UserDialogs* installedDialogs = nullptr;
} // namespace

UserDialogs& ActiveDialogs() {
    return installedDialogs != nullptr ? *installedDialogs : PlatformDialogs();
}

void SetActiveDialogs(UserDialogs* dialogs) {
    installedDialogs = dialogs;
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags,
                   WindowRef owner) {
    return ActiveDialogs().MessageBox(text, caption, flags, owner);
}

int ShowMessageBoxFmt(std::string_view format, std::string_view arg, const std::string& caption,
                      unsigned flags, WindowRef owner) {
    return ShowMessageBox(FormatText(format, arg), caption, flags, owner);
}

void TellPlacesLeftOut(std::string_view format, const std::vector<std::string>& leftOut) {
    if (leftOut.empty())
        return;
    std::string lines;
    for (const std::string& caption : leftOut)
        lines.append(lines.empty() ? "" : "\n").append(caption);
    ShowMessageBoxFmt(format, lines, msg::kCaptionInformation, kMbOk | kMbIconInformation);
}

} // namespace velbrook
