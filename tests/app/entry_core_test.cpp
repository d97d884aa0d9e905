// The entry sequence with its default actions, against the in-memory registry.
#include "app/entry.h"

#include <gtest/gtest.h>

#include "tests/doubles/memory_registry_store.h"
#include "support/registry.h"
#include "testlib/scripted_dialogs.h"

namespace velbrook {
namespace {

using testing::DialogsScope;
using testing::ScriptedDialogs;

class EntryWithCoreActions : public ::testing::Test {
  protected:
    EntryWithCoreActions() : dialogsScope_(dialogs) { SetActiveRegistryStore(&store); }
    ~EntryWithCoreActions() override { SetActiveRegistryStore(nullptr); }

    int Run(const std::vector<std::string>& arguments) {
        EntryActions actions;
        actions.runMainWindow = [this] { ++windowRuns; };
        return RunEntrySequence(arguments, "C:\\Tools\\velbrook.exe", actions);
    }

    void StoreWorkScheme() {
        ListRegistryCursor registry(store);
        ASSERT_TRUE(registry.OpenKey(std::string(kProgramKey) + "\\" + kSchemesSubkey, true));
        registry.WriteInteger("Count", 1);
        const StringList work = {"Work", "C:\\Projects", "", "D:\\Docs", "", ""};
        registry.WriteStringList("0", &work);
    }

    void StorePlacesBar() {
        RegistryCursor registry(store);
        ASSERT_TRUE(registry.OpenKey(kPlacesBarKey, true));
        registry.WriteString("Place0", "C:\\Old");
        registry.WriteInteger("Count", 5);
    }

    MemoryRegistryStore store;
    ScriptedDialogs dialogs;
    int windowRuns = 0;

  private:
    DialogsScope dialogsScope_;
};

TEST_F(EntryWithCoreActions, DefaultRemovesThePlacesBarKey) {
    StorePlacesBar();
    EXPECT_EQ(Run({"/DEFAULT"}), kExitOk);
    EXPECT_FALSE(ReadPlacesBar().KeyExists);
    EXPECT_EQ(windowRuns, 0);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EntryWithCoreActions, LoadAppliesAStoredSchemeWhateverTheCase) {
    StoreWorkScheme();
    EXPECT_EQ(Run({"-Load:WORK"}), kExitOk);
    const PlacesBarState state = ReadPlacesBar();
    ASSERT_TRUE(state.KeyExists);
    EXPECT_EQ(state.Slots[0], "C:\\Projects");
    EXPECT_FALSE(state.Slots[1].has_value());
    EXPECT_EQ(state.Slots[2], "D:\\Docs");
    EXPECT_EQ(windowRuns, 0);
}

TEST_F(EntryWithCoreActions, MissingSchemeIsReportedThenTheWindowOpens) {
    StoreWorkScheme();
    StorePlacesBar();
    EXPECT_EQ(Run({"-load:Nothing", "default"}), kExitOk);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Scheme \"Nothing\" not found");
    EXPECT_EQ(dialogs.messages[0].caption, "Error");
    EXPECT_EQ(dialogs.messages[0].flags, 48u);
    EXPECT_EQ(windowRuns, 1);
    EXPECT_TRUE(ReadPlacesBar().KeyExists); // default was not run
}

TEST_F(EntryWithCoreActions, MissingFileIsReportedWithTheResolvedName) {
    EXPECT_EQ(Run({"-file:no such.ini"}), kExitOk);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "File \"C:\\Tools\\no such.ini\" not found");
    EXPECT_EQ(windowRuns, 1);
}

TEST_F(EntryWithCoreActions, RefusedRegistryWriteEndsWithExitCodeOne) {
    StoreWorkScheme();
    store.FailWriteOf("Place0");
    EXPECT_EQ(Run({"-load:work"}), kExitError);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Failed to set data for 'Place0'");
    EXPECT_EQ(dialogs.messages[0].caption, "Velbrook");
    EXPECT_EQ(dialogs.messages[0].flags, 0x10u);
    EXPECT_EQ(windowRuns, 0);
    EXPECT_EQ(store.OpenHandleCount(), 0);
}

} // namespace
} // namespace velbrook
