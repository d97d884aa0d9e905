#include "app/entry.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/errors.h"
#include "testlib/scripted_dialogs.h"

namespace velbrook {
namespace {

using Strings = std::vector<std::string>;
using testing::DialogsScope;
using testing::ScriptedDialogs;

constexpr char kProgram[] = "C:\\Tools\\velbrook.exe";

const char kSyntaxLines[][80] = {
    "COMMAND LINE SYNTAX",
    "",
    "velbrook.exe [-load:<scheme_name>]| [-file:<file_name>] | [default]",
    "  -load:<scheme_name> - load <scheme_name> and exit",
    "                        <scheme_name> - is an exact (case insensitive)",
    "                        name of any existing sheme.",
    "  -file:<file_name> - setup buttons using external file",
    "                      (see sample.ini for sample)",
    "                      If path to file contain spaces, don't forget",
    "                      to quote it!",
    "  -default - restore system-default settings",
};

// Records which actions ran and with what; each action answers from its field.
struct Recorder {
    Strings calls;
    bool schemeFound = true;
    bool fileFound = true;

    EntryActions Actions() {
        EntryActions actions;
        actions.applyScheme = [this](const std::string& name) {
            calls.push_back("load:" + name);
            return schemeFound;
        };
        actions.restoreDefaults = [this] {
            calls.push_back("default");
            return true;
        };
        actions.loadPlacesFile = [this](const std::string& name) {
            calls.push_back("file:" + name);
            return fileFound;
        };
        actions.runMainWindow = [this] { calls.push_back("window"); };
        return actions;
    }
};

TEST(EntrySequence, RunsAtMostOneActionInTheFixedOrder) {
    struct Case {
        Strings arguments;
        Strings expectedCalls;
    };
    const Case cases[] = {
        {{}, {"window"}},
        {{"stray", "-unknown:x"}, {"window"}},
        {{"default"}, {"default"}},
        {{"-default"}, {"default"}},
        {{"/default"}, {"default"}},
        {{"\\default"}, {"default"}},
        {{"DEFAULT"}, {"default"}},
        {{"default:anything"}, {"default"}},
        {{"-Load:work"}, {"load:work"}},
        {{"-load:a:b"}, {"load:a:b"}},
        {{"-load"}, {"load:"}},
        {{"-load:"}, {"load:"}},
        {{"-load:My Scheme"}, {"load:My Scheme"}},
        {{"--load:Work"}, {"window"}},
        {{"-"}, {"window"}},
        {{"-file:x.ini", "-load:Work"}, {"load:Work"}},
        {{"default", "-load:Work"}, {"load:Work"}},
        {{"-file:a.ini", "default"}, {"default"}},
        {{"help", "-file:a.ini"}, {"file:C:\\Tools\\a.ini"}},
        {{"-file:sample.ini"}, {"file:C:\\Tools\\sample.ini"}},
        {{"-file:sub\\a.ini"}, {"file:C:\\Tools\\sub\\a.ini"}},
        {{"-file:C:\\a.ini"}, {"file:C:\\a.ini"}},
        {{"-file:\\\\server\\share\\a.ini"}, {"file:\\\\server\\share\\a.ini"}},
        {{"-file:C:\\My Files\\a.ini"}, {"file:C:\\My Files\\a.ini"}},
        {{"-file"}, {"file:"}},
        {{"-load:Second", "load:First"}, {"load:Second"}},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        DialogsScope scope(dialogs);
        Recorder recorder;
        EXPECT_EQ(RunEntrySequence(c.arguments, kProgram, recorder.Actions()), kExitOk);
        EXPECT_EQ(recorder.calls, c.expectedCalls) << ::testing::PrintToString(c.arguments);
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST(EntrySequence, FailedActionOpensTheWindowWithoutTryingTheNextOption) {
    struct Case {
        Strings arguments;
        bool schemeFound;
        bool fileFound;
        Strings expectedCalls;
    };
    const Case cases[] = {
        {{"-load:NoSuchScheme", "default"}, false, true, {"load:NoSuchScheme", "window"}},
        {{"-load:x", "-file:a.ini"}, false, true, {"load:x", "window"}},
        {{"-file:missing.ini", "help"}, true, false, {"file:C:\\Tools\\missing.ini", "window"}},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        DialogsScope scope(dialogs);
        Recorder recorder;
        recorder.schemeFound = c.schemeFound;
        recorder.fileFound = c.fileFound;
        EXPECT_EQ(RunEntrySequence(c.arguments, kProgram, recorder.Actions()), kExitOk);
        EXPECT_EQ(recorder.calls, c.expectedCalls);
    }
}

TEST(EntrySequence, HelpShowsTheSyntaxMessageAndEnds) {
    std::string expected = kSyntaxLines[0];
    for (std::size_t i = 1; i < std::size(kSyntaxLines); ++i)
        expected += std::string("\r") + kSyntaxLines[i];

    const Strings helpForms[] = {{"?"},     {"-?"},      {"/?"},         {"\\?"},  {"help"},
                                 {"-HELP"}, {"/Help:x"}, {"stray", "?"}, {"-help"}};
    for (const Strings& arguments : helpForms) {
        ScriptedDialogs dialogs;
        DialogsScope scope(dialogs);
        Recorder recorder;
        EXPECT_EQ(RunEntrySequence(arguments, kProgram, recorder.Actions()), kExitOk);
        EXPECT_TRUE(recorder.calls.empty()) << arguments.front();
        ASSERT_EQ(dialogs.messages.size(), 1u);
        const auto& shown = dialogs.messages.front();
        // The old text as it was, then a line for each later option.
        EXPECT_EQ(shown.text.substr(0, expected.size()), expected);
        for (const char* option :
             {"\r  -undo ", "\r  -save:", "\r  -check ", "\r  -quiet ", "\r  -log:"})
            EXPECT_NE(shown.text.find(option, expected.size()), std::string::npos) << option;
        EXPECT_EQ(shown.text.find('\n'), std::string::npos);
        EXPECT_NE(shown.text.back(), '\r');
        EXPECT_EQ(shown.caption, "Information");
        EXPECT_EQ(shown.flags, 64u);
        EXPECT_EQ(shown.owner, 0u);
    }
}

TEST(EntrySequence, EscapingErrorIsShownAndEndsWithExitCodeOne) {
    struct Case {
        Strings arguments;
        std::function<void(EntryActions&)> breakAction;
        const char* message;
    };
    const Case cases[] = {
        {{"default"},
         [](EntryActions& a) {
             a.restoreDefaults = []() -> bool {
                 throw RegistryError("Failed to set data for 'Place0'");
             };
         },
         "Failed to set data for 'Place0'"},
        {{"-load:Work"},
         [](EntryActions& a) {
             a.applyScheme = [](const std::string&) -> bool {
                 throw ListIndexError("List index out of bounds (0)");
             };
         },
         "List index out of bounds (0)"},
        {{"-file:a.ini"},
         [](EntryActions& a) {
             a.loadPlacesFile = [](const std::string&) -> bool {
                 throw std::runtime_error("Cannot open file a.ini");
             };
         },
         "Cannot open file a.ini"},
        {{},
         [](EntryActions& a) {
             a.runMainWindow = [] { throw Error("Invalid data type for 'Count'"); };
         },
         "Invalid data type for 'Count'"},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        DialogsScope scope(dialogs);
        Recorder recorder;
        EntryActions actions = recorder.Actions();
        c.breakAction(actions);
        EXPECT_EQ(RunEntrySequence(c.arguments, kProgram, actions), kExitError);
        EXPECT_TRUE(recorder.calls.empty()) << c.message; // the window never opened
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, c.message);
        EXPECT_EQ(dialogs.messages[0].caption, "Velbrook");
        EXPECT_EQ(dialogs.messages[0].flags, 0x10u);
    }
}

} // namespace
} // namespace velbrook
