#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "tests/doubles/memory_registry_store.h"
#include "support/registry.h"

namespace velbrook {
namespace {

class RegistryTest : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_EQ(0, store.OpenHandleCount()); }

    RegKey Raw(const std::string& path) {
        RegKey key = 0;
        EXPECT_EQ(kRegSuccess,
                  store.CreateKey(kHkeyCurrentUser, path.c_str(), kKeyAllAccess, &key));
        return key;
    }
    void SetRaw(const std::string& path, const std::string& name, std::uint32_t type,
                const std::vector<std::uint8_t>& bytes) {
        RegKeyHandle key(store, Raw(path));
        ASSERT_EQ(kRegSuccess, store.SetValue(key.Get(), name.c_str(), type, bytes.data(),
                                              static_cast<std::uint32_t>(bytes.size())));
    }
    void SetList(const std::string& path, const StringList& items) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            std::vector<std::uint8_t> bytes(items[i].begin(), items[i].end());
            bytes.push_back(0);
            SetRaw(path, std::to_string(i), kRegSz, bytes);
        }
    }
    bool Exists(const std::string& path) {
        RegKey key = 0;
        if (store.OpenKey(kHkeyCurrentUser, path.c_str(), kKeyAllAccess, &key) != kRegSuccess)
            return false;
        store.CloseKey(key);
        return true;
    }
    template <typename F> std::string ErrorOf(F&& action) {
        try {
            action();
        } catch (const RegistryError& e) {
            return e.what();
        }
        return "(nothing raised)";
    }

    MemoryRegistryStore store;
};

TEST_F(RegistryTest, OpenKeyContinuesRelativePathsAndKeepsTheKeyOnFailure) {
    ListRegistryCursor reg(store);
    EXPECT_EQ(kHkeyCurrentUser, reg.RootKey());
    EXPECT_EQ(0u, reg.CurrentKey());
    ASSERT_TRUE(reg.OpenKey("Software\\Tarnwick\\Dorvane\\1.x", true));
    ASSERT_TRUE(reg.OpenKey("Schemes", true));
    EXPECT_EQ("Software\\Tarnwick\\Dorvane\\1.x\\Schemes", reg.CurrentPath());
    const RegKey schemes = reg.CurrentKey();

    EXPECT_FALSE(reg.OpenKey("Missing", false));
    EXPECT_EQ(schemes, reg.CurrentKey());
    EXPECT_EQ("Software\\Tarnwick\\Dorvane\\1.x\\Schemes", reg.CurrentPath());
    EXPECT_TRUE(Exists("Software\\Tarnwick\\Dorvane\\1.x\\Schemes"));

    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick", false));
    EXPECT_EQ("Software\\Tarnwick", reg.CurrentPath());
    EXPECT_EQ(1, store.OpenHandleCount()); // the old key was closed
    reg.CloseKey();
    EXPECT_EQ(0u, reg.CurrentKey());
    EXPECT_EQ("", reg.CurrentPath());
}

TEST_F(RegistryTest, DeleteKeyRemovesWholeTreesAndNeverTheRoot) {
    store.CloseKey(Raw("Tree\\A\\A1"));
    store.CloseKey(Raw("Tree\\A\\A2"));
    store.CloseKey(Raw("Tree\\B"));
    store.CloseKey(Raw("Keep"));
    RegistryCursor reg(store);
    EXPECT_TRUE(reg.DeleteKey("Tree"));
    EXPECT_FALSE(Exists("Tree"));
    EXPECT_FALSE(reg.DeleteKey("Tree"));
    EXPECT_FALSE(reg.DeleteKey(""));
    EXPECT_FALSE(reg.DeleteKey("\\"));
    EXPECT_TRUE(Exists("Keep"));

    // Relative to the open key; a protected key stays and so does its parent.
    store.CloseKey(Raw("Base\\Inner\\Leaf"));
    store.ProtectKey("Base\\Inner\\Leaf");
    ASSERT_TRUE(reg.OpenKey("Base", false));
    EXPECT_FALSE(reg.DeleteKey("Inner"));
    EXPECT_TRUE(Exists("Base\\Inner\\Leaf"));
    store.ProtectKey("Base\\Inner\\Leaf", false);
    EXPECT_TRUE(reg.DeleteKey("Inner"));
    EXPECT_TRUE(Exists("Base"));
    EXPECT_FALSE(Exists("Base\\Inner"));
}

