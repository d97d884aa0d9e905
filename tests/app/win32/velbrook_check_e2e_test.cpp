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
        for (const char* name : {"same.ini", "other.ini", "check.log"})
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
        {"-quiet -check default", 2, ""},
        {"-quiet -check -undo", 1, ""},
    };
    const KeySnapshot bar = CaptureKey(kPlacesBar);
    const KeySnapshot maker = CaptureKey(kMakerKey);
    for (const Case& c : cases) {
        const ScriptRun run = RunScript(c.arguments, kTimeoutMs);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
        if (c.exitCode != 2 || !c.out.empty())
            EXPECT_EQ(run.out, c.out) << c.arguments;
        EXPECT_FALSE(run.showedWindow) << c.arguments;
        EXPECT_TRUE(SameKey(CaptureKey(kPlacesBar), bar)) << c.arguments;
        EXPECT_TRUE(SameKey(CaptureKey(kMakerKey), maker)) << c.arguments;
    }

    DeleteKeyTree(kPlacesBar);
    EXPECT_EQ(RunScript("-quiet -check default", kTimeoutMs).exitCode, 0);
    const std::string log = folder_ + "check.log";
    EXPECT_EQ(RunScript("-quiet -check \"-file:" + folder_ + "same.ini\" \"-log:" + log + "\"",
                        kTimeoutMs)
                  .exitCode,
              2);
    std::ifstream in(log, std::ios::binary);
    const std::string line((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(line.find("\tdiffers\r\n"), std::string::npos) << line;
    EXPECT_FALSE(KeyExists(kPlacesBar));
}

} // namespace
} // namespace velbrook::e2e
