#include "app/entry.h"

#include <exception>

#include "app/command_line.h"
#include "support/dialogs.h"
#include "support/messages.h"
#include "support/strings.h"

namespace velbrook {

namespace {

// True when an action ended the program; false when the window is to open.
bool RunCommandLineAction(const ParamList& params, const std::string& programPath,
                          const EntryActions& actions) {
    if (HasOption(params, "load"))
        return actions.applyScheme(Dequote(GetOptionValue(params, "load")));
    if (HasOption(params, "default"))
        return actions.restoreDefaults();
    if (HasOption(params, "file")) {
        const std::string fileName =
            ResolveFileName(Dequote(GetOptionValue(params, "file")), programPath);
        return actions.loadPlacesFile(fileName);
    }
    if (HasOption(params, "help") || HasOption(params, "?")) {
        ShowMessageBox(msg::kCommandLineSyntax, msg::kCaptionInformation,
                       kMbOk | kMbIconInformation);
        return true;
    }
    return false;
}

int ReportFatalError(const char* message) {
    ShowMessageBox(message, msg::kAppTitle, kMbOk | kMbIconStop);
    return kExitError;
}

} // namespace

int RunEntrySequence(const std::vector<std::string>& arguments, const std::string& programPath,
                     const EntryActions& actions) {
    try {
        const ParamList params = BuildParamList(arguments);
        if (!RunCommandLineAction(params, programPath, actions))
            actions.runMainWindow();
        return kExitOk;
    } catch (const std::exception& error) {
        return ReportFatalError(error.what());
    }
}

} // namespace velbrook