TEST_F(RegistryTest, DataTypesAndExistence) {
    SetRaw("K", "s", kRegSz, {'a', 0});
    SetRaw("K", "e", kRegExpandSz, {'a', 0});
    SetRaw("K", "d", kRegDword, {1, 0, 0, 0});
    SetRaw("K", "b", kRegBinary, {1});
    SetRaw("K", "m", kRegMultiSz, {0, 0});
    RegistryCursor reg(store);
    ASSERT_TRUE(reg.OpenKey("K", KeyMode::Write));
    const std::pair<const char*, RegDataType> table[] = {
        {"s", RegDataType::String},  {"e", RegDataType::ExpandString},
        {"d", RegDataType::Integer}, {"b", RegDataType::Binary},
        {"m", RegDataType::Unknown}, {"missing", RegDataType::Unknown},
        {"S", RegDataType::String},
    };
    for (const auto& [name, type] : table)
        EXPECT_EQ(type, reg.GetDataType(name)) << name;
    EXPECT_TRUE(reg.ValueExists("D"));
    EXPECT_FALSE(reg.ValueExists("missing"));
    EXPECT_TRUE(reg.DeleteValue("d"));
    EXPECT_FALSE(reg.DeleteValue("d"));
}

TEST_F(RegistryTest, ReadStringHandlesUntrustedData) {
    std::vector<std::uint8_t> huge(1 << 20, 'h');
    huge.back() = 0;
    SetRaw("K", "plain", kRegSz, {'a', 'b', 'c', 0});
    SetRaw("K", "noNul", kRegSz, {'a', 'b', 'c'});
    SetRaw("K", "empty", kRegSz, {});
    SetRaw("K", "innerNul", kRegSz, {'a', 0, 'b', 0});
    SetRaw("K", "expand", kRegExpandSz, {'%', 'T', 'E', 'M', 'P', '%', 0});
    SetRaw("K", "huge", kRegSz, huge);
    SetRaw("K", "dword", kRegDword, {1, 0, 0, 0});
    SetRaw("K", "binary", kRegBinary, {'x', 0});
    RegistryCursor reg(store);
    ASSERT_TRUE(reg.OpenKey("K", false));
    EXPECT_EQ("abc", reg.ReadString("plain"));
    EXPECT_EQ("abc", reg.ReadString("noNul"));
    EXPECT_EQ("", reg.ReadString("empty"));
    EXPECT_EQ("a", reg.ReadString("innerNul"));
    EXPECT_EQ("%TEMP%", reg.ReadString("expand"));
    EXPECT_EQ(std::string(huge.size() - 1, 'h'), reg.ReadString("huge"));
    EXPECT_EQ("", reg.ReadString("missing"));
    EXPECT_EQ("Invalid data type for 'dword'", ErrorOf([&] { reg.ReadString("dword"); }));
    EXPECT_EQ("Invalid data type for 'binary'", ErrorOf([&] { reg.ReadString("binary"); }));

    // Too long for the first query, then refused: the read itself fails.
    store.FailNext(RegOp::Query, kRegAccessDenied, 1);
    EXPECT_EQ("Failed to get data for 'huge'", ErrorOf([&] { reg.ReadString("huge"); }));
    // Only a missing value reads as empty; any other failure is raised.
    for (const long error : {kRegAccessDenied, kRegInvalidHandle, kRegKeyDeleted}) {
        store.FailNext(RegOp::Query, error);
        EXPECT_EQ("Failed to get data for 'plain'", ErrorOf([&] { reg.ReadString("plain"); }))
            << error;
    }
    store.FailNext(RegOp::Query, kRegFileNotFound);
    EXPECT_EQ("", reg.ReadString("plain"));
}

TEST_F(RegistryTest, ReadIntegerHandlesUntrustedData) {
    SetRaw("K", "d", kRegDword, {0xFE, 0xFF, 0xFF, 0xFF});
    SetRaw("K", "short", kRegDword, {0x01, 0x02});
    SetRaw("K", "none", kRegDword, {});
    SetRaw("K", "long", kRegDword, {1, 2, 3, 4, 5});
    SetRaw("K", "sz", kRegSz, {'1', 0});
    SetRaw("K", "longSz", kRegSz, {'1', '2', '3', '4', 0});
    RegistryCursor reg(store);
    ASSERT_TRUE(reg.OpenKey("K", false));
    EXPECT_EQ(-2, reg.ReadInteger("d"));
    EXPECT_EQ(0x0201, reg.ReadInteger("short")); // the missing bytes read as zero
    EXPECT_EQ(0, reg.ReadInteger("none"));
    EXPECT_EQ("Failed to get data for 'long'", ErrorOf([&] { reg.ReadInteger("long"); }));
    EXPECT_EQ("Failed to get data for 'missing'", ErrorOf([&] { reg.ReadInteger("missing"); }));
    EXPECT_EQ("Invalid data type for 'sz'", ErrorOf([&] { reg.ReadInteger("sz"); }));
    EXPECT_EQ("Failed to get data for 'longSz'", ErrorOf([&] { reg.ReadInteger("longSz"); }));
}

