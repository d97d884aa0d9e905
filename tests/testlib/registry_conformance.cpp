#include "testlib/registry_conformance.h"

#include <algorithm>
#include <numeric>

namespace velbrook::testing {

namespace {

constexpr long kBadPathname = 161;

std::vector<std::uint8_t> Bytes(const std::string& text, bool withNul) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (withNul)
        bytes.push_back(0);
    return bytes;
}

// Reads a value back exactly: type and the bytes the store reports.
struct ReadBack {
    long result;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
};

ReadBack Read(RegistryStore& store, RegKey key, const char* name) {
    ReadBack back{0, 0, {}};
    std::uint32_t size = 0;
    back.result = store.QueryValue(key, name, &back.type, nullptr, &size);
    if (back.result != kRegSuccess)
        return back;
    back.data.resize(size + 1);
    std::uint32_t got = size;
    back.result = store.QueryValue(key, name, &back.type, back.data.data(), &got);
    back.data.resize(got);
    return back;
}

} // namespace

bool DeleteTree(RegistryStore& store, RegKey base, const std::string& subkey) {
    RegKey key = 0;
    if (store.OpenKey(base, subkey.c_str(), kKeyAllAccess, &key) == kRegSuccess) {
        std::uint32_t count = 0;
        std::uint32_t longest = 0;
        store.QueryInfoKey(key, &count, &longest, nullptr);
        std::vector<char> name(longest + 1);
        for (std::uint32_t i = count; i-- > 0;) {
            auto length = static_cast<std::uint32_t>(name.size());
            if (store.EnumKey(key, i, name.data(), &length) == kRegSuccess)
                DeleteTree(store, key, std::string(name.data(), length));
        }
        store.CloseKey(key);
    }
    store.DeleteKey(base, subkey.c_str());
    RegKey probe = 0;
    if (store.OpenKey(base, subkey.c_str(), kKeyAllAccess, &probe) == kRegSuccess) {
        store.CloseKey(probe);
        return false;
    }
    return true;
}

void RegistryConformance::SetUp() {
    store_ = GetParam().makeStore();
    DeleteTree(*store_, kHkeyCurrentUser, GetParam().basePath);
    ASSERT_EQ(kRegSuccess, store_->CreateKey(kHkeyCurrentUser, GetParam().basePath.c_str(),
                                             kKeyAllAccess, &base_));
}

void RegistryConformance::TearDown() {
    for (RegKey key : open_)
        store_->CloseKey(key);
    open_.clear();
    if (base_ != 0)
        store_->CloseKey(base_);
    EXPECT_TRUE(DeleteTree(*store_, kHkeyCurrentUser, GetParam().basePath));
    // The scratch parent goes too once no other run is using it; a key with
    // subkeys is refused.
    const std::string& path = GetParam().basePath;
    const auto slash = path.rfind('\\');
    if (slash != std::string::npos)
        store_->DeleteKey(kHkeyCurrentUser, path.substr(0, slash).c_str());
}

RegKey RegistryConformance::Create(const std::string& subkey) {
    RegKey key = 0;
    EXPECT_EQ(kRegSuccess, store_->CreateKey(base_, subkey.c_str(), kKeyAllAccess, &key)) << subkey;
    open_.push_back(key);
    return key;
}

long RegistryConformance::Open(const std::string& subkey, RegKey* key) {
    const long result = store_->OpenKey(base_, subkey.c_str(), kKeyAllAccess, key);
    if (result == kRegSuccess)
        open_.push_back(*key);
    return result;
}

void RegistryConformance::Close(RegKey key) {
    EXPECT_EQ(kRegSuccess, store_->CloseKey(key));
    open_.erase(std::remove(open_.begin(), open_.end(), key), open_.end());
}

void RegistryConformance::SetBytes(RegKey key, const char* name, std::uint32_t type,
                                   const std::vector<std::uint8_t>& bytes) {
    ASSERT_EQ(kRegSuccess, store_->SetValue(key, name, type, bytes.data(),
                                            static_cast<std::uint32_t>(bytes.size())))
        << name;
}

