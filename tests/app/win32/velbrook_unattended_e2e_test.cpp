// The real velbrook.exe run as logon scripts and deployment tools run it: quiet
// runs, the log, -save:, -undo, and many runs appending to one log at once.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <vector>

#include "app/win32/e2e_console.h"
#include "app/win32/e2e_places.h"
#include "app/win32/e2e_process.h"
#include "app/win32/e2e_registry.h"
#include "app/win32/e2e_window.h"
#include "support/messages.h"
#include "support/strings.h"

namespace velbrook::e2e {
namespace {

constexpr DWORD kTimeoutMs = 20000;
constexpr char kFolder[] = "e2e unattended";
constexpr char kUndoKey[] = "Software\\Tarnwick\\Dorvane\\1.x\\Undo";

const Places kOldPlaces = {"C:\\Old", std::nullopt, "C:\\Older", std::nullopt, std::nullopt};

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

class VelbrookUnattendedE2e : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateDirectoryA(Folder().c_str(), nullptr);
        StoreScheme("E2E Work", {"C:\\Projects", "", "D:\\Docs", "", ""});
        WritePlaces(kOldPlaces);
        DeleteKeyTree(kUndoKey);
    }
    void TearDown() override {
        for (const std::string& name : made_) {
            SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(name.c_str());
        }
        RemoveDirectoryA(Folder().c_str());
    }

    static std::string Folder() { return BinFolder() + kFolder + "\\"; }
    // A file of the test's folder, removed after the test.
    std::string MadeFile(const std::string& name) {
        made_.push_back(Folder() + name);
        return made_.back();
    }

    static ScriptRun Run(const std::string& arguments) {
        ScriptRun run = RunScript(arguments, kTimeoutMs);
        EXPECT_NE(run.exitCode, -1) << arguments << ": did not end";
        EXPECT_FALSE(run.showedWindow) << arguments;
        return run;
    }

  private:
    std::vector<std::string> made_;
    KeyGuard policyGuard_{kPolicyKey};
    KeyGuard makerGuard_{kMakerKey};
};

TEST_F(VelbrookUnattendedE2e, QuietRunsNeverShowAWindowAndSayWhatWentWrongOnOneLine) {
    const std::string notPlaces = MadeFile("notes.ini");
    std::ofstream(notPlaces, std::ios::binary) << "[Notes]\r\nx=1\r\n";
    struct Case {
        std::string arguments;
        std::string err;
    };
    const Case cases[] = {
        {"-quiet -load:NoSuchScheme default", "Scheme \"NoSuchScheme\" not found\r\n"},
        {"-file:missing.ini /QUIET", "File \"" + BinFolder() + "missing.ini\" not found\r\n"},
        {"\"-file:" + notPlaces + "\" -Quiet",
         "The file \"" + notPlaces + "\" is not a places file: it has no [Places] section.\r\n"},
        {"-quiet", ConsoleLines(msg::kCommandLineSyntax)},
        {"-quiet -undo", "There is no change of the places bar to undo.\r\n"},
        {"-quiet -save:", "The option -save needs a file name: -save:<file_name>\r\n"},
        {"-quiet \"-save:" + Folder() + "gone\\saved.ini\"",
         "Cannot save the places file \"" + Folder() +
             "gone\\saved.ini\": its folder does not exist.\r\n"},
    };
    for (const Case& c : cases) {
        const ScriptRun run = Run(c.arguments);
        EXPECT_EQ(run.exitCode, 1) << c.arguments;
        EXPECT_EQ(run.err, c.err) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(ReadPlaces(), kOldPlaces) << c.arguments;
    }
    EXPECT_FALSE(KeyExists(kUndoKey));
}

TEST_F(VelbrookUnattendedE2e, QuietHelpPrintsTheSyntaxWithConsoleLineEnds) {
    for (const char* arguments : {"-quiet ?", "HELP /quiet"}) {
        const ScriptRun run = Run(arguments);
        EXPECT_EQ(run.exitCode, 0) << arguments;
        EXPECT_EQ(run.out, ConsoleLines(msg::kCommandLineSyntax)) << arguments;
        EXPECT_EQ(run.err, "") << arguments;
    }
}

