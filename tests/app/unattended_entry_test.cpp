// Runs for scripts: the undo and save actions in the order of options, quiet
// runs, and the run log.
#include "app/entry.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/command_line.h"
#include "core/places_undo.h"
#include "support/errors.h"
#include "support/memory_registry_store.h"
#include "support/messages.h"
#include "support/stored_place_path.h"
#include "support/strings.h"
#include "testlib/active_store_scope.h"
#include "testlib/scripted_dialogs.h"
#include "testlib/stored_values.h"
#include "testlib/temporary_folder.h"

namespace velbrook {
namespace {

using Strings = std::vector<std::string>;
using testing::DialogsScope;
using testing::ScriptedDialogs;

constexpr char kProgram[] = "C:\\Tools\\velbrook.exe";

TEST(UnattendedOptions, ActionsInTheirOrderAndModifiersAnywhere) {
    struct Case {
        Strings arguments;
        Action action;
        std::string argument;
        bool quiet;
        bool log;
        std::string logFile;
    };
    const Case cases[] = {
        {{"-undo"}, Action::Undo, "", false, false, ""},
        {{"-save:x.ini", "/UNDO"}, Action::Undo, "", false, false, ""},
        {{"-undo", "-file:a.ini"}, Action::File, "C:\\Tools\\a.ini", false, false, ""},
        {{"default", "-undo"}, Action::Default, "", false, false, ""},
        {{"?", "-save:x.ini"}, Action::Save, "C:\\Tools\\x.ini", false, false, ""},
        {{"-Save:C:\\My Files\\a.ini"}, Action::Save, "C:\\My Files\\a.ini", false, false, ""},
        {{"-save:\\\\server\\share\\a.ini"},
         Action::Save,
         "\\\\server\\share\\a.ini",
         false,
         false,
         ""},
        {{"-save:"}, Action::Save, "", false, false, ""},
        {{"-save"}, Action::Save, "", false, false, ""},
        {{"help", "-quiet"}, Action::Help, "", true, false, ""},
        {{"-quiet"}, Action::None, "", true, false, ""},
        {{"/QUIET:yes", "-load:Work"}, Action::Load, "Work", true, false, ""},
        {{"--quiet", "default"}, Action::Default, "", false, false, ""},
        {{"-log:run.log", "default"}, Action::Default, "", false, true, "C:\\Tools\\run.log"},
        {{"\\Log:\\\\pc\\logs\\velbrook.log", "\\quiet"},
         Action::None,
         "",
         true,
         true,
         "\\\\pc\\logs\\velbrook.log"},
        {{"-log", "-undo"}, Action::Undo, "", false, true, ""},
    };
    for (const Case& c : cases) {
        const ParamList params = BuildParamList(c.arguments);
        const ChosenAction chosen = ChooseAction(params, kProgram);
        const RunModifiers modifiers = ReadModifiers(params, kProgram);
        const std::string where = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(chosen.action, c.action) << where;
        EXPECT_EQ(chosen.argument, c.argument) << where;
        EXPECT_EQ(modifiers.quiet, c.quiet) << where;
        EXPECT_EQ(modifiers.log, c.log) << where;
        EXPECT_EQ(modifiers.logFile, c.logFile) << where;
    }
}

// Actions that record their calls and fail as told, telling why the way the
// real ones do; standard output and error are kept.
struct Script {
    bool found = true; // scheme, file, something to undo
    bool raises = false;
    Strings calls;
    std::string out, err;

    bool Answer(const std::string& call, const char* notFound, const std::string& name) {
        calls.push_back(call);
        if (raises)
            throw RegistryError("Failed to set data for 'Place0'");
        if (!found)
            ShowMessageBoxFmt(notFound, name, msg::kCaptionError, kMbOk | kMbIconExclamation);
        return found;
    }

