// The real velbrook.exe run as logon scripts and deployment tools run it: quiet
// runs, the log, -save:, -undo, and many writers appending to one log at once.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

#include "app/win32/e2e_console.h"
#include "app/win32/e2e_places.h"
#include "app/win32/e2e_process.h"
#include "support/messages.h"
#include "support/strings.h"

namespace velbrook::e2e {
namespace {

constexpr DWORD kTimeoutMs = 20000;
const Places kOldPlaces = {"C:\\Old", std::nullopt, "C:\\Older", std::nullopt, std::nullopt};
const std::string kOldFile = "[Places]\r\nPlace0=C:\\Old\r\nPlace2=C:\\Older\r\n\r\n";

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
        CreateDirectoryA(folder_.c_str(), nullptr);
        StoreScheme("E2E Work", {"C:\\Projects", "", "", "", ""});
        WritePlaces(kOldPlaces);
        DeleteKeyTree("Software\\Tarnwick\\Dorvane\\1.x\\Undo");
    }
    void TearDown() override {
        for (const char* name : {"log.txt", "shared.log", "saved.ini", "notes.ini", "new.ini"}) {
            SetFileAttributesA((folder_ + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((folder_ + name).c_str());
        }
        RemoveDirectoryA(folder_.c_str());
    }

    static ScriptRun Run(const std::string& arguments, const char* program = "velbrook.exe") {
        ScriptRun run = RunScript(arguments, kTimeoutMs, program);
        EXPECT_NE(run.exitCode, -1) << arguments << ": did not end";
        EXPECT_FALSE(run.showedWindow) << arguments;
        return run;
    }

    const std::string folder_ = BinFolder() + "e2e unattended\\";

  private:
    KeyGuard policyGuard_{kPolicyKey};
    KeyGuard makerGuard_{kMakerKey};
};

TEST_F(VelbrookUnattendedE2e, QuietRunsShowNoWindowAndEndWithTheirLineAndExitCode) {
    const std::string notes = folder_ + "notes.ini";
    std::ofstream(notes, std::ios::binary) << "[Notes]\r\nx=1\r\n";
    const std::string gone = folder_ + "gone\\saved.ini";
    const std::string differing = folder_ + "new.ini";
    std::ofstream(differing, std::ios::binary)
        << "[Places]\r\nPlace0=C:\\New\r\nPlace2=C:\\Older\r\n";
    const std::string syntax = ConsoleLines(msg::kCommandLineSyntax);
    struct Case {
        std::string arguments;
        long exitCode;
        std::string err, out;
        const char* program = "velbrook.exe";
    };
    const Case cases[] = {
        {"-quiet -load:NoSuchScheme default", 1, "Scheme \"NoSuchScheme\" not found\r\n", ""},
        {"-file:missing.ini /QUIET", 1, "File \"" + BinFolder() + "missing.ini\" not found\r\n",
         ""},
        {"\"-file:" + notes + "\" -Quiet", 1,
         "The file \"" + notes + "\" is not a places file: it has no [Places] section.\r\n", ""},
        {"-quiet", 1, syntax, ""},
        {"-quiet -undo", 1, "There is no change of the places bar to undo.\r\n", ""},
        {"-quiet \"-save:" + gone + "\"", 1,
         "Cannot save the places file \"" + gone + "\": its folder does not exist.\r\n", ""},
        {"HELP /quiet", 0, "", syntax},
        // The console twin runs the same program, waits for it and returns its exit code.
        {"-quiet -check \"-file:" + differing + "\"", 2, "", "Slot 1: C:\\Old -> C:\\New\r\n",
         "velbrook.com"},
        {"-quiet -load:NoSuchScheme", 1, "Scheme \"NoSuchScheme\" not found\r\n", "",
         "velbrook.com"},
    };
    for (const Case& c : cases) {
        const ScriptRun run = Run(c.arguments, c.program);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(run.err, c.err) << c.arguments;
        EXPECT_EQ(run.out, c.out) << c.arguments;
        EXPECT_EQ(ReadPlaces(), kOldPlaces) << c.arguments;
    }
}

TEST_F(VelbrookUnattendedE2e, EachLoggedRunAppendsOneWellFormedLine) {
    const std::string log = folder_ + "log.txt";
    EXPECT_EQ(Run("-quiet \"-load:E2E Work\" \"-log:" + log + "\"").exitCode, 0);
    EXPECT_EQ(Run("-load:Nope \"-log:" + log + "\" -quiet").exitCode, 1);
    // A log that cannot be written costs one line on standard error and nothing else.
    const ScriptRun refused = Run("-quiet default \"-log:" + folder_ + "\"");
    EXPECT_EQ(refused.exitCode, 0);
    EXPECT_EQ(refused.err, "Cannot write to the log file \"" + folder_ + "\": it is a folder.\r\n");

    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof computer;
    ASSERT_TRUE(GetComputerNameA(computer, &size));
    const std::vector<std::string> lines = Split(ReadTextFile(log), '\n');
    ASSERT_EQ(lines.size(), 2u);
    const std::string ends[] = {"-load\tE2E Work\tdone\r",
                                "-load\tNope\tScheme \"Nope\" not found\r"};
    const std::regex line(
        R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d\t([^\t]*)\t[^\t]+\t([^\n]*))");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::smatch fields;
        ASSERT_TRUE(std::regex_match(lines[i], fields, line)) << lines[i];
        EXPECT_EQ(fields[1], computer);
        EXPECT_EQ(fields[2], ends[i]);
    }
}

TEST_F(VelbrookUnattendedE2e, SaveThenDefaultThenFileBringsThePlacesBack) {
    const std::string saved = folder_ + "saved.ini";
    EXPECT_EQ(Run("-quiet \"-save:" + saved + "\"").exitCode, 0);
    EXPECT_EQ(ReadTextFile(saved), kOldFile);
    EXPECT_EQ(Run("-quiet default").exitCode, 0);
    EXPECT_FALSE(KeyExists(kPlacesBar));
    EXPECT_EQ(Run("-quiet \"-file:" + saved + "\"", "velbrook.com").exitCode, 0);
    EXPECT_EQ(ReadPlaces(), kOldPlaces);

    SetFileAttributesA(saved.c_str(), FILE_ATTRIBUTE_READONLY);
    const ScriptRun refused = Run("-quiet \"-save:" + saved + "\"");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "Cannot save the places file \"" + saved + "\": it is read-only.\r\n");
    EXPECT_EQ(ReadTextFile(saved), kOldFile);
}

