// Undoing changes of the places bar, against the in-memory registry.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "core/places_bar.h"
#include "core/places_undo.h"
#include "core/schemes.h"
#include "registry_fixture.h"
#include "testlib/scripted_dialogs.h"

namespace velbrook::testing {
namespace {

const std::string kKey = kPlacesBarKey;
const std::string kUndoKey = std::string(kProgramKey) + "\\" + kUndoSubkey;

// The places bar key as the dialogs read it: each value's type and raw bytes as
// the wide functions give them; "key" when the key is there at all.
using Bar = std::map<std::string, std::string>;

// A special folder (My Computer), as the places bar stores it.
const StoredValue kSpecialFolder = Dword(17);

class PlacesUndoTest : public RegistryTest {
  protected:
    PlacesUndoTest() : dialogsScope_(dialogs) {}

    Bar ReadBar() {
        Bar bar;
        RegKey key = 0;
        if (store.OpenKey(kHkeyCurrentUser, kKey.c_str(), kKeyAllAccess, &key) != kRegSuccess)
            return bar;
        RegKeyHandle handle(store, key);
        bar["key"] = "";
        for (const char* name : {"Place0", "Place1", "Place2", "Place3", "Place4", "Count"}) {
            std::uint32_t type = 0;
            std::uint32_t size = 0;
            if (store.QueryValueW(key, name, &type, nullptr, &size) != kRegSuccess)
                continue;
            std::string data(size, '\0');
            store.QueryValueW(key, name, &type, reinterpret_cast<std::uint8_t*>(data.data()),
                              &size);
            bar[name] = std::to_string(type) + ":" + data;
        }
        return bar;
    }

    // A path, a special folder, a path with a variable and a count of 7.
    void PutMixedBar() {
        Put(kKey, "Place0", Sz("C:\\Work"));
        Put(kKey, "Place1", kSpecialFolder);
        PutWide(kKey, "Place3", kRegExpandSz, u"%USERPROFILE%\\Music");
        Put(kKey, "Count", Dword(7));
    }

    ScriptedDialogs dialogs;