TEST_F(RegistryTest, WritesRoundTripWithNamesAndTextsBeyondMaxPath) {
    const std::string component(200, 'k');
    const std::string path = component + "\\" + component + "\\" + component;
    const std::string name(300, 'n');
    const std::string text(5000, 't');
    RegistryCursor reg(store);
    ASSERT_TRUE(reg.OpenKey(path, true));
    reg.WriteString(name, text);
    reg.WriteString("empty", "");
    reg.WriteInteger("min", INT32_MIN);
    EXPECT_EQ(text, reg.ReadString(name));
    EXPECT_EQ("", reg.ReadString("empty"));
    EXPECT_TRUE(reg.ValueExists("empty"));
    EXPECT_EQ(INT32_MIN, reg.ReadInteger("min"));

    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(kRegSuccess, store.QueryValue(reg.CurrentKey(), "empty", &type, nullptr, &size));
    EXPECT_EQ(kRegSz, type);
    EXPECT_EQ(1u, size); // the NUL is stored
}

TEST_F(RegistryTest, RefusedWritesRaiseAndLeaveNoHandles) {
    {
        ListRegistryCursor reg(store);
        ASSERT_TRUE(reg.OpenKey("K", true));
        store.FailNext(RegOp::Set);
        EXPECT_EQ("Failed to set data for 'x'", ErrorOf([&] { reg.WriteString("x", "v"); }));
        store.FailNext(RegOp::Set);
        EXPECT_EQ("Failed to set data for 'n'", ErrorOf([&] { reg.WriteInteger("n", 1); }));
        EXPECT_FALSE(reg.ValueExists("x"));

        const StringList list = {"a", "b", "c"};
        store.FailNext(RegOp::Set, kRegAccessDenied, 1);
        EXPECT_EQ("Failed to set data for '1'",
                  ErrorOf([&] { reg.WriteStringList("List", &list); }));
        // An error takes the cursor back to the key it was on.
        EXPECT_EQ("K", reg.CurrentPath());
        store.FailNext(RegOp::Create);
        EXPECT_FALSE(reg.OpenKey("Other", true));
        EXPECT_EQ("K", reg.CurrentPath());
    }
    EXPECT_EQ(0, store.OpenHandleCount());
}

TEST_F(RegistryTest, WriteStringListReplacesTheRunAndReturnsToTheKey) {
    SetList("S\\L", {"0", "1", "2", "3", "4"});
    SetRaw("S\\L", "6", kRegSz, {'6', 0});
    ListRegistryCursor reg(store);
    ASSERT_TRUE(reg.OpenKey("S", false));
    const StringList ab = {"a", "b"};
    reg.WriteStringList("L", &ab);
    EXPECT_EQ("S", reg.CurrentPath());
    ASSERT_TRUE(reg.OpenKey("L", false));
    EXPECT_EQ("a", reg.ReadString("0"));
    EXPECT_EQ("b", reg.ReadString("1"));
    for (const char* gone : {"2", "3", "4"})
        EXPECT_FALSE(reg.ValueExists(gone)) << gone;
    EXPECT_TRUE(reg.ValueExists("6"));

    reg.CloseKey();
    const StringList empty;
    reg.WriteStringList("S\\L", &empty);
    reg.WriteStringList("S\\New", &empty);
    reg.WriteStringList("S\\Never", nullptr);
    EXPECT_EQ(0u, reg.CurrentKey()); // nothing was open before
    EXPECT_TRUE(Exists("S\\New"));
    EXPECT_FALSE(Exists("S\\Never"));
    ASSERT_TRUE(reg.OpenKey("S\\L", false));
    EXPECT_FALSE(reg.ValueExists("0"));
    EXPECT_TRUE(reg.ValueExists("6"));
}

