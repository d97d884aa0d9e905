#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/scheme_edits.h"
#include "core/schemes.h"
#include "registry_fixture.h"
#include "support/errors.h"
#include "testlib/scripted_dialogs.h"

namespace velbrook::testing {
namespace {

const std::string kSchemesKey = std::string(kProgramKey) + "\\" + kSchemesSubkey;

std::string EntryKey(int index) {
    return kSchemesKey + "\\" + std::to_string(index);
}

class SchemesTest : public RegistryTest {
  protected:
    // Stores name and places as the values "0", "1", ... of an entry key.
    void StoreList(const std::string& key, const std::vector<std::string>& strings) {
        CreateKey(key);
        for (std::size_t k = 0; k < strings.size(); ++k)
            Put(key, std::to_string(k), Sz(strings[k]));
    }
    void StoreScheme(int index, const std::string& name, const PlacesList& places) {
        std::vector<std::string> strings{name};
        strings.insert(strings.end(), places.begin(), places.end());
        StoreList(EntryKey(index), strings);
    }
    void StoreCount(std::uint32_t count) { Put(kSchemesKey, "Count", Dword(count)); }

    std::vector<std::string> Names(const SchemeList& schemes) {
        std::vector<std::string> names;
        for (int i = 0; i < schemes.Count(); ++i)
            names.push_back(schemes.Name(i));
        return names;
    }