TEST_F(VelbrookUnattendedE2e, UndoBringsBackPlacesOfEveryTypeAndASecondUndoTakesThemAgain) {
    const std::pair<const char*, WideValue> values[] = {
        {"Place0", WideText(REG_SZ, L"C:\\Work")},
        {"Place1", DwordValue(17)}, // My Computer
        {"Place3", WideText(REG_EXPAND_SZ, L"%USERPROFILE%\\Music")},
        {"Count", DwordValue(5)}};
    DeleteKeyTree(kPlacesBar);
    for (const auto& [name, value] : values)
        WriteWideValue(kPlacesBar, name, value);

    EXPECT_EQ(Run("-quiet default").exitCode, 0);
    EXPECT_FALSE(KeyExists(kPlacesBar));
    EXPECT_EQ(Run("-quiet -undo").exitCode, 0);
    for (const auto& [name, value] : values)
        EXPECT_EQ(ReadWideValue(kPlacesBar, name), value) << name;
    EXPECT_EQ(ReadWideValue(kPlacesBar, "Place2"), std::nullopt);
    EXPECT_EQ(Run("/UNDO -quiet").exitCode, 0);
    EXPECT_FALSE(KeyExists(kPlacesBar));
}

TEST_F(VelbrookUnattendedE2e, UndoAfterTheSameFileTwiceGoesBackToBeforeTheFirst) {
    EXPECT_EQ(Run("-quiet -file:sample.ini").exitCode, 0);
    ASSERT_NE(ReadPlaces(), kOldPlaces);
    EXPECT_EQ(Run("-quiet -file:sample.ini").exitCode, 0);
    EXPECT_EQ(Run("-quiet -undo").exitCode, 0);
    EXPECT_EQ(ReadPlaces(), kOldPlaces);
}

TEST_F(VelbrookUnattendedE2e, WritersAppendingToOneLogAtOnceLeaveOnlyWholeLines) {
    // Helpers that append as fast as they can, through the program's own
    // appending, make the writes meet; runs of the program join them.
    constexpr int kHelpers = 4, kLinesEach = 300, kRuns = 4;
    const std::string scheme(8000, 'S');
    StoreScheme(scheme, {"C:\\Projects", "", "", "", ""});
    const std::string log = folder_ + "shared.log";
    std::vector<ChildProcess> writers;
    for (int i = 0; i < kHelpers; ++i)
        writers.emplace_back(
            "append_lines.exe",
            "\"" + log + "\" " + std::to_string(kLinesEach) + " " + std::to_string(i), "C:\\");
    for (int i = 0; i < kRuns; ++i)
        writers.emplace_back("velbrook.exe", "-quiet -load:" + scheme + " \"-log:" + log + "\"",
                             "C:\\");
    for (ChildProcess& writer : writers)
        EXPECT_EQ(writer.WaitForExit(kTimeoutMs), 0);

    std::vector<int> next(kHelpers, 0);
    int runLines = 0;
    for (const std::string& line : Split(ReadTextFile(log), '\n')) {
        const std::vector<std::string> fields = Split(line, '\t');
        if (fields.size() == 6 && fields[4] == scheme && fields[5] == "done\r") {
            ++runLines;
            continue;
        }
        // A helper's line: whole, and in its order.
        ASSERT_EQ(fields.size(), 3u) << line.substr(0, 80);
        const int helper = fields[0].size() == 1 ? fields[0][0] - '0' : -1;
        ASSERT_TRUE(helper >= 0 && helper < kHelpers) << fields[0];
        EXPECT_EQ(fields[1], std::to_string(next[helper]++));
        EXPECT_EQ(fields[2], std::string(2000, '.') + "\r");
    }
    EXPECT_EQ(runLines, kRuns);
    EXPECT_EQ(next, std::vector<int>(kHelpers, kLinesEach));
}

} // namespace
} // namespace velbrook::e2e