TEST_F(VelbrookUnattendedE2e, AQuietRunLeavesAnOpenWindowAlone) {
    ChildProcess window("velbrook.exe", "", "C:\\");
    ASSERT_TRUE(window.Started());
    const ProgramWindow shownWindow(window, kTimeoutMs);
    ASSERT_TRUE(shownWindow.Found());
    const HWND shown = shownWindow.Handle();
    const ScriptRun run = Run("-quiet -load:NoSuchScheme");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(IsWindowVisible(shown));
    EXPECT_FALSE(IsIconic(shown));
    EXPECT_TRUE(CloseMainWindow(window, kTimeoutMs));
    EXPECT_EQ(window.WaitForExit(kTimeoutMs), 0);
}

TEST_F(VelbrookUnattendedE2e, EachLoggedRunAppendsOneWellFormedLine) {
    const std::string log = MadeFile("velbrook.log");
    EXPECT_EQ(Run("-quiet \"-load:E2E Work\" \"-log:" + log + "\"").exitCode, 0);
    EXPECT_EQ(Run("-load:Nope \"-log:" + log + "\" -quiet").exitCode, 1);
    // A log that cannot be written changes nothing but one line on standard error.
    const ScriptRun refused = Run("-quiet default \"-log:" + Folder() + "\"");
    EXPECT_EQ(refused.exitCode, 0);
    EXPECT_EQ(refused.err,
              "Cannot write to the log file \"" + Folder() + "\": it is a folder.\r\n");
    EXPECT_FALSE(KeyExists(kPlacesBar));

    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof computer;
    ASSERT_TRUE(GetComputerNameA(computer, &size));
    const std::vector<std::string> lines = Split(ReadTextFile(log), '\n');
    ASSERT_EQ(lines.size(), 2u);
    const std::vector<std::string> outcomes[] = {{"-load", "E2E Work", "done\r"},
                                                 {"-load", "Nope", "Scheme \"Nope\" not found\r"}};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::vector<std::string> fields = Split(lines[i], '\t');
        ASSERT_EQ(fields.size(), 6u) << lines[i];
        EXPECT_TRUE(std::regex_match(fields[0],
                                     std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)")))
            << fields[0];
        EXPECT_EQ(fields[1], computer);
        EXPECT_FALSE(fields[2].empty());
        EXPECT_EQ(std::vector<std::string>(fields.begin() + 3, fields.end()), outcomes[i]);
    }
}

TEST_F(VelbrookUnattendedE2e, SaveThenDefaultThenFileBringsThePlacesBack) {
    const std::string saved = MadeFile("saved places.ini");
    EXPECT_EQ(Run("-quiet \"-save:" + saved + "\"").exitCode, 0);
    EXPECT_EQ(ReadTextFile(saved), "[Places]\r\nPlace0=C:\\Old\r\nPlace2=C:\\Older\r\n\r\n");
    EXPECT_EQ(Run("-quiet default").exitCode, 0);
    EXPECT_FALSE(KeyExists(kPlacesBar));
    EXPECT_EQ(Run("-quiet \"-file:" + saved + "\"").exitCode, 0);
    EXPECT_EQ(ReadPlaces(), kOldPlaces);

    // A read-only places file is refused and stays as it was.
    SetFileAttributesA(saved.c_str(), FILE_ATTRIBUTE_READONLY);
    const ScriptRun refused = Run("-quiet \"-save:" + saved + "\"");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "Cannot save the places file \"" + saved + "\": it is read-only.\r\n");
    EXPECT_EQ(ReadTextFile(saved), "[Places]\r\nPlace0=C:\\Old\r\nPlace2=C:\\Older\r\n\r\n");
}