    EntryActions Actions() {
        EntryActions a;
        a.applyScheme = [this](const std::string& n) {
            return Answer("load:" + n, msg::kSchemeNotFound, n);
        };
        a.restoreDefaults = [this] { return Answer("default", "", ""); };
        a.loadPlacesFile = [this](const std::string& n) {
            return Answer("file:" + n, msg::kFileNotFound, n);
        };
        a.undo = [this] { return Answer("undo", msg::kNothingToUndo, ""); };
        a.savePlacesFile = [this](const std::string& n) { return Answer("save:" + n, "", ""); };
        a.runMainWindow = [this] { calls.push_back("window"); };
        a.writeOutput = [this](std::string_view text) { out += text; };
        a.writeError = [this](std::string_view text) { err += text; };
        return a;
    }
};

TEST(UnattendedRuns, QuietRunsShowNothingAndEndWithTheirExitCode) {
    const std::string syntax = ConsoleLines(msg::kCommandLineSyntax);
    struct Case {
        Strings arguments;
        bool found;
        bool raises;
        int exitCode;
        Strings calls;
        std::string err;
        std::string out;
    };
    const Case cases[] = {
        {{"-quiet", "-load:Nope"},
         false,
         false,
         1,
         {"load:Nope"},
         "Scheme \"Nope\" not found\r\n",
         ""},
        {{"-load:Nope", "/Quiet", "default"},
         false,
         false,
         1,
         {"load:Nope"},
         "Scheme \"Nope\" not found\r\n",
         ""},
        {{"\\QUIET", "-file:gone.ini"},
         false,
         false,
         1,
         {"file:C:\\Tools\\gone.ini"},
         "File \"C:\\Tools\\gone.ini\" not found\r\n",
         ""},
        {{"-quiet", "-undo"},
         false,
         false,
         1,
         {"undo"},
         "There is no change of the places bar to undo.\r\n",
         ""},
        {{"-quiet", "default"},
         false,
         true,
         1,
         {"default"},
         "Failed to set data for 'Place0'\r\n",
         ""},
        {{"-quiet", "default"}, true, false, 0, {"default"}, "", ""},
        {{"-quiet", "-save:a.ini"}, true, false, 0, {"save:C:\\Tools\\a.ini"}, "", ""},
        {{"-quiet", "-save:"},
         true,
         false,
         1,
         {},
         "The option -save needs a file name: -save:<file_name>\r\n",
         ""},
        {{"-quiet", "-log:", "default"},
         true,
         false,
         1,
         {},
         "The option -log needs a file name: -log:<file_name>\r\n",
         ""},
        {{"-quiet"}, true, false, 1, {}, syntax, ""},
        {{"-quiet", "stray"}, true, false, 1, {}, syntax, ""},
        {{"-quiet", "?"}, true, false, 0, {}, "", syntax},
        {{"help", "-quiet"}, true, false, 0, {}, "", syntax},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        DialogsScope scope(dialogs);
        Script script;
        script.found = c.found;
        script.raises = c.raises;
        const std::string where = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(RunEntrySequence(c.arguments, kProgram, script.Actions()), c.exitCode) << where;
        EXPECT_EQ(script.calls, c.calls) << where;
        EXPECT_EQ(script.err, c.err) << where;
        EXPECT_EQ(script.out, c.out) << where;
        EXPECT_TRUE(dialogs.messages.empty()) << where;
    }
}

TEST(UnattendedRuns, WithoutQuietTheNewActionsTalkInBoxes) {
    struct Case {
        Strings arguments;
        bool found;
        int exitCode;
        Strings calls;
        std::string message;
        std::string caption;
    };
    const Case cases[] = {
        {{"-undo"}, false, 0, {"undo", "window"}, msg::kNothingToUndo, "Error"},
        {{"-undo"}, true, 0, {"undo"}, "", ""},
        {{"-save:"},
         true,
         1,
         {},
         "The option -save needs a file name: -save:<file_name>",
         "Velbrook"},
        {{"-log:", "-undo"},
         true,
         1,
         {},
         "The option -log needs a file name: -log:<file_name>",
         "Velbrook"},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        DialogsScope scope(dialogs);
        Script script;
        script.found = c.found;
        const std::string where = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(RunEntrySequence(c.arguments, kProgram, script.Actions()), c.exitCode) << where;
        EXPECT_EQ(script.calls, c.calls) << where;
        EXPECT_EQ(script.err, "") << where;
        if (c.message.empty()) {
            EXPECT_TRUE(dialogs.messages.empty()) << where;
            continue;
        }
        ASSERT_EQ(dialogs.messages.size(), 1u) << where;
        EXPECT_EQ(dialogs.messages[0].text, c.message);
        EXPECT_EQ(dialogs.messages[0].caption, c.caption);
    }
}

// The real actions on the in-memory registry, with files in a temporary folder.
class UnattendedFiles : public testing::TemporaryFolderTest {
  protected:
    UnattendedFiles() : TemporaryFolderTest("velbrook-unattended-"), storeScope_(store) {}

