// The real velbrook.exe with names beyond MAX_PATH and with characters above 127
// of the ANSI code page: its own folder, places files, scheme names and paths.
#include <gtest/gtest.h>

#include "app/win32/e2e_places.h"
#include "app/win32/e2e_process.h"
#include "app/win32/e2e_registry.h"
#include "testlib/long_folder_win32.h"

namespace velbrook::e2e {
namespace {

// Five paths: beyond MAX_PATH, with Windows-1252 letters, and a short one.
Places LongPlaces() {
    return {"C:\\" + std::string(300, 'p') + "\\\xC4rger", std::nullopt,
            "D:\\Caf\xE9 \xFF\\" + std::string(280, 'q'), "E:\\short",
            "\\\\server\\share\\" + std::string(270, 'r') + "\\\xE4\xF6\xFC"};
}

std::string PlacesFileText(const Places& places) {
    std::string text = "[Places]\r\n";
    for (int i = 0; i < 5; ++i) {
        if (places[i])
            text += "Place" + std::to_string(i) + "=" + *places[i] + "\r\n";
    }
    return text;
}

class VelbrookLongInputE2e : public ::testing::Test {
  protected:
    void SetUp() override { WritePlaces(kOldPlaces); }

    long RunToEnd(const std::string& program, const std::string& arguments) {
        ChildProcess process(program, arguments, kWorkDir);
        EXPECT_TRUE(process.Started()) << program;
        return process.WaitForExit(kTimeoutMs);
    }

  private:
    KeyGuard policyGuard_{kPolicyKey};
    KeyGuard makerGuard_{kMakerKey};
};

TEST_F(VelbrookLongInputE2e, RunsFromAFolderBeyondMaxPathWithARelativePlacesFile) {
    const testing::LongFolder folder(testing::TemporaryFolderPath(),
                                     {"vb-e2e-\xC4", "Caf\xE9", "\xFF"});
    ASSERT_TRUE(folder.Created()) << folder.Path();
    const std::string program = folder.Path() + "\\velbrook.exe";
    ASSERT_GT(program.size(), static_cast<std::size_t>(MAX_PATH));
    ASSERT_TRUE(testing::CopyFileLong(BinFolder() + "velbrook.exe", program));
    const Places places = LongPlaces();
    ASSERT_TRUE(testing::WriteFileLong(folder.Path() + "\\sample.ini", PlacesFileText(places)));

    // Wine may refuse the plain long name; the "\\?\" form is the other way in.
    for (const std::string& form : {program, "\\\\?\\" + program}) {
        ChildProcess process(form, "-file:sample.ini", kWorkDir);
        if (!process.Started())
            continue;
        EXPECT_EQ(process.WaitForExit(kTimeoutMs), 0) << form;
        EXPECT_EQ(ReadPlaces(), places);
        return;
    }
    // Wine 8 looks for the program file through MAX_PATH buffers in both forms
    // (ERROR_FILE_NOT_FOUND).
    GTEST_SKIP() << "this system cannot start a program from a path of " << program.size()
                 << " characters, error " << GetLastError();
}

TEST_F(VelbrookLongInputE2e, AppliesAnAbsolutePlacesFileNameBeyondMaxPath) {
    const testing::LongFolder folder(testing::TemporaryFolderPath(),
                                     {"vb-e2e-file", "\xE4\xF6\xFC", "more"});
    ASSERT_TRUE(folder.Created()) << folder.Path();
    const std::string file = folder.Path() + "\\places \xC9t\xE9.ini";
    ASSERT_GT(file.size(), static_cast<std::size_t>(MAX_PATH));
    const Places places = LongPlaces();
    ASSERT_TRUE(testing::WriteFileLong(file, PlacesFileText(places)));

    EXPECT_EQ(RunToEnd("velbrook.exe", "\"-file:" + file + "\""), 0);
    // Exactly the bytes of the file, nothing cut, nothing converted.
    EXPECT_EQ(ReadPlaces(), places);
    EXPECT_EQ(ReadDwordValue(kPlacesBar, "Count"), 5u);
}

TEST_F(VelbrookLongInputE2e, LoadsSchemesWithLongAndAccentedNames) {
    struct Case {
        std::string stored;
        std::string given;
    };
    const std::string longName = "Scheme " + std::string(300, 'n') + " \xC4nde";
    const Case cases[] = {
        {longName, longName},
        {"\xC4rger Caf\xE9 \xFF", "\xE4RGER CAF\xC9 \xFF"},
        {"\xC4rger Caf\xE9 \xFF", "\xE4rger caf\xE9 \xFF"},
    };
    const std::array<std::string, 5> schemePlaces = {
        "C:\\" + std::string(290, 's'), "", "D:\\\xC4rger", "", "E:\\" + std::string(10, 't')};
    for (const Case& c : cases) {
        WritePlaces(kOldPlaces);
        StoreScheme(c.stored, schemePlaces);
        EXPECT_EQ(RunToEnd("velbrook.exe", "\"-load:" + c.given + "\""), 0) << c.given;
        const Places expected = {schemePlaces[0], std::nullopt, schemePlaces[2], std::nullopt,
                                 schemePlaces[4]};
        EXPECT_EQ(ReadPlaces(), expected) << c.given;
    }
}

} // namespace
} // namespace velbrook::e2e