std::vector<std::string> RegistryConformance::SubkeyNames(RegKey key) {
    std::vector<std::string> names;
    char name[256];
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t length = sizeof name;
        const long result = store_->EnumKey(key, i, name, &length);
        if (result != kRegSuccess) {
            EXPECT_EQ(kRegNoMoreItems, result);
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

TEST_P(RegistryConformance, CreateMakesParentsAndOpenFindsKeysWithoutRegardToCase) {
    RegKey deep = Create("One\\Two\\Three");
    EXPECT_NE(0u, deep);
    RegKey key = 0;
    EXPECT_EQ(kRegSuccess, Open("one\\TWO", &key));
    EXPECT_EQ(std::vector<std::string>{"Three"}, SubkeyNames(key));
    EXPECT_EQ(kRegFileNotFound, Open("One\\Missing", &key));
    EXPECT_EQ(kRegFileNotFound, Open("Missing\\Deeper", &key));

    Create("ONE\\two\\three"); // same key: keeps the case it was created with
    EXPECT_EQ(std::vector<std::string>{"One"}, SubkeyNames(Base()));
}

TEST_P(RegistryConformance, PathsWithBackslashesAndEmptySubkeys) {
    Create("Alpha\\Beta");
    RegKey key = 0;
    EXPECT_EQ(kRegSuccess, Open("Alpha\\Beta\\", &key));
    EXPECT_EQ(kRegSuccess, Open("Alpha\\\\Beta", &key));
    EXPECT_EQ(kBadPathname, Open("\\Alpha", &key));
    RegKey created = 0;
    EXPECT_EQ(kBadPathname, Store().CreateKey(Base(), "\\Gamma", kKeyAllAccess, &created));

    // An empty subkey opens the same key again as a new handle.
    RegKey alpha = Create("Alpha");
    RegKey again = 0;
    ASSERT_EQ(kRegSuccess, Store().OpenKey(alpha, "", kKeyAllAccess, &again));
    EXPECT_NE(alpha, again);
    SetBytes(again, "v", kRegDword, {1, 0, 0, 0});
    EXPECT_EQ(kRegSuccess, Read(Store(), alpha, "v").result);
    EXPECT_EQ(kRegSuccess, Store().CloseKey(again));
    RegKey createdAgain = 0;
    ASSERT_EQ(kRegSuccess, Store().CreateKey(alpha, "", kKeyAllAccess, &createdAgain));
    EXPECT_EQ(kRegSuccess, Read(Store(), createdAgain, "V").result);
    EXPECT_EQ(kRegSuccess, Store().CloseKey(createdAgain));
}

TEST_P(RegistryConformance, ValuesAreStoredByteExact) {
    RegKey key = Create("Values");
    std::vector<std::uint8_t> allBytes(256);
    std::iota(allBytes.begin(), allBytes.end(), std::uint8_t{0});
    std::vector<std::uint8_t> huge(1 << 20);
    for (std::size_t i = 0; i < huge.size(); ++i)
        huge[i] = static_cast<std::uint8_t>(i * 7 + 3);
    struct Case {
        const char* name;
        std::uint32_t type;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {"WithNul", kRegSz, Bytes("text", true)},
        {"WithoutNul", kRegSz, Bytes("text", false)},
        {"EmptySz", kRegSz, {}},
        {"OnlyNul", kRegSz, {0}},
        {"Expand", kRegExpandSz, Bytes("%TEMP%\\x", true)},
        {"Dword", kRegDword, {0x78, 0x56, 0x34, 0x12}},
        {"ShortDword", kRegDword, {0x01, 0x02}},
        {"LongDword", kRegDword, {1, 2, 3, 4, 5, 6}},
        {"Binary", kRegBinary, allBytes},
        {"EmptyBinary", kRegBinary, {}},
        {"Huge", kRegBinary, huge},
        {"Odd", 0x1234, {9, 8, 7}},
        {"", kRegSz, Bytes("default", true)},
        {"NoneType", kRegNone, {}},
    };
    // RegSetValueExA counts a NUL that directly follows an unterminated string
    // as part of it, so each value is passed with a non-NUL byte after its end.
    for (const Case& c : cases) {
        std::vector<std::uint8_t> followed = c.bytes;
        followed.push_back('#');
        ASSERT_EQ(kRegSuccess, Store().SetValue(key, c.name, c.type, followed.data(),
                                                static_cast<std::uint32_t>(c.bytes.size())))
            << c.name;
    }
    for (const Case& c : cases) {
        const ReadBack back = Read(Store(), key, c.name);
        EXPECT_EQ(kRegSuccess, back.result) << c.name;
        EXPECT_EQ(c.type, back.type) << c.name;
        EXPECT_EQ(c.bytes, back.data) << c.name;
    }
    // A null name is the default value too.
    EXPECT_EQ(Bytes("default", true), Read(Store(), key, nullptr).data);

    const std::string longName(300, 'n');
    SetBytes(key, longName.c_str(), kRegSz, Bytes("long", true));
    EXPECT_EQ(Bytes("long", true), Read(Store(), key, longName.c_str()).data);

    SetBytes(key, "WITHNUL", kRegDword, {5, 0, 0, 0}); // replaces, type included
    const ReadBack replaced = Read(Store(), key, "withnul");
    EXPECT_EQ(kRegDword, replaced.type);
    EXPECT_EQ((std::vector<std::uint8_t>{5, 0, 0, 0}), replaced.data);
}

// The W forms: text in UTF-16 both ways, other data as it is.
TEST_P(RegistryConformance, WideFormsGiveTextInUtf16) {
    RegKey key = Create("Wide");
    SetBytes(key, "Ansi", kRegSz, Bytes("ab", true));
    const std::vector<std::uint8_t> cyrillic = {0x14, 0x04, 0x3C, 0x04, 0, 0}; // "Дм"
    ASSERT_EQ(kRegSuccess, Store().SetValueW(key, "Wide", kRegExpandSz, cyrillic.data(),
                                             static_cast<std::uint32_t>(cyrillic.size())));
    const std::vector<std::uint8_t> number = {17, 0, 0, 0};
    ASSERT_EQ(kRegSuccess, Store().SetValueW(key, "Number", kRegDword, number.data(),
                                             static_cast<std::uint32_t>(number.size())));
    const auto readWide = [&](const char* name, std::uint32_t& type) {
        std::uint32_t size = 0;
        EXPECT_EQ(kRegSuccess, Store().QueryValueW(key, name, &type, nullptr, &size)) << name;
        std::vector<std::uint8_t> data(size);
        EXPECT_EQ(kRegSuccess, Store().QueryValueW(key, name, &type, data.data(), &size)) << name;
        data.resize(size);
        return data;
    };
    std::uint32_t type = 0;
    EXPECT_EQ(readWide("Ansi", type), (std::vector<std::uint8_t>{'a', 0, 'b', 0, 0, 0}));
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(readWide("WIDE", type), cyrillic);
    EXPECT_EQ(type, kRegExpandSz);
    EXPECT_EQ(readWide("Number", type), number);
    EXPECT_EQ(Read(Store(), key, "Number").data, number);
    std::uint32_t size = 0;
    EXPECT_EQ(kRegFileNotFound, Store().QueryValueW(key, "Missing", &type, nullptr, &size));
}

TEST_P(RegistryConformance, QueryReportsSizesAndRefusesSmallBuffers) {
    RegKey key = Create("Sizes");
    SetBytes(key, "s", kRegSz, Bytes("hello", true));
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(kRegSuccess, Store().QueryValue(key, "s", &type, nullptr, &size));
    EXPECT_EQ(kRegSz, type);
    EXPECT_EQ(6u, size);
    EXPECT_EQ(kRegSuccess, Store().QueryValue(key, "S", nullptr, nullptr, nullptr));

    SetBytes(key, "b", kRegBinary, {1, 2, 3, 4, 5, 6, 7, 8});
    std::uint8_t small[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    size = sizeof small;
    type = 0;
    EXPECT_EQ(kRegMoreData, Store().QueryValue(key, "b", &type, small, &size));
    EXPECT_EQ(8u, size);
    EXPECT_EQ(kRegBinary, type);

    std::uint8_t roomy[16] = {};
    size = sizeof roomy;
    EXPECT_EQ(kRegSuccess, Store().QueryValue(key, "b", &type, roomy, &size));
    EXPECT_EQ(8u, size);
    EXPECT_EQ(8, roomy[7]);

    size = 0;
    EXPECT_EQ(kRegFileNotFound, Store().QueryValue(key, "missing", &type, nullptr, &size));
    EXPECT_EQ(kRegFileNotFound, Store().QueryValue(key, "", &type, nullptr, &size));
}

TEST_P(RegistryConformance, DeleteValueIgnoresCaseAndFailsForMissing) {
    RegKey key = Create("Delete");
    SetBytes(key, "Name", kRegSz, Bytes("x", true));
    EXPECT_EQ(kRegSuccess, Store().DeleteValue(key, "NAME"));
    EXPECT_EQ(kRegFileNotFound, Read(Store(), key, "Name").result);
    EXPECT_EQ(kRegFileNotFound, Store().DeleteValue(key, "Name"));
}

TEST_P(RegistryConformance, DeleteKeyRefusesKeysWithSubkeysAndMissingKeys) {
    Create("Parent\\Child");
    EXPECT_EQ(kRegAccessDenied, Store().DeleteKey(Base(), "Parent"));
    EXPECT_EQ(kRegFileNotFound, Store().DeleteKey(Base(), "Nothing"));
    EXPECT_EQ(kRegFileNotFound, Store().DeleteKey(Base(), "Nothing\\Below"));
    EXPECT_EQ(kRegSuccess, Store().DeleteKey(Base(), "PARENT\\child"));
    EXPECT_EQ(kRegSuccess, Store().DeleteKey(Base(), "Parent"));
    RegKey key = 0;
    EXPECT_EQ(kRegFileNotFound, Open("Parent", &key));
    EXPECT_TRUE(SubkeyNames(Base()).empty());
}

TEST_P(RegistryConformance, DeleteKeyWithEmptySubkeyDeletesTheKeyItself) {
    RegKey self = Create("Self");
    EXPECT_EQ(kRegSuccess, Store().DeleteKey(self, ""));
    RegKey key = 0;
    EXPECT_EQ(kRegFileNotFound, Open("Self", &key));
}

TEST_P(RegistryConformance, QueryInfoAndEnumerationInRegistryOrder) {
    RegKey list = Create("List");
    std::uint32_t count = 99;
    std::uint32_t longest = 99;
    EXPECT_EQ(kRegSuccess, Store().QueryInfoKey(list, &count, &longest, nullptr));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(0u, longest);

    for (const char* name : {"b", "A", "c", "a_b", "Ab", "Zz", "a1", "LongestName"})
        Create(std::string("List\\") + name);
    EXPECT_EQ(kRegSuccess, Store().QueryInfoKey(list, &count, &longest, nullptr));
    EXPECT_EQ(8u, count);
    EXPECT_EQ(11u, longest);
    const std::vector<std::string> expected = {"A", "a1", "a_b",         "Ab",
                                               "b", "c",  "LongestName", "Zz"};
    EXPECT_EQ(expected, SubkeyNames(list));

    char name[32] = {};
    std::uint32_t length = 11; // no room for the NUL
    EXPECT_EQ(kRegMoreData, Store().EnumKey(list, 6, name, &length));
    EXPECT_EQ(11u, length);
    length = 12;
    EXPECT_EQ(kRegSuccess, Store().EnumKey(list, 6, name, &length));
    EXPECT_EQ(11u, length);
    EXPECT_STREQ("LongestName", name);
    length = sizeof name;
    EXPECT_EQ(kRegNoMoreItems, Store().EnumKey(list, 8, name, &length));
    EXPECT_EQ(kRegNoMoreItems, Store().EnumKey(list, 1000, name, &length));
}

// The value count covers every value of the key itself, the unnamed one
// included, and none of its subkeys'.
TEST_P(RegistryConformance, QueryInfoCountsTheValuesOfTheKey) {
    RegKey key = Create("Counted");
    std::uint32_t values = 99;
    EXPECT_EQ(kRegSuccess, Store().QueryInfoKey(key, nullptr, nullptr, &values));
    EXPECT_EQ(0u, values);

    SetBytes(key, "0", kRegSz, Bytes("a", true));
    SetBytes(key, "1", kRegDword, {1, 0, 0, 0});
    SetBytes(key, "Name", kRegSz, Bytes("", true));
    SetBytes(key, "NAME", kRegBinary, {}); // the same value again
    SetBytes(key, "", kRegSz, Bytes("unnamed", true));
    SetBytes(Create("Counted\\Sub"), "0", kRegSz, Bytes("below", true));
    std::uint32_t subkeys = 99;
    std::uint32_t longest = 99;
    values = 99;
    EXPECT_EQ(kRegSuccess, Store().QueryInfoKey(key, &subkeys, &longest, &values));
    EXPECT_EQ(1u, subkeys);
    EXPECT_EQ(3u, longest);
    EXPECT_EQ(4u, values);

    // Enumeration gives every name once, the unnamed value as "".
    std::vector<std::string> names;
    char name[8];
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t length = sizeof name;
        const long result = Store().EnumValueW(key, i, name, &length, nullptr, nullptr, nullptr);
        if (result != kRegSuccess) {
            EXPECT_EQ(kRegNoMoreItems, result);
            break;
        }
        names.emplace_back(name, length);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"", "0", "1", "Name"}));
    // The wide form gives each value's data as stored with its name, in one call;
    // data that does not fit says its size.
    std::vector<std::string> withData;
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t length = sizeof name;
        std::uint32_t type = 0;
        std::uint8_t data[16] = {};
        std::uint32_t size = 2;
        long result = Store().EnumValueW(key, i, name, &length, &type, data, &size);
        if (result == kRegMoreData) {
            length = sizeof name;
            EXPECT_LE(size, sizeof data);
            result = Store().EnumValueW(key, i, name, &length, &type, data, &size);
        }
        if (result != kRegSuccess) {
            EXPECT_EQ(kRegNoMoreItems, result);
            break;
        }
        withData.push_back(std::string(name, length) + "=" + std::to_string(type) + ":" +
                           std::string(reinterpret_cast<char*>(data), size));
    }
    std::sort(withData.begin(), withData.end());
    EXPECT_EQ(withData, (std::vector<std::string>{std::string("0=1:a\0\0\0", 8),
                                                  std::string("1=4:\1\0\0\0", 8),
                                                  std::string("=1:u\0n\0n\0a\0m\0e\0d\0\0\0", 19),
                                                  std::string("Name=3:", 7)}));
    std::uint32_t tooShort = 2;
    SetBytes(key, "Longer", kRegSz, Bytes("", true));
    EXPECT_EQ(kRegMoreData, Store().EnumValueW(key, 4, name, &tooShort, nullptr, nullptr, nullptr));
    EXPECT_EQ(kRegSuccess, Store().DeleteValue(key, "Longer"));

    EXPECT_EQ(kRegSuccess, Store().DeleteValue(key, "name"));
    EXPECT_EQ(kRegFileNotFound, Store().DeleteValue(key, "2"));
    EXPECT_EQ(kRegSuccess, Store().QueryInfoKey(key, nullptr, nullptr, &values));
    EXPECT_EQ(3u, values);
    EXPECT_EQ(kRegSuccess, Store().QueryInfoKey(key, nullptr, nullptr, nullptr));
}

