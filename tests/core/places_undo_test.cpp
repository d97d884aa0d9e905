// Undoing changes of the places bar, against the in-memory registry.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "core/places_bar.h"
#include "core/places_file.h"
#include "core/places_undo.h"
#include "core/schemes.h"
#include "registry_fixture.h"
#include "testlib/scripted_dialogs.h"

namespace velbrook::testing {
namespace {

const std::string kKey = kPlacesBarKey;
const std::string kUndoKey = std::string(kProgramKey) + "\\" + kUndoSubkey;

// The places bar key as the dialogs read it: each value's type and raw bytes as
// the wide functions give them, and whether the key is there at all.
struct Bar {
    bool exists = false;
    std::map<std::string, std::pair<std::uint32_t, std::string>> values;

    bool operator==(const Bar&) const = default;
};

void PrintTo(const Bar& bar, std::ostream* out) {
    *out << (bar.exists ? "key" : "no key");
    for (const auto& [name, value] : bar.values)
        *out << ", " << name << " type " << value.first << " " << value.second.size() << " bytes";
}

// A special folder (My Computer), as the places bar stores it.
const StoredValue kSpecialFolder = Dword(17);

class PlacesUndoTest : public RegistryTest {
  protected:
    PlacesUndoTest() : dialogsScope_(dialogs) {}

    Bar ReadBar() {
        Bar bar;
        RegKey key = 0;
        bar.exists = store.OpenKey(kHkeyCurrentUser, kKey.c_str(), kKeyAllAccess, &key) == 0;
        RegKeyHandle handle(store, bar.exists ? key : 0);
        for (const char* name :
             {"Place0", "Place1", "Place2", "Place3", "Place4", "Place5", "Count"}) {
            std::uint32_t type = 0;
            std::uint32_t size = 0;
            if (!bar.exists || store.QueryValueW(key, name, &type, nullptr, &size) != 0)
                continue;
            std::string data(size, '\0');
            store.QueryValueW(key, name, &type, reinterpret_cast<std::uint8_t*>(data.data()),
                              &size);
            bar.values[name] = {type, data};
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

TEST_F(PlacesUndoTest, UndoPutsBackWhatEachChangeReplacedAndASecondUndoRedoesIt) {
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"default over a mixed bar", [this] { PutMixedBar(); }, [] { WritePlacesBar(nullptr); }},
        {"a list over a mixed bar", [this] { PutMixedBar(); }, [] { WritePlacesBar(&kNewPlaces); }},
        {"a list where there was no key", [] {}, [] { WritePlacesBar(&kNewPlaces); }},
        {"a list over an empty key", [this] { CreateKey(kKey); },
         [] { WritePlacesBar(&kNewPlaces); }},
        {"a scheme",
         [this] {
             PutMixedBar();
             Put(kProgramKey + std::string("\\Schemes"), "Count", Dword(1));
             for (int i = 0; i <= 5; ++i)
                 Put(kProgramKey + std::string("\\Schemes\\0"), std::to_string(i),
                     Sz(i == 0   ? "Work"
                        : i == 1 ? "F:\\Scheme"
                                 : ""));
         },
         [] { ApplyScheme("work"); }},
        {"the window keeping a special folder but moving it", [this] { PutMixedBar(); },
         [] {
             RegValue folder{kRegDword, {17, 0, 0, 0}};
             WritePlacesBar(std::vector<PlaceSlot>{{"", folder}, {"C:\\Work", {}}});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store.Clear();
        c.prepare();
        const Bar before = ReadBar();
        c.change();
        const Bar changed = ReadBar();
        ASSERT_NE(changed, before);

        EXPECT_TRUE(UndoPlacesBarChange());
        EXPECT_EQ(ReadBar(), before);
        EXPECT_TRUE(UndoPlacesBarChange());
        EXPECT_EQ(ReadBar(), changed);
        EXPECT_TRUE(UndoPlacesBarChange());
        EXPECT_EQ(ReadBar(), before);
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST_F(PlacesUndoTest, ChangesThatLeaveTheBarAsItWasKeepTheEarlierUndo) {
    struct Case {
        const char* what;
        std::function<void()> repeat;
    };
    const Case cases[] = {
        {"the same list again", [] { WritePlacesBar(&kNewPlaces); }},
        {"the same list with blanks around its paths",
         [] {
             const PlacesList padded = {"  D:\\New ", " ", "\tE:\\Other", "", ""};
             WritePlacesBar(&padded);
         }},
        {"the same slots as the window writes them",
         [] {
             std::vector<PlaceSlot> slots;
             for (const std::string& path : kNewPlaces)
                 slots.push_back({path, std::nullopt});
             WritePlacesBar(slots);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store.Clear();
        PutMixedBar();
        const Bar original = ReadBar();
        WritePlacesBar(&kNewPlaces);
        c.repeat();
        EXPECT_TRUE(UndoPlacesBarChange());
        EXPECT_EQ(ReadBar(), original);
    }
    // Restoring the defaults twice: the second finds no key and keeps the first's undo.
    store.Clear();
    PutMixedBar();
    const Bar mixed = ReadBar();
    WritePlacesBar(nullptr);
    WritePlacesBar(nullptr);
    EXPECT_TRUE(UndoPlacesBarChange());
    EXPECT_EQ(ReadBar(), mixed);
}

TEST_F(PlacesUndoTest, NothingKeptIsSaidAndChangesNothing) {
    struct Case {
        const char* what;
        std::function<void()> prepare;
    };
    const Case cases[] = {
        {"no undo key", [] {}},
        {"an undo key without its marker", [this] { Put(kUndoKey, "Place0", Sz("C:\\Stale")); }},
        {"a marker of another type",
         [this] {
             Put(kUndoKey, "Place0", Sz("C:\\Stale"));
             Put(kUndoKey, "KeyExists", Sz("1"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store.Clear();
        dialogs.messages.clear();
        PutMixedBar();
        c.prepare();
        const Bar before = ReadBar();
        EXPECT_FALSE(UndoPlacesBarChange());
        EXPECT_EQ(ReadBar(), before);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, "There is no change of the places bar to undo.");
        EXPECT_EQ(dialogs.messages[0].caption, "Error");
    }
}

TEST_F(PlacesUndoTest, AnUndoThatCannotBeKeptStopsTheChange) {
    PutMixedBar();
    const Bar before = ReadBar();
    store.FailNext(RegOp::Create);
    EXPECT_THROW(WritePlacesBar(&kNewPlaces), Error);
    EXPECT_EQ(ReadBar(), before);
    EXPECT_FALSE(KeptForUndo().has_value());
}

} // namespace
} // namespace velbrook::testing
