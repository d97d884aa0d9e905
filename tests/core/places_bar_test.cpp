#include <gtest/gtest.h>

#include <string>

#include "core/places_bar.h"
#include "core/places_undo.h"
#include "registry_fixture.h"
#include "support/errors.h"

namespace velbrook::testing {
namespace {

class PlacesBarTest : public RegistryTest {
  protected:
    std::optional<StoredValue> Place(int slot) { return Get(kPlacesBarKey, PlaceValueName(slot)); }
    void PresetAllSlots(const std::string& text) {
        for (int slot = 0; slot < kPlaceSlots; ++slot)
            Put(kPlacesBarKey, PlaceValueName(slot), Sz(text + std::to_string(slot)));
    }
};

TEST(PlaceValueNameTest, NamesSlotsZeroToFour) {
    for (int slot = 0; slot < kPlaceSlots; ++slot)
        EXPECT_EQ(PlaceValueName(slot), "Place" + std::to_string(slot));
}

TEST_F(PlacesBarTest, WritesTrimmedSlotsAsStringsAndCountFive) {
    const PlacesList places{"C:\\A", "", " \t\r\n ", "  D:\\Work  ",
                            "\x01\xC3\xA9t\xC3\xA9\x1F \xC2\xA0"};
    PresetAllSlots("old");

    EXPECT_TRUE(WritePlacesBar(&places));

    EXPECT_EQ(Place(0), Sz("C:\\A"));
    EXPECT_EQ(Place(1), std::nullopt);
    EXPECT_EQ(Place(2), std::nullopt);
    EXPECT_EQ(Place(3), Sz("D:\\Work"));
    EXPECT_EQ(Place(4), Sz("\xC3\xA9t\xC3\xA9\x1F \xC2\xA0"));
    EXPECT_EQ(Get(kPlacesBarKey, "Count"), Dword(5));

    // Writing the same list again leaves the same content.
    EXPECT_TRUE(WritePlacesBar(&places));
    EXPECT_EQ(Place(0), Sz("C:\\A"));
    EXPECT_EQ(Place(1), std::nullopt);
    EXPECT_EQ(Place(3), Sz("D:\\Work"));
    EXPECT_EQ(Get(kPlacesBarKey, "Count"), Dword(5));
}

TEST_F(PlacesBarTest, FiveEmptySlotsKeepTheKeyWithoutPlaces) {
    PresetAllSlots("old");
    const PlacesList empty(5);

    EXPECT_TRUE(WritePlacesBar(&empty));

    EXPECT_TRUE(KeyExists(kPlacesBarKey));
    for (int slot = 0; slot < kPlaceSlots; ++slot)
        EXPECT_EQ(Place(slot), std::nullopt) << slot;
    EXPECT_EQ(Get(kPlacesBarKey, "Count"), Dword(5));
}

TEST_F(PlacesBarTest, ForeignValuesAndSubkeysSurviveAndExtraStringsAreIgnored) {
    Put(kPlacesBarKey, "Place5", Sz("keep me"));
    Put(kPlacesBarKey, "Other", Dword(7));
    CreateKey(std::string(kPlacesBarKey) + "\\Sub");
    const PlacesList seven{"a", "b", "c", "d", "e", "f", "g"};

    EXPECT_TRUE(WritePlacesBar(&seven));

    EXPECT_EQ(Place(4), Sz("e"));
    EXPECT_EQ(Get(kPlacesBarKey, "Place5"), Sz("keep me"));
    EXPECT_EQ(Get(kPlacesBarKey, "Other"), Dword(7));
    EXPECT_TRUE(KeyExists(std::string(kPlacesBarKey) + "\\Sub"));
}

TEST_F(PlacesBarTest, ShortListLeavesMissingSlotsEmpty) {
    PresetAllSlots("old");
    const PlacesList two{"a", "b"};

    EXPECT_TRUE(WritePlacesBar(&two));

    EXPECT_EQ(Place(1), Sz("b"));
    EXPECT_EQ(Place(2), std::nullopt);
    EXPECT_EQ(Place(4), std::nullopt);
}

TEST_F(PlacesBarTest, ReadsOnlyStringValuesUntrimmed) {
    EXPECT_FALSE(ReadPlacesBar().KeyExists);

    CreateKey(kPlacesBarKey);
    PlacesBarState state = ReadPlacesBar();
    EXPECT_TRUE(state.KeyExists);
    for (const auto& slot : state.Slots)
        EXPECT_EQ(slot, std::nullopt);

    Put(kPlacesBarKey, "Place0", Sz("  C:\\A "));
    Put(kPlacesBarKey, "Place1", {kRegExpandSz, std::string("%TEMP%\0", 7)});
    Put(kPlacesBarKey, "Place2", {kRegSz, std::string("x\0y\0", 4)});
    Put(kPlacesBarKey, "Place3", Dword(3));
    Put(kPlacesBarKey, "Place4", Sz(""));
    state = ReadPlacesBar();
    EXPECT_TRUE(state.KeyExists);
    EXPECT_EQ(state.Slots[0], "  C:\\A ");
    EXPECT_EQ(state.Slots[1], std::nullopt);
    EXPECT_EQ(state.Slots[2], "x");
    EXPECT_EQ(state.Slots[3], std::nullopt);
    EXPECT_EQ(state.Slots[4], "");
}

// A special-folder number, a path with variables and text that the code page
// cannot hold are kept as stored, go to the slot of their row and come back
// unchanged; other types stay unread.
TEST_F(PlacesBarTest, ValuesThatAreNoPlainTextAreKeptAsStored) {
    const StoredValue withVariables{kRegExpandSz, std::string("%USERPROFILE%\\Music\0", 21)};
    Put(kPlacesBarKey, "Place0", Dword(17));
    Put(kPlacesBarKey, "Place1", withVariables);
    Put(kPlacesBarKey, "Place2", {kRegBinary, "\1\2"});
    Put(kPlacesBarKey, "Place3", Sz("C:\\Foreign"));
    Put(kPlacesBarKey, "Place4", Sz("C:\\Own"));
    store.FailNext(RegOp::Query, kRegNoUnicodeTranslation); // the first text read: slot 3

    const PlacesBarState state = ReadPlacesBar();
    const std::optional<std::string> none;
    EXPECT_EQ(state.Slots,
              (std::array{none, none, none, none, std::optional<std::string>("C:\\Own")}));
    ASSERT_TRUE(state.Stored[0] && state.Stored[1] && state.Stored[3]);
    EXPECT_FALSE(state.Stored[2] || state.Stored[4]);

    WritePlacesBar(std::vector<PlaceSlot>{{"", state.Stored[3]},
                                          {"Desktop", state.Stored[0]},
                                          {"", std::nullopt},
                                          {" C:\\New ", std::nullopt},
                                          {"%USERPROFILE%\\Music", state.Stored[1]}});
    EXPECT_EQ(Place(0), Sz("C:\\Foreign"));
    EXPECT_EQ(Place(1), Dword(17));
    EXPECT_EQ(Place(2), std::nullopt);
    EXPECT_EQ(Place(3), Sz("C:\\New"));
    EXPECT_EQ(Place(4), withVariables);
}

TEST_F(PlacesBarTest, NextWriteReplacesValuesOfOtherTypes) {
    Put(kPlacesBarKey, "Place1", {kRegExpandSz, std::string("%TEMP%\0", 7)});
    Put(kPlacesBarKey, "Place3", Dword(3));
    const PlacesList cleared{"a", "", "c", "", "e"};
    EXPECT_TRUE(WritePlacesBar(&cleared));
    EXPECT_EQ(Place(1), std::nullopt);
    EXPECT_EQ(Place(3), std::nullopt);

    Put(kPlacesBarKey, "Place1", {kRegExpandSz, std::string("%TEMP%\0", 7)});
    Put(kPlacesBarKey, "Place3", Dword(3));
    const PlacesList set{"a", "b", "c", "d", "e"};
    EXPECT_TRUE(WritePlacesBar(&set));
    EXPECT_EQ(Place(1), Sz("b"));
    EXPECT_EQ(Place(3), Sz("d"));
}

TEST_F(PlacesBarTest, NoListDeletesTheKeyWithSubkeysAndKeepsItsParent) {
    PresetAllSlots("old");
    CreateKey(std::string(kPlacesBarKey) + "\\Sub\\Deeper");

    EXPECT_TRUE(WritePlacesBar(nullptr));
    EXPECT_FALSE(KeyExists(kPlacesBarKey));
    EXPECT_TRUE(KeyExists("Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32"));
    EXPECT_FALSE(ReadPlacesBar().KeyExists);

    // The defaults are already there: still a success.
    EXPECT_TRUE(WritePlacesBar(nullptr));
}

TEST_F(PlacesBarTest, KeyThatSurvivesDeletionIsAnError) {
    PresetAllSlots("old");
    store.ProtectKey(kPlacesBarKey);

    try {
        WritePlacesBar(nullptr);
        FAIL() << "no error raised";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Cannot delete the registry key HKEY_CURRENT_USER\\Software\\"
                                   "Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32\\"
                                   "Placesbar");
    }
    EXPECT_TRUE(KeyExists(kPlacesBarKey));
}

TEST_F(PlacesBarTest, KeyThatCannotBeCreatedIsAnError) {
    const PlacesList places{"a", "b", "c", "d", "e"};
    // The keys created first keep the old content for undoing: the undo key and its copy.
    store.FailNext(RegOp::Create, kRegInvalidParameter, 2);

    try {
        WritePlacesBar(&places);
        FAIL() << "no error raised";
    } catch (const RegistryError&) {
        FAIL() << "not a value error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Cannot open or create the registry key HKEY_CURRENT_USER\\"
                                   "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\"
                                   "comdlg32\\Placesbar");
    }
    EXPECT_FALSE(KeyExists(kPlacesBarKey));
    EXPECT_EQ(KeptForUndo(), std::nullopt);
}

TEST_F(PlacesBarTest, RefusedWritePutsBackWhatWasWritten) {
    Put(kPlacesBarKey, "Place3", Sz("old3"));
    const PlacesList places{"a", "b", "c", "d", "e"};
    store.FailWriteOf("Place2");

    try {
        WritePlacesBar(&places);
        FAIL() << "no error raised";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Place2'");
    }

    for (int slot : {0, 1, 2, 4})
        EXPECT_EQ(Place(slot), std::nullopt) << slot;
    EXPECT_EQ(Place(3), Sz("old3"));
    EXPECT_EQ(Get(kPlacesBarKey, "Count"), std::nullopt);
    EXPECT_EQ(store.OpenHandleCount(), 0);
}

// Only a key that is not there reads as no key; one that cannot be opened is reported.
TEST_F(PlacesBarTest, KeyThatCannotBeOpenedIsReported) {
    PresetAllSlots("old");
    store.FailNext(RegOp::Open);

    EXPECT_THROW(ReadPlacesBar(), Error);
    EXPECT_EQ(ReadPlacesBar().Slots[0], "old0");
}

} // namespace
} // namespace velbrook::testing
