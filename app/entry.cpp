#include "app/entry.h"

#include <exception>

#include "app/command_line.h"
#include "core/places_undo.h"
#include "support/console_dialogs.h"
#include "support/dialogs.h"
#include "support/errors.h"
#include "support/files.h"
#include "support/messages.h"
#include "support/run_log.h"
#include "support/strings.h"

namespace velbrook {

namespace {

constexpr char kLineEnd[] = "\r\n";

// Passes an action's dialogs on and keeps the text of the last message, which
// says why an action that returned false was not done.
class RecordingDialogs : public UserDialogs {
  public:
    explicit RecordingDialogs(UserDialogs& shown) : shown_(shown) {}

    const std::string& LastMessage() const { return lastMessage_; }

    int MessageBox(const std::string& text, const std::string& caption, unsigned flags,
                   WindowRef owner) override {
        lastMessage_ = text;
        return shown_.MessageBox(text, caption, flags, owner);
    }
    BrowsedFolder BrowseForFolder(const std::string& title,
                                  const std::string& initialFolder) override {
        return shown_.BrowseForFolder(title, initialFolder);
    }
    bool AskPlacesFileName(std::string& fileName) override {
        return shown_.AskPlacesFileName(fileName);
    }
    bool InputQuery(const std::string& caption, const std::string& prompt,
                    std::string& value) override {
        return shown_.InputQuery(caption, prompt, value);
    }
    std::intptr_t OpenDocument(const std::string& fileName, const std::string& verb,
                               const std::string& parameters, const std::string& directory,
                               bool wait) override {
        return shown_.OpenDocument(fileName, verb, parameters, directory, wait);
    }

  private:
    UserDialogs& shown_;
    std::string lastMessage_;
};

// Makes the dialogs active for the scope; those active before come back after.
class ActiveDialogsScope {
  public:
    explicit ActiveDialogsScope(UserDialogs& dialogs) : previous_(ActiveDialogs()) {
        SetActiveDialogs(&dialogs);
    }
    ~ActiveDialogsScope() { SetActiveDialogs(&previous_); }
    ActiveDialogsScope(const ActiveDialogsScope&) = delete;
    ActiveDialogsScope& operator=(const ActiveDialogsScope&) = delete;