TEST_F(RegistryTest, ReadStringListMergesPendingEdits) {
    for (PendingEdits pending : {PendingEdits::Keep, PendingEdits::Consume}) {
        const std::string list = "Software\\X\\Schemes\\3";
        SetList(list, {"x", "y", "x"});
        SetList(list + "\\Delete", {"X"});
        SetList(list + "\\Add", {"z", "x"});
        SetRaw(list, "5", kRegSz, {'g', 0}); // beyond a gap
        ListRegistryCursor reg(store);
        ASSERT_TRUE(reg.OpenKey("Software\\X\\Schemes", false));
        StringList items = {"old"};
        reg.ReadStringList("3", &items, pending);
        EXPECT_EQ((StringList{"y", "z", "x"}), items);
        EXPECT_EQ("Software\\X\\Schemes", reg.CurrentPath());
        const bool kept = pending == PendingEdits::Keep;
        EXPECT_EQ(kept, Exists(list + "\\Add"));
        EXPECT_EQ(kept, Exists(list + "\\Delete"));
    }
}

TEST_F(RegistryTest, ReadStringListLeavesTargetAloneWhenKeyIsMissing) {
    ListRegistryCursor reg(store);
    ASSERT_TRUE(reg.OpenKey("S", true));
    StringList items = {"keep"};
    reg.ReadStringList("Missing", &items);
    EXPECT_EQ(StringList{"keep"}, items);
    EXPECT_EQ("S", reg.CurrentPath());
    reg.ReadStringList("Missing", nullptr);

    SetRaw("S\\Bad", "0", kRegDword, {1, 0, 0, 0});
    EXPECT_EQ("Invalid data type for '0'", ErrorOf([&] { reg.ReadStringList("Bad", &items); }));
    SetList("S\\Bad\\Add", {"a"});
    EXPECT_EQ("Invalid data type for '0'", ErrorOf([&] { reg.ReadFirstListItem("Bad"); }));
    EXPECT_EQ("S", reg.CurrentPath());
    EXPECT_EQ(1, store.OpenHandleCount());
}

TEST_F(RegistryTest, PendingEditsThatCouldNotBeOpenedAreKept) {
    struct Case {
        int skip; // opens before the refused one: the list key, then "Delete", then "Add"
        StringList items;
        bool deleteKept, addKept;
    };
    const Case cases[] = {
        {1, {"a", "b", "c"}, true, false},
        {2, {"b"}, false, true},
    };
    for (const Case& c : cases) {
        store.Clear();
        SetList("L", {"a", "b"});
        SetList("L\\Delete", {"a"});
        SetList("L\\Add", {"c"});
        ListRegistryCursor reg(store);
        StringList items;
        store.FailNext(RegOp::Open, kRegAccessDenied, c.skip);
        reg.ReadStringList("L", &items);
        EXPECT_EQ(c.items, items) << c.skip;
        EXPECT_EQ(c.deleteKept, Exists("L\\Delete")) << c.skip;
        EXPECT_EQ(c.addKept, Exists("L\\Add")) << c.skip;
    }
}

TEST_F(RegistryTest, ListOperationsMakeTheKeptKeyCurrentAgain) {
    SetList("S\\L", {"x", "y"});
    ListRegistryCursor reg(store);
    ASSERT_TRUE(reg.OpenKey("S", false));
    const RegKey before = reg.CurrentKey();
    StringList items;
    reg.ReadStringList("L", &items);
    EXPECT_EQ((StringList{"x", "y"}), items);
    EXPECT_EQ(before, reg.CurrentKey());
    EXPECT_EQ("S", reg.CurrentPath());
    const StringList one = {"z"};
    EXPECT_TRUE(reg.WriteStringList("L", &one));
    EXPECT_EQ(before, reg.CurrentKey());
    EXPECT_EQ("S", reg.CurrentPath());
    // No open by path is needed to get back, so a store that opens nothing
    // more still leaves the cursor on "S".
    store.FailNext(RegOp::Open, kRegAccessDenied, 1);
    store.FailNext(RegOp::Open, kRegAccessDenied, 2);
    store.FailNext(RegOp::Open, kRegAccessDenied, 3);
    reg.ReadStringList("L", &items);
    EXPECT_EQ(StringList{"z"}, items);
    EXPECT_EQ("S", reg.CurrentPath());
    store.ClearFaults();
    store.FailNext(RegOp::Create);
    EXPECT_FALSE(reg.WriteStringList("New", &one));
    EXPECT_EQ(before, reg.CurrentKey());
    EXPECT_FALSE(Exists("S\\New"));
}