    int Run(Strings arguments) {
        EntryActions actions;
        actions.runMainWindow = [this] { ++windowRuns; };
        actions.writeOutput = [this](std::string_view text) { out += text; };
        actions.writeError = [this](std::string_view text) { err += text; };
        return RunEntrySequence(arguments, "velbrook.exe", actions);
    }

    Strings LogLines(const std::string& name) {
        std::ifstream in(PathOf(name), std::ios::binary);
        Strings lines;
        for (std::string line; std::getline(in, line, '\n');)
            lines.push_back(line);
        return lines;
    }

    static Strings Fields(const std::string& line) {
        Strings fields;
        std::istringstream in(line);
        for (std::string field; std::getline(in, field, '\t');)
            fields.push_back(field);
        return fields;
    }

    MemoryRegistryStore store;
    ScriptedDialogs dialogs;
    DialogsScope dialogsScope_{dialogs};
    int windowRuns = 0;
    std::string out, err;

  private:
    testing::ActiveStoreScope storeScope_;
};

TEST_F(UnattendedFiles, EachRunAppendsOneLineAndAFailedLogCostsOneErrorLine) {
    const std::string log = PathOf("velbrook.log");
    EXPECT_EQ(Run({"-quiet", "-load:Nope", "-log:" + log}), 1);
    EXPECT_EQ(Run({"/LOG:" + log, "default"}), 0);
    EXPECT_EQ(Run({"-quiet", "-log:" + log}), 1);
    const Strings lines = LogLines("velbrook.log");
    ASSERT_EQ(lines.size(), 3u) << err;
    const Strings expected[] = {{"-load", "Nope", "Scheme \"Nope\" not found\r"},
                                {"default", "", "done\r"},
                                {"none", "", std::string(msg::kNoActionGiven) + "\r"}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Strings fields = Fields(lines[i]);
        ASSERT_EQ(fields.size(), 6u) << lines[i];
        EXPECT_EQ(Strings(fields.begin() + 3, fields.end()), expected[i]);
    }

    err.clear();
    const std::string lost = PathOf("no such folder") + "/velbrook.log";
    EXPECT_EQ(Run({"-quiet", "default", "-log:" + lost}), 0);
    EXPECT_EQ(err, "Cannot write to the log file \"" + lost + "\": its folder does not exist.\r\n");
    EXPECT_EQ(windowRuns, 0);
}

TEST_F(UnattendedFiles, SaveThenFileRestoresThePlacesAndTheSaveNamesWhatItLeftOut) {
    const std::string places = PathOf("places.ini");
    PutValue(store, kPlacesBarKey, "Place0", testing::Sz("C:\\Work"));
    PutValue(store, kPlacesBarKey, "Place2", testing::Dword(17));
    PutValue(store, kPlacesBarKey, "Place4", testing::Sz("D:\\Data"));
    EXPECT_EQ(Run({"-quiet", "-save:" + places}), 0);
    // Named as the window names it ("Special folder 17" where there is no shell).
    const std::string caption = PathOfStoredPlace({kRegDword, {17, 0, 0, 0}}).caption;
    EXPECT_FALSE(caption.empty());
    EXPECT_EQ(err, "The places file was saved without these places, which have no folder path: " +
                       caption + "\r\n");

    EXPECT_EQ(Run({"-quiet", "default"}), 0);
    EXPECT_EQ(Run({"-quiet", "-file:" + places}), 0);
    const PlacesBarState state = ReadPlacesBar();
    EXPECT_EQ(state.Slots[0], "C:\\Work");
    EXPECT_FALSE(state.Slots[2] || state.Stored[2]);
    EXPECT_EQ(state.Slots[4], "D:\\Data");

    // Refused with the reason, and nothing written.
    err.clear();
    EXPECT_EQ(Run({"-quiet", "-save:" + PathOf("")}), 1);
    EXPECT_EQ(err, "Cannot save the places file \"" + PathOf("") + "\": it is a folder.\r\n");
    err.clear();
    const std::string lost = PathOf("gone") + "/places.ini";
    EXPECT_EQ(Run({"-quiet", "-save:" + lost}), 1);
    EXPECT_EQ(err, "Cannot save the places file \"" + lost + "\": its folder does not exist.\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
} // namespace velbrook