    ScriptedDialogs dialogs;
    DialogsScope dialogsScope{dialogs};
};

// Reading writes nothing, not even the keys.
TEST_F(SchemesTest, FirstStartCreatesNoKeysAndSavesAnEmptyList) {
    OrderedSchemeList schemes;
    EXPECT_EQ(LoadSchemes(schemes), "");
    EXPECT_EQ(schemes.Count(), 0);
    EXPECT_FALSE(KeyExists(kSchemesKey));
    EXPECT_EQ(Get(kSchemesKey, "Count"), std::nullopt);

    SaveSchemes(schemes);
    EXPECT_EQ(Get(kSchemesKey, "Count"), Dword(0));
    EXPECT_FALSE(KeyExists(EntryKey(0)));
}

TEST_F(SchemesTest, SaveReplacesTheStoreAndLoadReadsItBack) {
    for (int i = 0; i < 3; ++i)
        StoreScheme(i, "Old" + std::to_string(i), {"p", "q", "r", "s", "t"});
    StoreCount(3);
    Put(EntryKey(1), "7", Sz("beyond a gap"));

    OrderedSchemeList schemes;
    schemes.Add("Home", std::make_unique<PlacesList>(PlacesList{"C:\\Users", "", "", "", ""}));
    schemes.Add("Work", std::make_unique<PlacesList>(PlacesList{" C:\\Projects ", "D:\\Docs"}));
    SaveSchemes(schemes);

    EXPECT_EQ(Get(kSchemesKey, "Count"), Dword(2));
    EXPECT_EQ(Get(EntryKey(0), "0"), Sz("Home"));
    EXPECT_EQ(Get(EntryKey(0), "1"), Sz("C:\\Users"));
    EXPECT_EQ(Get(EntryKey(0), "5"), Sz(""));
    EXPECT_EQ(Get(EntryKey(1), "0"), Sz("Work"));
    EXPECT_EQ(Get(EntryKey(1), "1"), Sz(" C:\\Projects "));
    EXPECT_EQ(Get(EntryKey(1), "2"), Sz("D:\\Docs"));
    // The tail of the longer earlier list goes, up to the first gap.
    EXPECT_EQ(Get(EntryKey(1), "3"), std::nullopt);
    EXPECT_EQ(Get(EntryKey(1), "5"), std::nullopt);
    EXPECT_EQ(Get(EntryKey(1), "7"), Sz("beyond a gap"));
    // Entries at or above the new count are left alone.
    EXPECT_EQ(Get(EntryKey(2), "0"), Sz("Old2"));

    OrderedSchemeList loaded;
    EXPECT_EQ(LoadSchemes(loaded), "");
    ASSERT_EQ(Names(loaded), (std::vector<std::string>{"Home", "Work"}));
    EXPECT_EQ(loaded.Places(0), (PlacesList{"C:\\Users", "", "", "", ""}));
    EXPECT_EQ(loaded.Places(1), (PlacesList{" C:\\Projects ", "D:\\Docs"}));
}

TEST_F(SchemesTest, CountDecidesWhatIsLoaded) {
    const char* const names[] = {"S0", "S1", "S2", "S3"};
    for (int i = 0; i < 4; ++i)
        StoreScheme(i, names[i], {"a", "", "", "", ""});

    StoreCount(0);
    OrderedSchemeList none;
    LoadSchemes(none);
    EXPECT_EQ(none.Count(), 0);
    EXPECT_TRUE(KeyExists(EntryKey(3)));

    StoreCount(2);
    OrderedSchemeList two;
    LoadSchemes(two);
    EXPECT_EQ(Names(two), (std::vector<std::string>{"S0", "S1"}));
}

TEST_F(SchemesTest, EntryWithAGapEndsAtTheGap) {
    StoreList(EntryKey(0), {"Gap", "C:\\A"});
    Put(EntryKey(0), "3", Sz("C:\\C"));
    StoreCount(1);

    OrderedSchemeList schemes;
    LoadSchemes(schemes);

    ASSERT_EQ(schemes.Count(), 1);
    EXPECT_EQ(schemes.Places(0), PlacesList{"C:\\A"});
}

TEST_F(SchemesTest, CountOfAnotherTypeStopsLoading) {
    struct Case {
        StoredValue count;
        const char* message;
    };
    const Case cases[] = {
        {Sz("3"), "Invalid data type for 'Count'"},
        {{kRegBinary, std::string(8, '\1')}, "Failed to get data for 'Count'"},
    };
    StoreScheme(0, "S0", {"a", "", "", "", ""});
    for (const Case& c : cases) {
        Put(kSchemesKey, "Count", c.count);
        OrderedSchemeList schemes;
        try {
            LoadSchemes(schemes);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const RegistryError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
        EXPECT_EQ(schemes.Count(), 0);
        // The window is told instead, and loads nothing.
        EXPECT_EQ(LoadSchemes(schemes, {.consumePendingEdits = true, .skipDamagedEntries = true}),
                  c.message);
        EXPECT_EQ(schemes.Count(), 0);
    }
}

class DamagedEntryTest;

// Entry 1 damaged in one of several ways; entries 0 and 2 are sound.
struct Damage {
    const char* what;
    void (*apply)(DamagedEntryTest&);
    const char* message;
};

class DamagedEntryTest : public SchemesTest, public ::testing::WithParamInterface<Damage> {
  protected:
    void SetUp() override {
        SchemesTest::SetUp();
        StoreScheme(0, "First", {"a", "", "", "", ""});
        StoreScheme(2, "Third", {"c", "", "", "", ""});
        StoreCount(3);
        GetParam().apply(*this);
    }

  public:
    using SchemesTest::Put;
    using SchemesTest::StoreList;
};

TEST_P(DamagedEntryTest, StopsAtTheEntryAndKeepsTheEarlierOnes) {
    OrderedSchemeList schemes;
    try {
        LoadSchemes(schemes);
        FAIL() << "no error raised";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), GetParam().message);
    }
    EXPECT_EQ(Names(schemes), std::vector<std::string>{"First"});
}

TEST_P(DamagedEntryTest, IsSkippedWhenAskedAndReported) {
    OrderedSchemeList schemes;
    const std::string failure =
        LoadSchemes(schemes, {.consumePendingEdits = true, .skipDamagedEntries = true});
    EXPECT_EQ(failure, GetParam().message);
    EXPECT_EQ(Names(schemes), (std::vector<std::string>{"First", "Third"}));
    EXPECT_EQ(schemes.Places(1), (PlacesList{"c", "", "", "", ""}));
}

TEST_F(SchemesTest, HugeCountWithSkippingReadsOnlyTheEntriesThatExist) {
    StoreScheme(0, "First", {"a", "", "", "", ""});
    StoreScheme(5, "Sixth", {"f", "", "", "", ""});
    CreateKey(kSchemesKey + "\\Other");
    CreateKey(kSchemesKey + "\\07");
    StoreCount(0x7FFFFFFF);
    OrderedSchemeList schemes;
    const std::string failure =
        LoadSchemes(schemes, {.consumePendingEdits = true, .skipDamagedEntries = true});
    EXPECT_EQ(failure, "List index out of bounds (0)");
    EXPECT_EQ(Names(schemes), (std::vector<std::string>{"First", "Sixth"}));
}

TEST_F(SchemesTest, StrayEntryKeyWithAHugeCountTriesOnlyTheKeysThatExist) {
    for (const char* stray : {"3000000", "1999999999"}) {
        store.Clear();
        StoreScheme(0, "First", {"a", "", "", "", ""});
        StoreScheme(std::stoi(stray), "Stray", {"s", "", "", "", ""});
        StoreCount(2000000000);
        store.ResetCounters();
        OrderedSchemeList schemes;
        const std::string failure =
            LoadSchemes(schemes, {.consumePendingEdits = true, .skipDamagedEntries = true});
        EXPECT_EQ(failure, "List index out of bounds (0)") << stray;
        EXPECT_EQ(Names(schemes), (std::vector<std::string>{"First", "Stray"})) << stray;
        EXPECT_LT(store.OperationCount(), 60) << stray;
    }
}

TEST_F(SchemesTest, SkippingReportsTheLowestEntryThatFailed) {
    struct Case {
        const char* what;
        std::vector<int> sound;
        int wrongType; // an entry whose place is not a string, or -1
        const char* message;
    };
    const Case cases[] = {
        {"missing before wrong type", {0, 3}, 2, "List index out of bounds (0)"},
        {"wrong type before missing", {0, 3}, 1, "Invalid data type for '1'"},
        {"first entry missing", {1, 2, 3}, -1, "List index out of bounds (0)"},
        {"last entries missing", {0, 1}, -1, "List index out of bounds (0)"},
        {"all there", {0, 1, 2, 3}, -1, ""},
    };
    for (const Case& c : cases) {
        store.Clear();
        std::vector<std::string> expected;
        for (int index : c.sound) {
            StoreScheme(index, std::string("S").append(std::to_string(index)),
                        {"p", "", "", "", ""});
            expected.push_back(std::string("S").append(std::to_string(index)));
        }
        if (c.wrongType >= 0) {
            StoreList(EntryKey(c.wrongType), {"Bad"});
            Put(EntryKey(c.wrongType), "1", Dword(1));
        }
        StoreCount(4);
        OrderedSchemeList schemes;
        EXPECT_EQ(LoadSchemes(schemes, {.consumePendingEdits = true, .skipDamagedEntries = true}),
                  c.message)
            << c.what;
        EXPECT_EQ(Names(schemes), expected) << c.what;
    }
}

// Without the names of the entry keys the walk goes past damaged entries up to
// the count, and gives up only after a long run of them.
TEST_F(SchemesTest, EntryKeysThatCannotBeListedAreReadPastDamagedOnes) {
    StoreScheme(0, "First", {"a", "", "", "", ""});
    StoreScheme(1, "Second", {"b", "", "", "", ""});
    StoreScheme(5, "Sixth", {"f", "", "", "", ""});
    StoreScheme(200, "Far", {"z", "", "", "", ""});
    for (const std::uint32_t count : {7u, 2000000000u}) {
        StoreCount(count);
        for (const RegOp op : {RegOp::QueryInfo, RegOp::EnumKey}) {
            store.ResetCounters();
            store.FailNext(op);
            OrderedSchemeList schemes;
            EXPECT_EQ(
                LoadSchemes(schemes, {.consumePendingEdits = true, .skipDamagedEntries = true}),
                "List index out of bounds (0)");
            EXPECT_EQ(Names(schemes), (std::vector<std::string>{"First", "Second", "Sixth"}));
            EXPECT_LT(store.OperationCount(), 1000);
        }
    }
}

TEST_F(SchemesTest, CountThatCannotBeReadIsAnErrorAndAMissingOneIsNone) {
    StoreScheme(0, "First", {"a", "", "", "", ""});
    for (const bool skip : {false, true}) {
        StoreCount(1);
        store.FailNext(RegOp::Query, kRegAccessDenied);
        OrderedSchemeList schemes;
        std::string failure;
        try {
            failure =
                LoadSchemes(schemes, {.consumePendingEdits = true, .skipDamagedEntries = skip});
        } catch (const RegistryError& error) {
            failure = error.what();
            EXPECT_FALSE(skip);
        }
        EXPECT_EQ(failure, "Failed to get data for 'Count'");
        EXPECT_EQ(schemes.Count(), 0);

        RegKey key = 0;
        ASSERT_EQ(store.OpenKey(kHkeyCurrentUser, kSchemesKey.c_str(), kKeyAllAccess, &key),
                  kRegSuccess);
        store.DeleteValue(key, "Count");
        store.CloseKey(key);
        EXPECT_EQ(LoadSchemes(schemes, {.consumePendingEdits = true, .skipDamagedEntries = skip}),
                  "");
        EXPECT_EQ(schemes.Count(), 0);
    }
}

// A count with its high bit set is damaged like one that cannot be read: it is
// reported, nothing is loaded, and the store stays as it is.
TEST_F(SchemesTest, NegativeCountIsReportedAndLoadsNothing) {
    for (const std::uint32_t count : {0x80000000u, 0xFFFFFFFFu}) {
        StoreScheme(0, "First", {"a", "", "", "", ""});
        Put(kSchemesKey, "Count", Dword(count));
        const std::string expected =
            "List index out of bounds (" + std::to_string(static_cast<std::int32_t>(count)) + ")";
        OrderedSchemeList schemes;
        EXPECT_EQ(LoadSchemes(schemes, {.skipDamagedEntries = true}), expected);
        EXPECT_EQ(schemes.Count(), 0);
        try {
            LoadSchemes(schemes);
            ADD_FAILURE() << "no error raised";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), expected);
        }
        EXPECT_EQ(Get(kSchemesKey, "Count"), Dword(count));
        EXPECT_EQ(Get(kSchemesKey + "\\0", "0"), Sz("First"));
    }
}