TEST_P(RegistryConformance, HandleToKeyDeletedElsewhereReportsKeyDeleted) {
    RegKey victim = Create("Victim");
    SetBytes(victim, "v", kRegSz, Bytes("x", true));
    ASSERT_EQ(kRegSuccess, Store().DeleteKey(Base(), "Victim"));

    std::uint32_t type = 0;
    std::uint32_t size = 0;
    const std::uint8_t data[1] = {1};
    RegKey key = 0;
    std::uint32_t count = 0;
    std::uint32_t longest = 0;
    char name[16];
    std::uint32_t length = sizeof name;
    EXPECT_EQ(kRegKeyDeleted, Store().QueryValue(victim, "v", &type, nullptr, &size));
    EXPECT_EQ(kRegKeyDeleted, Store().SetValue(victim, "w", kRegBinary, data, 1));
    EXPECT_EQ(kRegKeyDeleted, Store().DeleteValue(victim, "v"));
    EXPECT_EQ(kRegKeyDeleted, Store().QueryInfoKey(victim, &count, &longest, nullptr));
    EXPECT_EQ(kRegKeyDeleted, Store().EnumKey(victim, 0, name, &length));
    EXPECT_EQ(kRegKeyDeleted,
              Store().EnumValueW(victim, 0, name, &length, nullptr, nullptr, nullptr));
    EXPECT_EQ(kRegKeyDeleted, Store().CreateKey(victim, "Sub", kKeyAllAccess, &key));
    EXPECT_EQ(kRegKeyDeleted, Store().OpenKey(victim, "", kKeyAllAccess, &key));

    // A key made again under the same name is a different key.
    RegKey reborn = Create("Victim");
    EXPECT_EQ(kRegFileNotFound, Read(Store(), reborn, "v").result);
    EXPECT_EQ(kRegKeyDeleted, Store().QueryValue(victim, "v", &type, nullptr, &size));
}

