// The real velbrook.exe against what a hostile user or a busy office does:
// device names for files, a change that cannot be written, runs side by side,
// line breaks in stored places, foreign parts of the key, UTF-16 files.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "app/win32/e2e_console.h"
#include "app/win32/e2e_places.h"
#include "app/win32/e2e_process.h"
#include "support/win32/handles.h"
#include "support/win32/process_user.h"
#include "testlib/key_security_win32.h"
#include <sddl.h>

namespace velbrook::e2e {
namespace {

constexpr DWORD kRunTimeoutMs = 20000;
const Places kHeld = {"C:\\Held", std::nullopt, "C:\\Also", std::nullopt, std::nullopt};

// Five places named after the file that holds them: F<n>_0 to F<n>_4.
Places FilePlaces(int n) {
    Places places;
    for (int i = 0; i < 5; ++i)
        places[i] = "C:\\F" + std::to_string(n) + "_" + std::to_string(i);
    return places;
}

class VelbrookHostileE2e : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateDirectoryA(folder_.c_str(), nullptr);
        DeleteKeyTree("Software\\Tarnwick\\Dorvane\\1.x\\Undo");
        WritePlaces(kHeld);
        for (int n = 1; n <= 3; ++n) {
            std::string text = "[Places]\r\n";
            for (int i = 0; i < 5; ++i)
                text += "Place" + std::to_string(i) + "=" + *FilePlaces(n)[i] + "\r\n";
            WriteFile(PlacesFile(n), text);
        }
    }
    void TearDown() override {
        testing::SetKeyDacl(kPlacesBar, "D:(A;;KA;;;WD)");
        for (const char* name : {"1.ini", "2.ini", "3.ini", "saved.ini", "utf16.ini"})
            DeleteFileA((folder_ + name).c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    std::string PlacesFile(int n) const { return folder_ + std::to_string(n) + ".ini"; }
    static void WriteFile(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    static ScriptRun Run(const std::string& arguments) {
        ScriptRun run = RunScript(arguments, kRunTimeoutMs);
        EXPECT_NE(run.exitCode, -1) << arguments << ": did not end; " << run.err;
        EXPECT_FALSE(run.showedWindow) << arguments;
        return run;
    }
    // Runs that start together and must all end well; helpers that undo in a
    // loop as the program does (undo_loop COUNT) keep the places bar busy.
    static void RunAtOnce(const std::vector<std::string>& arguments, int undoLoops = 0) {
        std::vector<ChildProcess> runs;
        for (int i = 0; i < undoLoops; ++i)
            runs.emplace_back("undo_loop.exe", std::to_string(kLoopUndos), kWorkDir);
        for (const std::string& a : arguments)
            runs.emplace_back("velbrook.exe", a, kWorkDir);
        for (ChildProcess& run : runs)
            EXPECT_EQ(run.WaitForExit(kTimeoutMs), 0);
    }
    static constexpr int kLoopUndos = 50;
    void Apply(int n) { ASSERT_EQ(Run("-quiet \"-file:" + PlacesFile(n) + "\"").exitCode, 0); }

    const std::string folder_ = BinFolder() + "e2e hostile\\";

  private:
    KeyGuard policyGuard_{kPolicyKey};
    KeyGuard makerGuard_{kMakerKey};
};

TEST_F(VelbrookHostileE2e, DeviceNamesEndAtOnceWithTheirReasonAndChangeNothing) {
    const std::string device = "the name is that of a device, not of a file";
    struct Case {
        std::string arguments;
        std::string err;
    };
    const Case cases[] = {
        {"-quiet -file:COM1",
         "Cannot read the places file \"" + BinFolder() + "COM1\": " + device + ".\r\n"},
        {"-quiet -file:aux",
         "Cannot read the places file \"" + BinFolder() + "aux\": " + device + ".\r\n"},
        {"-quiet -file:C:\\com1.ini",
         "Cannot read the places file \"C:\\com1.ini\": " + device + ".\r\n"},
        {"-quiet -file:NUL",
         "Cannot read the places file \"" + BinFolder() + "NUL\": " + device + ".\r\n"},
        {"-quiet -file:C:\\nul.ini",
         "Cannot read the places file \"C:\\nul.ini\": " + device + ".\r\n"},
        {"-quiet -file:\\\\.\\pipe\\velbrook",
         "Cannot read the places file \"\\\\.\\pipe\\velbrook\": " + device + ".\r\n"},
        {"-quiet -save:C:\\lpt1.txt",
         "Cannot save the places file \"C:\\lpt1.txt\": " + device + ".\r\n"},
        {"-quiet default -log:CON",
         "Cannot write to the log file \"" + BinFolder() + "CON\": " + device + ".\r\n"},
    };
    for (const Case& c : cases) {
        const ScriptRun run = Run(c.arguments);
        EXPECT_EQ(run.exitCode, 1) << c.arguments;
        EXPECT_EQ(run.err, c.err) << c.arguments;
        EXPECT_EQ(ReadPlaces(), kHeld) << c.arguments;
    }
    EXPECT_FALSE(KeyExists("Software\\Tarnwick\\Dorvane\\1.x\\Undo\\1"));
}

// A volatile policy key cannot hold the places bar key, so every write of the bar fails.
TEST_F(VelbrookHostileE2e, AChangeThatFailsKeepsTheWayBack) {
    Apply(1);
    ASSERT_EQ(Run("-quiet default").exitCode, 0);
    DeleteKeyTree(kPolicyKey);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kPolicyKey, 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);

    const ScriptRun failed = Run("-quiet \"-file:" + PlacesFile(2) + "\"");
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.err, "Cannot open or create the registry key HKEY_CURRENT_USER\\" +
                              std::string(kPlacesBar) + "\r\n");
    EXPECT_FALSE(KeyExists(kPlacesBar));

    DeleteKeyTree(kPolicyKey);
    EXPECT_EQ(Run("-quiet -undo").exitCode, 0);
    EXPECT_EQ(ReadPlaces(), FilePlaces(1));
}

// Every run's change is one step: the bar and the copy kept for undoing each
// hold one whole state, and the last change wins with the one before it kept.
TEST_F(VelbrookHostileE2e, RunsSideBySideNeverTearTheBarOrLoseAChange) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Apply(1);
        Apply(2);
        RunAtOnce(std::vector<std::string>(8, "-quiet -undo"), 3);
        EXPECT_EQ(ReadPlaces(), FilePlaces(2)) << "an even number of swaps ends where it began";
        EXPECT_EQ(Run("-quiet -undo").exitCode, 0);
        EXPECT_EQ(ReadPlaces(), FilePlaces(1));