// An entry key that is saved keeps no pending edits that were not merged into
// what was saved: the next scheme saved there must not inherit them.
TEST_F(SchemesTest, SavingAnEntryDropsPendingEditsThatWereNotMergedIntoIt) {
    StoreScheme(0, "Alpha", {"A", "", "", "", ""});
    StoreList(EntryKey(1), {"Broken"});
    Put(EntryKey(1), "1", Dword(1));
    StoreList(EntryKey(1) + "\\Add", {"Z:\\Added"});
    StoreList(EntryKey(1) + "\\Delete", {"G"});
    StoreScheme(2, "Gamma", {"G", "", "", "", ""});
    StoreCount(3);
    OrderedSchemeList loaded;
    EXPECT_EQ(LoadSchemes(loaded, {.consumePendingEdits = true, .skipDamagedEntries = true}),
              "Invalid data type for '1'");
    EXPECT_TRUE(KeyExists(EntryKey(1) + "\\Add")) << "the damaged entry keeps its edits";

    SaveSchemes(loaded); // Gamma goes to entry key 1

    OrderedSchemeList reloaded;
    LoadSchemes(reloaded);
    EXPECT_EQ(Names(reloaded), (std::vector<std::string>{"Alpha", "Gamma"}));
    EXPECT_EQ(reloaded.Places(1), (PlacesList{"G", "", "", "", ""}));
    EXPECT_FALSE(KeyExists(EntryKey(1) + "\\Add"));
    EXPECT_FALSE(KeyExists(EntryKey(1) + "\\Delete"));
}