TEST_P(RegistryConformance, ClosedHandleIsInvalid) {
    RegKey key = 0;
    ASSERT_EQ(kRegSuccess, Store().CreateKey(Base(), "Closed", kKeyAllAccess, &key));
    EXPECT_EQ(kRegSuccess, Store().CloseKey(key));
    std::uint32_t size = 0;
    EXPECT_EQ(kRegInvalidHandle, Store().QueryValue(key, "v", nullptr, nullptr, &size));
    EXPECT_EQ(kRegInvalidHandle, Store().CloseKey(key));
    EXPECT_EQ(kRegInvalidHandle, Store().QueryValue(0, "v", nullptr, nullptr, &size));
}

// Read access reads such a key; every way of changing it is refused. (Wine
// does not refuse creating a subkey below it or deleting it; Windows does.)
TEST_P(RegistryConformance, AKeyOfThePolicyIsReadButNeverChanged) {
    const RegKey made = Create("Policy");
    SetBytes(made, "Place0", kRegSz, Bytes("C:\\Held", true));
    Close(made);
    const std::string path = GetParam().basePath + "\\Policy";
    GetParam().setReadOnly(Store(), path, true);
    RegKey key = 0;
    ASSERT_EQ(kRegSuccess, Store().OpenKey(Base(), "Policy", kKeyRead, &key));
    EXPECT_EQ(Read(Store(), key, "Place0").data, Bytes("C:\\Held", true));
    RegKey refused = 0;
    const std::uint8_t data[] = {'x', 0};
    const std::pair<const char*, long> changes[] = {
        {"open to write", Store().OpenKey(Base(), "Policy", kKeyReadWrite, &refused)},
        {"create to write", Store().CreateKey(Base(), "Policy", kKeyReadWrite, &refused)},
        {"set a value", Store().SetValue(key, "Place1", kRegSz, data, sizeof data)},
        {"delete a value", Store().DeleteValue(key, "Place0")},
    };
    for (const auto& [what, result] : changes)
        EXPECT_EQ(kRegAccessDenied, result) << what;
    EXPECT_EQ(Read(Store(), key, "Place0").data, Bytes("C:\\Held", true));
    Store().CloseKey(key);
    GetParam().setReadOnly(Store(), path, false);
}

int RegistryConformanceSuiteAnchor() {
    return 0;
}

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RegistryConformance);

} // namespace velbrook::testing