        Apply(2);
        RunAtOnce({"-quiet -undo", "-quiet \"-file:" + PlacesFile(3) + "\""});
        const Places now = ReadPlaces();
        EXPECT_EQ(Run("-quiet -undo").exitCode, 0);
        const Places kept = ReadPlaces();
        // Undo then the file: 3 with 1 kept; the file then undo: 2 with 3 kept.
        const bool undoFirst = now == FilePlaces(3) && kept == FilePlaces(1);
        const bool fileFirst = now == FilePlaces(2) && kept == FilePlaces(3);
        EXPECT_TRUE(undoFirst || fileFirst);
    }
}

// Values that other programs keep in the key cost each change their number,
// not its square: two changes beside thousands of them both go through, one
// after the other, and leave every one of them.
TEST_F(VelbrookHostileE2e, ThousandsOfForeignValuesKeepNoRunWaitingTooLong) {
    constexpr std::size_t kForeign = 8000;
    for (std::size_t i = 0; i < kForeign; ++i)
        WriteStringValue(kPlacesBar, "Other " + std::to_string(i), "x");
    RunAtOnce({"-quiet \"-file:" + PlacesFile(1) + "\"", "-quiet \"-file:" + PlacesFile(2) + "\""});
    const Places now = ReadPlaces();
    EXPECT_TRUE(now == FilePlaces(1) || now == FilePlaces(2));
    EXPECT_EQ(CaptureKey(kPlacesBar).values.size(), kForeign + 6); // five places and "Count"
}

