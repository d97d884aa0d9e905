// Runs the real velbrook.exe with command lines, answers its message boxes and
// closes its window, and checks the registry and the exit code afterwards.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <optional>

#include "support/messages.h"
#include "app/win32/e2e_process.h"
#include "app/win32/e2e_places.h"
#include "app/win32/e2e_registry.h"

namespace velbrook::e2e {
namespace {

constexpr char kSpacedFolder[] = "e2e files";
constexpr char kSpacedFile[] = "e2e files\\places one.ini";

void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

const Places kSchemePlaces = {"C:\\Projects", std::nullopt, "D:\\Docs", std::nullopt, "E:\\Trim"};
const Places kSpacedFilePlaces = {std::nullopt, "C:\\From File", std::nullopt, std::nullopt,
                                  std::nullopt};

class VelbrookE2e : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateDirectoryA((BinFolder() + kSpacedFolder).c_str(), nullptr);
        WriteTextFile(BinFolder() + kSpacedFile, "[places]\r\nPLACE1 = C:\\From File \r\n");
        StoreScheme("E2E Work", {"C:\\Projects", "", "D:\\Docs", " ", "  E:\\Trim  "});
        WritePlaces(kOldPlaces);
    }
    void TearDown() override {
        DeleteFileA((BinFolder() + kSpacedFile).c_str());
        RemoveDirectoryA((BinFolder() + kSpacedFolder).c_str());
    }

    // A run that must end by itself, without a box or a window.
    long RunToEnd(const std::string& arguments) {
        ChildProcess program("velbrook.exe", arguments, kWorkDir);
        EXPECT_TRUE(program.Started()) << arguments;
        return program.WaitForExit(kTimeoutMs);
    }

    // A run that shows one message box, answered with OK, and then ends.
    long RunWithBox(const std::string& arguments, AnsweredBox& box) {
        ChildProcess program("velbrook.exe", arguments, kWorkDir);
        EXPECT_TRUE(program.Started()) << arguments;
        box = AnswerMessageBox(program, "OK");
        return program.WaitForExit(kTimeoutMs);
    }

    // A run that opens the window (after a box when expectBox); the window is closed.
    long RunToWindow(const std::string& arguments, AnsweredBox* box = nullptr) {
        ChildProcess program("velbrook.exe", arguments, kWorkDir);
        EXPECT_TRUE(program.Started()) << arguments;
        if (box != nullptr)
            *box = AnswerMessageBox(program, "OK");
        EXPECT_TRUE(CloseMainWindow(program, kTimeoutMs)) << arguments;
        return program.WaitForExit(kTimeoutMs);
    }

  private:
    KeyGuard policyGuard_{kPolicyKey};
    KeyGuard makerGuard_{kMakerKey};
};

TEST_F(VelbrookE2e, HelpFormsShowTheSyntaxMessageAndEnd) {
    const char* forms[] = {"?",     "-?",      "/?",        "\\?",    "help",
                           "-HELP", "/Help:x", "\"-help\"", "stray ?"};
    for (const char* form : forms) {
        AnsweredBox box;
        EXPECT_EQ(RunWithBox(form, box), 0) << form;
        ASSERT_TRUE(box.answered) << form;
        EXPECT_EQ(box.caption, "Information");
        EXPECT_EQ(box.text, msg::kCommandLineSyntax);
        EXPECT_EQ(box.text.find('\n'), std::string::npos);
        EXPECT_EQ(ReadPlaces(), kOldPlaces);
    }
}

TEST_F(VelbrookE2e, DefaultFormsRemoveThePlacesBarKey) {
    const char* forms[] = {"default",      "-default",     "/default",
                           "\\default",    "DEFAULT",      "default:anything",
                           "\"\"-default", "\"/Default\"", "x -default"};
    for (const char* form : forms) {
        WritePlaces(kOldPlaces);
        EXPECT_EQ(RunToEnd(form), 0) << form;
        EXPECT_FALSE(KeyExists(kPlacesBar)) << form;
        EXPECT_TRUE(KeyExists(kPolicyKey)) << form;
    }
}

TEST_F(VelbrookE2e, LoadAppliesAStoredSchemeWhateverTheCaseAndQuoting) {
    const char* forms[] = {"\"-load:E2E Work\"", "-Load:\"e2e work\"", "/LOAD:\"E2E WORK\"",
                           "-file:sample.ini -load:\"E2E Work\" default"};
    for (const char* form : forms) {
        WritePlaces(kOldPlaces);
        EXPECT_EQ(RunToEnd(form), 0) << form;
        EXPECT_EQ(ReadPlaces(), kSchemePlaces) << form;
        EXPECT_EQ(ReadDwordValue(kPlacesBar, "Count"), 5u);
    }
}

