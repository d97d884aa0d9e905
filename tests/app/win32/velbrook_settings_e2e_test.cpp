// What the user had, what they did with the real program, and what they have
// after: one row for each way in which the program must not damage the user's
// places bar, schemes or files. Values in any language are compared as the
// registry keeps them, in UTF-16.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <random>

#include "app/win32/e2e_places.h"
#include "app/win32/e2e_process.h"
#include "app/win32/e2e_registry.h"
#include "app/win32/e2e_window.h"
#include "testlib/read_witness.h"

namespace velbrook::e2e {
namespace {

constexpr int kSchemeNameEdit = 101; // the edit control of the scheme name dialog
constexpr int kFileNameBox = 0x47C;  // the file name box of the Open dialog (cmb13)

const std::wstring kCyrillic = L"C:\\Users\\\u0414\u043c\u0438\u0442\u0440\u0438\u0439";
const std::wstring kJapanese = L"C:\\\u65e5\u672c\u8a9e";
const std::wstring kPolish = L"D:\\Za\u017c\u00f3\u0142\u0107 g\u0119\u015bl\u0105";
// Longer than the list's first buffer for a row's text, in characters of three bytes.
const std::wstring kLongJapanese = L"C:\\" + std::wstring(120, L'\u65e5');
const std::wstring kVariables =
    L"%USERPROFILE%\\\u0414\u043e\u043a\u0443\u043c\u0435\u043d\u0442\u044b";

std::string Utf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    bytes.pop_back();
    return bytes;
}

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

WideValue Text(const std::wstring& text) {
    return WideText(REG_SZ, text);
}

std::optional<WideValue> Place(int slot) {
    return ReadWideValue(kPlacesBar, "Place" + std::to_string(slot));
}

void PutPlace(int slot, const WideValue& value) {
    WriteWideValue(kPlacesBar, "Place" + std::to_string(slot), value);
}

class VelbrookSettingsE2e : public ::testing::Test {
  protected:
    // A places bar key without places, no schemes.
    void StartClean() {
        DeleteKeyTree(kPlacesBar);
        DeleteKeyTree(kSchemes);
        WriteDwordValue(kPlacesBar, "Count", 5);
    }
    void RemoveFiles() {
        for (const std::wstring& file : files_)
            DeleteFileW(file.c_str());
        for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder)
            RemoveDirectoryW(folder->c_str());
        files_.clear();
        folders_.clear();
    }
    void TearDown() override { RemoveFiles(); }

    std::wstring NewFolder(const std::wstring& name) {
        folders_.push_back(Wide(BinFolder()) + name);
        CreateDirectoryW(folders_.back().c_str(), nullptr);
        return folders_.back();
    }
    std::wstring NewFile(const std::wstring& path, const std::string& bytes) {
        files_.push_back(path);
        WriteBytes(path, bytes);
        return path;
    }

    long RunToEnd(const std::wstring& arguments) {
        ChildProcess program("velbrook.exe", arguments, kWorkDir);
        EXPECT_TRUE(program.Started());
        return program.WaitForExit(kTimeoutMs);
    }

    // Opens the window, lets `use` work with it, and waits for the program to end.
    long RunWindow(const std::function<void(const ChildProcess&, ProgramWindow&)>& use,
                   bool damagedSchemes = false) {
        ChildProcess program("velbrook.exe", "", kWorkDir);
        EXPECT_TRUE(program.Started());
        if (damagedSchemes) {
            const ShownDialog report = WaitForDialog(program, kTimeoutMs);
            EXPECT_EQ(report.caption, L"Error");
            EXPECT_EQ(report.text.rfind(L"Some quick adjust schemes could not be read", 0), 0u)
                << Utf8(report.text);
            PressDialogButton(report, IDOK);
        }
        ProgramWindow window(program, kTimeoutMs);
        EXPECT_TRUE(window.Found());
        if (window.Found())
            use(program, window);
        return program.WaitForExit(kTimeoutMs);
    }

    // Starts from row 1 ("B") being edited to "X".
    long EditRowThen(const char* button) {
        return RunWindow([&](const ChildProcess&, ProgramWindow& window) {
            window.SelectRow(1);
            EXPECT_TRUE(window.EditSelectedRow(L"X"));
            EXPECT_TRUE(window.ClickImageButton(button));
            window.ClickOk();
        });
    }

