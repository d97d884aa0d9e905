// Runs for scripts: the undo and save actions in the order of options, quiet
// runs, and the places that -save: leaves out.
#include "app/entry.h"

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "support/errors.h"
#include "support/messages.h"
#include "support/stored_place_path.h"
#include "support/strings.h"
#include "testlib/scripted_dialogs.h"

namespace velbrook {
namespace {

using Strings = std::vector<std::string>;
constexpr char kToolsProgram[] = "C:\\Tools\\velbrook.exe";

TEST(UnattendedOptions, ActionsInTheirOrderAndModifiersAnywhere) {
    struct Case {
        Strings arguments;
        Action action;
        std::string argument;
        bool quiet, log;
        std::string logFile;
    };
    const Case cases[] = {
        {{"-save:x.ini", "/UNDO"}, Action::Undo, "", false, false, ""},
        {{"-undo", "-file:a.ini"}, Action::File, "C:\\Tools\\a.ini", false, false, ""},
        {{"?", "-Save:C:\\My Files\\a.ini"}, Action::Save, "C:\\My Files\\a.ini", false, false, ""},
        {{"-save"}, Action::Save, "", false, false, ""},
        {{"help", "-quiet"}, Action::Help, "", true, false, ""},
        {{"/QUIET:yes", "-load:Work"}, Action::Load, "Work", true, false, ""},
        {{"--quiet", "default"}, Action::Default, "", false, false, ""},
        {{"-log:run.log", "\\quiet"}, Action::None, "", true, true, "C:\\Tools\\run.log"},
        {{"\\Log:\\\\pc\\logs\\v.log"}, Action::None, "", false, true, "\\\\pc\\logs\\v.log"},
        {{"-log", "-undo"}, Action::Undo, "", false, true, ""},
    };
    for (const Case& c : cases) {
        const ParamList params = BuildParamList(c.arguments);
        const ChosenAction chosen = ChooseAction(params, kToolsProgram);
        const RunModifiers modifiers = ReadModifiers(params, kToolsProgram);
        const std::string where = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(chosen.action, c.action) << where;
        EXPECT_EQ(chosen.argument, c.argument) << where;
        EXPECT_EQ(modifiers.quiet, c.quiet) << where;
        EXPECT_EQ(modifiers.log, c.log) << where;
        EXPECT_EQ(modifiers.logFile, c.logFile) << where;
    }
}

// Each action records its call and, when it is not to succeed, tells why
// through the dialogs as the real ones do.
TEST(UnattendedRuns, QuietRunsWriteLinesWhereOthersShowBoxes) {
    const std::string syntax = ConsoleLines(msg::kCommandLineSyntax);
    const std::string needsSave = "The option -save needs a file name: -save:<file_name>";
    struct Case {
        Strings arguments;
        bool succeeds;
        int exitCode;
        Strings calls;
        std::string err, out, box;
    };
    const Case cases[] = {
        {{"-quiet", "-load:No"}, false, 1, {"load:No"}, "Scheme \"No\" not found\r\n", "", ""},
        {{"-load:No", "/Quiet", "default"},
         false,
         1,
         {"load:No"},
         "Scheme \"No\" not found\r\n",
         "",
         ""},
        {{"\\QUIET", "-undo"}, false, 1, {"undo"}, "Nothing\r\n", "", ""},
        {{"-quiet", "default"}, true, 0, {"default"}, "", "", ""},
        {{"-quiet", "-save:a.ini"}, true, 0, {"save:C:\\Tools\\a.ini"}, "", "", ""},
        {{"-quiet", "-save:"}, true, 1, {}, needsSave + "\r\n", "", ""},
        {{"-quiet", "-log:", "default"},
         true,
         1,
         {},
         "The option -log needs a file name: -log:<file_name>\r\n",
         "",
         ""},
        {{"-quiet", "stray"}, true, 1, {}, syntax, "", ""},
        {{"-quiet", "?"}, true, 0, {}, "", syntax, ""},
        // Without quiet: boxes, and a failed action opens the window as before.
        {{"-undo"}, false, 0, {"undo", "window"}, "", "", "Nothing"},
        {{"-save:"}, true, 1, {}, "", "", needsSave},
    };
    for (const Case& c : cases) {
        testing::ScriptedDialogs dialogs;
        testing::DialogsScope scope(dialogs);
        Strings calls;
        std::string out, err;
        const auto answer = [&](const std::string& call, const std::string& why) {
            calls.push_back(call);
            if (!c.succeeds)
                ShowMessageBox(why, msg::kCaptionError, kMbOk | kMbIconExclamation);
            return c.succeeds;
        };
        EntryActions actions;
        actions.applyScheme = [&](const std::string& n) {
            return answer("load:" + n, FormatText(msg::kSchemeNotFound, n));
        };
        actions.restoreDefaults = [&] { return answer("default", ""); };
        actions.undo = [&] { return answer("undo", "Nothing"); };
        actions.savePlacesFile = [&](const std::string& n) { return answer("save:" + n, ""); };
        actions.runMainWindow = [&] { calls.push_back("window"); };
        actions.writeOutput = [&](std::string_view text) { out += text; };
        actions.writeError = [&](std::string_view text) { err += text; };

        const std::string where = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(RunEntrySequence(c.arguments, kToolsProgram, actions), c.exitCode) << where;
        EXPECT_EQ(calls, c.calls) << where;
        EXPECT_EQ(err, c.err) << where;
        EXPECT_EQ(out, c.out) << where;
        EXPECT_EQ(dialogs.messages.empty() ? "" : dialogs.messages.back().text, c.box) << where;
    }
}

TEST(UnattendedRuns, SaveGivesStoredPlacesTheirPathOrLeavesThemOut) {
    PlacesBarState state;
    state.KeyExists = true;
    state.Slots[0] = "C:\\Work";
    const RegValue specialFolder{kRegDword, {17, 0, 0, 0}};
    state.Stored[2] = specialFolder;
    std::vector<std::string> leftOut;
    const PlacesList places = PlacesForFile(state, leftOut);
    EXPECT_EQ(places, (PlacesList{"C:\\Work", "", "", "", ""}));
    // Named as the window names it ("Special folder 17" where there is no shell).
    ASSERT_EQ(leftOut.size(), 1u);
    EXPECT_EQ(leftOut[0], PathOfStoredPlace(specialFolder).caption);
    EXPECT_FALSE(leftOut[0].empty());
}

} // namespace
} // namespace velbrook