TEST_F(SchemesTest, EntryKeyThatCannotBeCreatedStopsSavingAndNamesIt) {
    StoreScheme(1, "Old", {"old", "", "", "", ""});
    OrderedSchemeList schemes;
    schemes.Add("A", std::make_unique<PlacesList>(PlacesList{"1", "", "", "", ""}));
    schemes.Add("B", std::make_unique<PlacesList>(PlacesList{"2", "", "", "", ""}));
    schemes.Add("C", std::make_unique<PlacesList>(PlacesList{"3", "", "", "", ""}));
    store.FailNext(RegOp::Create, kRegAccessDenied, 3); // program, scheme key, entry 0, entry 1
    try {
        SaveSchemes(schemes);
        FAIL() << "no error raised";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open or create the registry key HKEY_CURRENT_USER\\" + EntryKey(1));
    }
    EXPECT_EQ(Get(EntryKey(0), "0"), Sz("A"));
    EXPECT_EQ(Get(EntryKey(1), "0"), Sz("Old"));
    EXPECT_FALSE(KeyExists(EntryKey(2)));
}

// The store calls per scheme do not grow with the number of schemes.
TEST_F(SchemesTest, StoreCallsPerSchemeAreFewAndConstant) {
    const auto callsFor = [&](int count, auto&& operation) {
        store.Clear();
        OrderedSchemeList schemes;
        for (int i = 0; i < count; ++i)
            schemes.Add(std::string("S").append(std::to_string(i)),
                        std::make_unique<PlacesList>(PlacesList{"C:\\", "D:\\x", "", "", ""}));
        SaveSchemes(schemes);
        store.ResetCounters();
        operation(schemes);
        return store.OperationCount();
    };
    struct Case {
        const char* what;
        std::function<void(const OrderedSchemeList&)> operation;
        int mostPerScheme;
    };
    const auto load = [](SchemeLoadOptions options) {
        return [options](const OrderedSchemeList&) {
            OrderedSchemeList loaded;
            LoadSchemes(loaded, options);
        };
    };
    const Case cases[] = {
        {"save", [](const OrderedSchemeList& schemes) { SaveSchemes(schemes); }, 10},
        {"load keeping edits", load({.consumePendingEdits = false}), 9},
        {"load consuming edits", load({.consumePendingEdits = true}), 9},
        {"window load", load({.consumePendingEdits = true, .skipDamagedEntries = true}), 10},
    };
    // Each further scheme costs the same few calls, however many came before.
    for (const Case& c : cases) {
        const int ten = callsFor(10, c.operation);
        const int twenty = callsFor(20, c.operation);
        const int forty = callsFor(40, c.operation);
        EXPECT_EQ(forty - twenty, 2 * (twenty - ten)) << c.what;
        EXPECT_LE(twenty - ten, 10 * c.mostPerScheme) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, DamagedEntryTest,
                         ::testing::Values(Damage{"MissingKey", [](DamagedEntryTest&) {},
                                                  "List index out of bounds (0)"},
                                           Damage{"NoNameValue",
                                                  [](DamagedEntryTest& test) {
                                                      test.Put(EntryKey(1), "1", Sz("C:\\A"));
                                                  },
                                                  "List index out of bounds (0)"},
                                           Damage{"ValueOfAnotherType",
                                                  [](DamagedEntryTest& test) {
                                                      test.StoreList(EntryKey(1), {"Second"});
                                                      test.Put(EntryKey(1), "1", Dword(1));
                                                  },
                                                  "Invalid data type for '1'"},
                                           Damage{"DeleteEditOfAnotherType",
                                                  [](DamagedEntryTest& test) {
                                                      test.StoreList(EntryKey(1), {"Second", "x"});
                                                      test.Put(EntryKey(1) + "\\Delete", "0",
                                                               Dword(1));
                                                  },
                                                  "Invalid data type for '0'"}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(SchemesTest, ApplyMatchesTheFirstNameIgnoringCase) {
    StoreScheme(0, "Work", {"C:\\First", "", "", "", ""});
    StoreScheme(1, "WORK", {"C:\\Second", "", "", "", ""});
    StoreCount(2);

    EXPECT_TRUE(ApplyScheme("work"));

    EXPECT_EQ(Get(kPlacesBarKey, "Place0"), Sz("C:\\First"));
    EXPECT_EQ(Get(kPlacesBarKey, "Count"), Dword(5));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SchemesTest, ApplyReadsOnlyTheNamesOfTheSchemesBeforeIt) {
    StoreScheme(0, "Damaged", {"C:\\A", "", "", "", ""});
    Put(EntryKey(0), "2", Dword(7));
    StoreScheme(1, "Edited", {"C:\\B", "", "", "", ""});
    StoreList(EntryKey(1) + "\\Delete", {"edited"});
    for (int index = 2; index < 50; ++index)
        StoreScheme(index, "Other " + std::to_string(index), {"C:\\C", "", "", "", ""});
    StoreScheme(50, "Work", {"C:\\Work", "", "", "D:\\", ""});
    StoreScheme(51, "Work", {"C:\\Later", "", "", "", ""});
    Put(EntryKey(51), "3", Dword(1));
    StoreCount(52);

    // A damaged place of another scheme does not stop it; "Delete" may rename an
    // entry, so that entry is read whole and its new first item is its name.
    store.ResetCounters();
    EXPECT_TRUE(ApplyScheme("work"));
    EXPECT_EQ(Get(kPlacesBarKey, "Place0"), Sz("C:\\Work"));
    EXPECT_EQ(Get(kPlacesBarKey, "Place3"), Sz("D:\\"));
    // Besides the names: the scheme applied, and the places bar kept for undoing.
    EXPECT_LE(store.OperationCount(), 4 * 52 + 70);
    EXPECT_EQ(store.OpenHandleCount(), 0);
    EXPECT_TRUE(dialogs.messages.empty());

    EXPECT_FALSE(ApplyScheme("Edited"));
    EXPECT_TRUE(ApplyScheme("C:\\B"));
    EXPECT_EQ(Get(kPlacesBarKey, "Place0"), std::nullopt);

    // The places of the applied scheme and the names on the way are read in full.
    const struct {
        int entry;
        const char* value;
        const char* error;
    } damages[] = {{50, "4", "Invalid data type for '4'"}, {3, "0", "Invalid data type for '0'"}};
    for (const auto& damage : damages) {
        Put(EntryKey(damage.entry), damage.value, Dword(1));
        try {
            ApplyScheme("Work");
            FAIL() << "no error raised";
        } catch (const RegistryError& error) {
            EXPECT_STREQ(error.what(), damage.error);
        }
    }
    EXPECT_EQ(store.OpenHandleCount(), 0);
}

TEST_F(SchemesTest, ApplyOfAnUnknownNameTellsTheUser) {
    StoreScheme(0, "Work", {"C:\\First", "", "", "", ""});
    StoreCount(1);

    EXPECT_FALSE(ApplyScheme("Nothing"));

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Scheme \"Nothing\" not found");
    EXPECT_EQ(dialogs.messages[0].caption, "Error");
    EXPECT_EQ(dialogs.messages[0].flags, 0x30u);
    EXPECT_EQ(dialogs.messages[0].owner, 0u);
    EXPECT_FALSE(KeyExists(kPlacesBarKey));
}

TEST_F(SchemesTest, ApplyKeepsPendingEditsAndTheWindowLoadConsumesThem) {
    StoreScheme(0, "Work", {"C:\\Old", "", "", "", ""});
    StoreCount(1);
    StoreList(EntryKey(0) + "\\Delete", {"c:\\old"});
    StoreList(EntryKey(0) + "\\Add", {"C:\\New"});
    const PlacesList merged{"", "", "", "", "C:\\New"};

    for (int run = 0; run < 2; ++run) {
        EXPECT_TRUE(ApplyScheme("Work"));
        EXPECT_EQ(Get(kPlacesBarKey, "Place0"), std::nullopt);
        EXPECT_EQ(Get(kPlacesBarKey, "Place4"), Sz("C:\\New"));
        EXPECT_TRUE(KeyExists(EntryKey(0) + "\\Add"));
        EXPECT_TRUE(KeyExists(EntryKey(0) + "\\Delete"));
    }

    OrderedSchemeList schemes;
    LoadSchemes(schemes);
    ASSERT_EQ(schemes.Count(), 1);
    EXPECT_EQ(schemes.Places(0), merged);
    EXPECT_FALSE(KeyExists(EntryKey(0) + "\\Add"));
    EXPECT_FALSE(KeyExists(EntryKey(0) + "\\Delete"));
}

TEST_F(SchemesTest, RefusedWriteStopsSavingAndKeepsWhatWasWritten) {
    StoreScheme(1, "Before", {"b", "", "", "", ""});
    OrderedSchemeList schemes;
    schemes.Add("A", std::make_unique<PlacesList>(PlacesList{"1", "2", "3", "4", "5"}));
    schemes.Add("B", std::make_unique<PlacesList>(PlacesList{"6", "7", "8", "9", "0"}));
    // Count, then the six values of entry 0, then entry 1's name.
    store.FailNext(RegOp::Set, kRegAccessDenied, 7);

    try {
        SaveSchemes(schemes);
        FAIL() << "no error raised";
    } catch (const RegistryError& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for '0'");
    }
    EXPECT_EQ(Get(kSchemesKey, "Count"), Dword(2));
    EXPECT_EQ(Get(EntryKey(0), "5"), Sz("5"));
    EXPECT_EQ(Get(EntryKey(1), "0"), Sz("Before"));
    EXPECT_EQ(store.OpenHandleCount(), 0);
}

// Only a key that is not there reads as no schemes.
TEST_F(SchemesTest, KeyThatCannotBeCreatedOrOpenedFailsLoudly) {
    OrderedSchemeList schemes;
    schemes.Add("A", std::make_unique<PlacesList>(PlacesList{"1", "", "", "", ""}));

    store.FailNext(RegOp::Create, kRegAccessDenied, 1);
    try {
        SaveSchemes(schemes);
        FAIL() << "no error raised";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Cannot open or create the registry key HKEY_CURRENT_USER\\"
                                   "Software\\Tarnwick\\Dorvane\\1.x\\Schemes");
    }
    EXPECT_FALSE(KeyExists(kSchemesKey));

    StoreScheme(0, "Stored", {"s", "", "", "", ""});
    StoreCount(1);
    store.FailNext(RegOp::Open);
    OrderedSchemeList loaded;
    EXPECT_THROW(LoadSchemes(loaded), Error);
    EXPECT_EQ(loaded.Count(), 0);
}

// The window's edits go into the store as it is now: what others stored
// meanwhile stays, the store keeps its order, and a deleted scheme is found by
// its exact name where it still is.
TEST_F(SchemesTest, SavingEditsMergesWithTheStoreAsItIsNow) {
    using List = std::vector<std::string>;
    const auto put = [&](const List& names) {
        store.Clear();
        for (std::size_t i = 0; i < names.size(); ++i)
            StoreScheme(static_cast<int>(i), names[i], {"C:\\" + names[i], "", "", "", ""});
        StoreCount(static_cast<std::uint32_t>(names.size()));
    };
    struct Case {
        const char* what;
        List stored;
        bool add;       // the window adds "New"
        int remove;     // then removes this scheme of its list (-1: none)
        List meanwhile; // what another program leaves in the store meanwhile
        List expected;
    };
    const Case cases[] = {
        {"added meanwhile", {"A", "B"}, true, -1, {"A", "B", "C"}, {"A", "B", "C", "New"}},
        {"names differing in case", {"work", "WORK"}, false, 1, {}, {"work"}},
        {"moved meanwhile", {"A", "B", "C"}, false, 2, {"B", "C"}, {"B"}},
        {"deleted meanwhile", {"A", "B"}, false, 0, {"B"}, {"B"}},
        {"added and deleted", {"A"}, true, 1, {}, {"A"}},
    };
    for (const Case& c : cases) {
        put(c.stored);
        OrderedSchemeList list;
        LoadSchemes(list, {.consumePendingEdits = false});
        const std::vector<StoredScheme> loaded = StoredSchemesOf(list);
        if (c.add)
            list.Add("New", nullptr);
        if (c.remove >= 0)
            list.Remove(c.remove);
        if (!c.meanwhile.empty())
            put(c.meanwhile);
        SaveSchemeEdits(EditsSince(loaded, list));
        OrderedSchemeList after;
        LoadSchemes(after);
        EXPECT_EQ(Names(after), c.expected) << c.what;
    }
}

TEST(OrderedSchemeListTest, KeepsOrderChecksIndexesAndFrees) {
    OrderedSchemeList schemes;
    schemes.Add("b", std::make_unique<PlacesList>(PlacesList{"x"}));
    schemes.Add("A", nullptr);
    EXPECT_EQ(schemes.Name(0), "b");
    EXPECT_EQ(schemes.Name(1), "A");
    EXPECT_TRUE(schemes.Places(1).empty());
    EXPECT_THROW(schemes.Name(2), ListIndexError);
    EXPECT_THROW(schemes.Places(-1), ListIndexError);

    auto detached = schemes.DetachPlaces(0);
    ASSERT_NE(detached, nullptr);
    EXPECT_EQ(*detached, PlacesList{"x"});
    EXPECT_TRUE(schemes.Places(0).empty());

    schemes.Clear();
    EXPECT_EQ(schemes.Count(), 0);
}

TEST(OrderedSchemeListTest, RemoveMovesTheLaterSchemesDown) {
    OrderedSchemeList schemes;
    for (const char* name : {"a", "b", "c"})
        schemes.Add(name, std::make_unique<PlacesList>(PlacesList{name}));
    schemes.Remove(1);
    ASSERT_EQ(schemes.Count(), 2);
    EXPECT_EQ(schemes.Name(1), "c");
    EXPECT_EQ(schemes.Places(1), PlacesList{"c"});
    EXPECT_THROW(schemes.Remove(2), ListIndexError);
    EXPECT_EQ(schemes.Count(), 2);
}

} // namespace
} // namespace velbrook::testing