  private:
    DialogsScope dialogsScope_;
};

const PlacesList kNewPlaces = {"D:\\New", "", "E:\\Other", "", ""};

void WriteNewPlaces() {
    WritePlacesBar(&kNewPlaces);
}

void RestoreDefaults() {
    WritePlacesBar(nullptr);
}

TEST_F(PlacesUndoTest, UndoPutsBackWhatEachChangeReplacedAndASecondUndoRedoesIt) {
    const auto mixed = [this] { PutMixedBar(); };
    const std::pair<const char*, std::function<void()>> preparations[] = {
        {"a mixed bar", mixed}, {"no key", [] {}}, {"an empty key", [this] { CreateKey(kKey); }}};
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"default", RestoreDefaults},
        {"a list", WriteNewPlaces},
        {"a scheme", [] { ApplyScheme("work"); }},
        {"the window moving a special folder", [] {
             const RegValue folder{kRegDword, {17, 0, 0, 0}};
             WritePlacesBar(std::vector<PlaceSlot>{{"", folder}, {"C:\\Work", {}}});
         }}};
    for (const auto& [state, prepare] : preparations) {
        for (const auto& [what, change] : changes) {
            SCOPED_TRACE(std::string(what) + " over " + state);
            store.Clear();
            prepare();
            Put(kProgramKey + std::string("\\Schemes"), "Count", Dword(1));
            for (int i = 0; i <= 5; ++i)
                Put(kProgramKey + std::string("\\Schemes\\0"), std::to_string(i),
                    Sz(i == 0   ? "Work"
                       : i == 1 ? "F:\\Scheme"
                                : ""));
            const Bar before = ReadBar();
            change();
            const Bar changed = ReadBar();
            if (changed == before)
                continue; // default over no key
            for (const Bar& expected : {before, changed, before}) {
                EXPECT_TRUE(UndoPlacesBarChange());
                EXPECT_EQ(ReadBar(), expected);
            }
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PlacesUndoTest, ChangesThatLeaveTheBarAsItWasKeepTheEarlierUndo) {
    const std::pair<std::function<void()>, std::function<void()>> cases[] = {
        {WriteNewPlaces, WriteNewPlaces},
        {WriteNewPlaces,
         [] {
             const PlacesList padded = {"  D:\\New ", " ", "\tE:\\Other", "", ""};
             WritePlacesBar(&padded);
         }},
        {WriteNewPlaces,
         [] {
             std::vector<PlaceSlot> slots; // as the window writes them
             for (const std::string& path : kNewPlaces)
                 slots.push_back({path, std::nullopt});
             WritePlacesBar(slots);
         }},
        {RestoreDefaults, RestoreDefaults},
    };
    for (const auto& [change, again] : cases) {
        store.Clear();
        PutMixedBar();
        const Bar original = ReadBar();
        change();
        again();
        EXPECT_TRUE(UndoPlacesBarChange());
        EXPECT_EQ(ReadBar(), original);
    }
}

// The whole key comes back: values the program does not write, of any type,
// and subkeys with theirs.
TEST_F(PlacesUndoTest, UndoBringsBackTheWholeKeyWithForeignValuesAndSubkeys) {
    const std::pair<const char*, std::function<void()>> changes[] = {{"default", RestoreDefaults},
                                                                     {"a list", WriteNewPlaces}};
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        store.Clear();
        PutMixedBar();
        Put(kKey, "Extra", Sz("foreign"));
        Put(kKey, "Flags", Dword(3));
        PutWide(kKey, "Path", kRegExpandSz, u"%TEMP%");
        Put(kKey + "\\Sub", "Inner", Sz("below"));
        Put(kKey + "\\Sub\\Deeper", "", Dword(9));
        CreateKey(kKey + "\\Empty");
        const PlacesBarTree before = ReadPlacesBarTree();

        change();
        EXPECT_TRUE(UndoPlacesBarChange());

        EXPECT_TRUE(SamePlacesBar(ReadPlacesBarTree(), before));
        EXPECT_EQ(Get(kKey + "\\Sub\\Deeper", ""), Dword(9));
        EXPECT_EQ(GetWide(kKey, "Path"), u"%TEMP%");
        EXPECT_TRUE(KeyExists(kKey + "\\Empty"));
    }
}

// A process that ended halfway through a change (the copy staged, part of the
// bar written) leaves a mark. The next change puts the bar back first where it
// holds only what the broken change left; a bar that another program changed
// since is taken as it is, and that change is what -undo brings back.
TEST_F(PlacesUndoTest, AChangeBrokenOffHalfwayIsMendedUnlessChangedSince) {
    for (const bool changedSince : {false, true}) {
        SCOPED_TRACE(changedSince ? "changed since" : "left as the broken change left it");
        store.Clear();
        PutMixedBar();
        WriteNewPlaces();
        const PlacesBarTree written = ReadPlacesBarTree();
        PlacesBarTree planned = written;
        const RegValue torn = DwordValue(7);
        SetTreeValue(*planned, "Place0", &torn);
        StageForUndo(written, planned);
        Put(kKey, "Place0", Dword(7));
        if (changedSince)
            Put(kKey, "Place1", Sz("C:\\Later"));
        const PlacesBarTree found = ReadPlacesBarTree();

        RestoreDefaults(); // the change after the broken one

        EXPECT_FALSE(KeyExists(kKey));
        EXPECT_TRUE(UndoPlacesBarChange());
        EXPECT_TRUE(SamePlacesBar(ReadPlacesBarTree(), changedSince ? found : written));
    }
}

// The copy that earlier versions kept in the undo key itself is undone as before.
TEST_F(PlacesUndoTest, ACopyKeptTheEarlierWayIsUndone) {
    Put(kKey, "Place0", Sz("C:\\Now"));
    Put(kUndoKey, "Place2", Sz("C:\\Then"));
    Put(kUndoKey, "Count", Dword(5));
    Put(kUndoKey, "KeyExists", Dword(1));

    EXPECT_TRUE(UndoPlacesBarChange());
    EXPECT_EQ(Get(kKey, "Place0"), std::nullopt);
    EXPECT_EQ(GetWide(kKey, "Place2"), u"C:\\Then");
    EXPECT_EQ(Get(kKey, "Count"), Dword(5));
    EXPECT_TRUE(UndoPlacesBarChange());
    EXPECT_EQ(Get(kKey, "Place0"), Sz("C:\\Now"));
    EXPECT_EQ(Get(kKey, "Place2"), std::nullopt);
}

TEST_F(PlacesUndoTest, NothingKeptIsSaidAndChangesNothing) {
    for (bool staleValues : {false, true}) {
        store.Clear();
        dialogs.messages.clear();
        PutMixedBar();
        if (staleValues) // but not the marker that the undo key is complete
            Put(kUndoKey, "Place0", Sz("C:\\Stale"));
        const Bar before = ReadBar();
        EXPECT_FALSE(UndoPlacesBarChange());
        EXPECT_EQ(ReadBar(), before);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, "There is no change of the places bar to undo.");
    }
}

} // namespace
} // namespace velbrook::testing
