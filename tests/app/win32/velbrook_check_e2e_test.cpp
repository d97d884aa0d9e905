// The real velbrook.exe asked first with -check, as deployment engines ask:
// the exit code and the lines tell what the action would change, and nothing
// is written.
#include <gtest/gtest.h>

#include <fstream>

#include "app/win32/e2e_console.h"
#include "app/win32/e2e_places.h"
#include "app/win32/e2e_process.h"

namespace velbrook::e2e {
namespace {

bool SameKey(const KeySnapshot& a, const KeySnapshot& b) {
    if (a.exists != b.exists || a.values.size() != b.values.size() ||
        a.subkeys.size() != b.subkeys.size())
        return false;
    for (std::size_t i = 0; i < a.values.size(); ++i) {
        if (a.values[i].name != b.values[i].name || !(a.values[i].value == b.values[i].value))
            return false;
    }
    for (std::size_t i = 0; i < a.subkeys.size(); ++i) {
        if (a.subkeys[i].first != b.subkeys[i].first ||
            !SameKey(a.subkeys[i].second, b.subkeys[i].second))
            return false;
    }
    return true;
}

class VelbrookCheckE2e : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateDirectoryA(folder_.c_str(), nullptr);
        std::ofstream(folder_ + "same.ini", std::ios::binary) << "[Places]\r\nPlace0=C:\\Old\r\n";
        std::ofstream(folder_ + "other.ini", std::ios::binary)
            << "[Places]\r\nPlace0=C:\\Old\r\nPlace3=C:\\New\r\n";
        StoreScheme("Equal", {"C:\\Old", "", "", "", ""});
        WritePlaces(kOldPlaces);
        DeleteKeyTree("Software\\Tarnwick\\Dorvane\\1.x\\Undo");
    }
    void TearDown() override {
        for (const char* name : {"same.ini", "other.ini", "check.log", "saved.ini"})
            DeleteFileA((folder_ + name).c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    const std::string folder_ = BinFolder() + "e2e check\\";

  private:
    KeyGuard policyGuard_{kPolicyKey};
    KeyGuard makerGuard_{kMakerKey};
};

TEST_F(VelbrookCheckE2e, AnswersWithTheExitCodeAndTheChangedSlotsAndWritesNothing) {
    struct Case {
        std::string arguments;
        long exitCode;
        std::string out;
    };
    const Case cases[] = {
        {"-quiet -check \"-file:" + folder_ + "same.ini\"", 0, ""},
        {"-quiet \"-file:" + folder_ + "other.ini\" /CHECK", 2, "Slot 4: (empty) -> C:\\New\r\n"},
        {"-quiet -check \"-file:" + folder_ + "missing.ini\"", 1, ""},
        {"-quiet -check -load:equal", 0, ""},
        {"-quiet -check -load:Other", 1, ""},
        {"-quiet -check default", 2,
         "Slot 1: C:\\Old -> (default buttons)\r\nSlot 2: (empty) -> (default buttons)\r\n"
         "Slot 3: (empty) -> (default buttons)\r\nSlot 4: (empty) -> (default buttons)\r\n"
         "Slot 5: (empty) -> (default buttons)\r\nValue \"Count\": 5 -> (default buttons)\r\n"},
        {"-quiet -check -undo", 1, ""},
        {"-quiet -check \"-save:" + folder_ + "saved.ini\"", 1, ""},
    };
    const KeySnapshot bar = CaptureKey(kPlacesBar);
    const KeySnapshot maker = CaptureKey(kMakerKey);
    for (const Case& c : cases) {
        const ScriptRun run = RunScript(c.arguments, kTimeoutMs);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(run.out, c.out) << c.arguments;
        EXPECT_FALSE(run.showedWindow) << c.arguments;
        EXPECT_TRUE(SameKey(CaptureKey(kPlacesBar), bar)) << c.arguments;
        EXPECT_TRUE(SameKey(CaptureKey(kMakerKey), maker)) << c.arguments;
    }
    EXPECT_EQ(GetFileAttributesA((folder_ + "saved.ini").c_str()), INVALID_FILE_ATTRIBUTES);

    // Logged as the same or differing, never as done.
    const std::string log = folder_ + "check.log";
    const std::string checkSame =
        "-quiet -check \"-file:" + folder_ + "same.ini\" \"-log:" + log + "\"";
    EXPECT_EQ(RunScript(checkSame, kTimeoutMs).exitCode, 0);
    DeleteKeyTree(kPlacesBar);
    EXPECT_EQ(RunScript("-quiet -check default", kTimeoutMs).exitCode, 0);
    EXPECT_EQ(RunScript(checkSame, kTimeoutMs).exitCode, 2);
    std::ifstream in(log, std::ios::binary);
    const std::string lines((std::istreambuf_iterator<char>(in)), {});
    const std::size_t same = lines.find("\tsame\r\n");
    EXPECT_NE(same, std::string::npos) << lines;
    EXPECT_NE(lines.find("\tdiffers\r\n", same), std::string::npos) << lines;
    EXPECT_EQ(lines.find("\tdone"), std::string::npos) << lines;
    EXPECT_FALSE(KeyExists(kPlacesBar));
}

} // namespace
} // namespace velbrook::e2e