TEST_F(RegistryTest, ValuesAreReadInOneQueryWhenShortAndTwoWhenLong) {
    RegistryCursor reg(store);
    ASSERT_TRUE(reg.OpenKey("K", true));
    for (const std::size_t length : {0u, 1u, 254u, 255u, 256u, 300u, 5000u}) {
        const std::string text(length, 't');
        reg.WriteString("v", text);
        store.ResetCounters();
        EXPECT_EQ(text, reg.ReadString("v")) << length;
        EXPECT_EQ(length + 1 <= 256 ? 1 : 2, store.OperationCount()) << length;
    }
    store.ResetCounters();
    EXPECT_EQ(std::nullopt, reg.ReadStringIfExists("missing"));
    EXPECT_EQ(std::nullopt, reg.ReadIntegerIfExists("missing"));
    EXPECT_EQ(2, store.OperationCount());
    reg.WriteInteger("n", 7);
    EXPECT_EQ(7, reg.ReadIntegerIfExists("n"));
    store.FailNext(RegOp::Query);
    EXPECT_EQ("Failed to get data for 'n'", ErrorOf([&] { reg.ReadIntegerIfExists("n"); }));
    store.FailNext(RegOp::Query);
    EXPECT_EQ("Failed to get data for 'v'", ErrorOf([&] { reg.ReadStringIfExists("v"); }));
}

// The key's counts spare the opens of sub-lists it cannot have and the query
// for the value that would end the list; without them the list is read as it
// always was, to the same result.
TEST_F(RegistryTest, ReadStringListAsksOnlyWhatTheKeyCountsLeaveOpen) {
    struct Case {
        const char* what;
        std::function<void()> prepare;
        StringList items;
    };
    const std::vector<std::uint8_t> named = {'n', 0};
    const Case cases[] = {
        {"plain",
         [&] {
             SetList("L", {"a", "", "b"});
         },
         {"a", "", "b"}},
        {"empty", [&] { store.CloseKey(Raw("L")); }, {}},
        {"other value",
         [&] {
             SetList("L", {"a", "b"});
             SetRaw("L", "name", kRegSz, named);
         },
         {"a", "b"}},
        {"gap",
         [&] {
             SetList("L", {"a"});
             SetRaw("L", "2", kRegSz, named);
         },
         {"a"}},
        {"other subkey",
         [&] {
             SetList("L", {"a", "b"});
             SetList("L\\Other", {"x"});
         },
         {"a", "b"}},
        {"pending edits",
         [&] {
             SetList("L", {"a", "b"});
             SetList("L\\Delete", {"A"});
             SetList("L\\Add", {"c"});
         },
         {"b", "c"}},
    };
    for (const Case& c : cases) {
        int calls[2] = {};
        for (const bool uncounted : {false, true}) {
            store.Clear();
            c.prepare();
            ListRegistryCursor reg(store);
            StringList items = {"old"};
            store.ResetCounters();
            if (uncounted)
                store.FailNext(RegOp::QueryInfo);
            reg.ReadStringList("L", &items, PendingEdits::Keep);
            calls[uncounted] = store.OperationCount();
            EXPECT_EQ(c.items, items) << c.what << uncounted;
            EXPECT_EQ(0, store.OpenHandleCount()) << c.what << uncounted;
        }
        EXPECT_LT(calls[false], calls[true]) << c.what;
    }
}

TEST_F(RegistryTest, PendingEditsAreNeverDeletedBelowTheRoot) {
    SetList("Add", {"precious"});
    SetList("Delete", {"precious"});
    SetList("L", {"a"});
    SetList("L\\Delete", {"a"});
    ListRegistryCursor reg(store);
    ASSERT_TRUE(reg.OpenKey("L", false));
    // Reopening the list key after its "Delete" subkey fails: no key is open then.
    store.FailNext(RegOp::Open, kRegFileNotFound, 1);
    StringList items;
    reg.ReadStringList("", &items);
    EXPECT_TRUE(Exists("Add"));
    EXPECT_TRUE(Exists("Delete"));
}

TEST_F(RegistryTest, OpenParentKeyStepsUpOneLevel) {
    store.CloseKey(Raw("A\\B\\C"));
    ListRegistryCursor reg(store);
    ASSERT_TRUE(reg.OpenKey("A\\B\\C", false));
    reg.OpenParentKey();
    EXPECT_EQ("A\\B", reg.CurrentPath());
    reg.OpenParentKey();
    reg.OpenParentKey();
    EXPECT_EQ("", reg.CurrentPath());
    EXPECT_NE(0u, reg.CurrentKey()); // the root itself
}

} // namespace
} // namespace velbrook