  private:
    KeyGuard policyGuard_{kPolicyKey};
    KeyGuard makerGuard_{kMakerKey};
    std::vector<std::wstring> files_;
    std::vector<std::wstring> folders_;
};

TEST_F(VelbrookSettingsE2e, WhatTheUserHadSurvivesWhatTheyDid) {
    struct Case {
        const char* had;
        const char* did;
        const char* after;
        std::function<void()> arrange;
        std::function<long()> act;
        std::function<void()> check;
        long exitCode = 0;
    };
    const std::string letters = "[Places]\r\nPlace0=";
    const Case cases[] = {
        {"Cyrillic, Japanese and Polish places", "OK in the window", "the same places",
         [&] {
             PutPlace(0, Text(kCyrillic));
             PutPlace(1, Text(kJapanese));
             PutPlace(3, Text(kPolish));
             PutPlace(4, Text(kLongJapanese));
         },
         [&] { return RunWindow([](const ChildProcess&, ProgramWindow& w) { w.ClickOk(); }); },
         [&] {
             EXPECT_EQ(Place(0), Text(kCyrillic));
             EXPECT_EQ(Place(1), Text(kJapanese));
             EXPECT_EQ(Place(2), std::nullopt);
             EXPECT_EQ(Place(3), Text(kPolish));
             EXPECT_EQ(Place(4), Text(kLongJapanese));
         }},
        {"a places file saved by Notepad as UTF-8 with a byte-order mark", "-file: with its name",
         "its Cyrillic place",
         [&] {
             NewFile(Wide(BinFolder()) + L"bom.ini",
                     "\xEF\xBB\xBF" + letters + Utf8(kCyrillic) + "\r\n");
         },
         [&] { return RunToEnd(L"-file:bom.ini"); }, [&] { EXPECT_EQ(Place(0), Text(kCyrillic)); }},
        {"a UTF-8 places file without a byte-order mark in a Japanese folder",
         "-file: with its full name", "its Japanese place",
         [&] {
             NewFile(NewFolder(L"\u65e5\u672c") + L"\\places.ini",
                     letters + Utf8(kJapanese) + "\r\n");
         },
         [&] { return RunToEnd(L"\"-file:" + Wide(BinFolder()) + L"\u65e5\u672c\\places.ini\""); },
         [&] { EXPECT_EQ(Place(0), Text(kJapanese)); }},
        {"a places file in the legacy code page, as older versions wrote it",
         "-file:", "its place read in that code page",
         [&] {
             NewFile(Wide(BinFolder()) + L"legacy.ini", letters + "C:\\Ren\xE9"
                                                                  "e\r\n");
         },
         [&] { return RunToEnd(L"-file:legacy.ini"); },
         [&] { EXPECT_EQ(Place(0), Text(L"C:\\Ren\u00e9e")); }},
        {"the schemes \u00dahel and \u00cahel, in that order", "-load:\u00eaHEL",
         "the places of \u00cahel: accented letters compared as letters, case ignored",
         [&] {
             const std::string first = std::string(kSchemes) + "\\0";
             const std::string second = std::string(kSchemes) + "\\1";
             WriteWideValue(first, "0", Text(L"\u00dahel"));
             WriteStringValue(first, "1", "C:\\Wrong");
             WriteWideValue(second, "0", Text(L"\u00cahel"));
             WriteStringValue(second, "1", "C:\\Right");
             WriteDwordValue(kSchemes, "Count", 2);
         },
         [&] { return RunToEnd(L"-load:\u00eaHEL"); },
         [&] { EXPECT_EQ(Place(0), Text(L"C:\\Right")); }},
        {"a places bar and a scheme store whose Count is text", "OK in the window",
         "the same places bar and the same scheme store",
         [&] {
             PutPlace(0, Text(kCyrillic));
             StoreScheme("Alpha", {"C:\\A", "", "", "", ""});
             WriteStringValue(kSchemes, "Count", "3");
         },
         [&] {
             return RunWindow([](const ChildProcess&, ProgramWindow& w) { w.ClickOk(); }, true);
         },
         [&] {
             EXPECT_EQ(Place(0), Text(kCyrillic));
             EXPECT_EQ(ReadWideValue(kSchemes, "Count"), Text(L"3"));
             EXPECT_EQ(ReadStringValue(std::string(kSchemes) + "\\0", "0"), "Alpha");
         }},
        {"the window open and minimised", "started the program again",
         "the one window, restored and in front", [] {},
         [&] {
             ChildProcess first("velbrook.exe", "", kWorkDir);
             ProgramWindow window(first, kTimeoutMs);
             EXPECT_TRUE(window.Found());
             ShowWindow(window.Handle(), SW_MINIMIZE);
             ChildProcess second("velbrook.exe", "", kWorkDir);
             EXPECT_EQ(second.WaitForExit(kTimeoutMs), 0);
             EXPECT_FALSE(IsIconic(window.Handle()));
             EXPECT_EQ(GetForegroundWindow(), window.Handle());
             EXPECT_TRUE(IsWindowVisible(window.Handle()));
             int windows = 0;
             for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "TfrSMain", nullptr));)
                 ++windows;
             EXPECT_EQ(windows, 1);
             PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
             return first.WaitForExit(kTimeoutMs);
         },
         [] {}},
        {"places A, B, C", "typed X over B and pressed Move up during the edit, then OK", "X, A, C",
         [&] {
             WritePlaces({"A", "B", "C", std::nullopt, std::nullopt});
         },
         [&] { return EditRowThen("Move up"); },
         [&] {
             EXPECT_EQ(ReadPlaces(), (Places{"X", "A", "C", std::nullopt, std::nullopt}));
         }},
        {"places A, B, C", "typed X over B and pressed Clear during the edit, then OK", "A, C",
         [&] {
             WritePlaces({"A", "B", "C", std::nullopt, std::nullopt});
         },
         [&] { return EditRowThen("Clear selected item"); },
         [&] {
             EXPECT_EQ(ReadPlaces(), (Places{"A", std::nullopt, "C", std::nullopt, std::nullopt}));
         }},
        {"a damaged scheme with pending additions among sound ones", "opened and closed the window",
         "the same scheme store, additions included",
         [&] {
             StoreScheme("Alpha", {"C:\\A", "", "", "", ""});
             const std::string broken = std::string(kSchemes) + "\\1";
             WriteStringValue(broken, "0", "Broken");
             WriteDwordValue(broken, "1", 1);
             WriteStringValue(broken + "\\Add", "0", "Z:\\Added");
             WriteDwordValue(kSchemes, "Count", 2);
         },
         [&] {
             return RunWindow([](const ChildProcess&, ProgramWindow& w) { w.ClickCancel(); }, true);
         },
         [&] {
             EXPECT_EQ(ReadStringValue(std::string(kSchemes) + "\\1\\Add", "0"), "Z:\\Added");
             EXPECT_EQ(ReadDwordValue(kSchemes, "Count"), 2u);
         }},
        {"places and a megabyte of random bytes named places.ini", "-file: with it",
         "an error naming the file, exit code 1, the same places",
         [&] {
             std::string noise(1 << 20, '\0');
             std::mt19937 random(6);
             for (char& c : noise)
                 c = static_cast<char>(random());
             NewFile(Wide(BinFolder()) + L"noise.ini", noise);
             PutPlace(0, Text(kCyrillic));
         },
         [&] {
             ChildProcess program("velbrook.exe", L"-file:noise.ini", kWorkDir);
             const ShownDialog box = WaitForDialog(program, kTimeoutMs);
             EXPECT_EQ(box.text, L"The file \"" + Wide(BinFolder()) +
                                     L"noise.ini\" is not a places file: it has no [Places] "
                                     L"section.");
             PressDialogButton(box, IDOK);
             return program.WaitForExit(kTimeoutMs);
         },
         [&] { EXPECT_EQ(Place(0), Text(kCyrillic)); }, 1},
        {"a places file", "saved the places over it", "the new places, the old file never read",
         [&] {
             WritePlaces({"C:\\New", std::nullopt, std::nullopt, std::nullopt, std::nullopt});
             NewFile(Wide(BinFolder()) + L"saved.ini", "[Places]\r\nPlace0=C:\\Old\r\n");
         },
         [&] {
             const std::string file = BinFolder() + "saved.ini";
             testing::ReadWitness witness(file);
             const long code = RunWindow([&](const ChildProcess& program, ProgramWindow& w) {
                 EXPECT_TRUE(w.ClickImageButton("Save scheme"));
                 const ShownDialog open = WaitForDialog(program, kTimeoutMs);
                 SetDialogText(open, kFileNameBox, Wide(file));
                 PressDialogButton(open, IDOK);
                 EXPECT_TRUE(WaitUntilClosed(open, kTimeoutMs));
                 const ShownDialog overwrite = WaitForDialog(program, kTimeoutMs);
                 EXPECT_EQ(overwrite.caption, L"Confirmation");
                 PressDialogButton(overwrite, IDYES);
                 w.ClickCancel();
             });
             EXPECT_FALSE(witness.WasRead());
             EXPECT_EQ(ReadBytes(file), "[Places]\r\nPlace0=C:\\New\r\n\r\n");
             return code;
         },
         [] {}},
        {"the scheme Work", "added the scheme WORK and deleted the selected scheme",
         "the scheme Work",
         [&] {
             StoreScheme("Work", {"C:\\W", "", "", "", ""});
         },
         [&] {
             return RunWindow([](const ChildProcess& program, ProgramWindow& w) {
                 EXPECT_TRUE(w.ClickImageButton("Add to quick adjust scheme"));
                 const ShownDialog name = WaitForDialog(program, kTimeoutMs);
                 SetDialogText(name, kSchemeNameEdit, L"WORK");
                 PressDialogButton(name, IDOK);
                 EXPECT_TRUE(WaitUntilClosed(name, kTimeoutMs));
                 EXPECT_TRUE(w.ClickImageButton("Delete quick adjust scheme"));
                 const ShownDialog sure = WaitForDialog(program, kTimeoutMs);
                 EXPECT_EQ(sure.text, L"Delete scheme \"WORK\"?");
                 PressDialogButton(sure, IDOK);
                 w.ClickCancel();
             });
         },
         [&] {
             EXPECT_EQ(ReadDwordValue(kSchemes, "Count"), 1u);
             EXPECT_EQ(ReadStringValue(std::string(kSchemes) + "\\0", "0"), "Work");
             EXPECT_EQ(ReadStringValue(std::string(kSchemes) + "\\0", "1"), "C:\\W");
         }},
        {"My Computer (REG_DWORD 17) and a path with variables (REG_EXPAND_SZ)", "OK in the window",
         "both exactly as stored",
         [&] {
             PutPlace(0, DwordValue(17));
             PutPlace(1, WideText(REG_EXPAND_SZ, kVariables));
         },
         [&] { return RunWindow([](const ChildProcess&, ProgramWindow& w) { w.ClickOk(); }); },
         [&] {
             EXPECT_EQ(Place(0), DwordValue(17));
             EXPECT_EQ(Place(1), WideText(REG_EXPAND_SZ, kVariables));
         }},
        {"My Computer and a path with variables", "moved the path up, then OK",
         "both exactly as stored, in their new slots",
         [&] {
             PutPlace(0, DwordValue(17));
             PutPlace(1, WideText(REG_EXPAND_SZ, kVariables));
         },
         [&] {
             return RunWindow([](const ChildProcess&, ProgramWindow& w) {
                 w.SelectRow(1);
                 EXPECT_TRUE(w.ClickImageButton("Move up"));
                 w.ClickOk();
             });
         },
         [&] {
             EXPECT_EQ(Place(0), WideText(REG_EXPAND_SZ, kVariables));
             EXPECT_EQ(Place(1), DwordValue(17));
         }},
        {"My Computer and a path with variables", "cleared My Computer, then OK",
         "only the path with variables",
         [&] {
             PutPlace(0, DwordValue(17));
             PutPlace(1, WideText(REG_EXPAND_SZ, kVariables));
         },
         [&] {
             return RunWindow([](const ChildProcess&, ProgramWindow& w) {
                 w.SelectRow(0);
                 EXPECT_TRUE(w.ClickImageButton("Clear selected item"));
                 w.ClickOk();
             });
         },
         [&] {
             EXPECT_EQ(Place(0), std::nullopt);
             EXPECT_EQ(Place(1), WideText(REG_EXPAND_SZ, kVariables));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("had ") + c.had + "; did: " + c.did + "; has " + c.after);
        StartClean();
        c.arrange();
        EXPECT_EQ(c.act(), c.exitCode);
        c.check();
        RemoveFiles();
    }
}

} // namespace
} // namespace velbrook::e2e