// Read for everyone, changed by the system only: shown, saved and checked as
// it is; a change is refused with the reason and changes nothing.
TEST_F(VelbrookHostileE2e, AKeySetByPolicyIsReadButNotChanged) {
    Apply(1);
    ASSERT_TRUE(testing::SetKeyDacl(kPlacesBar, "D:P(A;;KR;;;WD)(A;;KA;;;SY)"));
    const std::string saved = folder_ + "saved.ini";
    ASSERT_EQ(Run("-quiet \"-save:" + saved + "\"").exitCode, 0);
    EXPECT_NE(ReadFile(saved).find("Place4=C:\\F1_4\r\n"), std::string::npos) << ReadFile(saved);
    EXPECT_EQ(Run("-quiet -check \"-file:" + PlacesFile(1) + "\"").exitCode, 0);
    const ScriptRun refused = Run("-quiet \"-file:" + PlacesFile(2) + "\"");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("administrator's policy"), std::string::npos) << refused.err;
    testing::SetKeyDacl(kPlacesBar, "D:(A;;KA;;;WD)");
    EXPECT_EQ(ReadPlaces(), FilePlaces(1));
}

// Nobody's box holds the lock: a run of the same user goes through at once
// while -undo says that there is nothing to undo.
TEST_F(VelbrookHostileE2e, AnOpenBoxKeepsNoOtherRunWaiting) {
    ChildProcess undo("velbrook.exe", std::string("-undo"), kWorkDir);
    HWND box = nullptr;
    for (DWORD waited = 0; box == nullptr && waited < kTimeoutMs; waited += kPollMs) {
        Sleep(kPollMs);
        box = FindProcessWindow(undo.Id(), "#32770");
    }
    ASSERT_NE(box, nullptr);
    Apply(1);
    EXPECT_EQ(ReadPlaces(), FilePlaces(1));
    EXPECT_TRUE(AnswerMessageBox(undo, "OK").answered);
    EXPECT_TRUE(CloseMainWindow(undo, kTimeoutMs)); // an action not done opens the window
    EXPECT_EQ(undo.WaitForExit(kTimeoutMs), 0);
}

// A lock of that name that another user made first is refused at once, not
// waited on: another owner, or no access for the user.
TEST_F(VelbrookHostileE2e, ALockMadeByAnotherUserIsRefused) {
    const std::string name = "Global\\Velbrook.PlacesBar." + win32::ProcessUserSid();
    for (const char* sddl : {"O:BUD:(A;;GA;;;WD)", "D:(D;;GA;;;WD)"}) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1,
                                                                         &descriptor, nullptr));
        SECURITY_ATTRIBUTES security{sizeof security, descriptor, FALSE};
        const win32::KernelObject taken(CreateMutexA(&security, TRUE, name.c_str()));
        LocalFree(descriptor);
        ASSERT_TRUE(taken) << sddl;
        const ScriptRun run = Run("-quiet \"-file:" + PlacesFile(2) + "\"");
        EXPECT_EQ(run.exitCode, 1) << sddl;
        EXPECT_NE(run.err.find("another user's program"), std::string::npos) << run.err;
        EXPECT_EQ(ReadPlaces(), kHeld) << sddl;
        ReleaseMutex(taken.get());
    }
}

// Windows before 10 1903 ignores the manifest's UTF-8 code page: a copy of the
// program without it runs in the legacy one, which has no Ł nor ź. The folder
// is written exactly or refused, never as its look-alike C:\Lodz.
TEST_F(VelbrookHostileE2e, ALegacyCodePageNeverWritesALookAlike) {
    // Blanks in place of the setting keep the manifest's XML whole.
    std::string image = ReadFile(BinFolder() + "velbrook.exe");
    const std::size_t start = image.find("<activeCodePage");
    const std::size_t end = image.find("</activeCodePage>") + std::strlen("</activeCodePage>");
    ASSERT_NE(start, std::string::npos);
    image.replace(start, end - start, end - start, ' ');
    const std::string legacy = folder_ + "legacy.exe";
    WriteFile(legacy, image);
    const std::string file = folder_ + "utf16.ini";
    WriteFile(file, "[Places]\r\nPlace1=C:\\\xC5\x81\xC3\xB3"
                    "d\xC5\xBA\r\n");
    const ScriptRun run =
        RunScript("-quiet \"-file:" + file + "\"", kRunTimeoutMs, "e2e hostile\\legacy.exe");
    DeleteFileA(legacy.c_str());
    if (run.exitCode == 0) {
        EXPECT_EQ(ReadWideValue(kPlacesBar, "Place1"),
                  WideText(REG_SZ, L"C:\\\u0141\u00f3d\u017a"));
    } else {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("code page"), std::string::npos) << run.err;
        EXPECT_EQ(ReadPlaces(), kHeld);
    }
}

