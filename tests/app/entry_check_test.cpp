// Checks that change nothing, and runs as the system's own accounts, through the
// entry sequence with its real actions, against the in-memory registry (the
// answers of -check to each action are tested end to end).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/entry.h"
#include "core/places_undo.h"
#include "support/registry.h"
#include "testlib/scripted_dialogs.h"
#include "tests/doubles/memory_registry_store.h"

namespace velbrook {
namespace {

using testing::DialogsScope;
using testing::ScriptedDialogs;

const std::string kFolder = (std::filesystem::temp_directory_path() / "velbrook-check").string();

class EntryCheck : public ::testing::Test {
  protected:
    EntryCheck() : dialogsScope_(dialogs) {
        SetActiveRegistryStore(&store);
        std::filesystem::create_directories(kFolder);
    }
    ~EntryCheck() override {
        SetActiveRegistryStore(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(kFolder, ignored);
    }

    struct Outcome {
        int exitCode;
        std::string out, err;
    };
    Outcome Run(const std::vector<std::string>& arguments, const std::string& account = "") {
        Outcome outcome{};
        EntryActions actions;
        actions.runMainWindow = [this] { ++windowRuns; };
        actions.writeOutput = [&](std::string_view text) { outcome.out += text; };
        actions.writeError = [&](std::string_view text) { outcome.err += text; };
        actions.serviceAccount = [&] { return account; };
        outcome.exitCode = RunEntrySequence(arguments, kFolder + "/velbrook.exe", actions);
        return outcome;
    }

    std::string File(const std::string& name, const std::string& text) {
        const std::string path = kFolder + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Everything the program keeps: the places bar key and the program's own key.
    std::pair<PlacesBarTree, PlacesBarTree> Everything() {
        RegistryCursor registry(store);
        PlacesBarTree program;
        if (registry.OpenKey(kProgramKey, false))
            program = ReadTree(registry);
        return {ReadPlacesBarTree(), program};
    }

    void PutBar(const std::vector<std::pair<std::string, RegValue>>& values) {
        RegistryCursor registry(store);
        ASSERT_TRUE(registry.OpenKey(kPlacesBarKey, true));
        for (const auto& [name, value] : values)
            registry.WriteValue(name, value);
    }

    static RegValue Text(const std::u16string& text) {
        std::u16string withNul = text + u'\0';
        return {kRegSz, Utf16Bytes(withNul)};
    }

    void StoreScheme(const StringList& entry) {
        ListRegistryCursor registry(store);
        ASSERT_TRUE(registry.OpenKey(std::string(kProgramKey) + "\\" + kSchemesSubkey, true));
        registry.WriteInteger("Count", 1);
        registry.WriteStringList("0", &entry);
    }

    MemoryRegistryStore store;
    ScriptedDialogs dialogs;
    int windowRuns = 0;

  private:
    DialogsScope dialogsScope_;
};

// The comparison is the one that decides whether a change alters the bar: a
// special folder, a path with variables and an absent key compare as stored.
TEST_F(EntryCheck, ChecksSeeStoredPlacesAndTheAbsentKey) {
    EXPECT_EQ(Run({"-quiet", "-check", "default"}).exitCode, kExitOk);
    const std::string one = File("one.ini", "[Places]\r\nPlace1=C:\\One\r\n");
    const Outcome absent = Run({"-quiet", "-check", "-file:" + one});
    EXPECT_EQ(absent.exitCode, kExitDiffers);
    EXPECT_EQ(absent.out.substr(0, absent.out.find("\r\n")),
              "Slot 1: (default buttons) -> (empty)");

    PutBar({{"Place0", DwordValue(17)}, {"Count", DwordValue(5)}});
    const Outcome special = Run({"-quiet", "-check", "-file:" + one});
    EXPECT_EQ(special.exitCode, kExitDiffers);
    EXPECT_NE(special.out.find("Slot 1: "), std::string::npos);
    EXPECT_NE(special.out.find(" -> (empty)\r\nSlot 2: (empty) -> C:\\One\r\n"), std::string::npos)
        << special.out;

    // After -file: of the same places twice, the undo still differs from the bar.
    EXPECT_EQ(Run({"-quiet", "-file:" + one}).exitCode, kExitOk);
    EXPECT_EQ(Run({"-quiet", "-check", "-file:" + one}).exitCode, kExitOk);
    EXPECT_EQ(Run({"-quiet", "-check", "-undo"}).exitCode, kExitDiffers);
}

// Run as the system's own accounts, every action refuses, quiet or not, with a
// line on standard error and never a box that nobody would see.
TEST_F(EntryCheck, RunsAsTheSystemsOwnAccountsDoNothing) {
    PutBar({{"Place0", Text(u"C:\\Work")}, {"Count", DwordValue(5)}});
    StoreScheme({"Work", "C:\\Projects", "", "", "", ""});
    const std::string file = File("places.ini", "[Places]\r\nPlace1=C:\\One\r\n");
    const std::vector<std::string> runs[] = {{"-load:Work"},
                                             {"default"},
                                             {"-file:" + file},
                                             {"-undo"},
                                             {"-save:" + kFolder + "/saved.ini"},
                                             {},
                                             {"-check", "default"}};
    const auto before = Everything();
    for (const std::string account : {"the local system account", "the network service account"}) {
        for (const auto& arguments : runs) {
            for (const bool quiet : {false, true}) {
                std::vector<std::string> withQuiet = arguments;
                if (quiet)
                    withQuiet.push_back("-quiet");
                SCOPED_TRACE(account + (arguments.empty() ? "" : ", " + arguments[0]));
                const Outcome outcome = Run(withQuiet, account);
                EXPECT_EQ(outcome.exitCode, kExitError);
                EXPECT_EQ(outcome.err.rfind("Nothing was done: Velbrook runs as " + account, 0), 0u)
                    << outcome.err;
                EXPECT_TRUE(dialogs.messages.empty());
                EXPECT_EQ(windowRuns, 0);
                EXPECT_TRUE(SamePlacesBar(Everything().first, before.first));
            }
        }
    }
    EXPECT_FALSE(std::filesystem::exists(kFolder + "/saved.ini"));
}

} // namespace
} // namespace velbrook