  private:
    UserDialogs& previous_;
};

bool quietRun = false;

struct RunResult {
    int exitCode = kExitOk;
    bool openWindow = false;
    std::string outcome = msg::kLogDone;
};

int ReportFatalError(const char* message) {
    ShowMessageBox(message, msg::kAppTitle, kMbOk | kMbIconStop);
    return kExitError;
}

bool Perform(const ChosenAction& chosen, const EntryActions& actions) {
    switch (chosen.action) {
    case Action::Load:
        return actions.applyScheme(chosen.argument);
    case Action::Default:
        return actions.restoreDefaults();
    case Action::File:
        return actions.loadPlacesFile(chosen.argument);
    case Action::Undo:
        return actions.undo();
    case Action::Save:
        return actions.savePlacesFile(chosen.argument);
    case Action::Help:
    case Action::None:
        break;
    }
    return false;
}

// Option values that the run cannot do without.
void CheckValues(const ChosenAction& chosen, const RunModifiers& modifiers,
                 const EntryActions& actions) {
    if (!actions.refusedArgument.empty())
        throw Error(FormatText(msg::kTextNotInCodePage, actions.refusedArgument));
    if (modifiers.log && modifiers.logFile.empty())
        throw Error(FormatText(msg::kOptionNeedsFileName, "log", "log"));
    if (chosen.action == Action::Save && chosen.argument.empty())
        throw Error(FormatText(msg::kOptionNeedsFileName, "save", "save"));
    // A log that is a device is refused before the action runs; the actions
    // refuse a places file that is one themselves.
    if (modifiers.log && NamesDevice(modifiers.logFile))
        throw Error(FormatText(msg::kCannotWriteLog, modifiers.logFile, msg::kReasonIsDevice));
}

bool IsCheckable(Action action) {
    return action == Action::Load || action == Action::Default || action == Action::File ||
           action == Action::Undo;
}

// The action planned, not carried out: what it would change is written out.
RunResult RunCheck(const ChosenAction& chosen, const EntryActions& actions,
                   const RecordingDialogs& dialogs) {
    if (!IsCheckable(chosen.action))
        throw Error(msg::kCheckNeedsAction);
    const PlacesBarCheck check;
    if (!Perform(chosen, actions))
        return {kExitError, false, dialogs.LastMessage()};
    if (!check.Planned() || SamePlacesBar(check.Before(), check.After()))
        return {kExitOk, false, msg::kLogSame};
    for (const std::string& line : DescribeDifferences(check.Before(), check.After()))
        actions.writeOutput(line + kLineEnd);
    return {kExitDiffers, false, msg::kLogDiffers};
}

RunResult RunAction(const ChosenAction& chosen, const RunModifiers& modifiers,
                    const EntryActions& actions, const RecordingDialogs& dialogs) {
    try {
        CheckValues(chosen, modifiers, actions);
        if (modifiers.check && chosen.action != Action::Help)
            return RunCheck(chosen, actions, dialogs);
        if (chosen.action == Action::None) {
            if (!modifiers.quiet)
                return {kExitOk, true, msg::kLogDone};
            // A script that forgot its action learns the syntax and opens nothing.
            actions.writeError(ConsoleLines(msg::kCommandLineSyntax));
            return {kExitError, false, msg::kNoActionGiven};
        }
        if (chosen.action == Action::Help) {
            if (modifiers.quiet)
                actions.writeOutput(ConsoleLines(msg::kCommandLineSyntax));
            else
                ShowMessageBox(msg::kCommandLineSyntax, msg::kCaptionInformation,
                               kMbOk | kMbIconInformation);
            return {};
        }
        if (Perform(chosen, actions))
            return {};
        // Not done; the action has told why.
        return {modifiers.quiet ? kExitError : kExitOk, !modifiers.quiet, dialogs.LastMessage()};
    } catch (const std::exception& error) {
        return {ReportFatalError(error.what()), false, error.what()};
    }
}

std::string_view LoggedActionName(const ChosenAction& chosen, const RunResult& result) {
    if (chosen.action != Action::None)
        return ActionName(chosen.action);
    return result.openWindow ? "window" : "none";
}

// Never changes the run's result: a failure costs one line on standard error.
void AppendToRunLog(const std::string& logFile, const ChosenAction& chosen, const RunResult& result,
                    const EntryActions& actions) {
    try {
        RunLogEntry entry = NewRunLogEntry();
        entry.action = LoggedActionName(chosen, result);
        entry.argument = chosen.argument;
        entry.outcome = result.outcome;
        std::string reason;
        if (!AppendToFile(logFile, RunLogLine(entry), reason))
            actions.writeError(FormatText(msg::kCannotWriteLog, logFile, reason) + kLineEnd);
    } catch (const std::exception& error) {
        actions.writeError(OneLine(error.what()) + kLineEnd);
    }
}

} // namespace

bool IsQuietRun() {
    return quietRun;
}

int RunEntrySequence(const std::vector<std::string>& arguments, const std::string& programPath,
                     const EntryActions& actions) {
    try {
        const ParamList params = BuildParamList(arguments);
        const RunModifiers modifiers = ReadModifiers(params, programPath);
        const ChosenAction chosen = ChooseAction(params, programPath);
        quietRun = modifiers.quiet;
        if (modifiers.quiet)
            SuppressSystemDialogs();
        ConsoleDialogs console(actions.writeError);
        RecordingDialogs dialogs(modifiers.quiet ? console : ActiveDialogs());
        RunResult result;
        // Nobody sees the places bar of the system's own accounts, nor a box they show.
        if (const std::string account =
                chosen.action == Action::Help ? std::string() : actions.serviceAccount();
            !account.empty()) {
            const std::string refusal = FormatText(msg::kRunsAsServiceAccount, account);
            actions.writeError(refusal + kLineEnd);
            result = {kExitError, false, refusal};
        } else {
            const ActiveDialogsScope scope(dialogs);
            result = RunAction(chosen, modifiers, actions, dialogs);
        }
        if (result.openWindow) {
            try {
                actions.runMainWindow();
            } catch (const std::exception& error) {
                result = {ReportFatalError(error.what()), true, error.what()};
            }
        }
        if (modifiers.log && !modifiers.logFile.empty() && !NamesDevice(modifiers.logFile))
            AppendToRunLog(modifiers.logFile, chosen, result, actions);
        return result.exitCode;
    } catch (const std::exception& error) {
        return ReportFatalError(error.what());
    }
}

} // namespace velbrook