TEST_F(VelbrookUnattendedE2e, UndoBringsBackPlacesOfEveryTypeAndASecondUndoTakesThemAgain) {
    const WideValue path = WideText(REG_SZ, L"C:\\Work");
    const WideValue myComputer = DwordValue(17);
    const WideValue music = WideText(REG_EXPAND_SZ, L"%USERPROFILE%\\Music");
    DeleteKeyTree(kPlacesBar);
    WriteWideValue(kPlacesBar, "Place0", path);
    WriteWideValue(kPlacesBar, "Place1", myComputer);
    WriteWideValue(kPlacesBar, "Place3", music);
    WriteDwordValue(kPlacesBar, "Count", 5);

    EXPECT_EQ(Run("-quiet default").exitCode, 0);
    EXPECT_FALSE(KeyExists(kPlacesBar));
    EXPECT_EQ(Run("-quiet -undo").exitCode, 0);
    EXPECT_EQ(ReadWideValue(kPlacesBar, "Place0"), path);
    EXPECT_EQ(ReadWideValue(kPlacesBar, "Place1"), myComputer);
    EXPECT_EQ(ReadWideValue(kPlacesBar, "Place2"), std::nullopt);
    EXPECT_EQ(ReadWideValue(kPlacesBar, "Place3"), music);
    EXPECT_EQ(ReadDwordValue(kPlacesBar, "Count"), 5u);
    EXPECT_EQ(Run("/UNDO -quiet").exitCode, 0);
    EXPECT_FALSE(KeyExists(kPlacesBar));
}

TEST_F(VelbrookUnattendedE2e, UndoAfterTheSameFileTwiceGoesBackToBeforeTheFirst) {
    EXPECT_EQ(Run("-quiet -file:sample.ini").exitCode, 0);
    const Places sample = ReadPlaces();
    ASSERT_NE(sample, kOldPlaces);
    EXPECT_EQ(Run("-quiet -file:sample.ini").exitCode, 0);
    EXPECT_EQ(Run("-quiet -undo").exitCode, 0);
    EXPECT_EQ(ReadPlaces(), kOldPlaces);
}

TEST_F(VelbrookUnattendedE2e, RunsAppendingToOneLogAtOnceLeaveOnlyWholeLines) {
    // Helpers that append as fast as they can, through the program's own
    // appending, make sure that writes meet; the program's runs join them.
    constexpr int kAppenders = 4;
    constexpr int kLinesEach = 300;
    constexpr int kRuns = 4;
    const std::string scheme(8000, 'S');
    StoreScheme(scheme, {"C:\\Projects", "", "", "", ""});
    const std::string log = MadeFile("shared.log");
    std::vector<ChildProcess> appenders;
    for (int i = 0; i < kAppenders; ++i)
        appenders.emplace_back(
            "append_lines.exe",
            "\"" + log + "\" " + std::to_string(kLinesEach) + " tag" + std::to_string(i), "C:\\");
    std::vector<ScriptProcess> runs;
    for (int i = 0; i < kRuns; ++i)
        runs.emplace_back("-quiet -load:" + scheme + " \"-log:" + log + "\"", "C:\\");
    for (ScriptProcess& run : runs)
        EXPECT_EQ(run.Finish(kTimeoutMs).exitCode, 0);
    for (ChildProcess& appender : appenders)
        EXPECT_EQ(appender.WaitForExit(kTimeoutMs), 0);

    const std::string filler(2000, '.');
    std::vector<int> next(kAppenders, 0);
    int programLines = 0;
    for (const std::string& line : Split(ReadTextFile(log), '\n')) {
        const std::vector<std::string> fields = Split(line, '\t');
        if (fields.size() == 6 && fields[4] == scheme && fields[5] == "done\r") {
            ++programLines;
            continue;
        }
        // A helper's line, whole and in its order.
        ASSERT_EQ(fields.size(), 3u) << line.substr(0, 80);
        ASSERT_EQ(fields[0].rfind("tag", 0), 0u) << fields[0];
        const int tag = std::stoi(fields[0].substr(3));
        ASSERT_TRUE(tag >= 0 && tag < kAppenders) << fields[0];
        EXPECT_EQ(fields[1], std::to_string(next[tag]++));
        EXPECT_EQ(fields[2], filler + "\r");
    }
    EXPECT_EQ(programLines, kRuns);
    EXPECT_EQ(next, std::vector<int>(kAppenders, kLinesEach));
}

} // namespace
} // namespace velbrook::e2e