TEST_F(VelbrookE2e, MissingSchemeIsReportedThenTheWindowOpensWithoutOtherActions) {
    struct Case {
        const char* form;
        const char* message;
    };
    const Case cases[] = {
        {"-load:NoSuchScheme default", "Scheme \"NoSuchScheme\" not found"},
        {"-load", "Scheme \"\" not found"},
        {"-load:a:b", "Scheme \"a:b\" not found"},
    };
    for (const Case& c : cases) {
        AnsweredBox box;
        EXPECT_EQ(RunToWindow(c.form, &box), 0) << c.form;
        ASSERT_TRUE(box.answered) << c.form;
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.text, c.message);
        EXPECT_EQ(ReadPlaces(), kOldPlaces) << c.form;
    }
}

TEST_F(VelbrookE2e, UnknownOrNoOptionsOpenTheWindow) {
    const char* forms[] = {"", "--load:E2E", "-", "stray words", "--default"};
    for (const char* form : forms) {
        EXPECT_EQ(RunToWindow(form), 0) << form;
        EXPECT_EQ(ReadPlaces(), kOldPlaces) << form;
    }
    // The console twin starts the window and returns at once.
    ChildProcess twin("velbrook.com", "", kWorkDir);
    EXPECT_EQ(twin.WaitForExit(kTimeoutMs), 0);
    HWND window = nullptr;
    for (DWORD waited = 0; window == nullptr && waited < kTimeoutMs; waited += kPollMs) {
        Sleep(kPollMs);
        window = FindWindowA("TfrSMain", "Velbrook");
    }
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_CLOSE, 0, 0);
    for (DWORD waited = 0; IsWindow(window) && waited < kTimeoutMs; waited += kPollMs)
        Sleep(kPollMs);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(VelbrookE2e, FileAppliesPlacesFilesByRelativeOrAbsoluteName) {
    ASSERT_NE(GetFileAttributesA((BinFolder() + "sample.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    const Places samplePlaces = {"C:\\", "C:\\Users\\Public\\Documents",
                                 "C:\\Users\\Public\\Pictures", "C:\\Users\\Public\\Music",
                                 "C:\\Windows\\Temp"};
    EXPECT_EQ(RunToEnd("-file:sample.ini"), 0);
    EXPECT_EQ(ReadPlaces(), samplePlaces);
    EXPECT_EQ(RunToEnd("/FILE:\"" + BinFolder() + "sample.ini\""), 0);
    EXPECT_EQ(ReadPlaces(), samplePlaces);

    const std::string spaced = BinFolder() + kSpacedFile;
    const std::string forms[] = {"-file:\"" + spaced + "\"", "\"-file:" + spaced + "\"",
                                 "\"-file:" + std::string(kSpacedFile) + "\"",
                                 "-file:\"" + std::string(kSpacedFile) + "\" help"};
    for (const std::string& form : forms) {
        WritePlaces(kOldPlaces);
        EXPECT_EQ(RunToEnd(form), 0) << form;
        EXPECT_EQ(ReadPlaces(), kSpacedFilePlaces) << form;
    }
}

TEST_F(VelbrookE2e, MissingFileIsReportedWithTheResolvedNameThenTheWindowOpens) {
    struct Case {
        std::string form;
        std::string shownName;
    };
    const Case cases[] = {
        {"-file:missing.ini help", BinFolder() + "missing.ini"},
        {"-file:C:\\no\\such.ini", "C:\\no\\such.ini"},
        {"-file", ""},
    };
    for (const Case& c : cases) {
        AnsweredBox box;
        EXPECT_EQ(RunToWindow(c.form, &box), 0) << c.form;
        ASSERT_TRUE(box.answered) << c.form;
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.text, "File \"" + c.shownName + "\" not found");
        EXPECT_EQ(ReadPlaces(), kOldPlaces) << c.form;
    }
}

TEST_F(VelbrookE2e, ErrorInsideAnActionIsShownAndEndsWithExitCodeOne) {
    // A file that exists but cannot be read while the test holds it open exclusively.
    const std::string path = BinFolder() + kSpacedFile;
    const HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    AnsweredBox box;
    const long code = RunWithBox("-file:\"" + path + "\"", box);
    CloseHandle(locked);
    EXPECT_EQ(code, 1);
    ASSERT_TRUE(box.answered);
    EXPECT_EQ(box.caption, "Velbrook");
    EXPECT_NE(box.text.find(path), std::string::npos) << box.text;
    EXPECT_EQ(ReadPlaces(), kOldPlaces);
}

} // namespace
} // namespace velbrook::e2e