TEST_F(VelbrookHostileE2e, LineBreaksInAStoredPlaceNeverReachAPlacesFile) {
    WriteStringValue(kPlacesBar, "Place0", "C:\\a\r\nPlace4=C:\\injected\r\n[Other]");
    WriteStringValue(kPlacesBar, "Place1", "C:\\Kept");
    const std::string saved = folder_ + "saved.ini";
    const ScriptRun run = Run("-quiet \"-save:" + saved + "\"");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.err.find("C:\\a[CR][LF]Place4=C:\\injected[CR][LF][Other]"), std::string::npos)
        << run.err;
    EXPECT_EQ(ReadFile(saved), "[Places]\r\nPlace1=C:\\Kept\r\nPlace2=C:\\Also\r\n\r\n");
    // Nor forge lines of a check's answer: each slot is one line.
    const ScriptRun check = Run("-quiet -check \"-file:" + saved + "\"");
    EXPECT_EQ(check.exitCode, 2);
    EXPECT_EQ(check.out, "Slot 1: C:\\a[CR][LF]Place4=C:\\injected[CR][LF][Other] -> (empty)\r\n");

    ASSERT_EQ(Run("-quiet \"-file:" + saved + "\"").exitCode, 0);
    EXPECT_EQ(ReadPlaces(),
              (Places{std::nullopt, "C:\\Kept", "C:\\Also", std::nullopt, std::nullopt}));
}

TEST_F(VelbrookHostileE2e, UndoAfterDefaultBringsBackTheWholeKey) {
    WriteStringValue(kPlacesBar, "Extra", "foreign");
    WriteWideValue(kPlacesBar, "Flags", DwordValue(3));
    WriteWideValue(std::string(kPlacesBar) + "\\Sub", "Inner",
                   WideText(REG_EXPAND_SZ, L"%TEMP%\\x"));
    const KeySnapshot before = CaptureKey(kPlacesBar);

    ASSERT_EQ(Run("-quiet default").exitCode, 0);
    EXPECT_FALSE(KeyExists(kPlacesBar));
    ASSERT_EQ(Run("-quiet -undo").exitCode, 0);

    EXPECT_EQ(ReadPlaces(), kHeld);
    EXPECT_EQ(ReadStringValue(kPlacesBar, "Extra"), "foreign");
    EXPECT_EQ(ReadWideValue(kPlacesBar, "Flags"), DwordValue(3));
    EXPECT_EQ(ReadWideValue(std::string(kPlacesBar) + "\\Sub", "Inner"),
              WideText(REG_EXPAND_SZ, L"%TEMP%\\x"));
    EXPECT_EQ(CaptureKey(kPlacesBar).values.size(), before.values.size());
}

TEST_F(VelbrookHostileE2e, PlacesFilesSavedAsUnicodeApply) {
    const std::wstring text = L"[Places]\r\nPlace1=C:\\Ren\u00e9e\r\nPlace3=D:\\Wide\r\n";
    const std::string file = folder_ + "utf16.ini";
    for (const bool bigEndian : {false, true}) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const wchar_t c : text) {
            const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        WriteFile(file, bytes);
        WritePlaces(kHeld);
        ASSERT_EQ(Run("-quiet \"-file:" + file + "\"").exitCode, 0) << bigEndian;
        EXPECT_EQ(ReadWideValue(kPlacesBar, "Place1"), WideText(REG_SZ, L"C:\\Ren\u00e9e"));
        EXPECT_EQ(ReadPlaces()[3], "D:\\Wide");
        EXPECT_EQ(ReadPlaces()[0], std::nullopt);
    }
}

} // namespace
} // namespace velbrook::e2e
