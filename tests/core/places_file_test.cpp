#include <gtest/gtest.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "core/places_file.h"
#include "registry_fixture.h"
#include "support/code_page.h"
#include "support/errors.h"
#include "support/files.h"
#include "support/ini_file.h"
#include "support/messages.h"
#include "testlib/read_witness.h"
#include "testlib/scripted_dialogs.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace velbrook::testing {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
// A file that another program holds open without delete sharing cannot be replaced.
class WriteBlocker {
  public:
    explicit WriteBlocker(const std::string& file) : holder_(file, std::ios::binary) {}

  private:
    std::ifstream holder_;
};
#else
// Permissions do not stop root, but a file size limit stops every writer.
class WriteBlocker {
  public:
    explicit WriteBlocker(const std::string&) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = saved_;
        tiny.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~WriteBlocker() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    WriteBlocker(const WriteBlocker&) = delete;
    WriteBlocker& operator=(const WriteBlocker&) = delete;

  private:
    rlimit saved_{};
    void (*oldHandler_)(int) = SIG_DFL;
};
#endif

class PlacesFileTest : public RegistryTest {
  protected:
    void SetUp() override {
        RegistryTest::SetUp();
        dir = fs::temp_directory_path() /
              ("velbrook-core-" + std::to_string(std::random_device{}()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
        RegistryTest::TearDown();
    }

    std::string PathOf(const std::string& name) const { return (dir / name).string(); }

    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }
    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    int FilesInDir() const {
        return static_cast<int>(std::distance(fs::directory_iterator(dir), {}));
    }

    void PresetPlacesBar() {
        for (int slot = 0; slot < kPlaceSlots; ++slot)
            Put(kPlacesBarKey, PlaceValueName(slot), Sz("old" + std::to_string(slot)));
    }
    std::vector<std::optional<StoredValue>> Places() {
        std::vector<std::optional<StoredValue>> places;
        for (int slot = 0; slot < kPlaceSlots; ++slot)
            places.push_back(Get(kPlacesBarKey, PlaceValueName(slot)));
        return places;
    }

    fs::path dir;
    ScriptedDialogs dialogs;
    DialogsScope dialogsScope{dialogs};
};

TEST_F(PlacesFileTest, MissingFileIsReportedAndChangesNothing) {
    const std::string names[] = {"", PathOf("missing.ini"), dir.string()};
    for (const std::string& name : names) {
        dialogs.messages.clear();
        EXPECT_FALSE(LoadPlacesFile(name)) << name;
        ASSERT_EQ(dialogs.messages.size(), 1u) << name;
        EXPECT_EQ(dialogs.messages[0].text, "File \"" + name + "\" not found");
        EXPECT_EQ(dialogs.messages[0].caption, "Error");
        EXPECT_EQ(dialogs.messages[0].flags, 48u);
    }
    EXPECT_FALSE(KeyExists(kPlacesBarKey));
}

TEST_F(PlacesFileTest, AppliesTheFivePlacesOfAFile) {
    struct Case {
        const char* what;
        std::string content;
        std::vector<std::optional<std::string>> slots;
    };
    const auto none = std::nullopt;
    const Case cases[] = {
        {"exact case",
         "[Places]\r\nPlace0=C:\\Work\r\nPlace4=E:\\\r\n",
         {"C:\\Work", none, none, none, "E:\\"}},
        {"lower case", "[places]\r\nplace0=C:\\Work\r\n", {"C:\\Work", none, none, none, none}},
        {"blanks around",
         "[ Places ]\n  Place0 = C:\\Work  \n",
         {"C:\\Work", none, none, none, none}},
        {"only slot 3", "[Places]\r\nPlace3=D:\\x\r\n", {none, none, none, "D:\\x", none}},
        {"empty file", "", {none, none, none, none, none}},
        {"foreign keys and comments",
         "[Places]\r\n;Place0=C:\\Comment\r\n  ; Place1=C:\\Too\r\nPlace5=C:\\Five\r\nX=1\r\n",
         {none, none, none, none, none}},
        {"byte-order mark",
         "\xEF\xBB\xBF[Places]\r\nPlace0=C:\\A\r\n",
         {"C:\\A", none, none, none, none}},
        {"only a byte-order mark", "\xEF\xBB\xBF", {none, none, none, none, none}},
        {"equals in value, blank value",
         "[Places]\r\nPlace1=a=b\r\nPlace2=   \r\n",
         {none, "a=b", none, none, none}},
        {"quoted paths: one pair around the whole value only",
         "[Places]\r\nPlace0=\"C:\\Program Files\"\r\nPlace1= \"D:\\x\" \r\n"
         "Place2=\"a\" \"b\"\r\nPlace3=\"\"\r\n",
         {"C:\\Program Files", "D:\\x", "\"a\" \"b\"", none, none}},
    };
    const std::string file = PathOf("places.ini");
    for (const Case& c : cases) {
        PresetPlacesBar();
        WriteBytes(file, c.content);

        EXPECT_TRUE(LoadPlacesFile(file)) << c.what;

        for (int slot = 0; slot < kPlaceSlots; ++slot) {
            const auto expected = c.slots[slot] ? std::optional(Sz(*c.slots[slot])) : std::nullopt;
            EXPECT_EQ(Get(kPlacesBarKey, PlaceValueName(slot)), expected)
                << c.what << ", slot " << slot;
        }
        EXPECT_EQ(Get(kPlacesBarKey, "Count"), Dword(5)) << c.what;
        EXPECT_EQ(ReadBytes(file), c.content) << c.what << ": reading must not rewrite";
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PlacesFileTest, DeviceNamesAreRefusedWithoutReadingAndChangeNothing) {
    PresetPlacesBar();
    for (const std::string& name : {PathOf("com1.ini"), PathOf("NUL"), std::string("CON")}) {
        std::string failure = "no error raised";
        try {
            LoadPlacesFile(name);
        } catch (const Error& error) {
            failure = error.what();
        }
        EXPECT_EQ(failure, "Cannot read the places file \"" + name +
                               "\": the name is that of a device, not of a file.");
        EXPECT_EQ(Get(kPlacesBarKey, "Place0"), Sz("old0"));
        EXPECT_EQ(Get(kPlacesBarKey, "Count"), std::nullopt);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// A stored place with a line break would end its line and start a key of its
// own; such places are left out and named, and the file holds one line a key.
TEST_F(PlacesFileTest, PlacesWithControlCharactersAreLeftOutAndNamed) {
    const PlacesList rows = {"C:\\a\r\nPlace4=C:\\injected\r\n[Other]", "C:\\Kept", "D:\\tab\there",
                             "", "E:\\bell\x07"};
    const std::string file = PathOf("hostile.ini");
    WritePlacesFile(file, rows);

    EXPECT_EQ(ReadBytes(file), "[Places]\r\nPlace1=C:\\Kept\r\n\r\n");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "The places file was saved without these places, whose paths hold line breaks or "
              "other control characters:\n\nC:\\a[CR][LF]Place4=C:\\injected[CR][LF][Other]\n"
              "D:\\tab[TAB]here\nE:\\bell[7]");
    EXPECT_EQ(dialogs.messages[0].caption, "Information");

    EXPECT_TRUE(LoadPlacesFile(file));
    EXPECT_EQ(Places(),
              (std::vector<std::optional<StoredValue>>{std::nullopt, Sz("C:\\Kept"), std::nullopt,
                                                       std::nullopt, std::nullopt}));
}

// Text that is no places file changes nothing and is named in the error, and
// so does a file too large to be one (before it is read); an empty file stays
// five empty places.
TEST_F(PlacesFileTest, FileWithoutAPlacesSectionIsRefused) {
    std::string noise(4096, '\0');
    std::mt19937 random(15);
    for (char& c : noise)
        c = static_cast<char>(random());
    const std::string file = PathOf("not places.ini");
    const std::string noSection =
        "The file \"" + file + "\" is not a places file: it has no [Places] section.";
    const std::string huge = "[Places]\r\nPlace0=C:\\A\r\n" + std::string(1 << 20, ';');
    const std::pair<std::string, std::string> cases[] = {
        {"[Other]\r\nPlace0=C:\\A\r\n", noSection},
        {"Place0=C:\\A\r\n", noSection},
        {"\r\n", noSection},
        {noise, noSection},
        {huge, FormatText(msg::kCannotReadPlacesFile, file, msg::kReasonTooLarge)}};
    for (const auto& [content, expected] : cases) {
        PresetPlacesBar();
        WriteBytes(file, content);
        std::string failure = "no error raised";
        try {
            LoadPlacesFile(file);
        } catch (const Error& error) {
            failure = error.what();
        }
        EXPECT_EQ(failure, expected);
        EXPECT_EQ(Get(kPlacesBarKey, "Place0"), Sz("old0"));
    }
}

// Files saved as UTF-8 (with or without a byte-order mark) or by older programs
// in the legacy code page apply the same places; what the program writes reads
// back exactly, as UTF-8.
TEST_F(PlacesFileTest, EncodingsOfTheFile) {
    const std::u16string renee = u"C:\\Ren\u00e9e";
    const std::string contents[] = {"[Places]\r\nPlace0=C:\\Ren\xC3\xA9"
                                    "e\r\n",
                                    "\xEF\xBB\xBF[Places]\r\nPlace0=C:\\Ren\xC3\xA9"
                                    "e\r\n",
                                    "[Places]\r\nPlace0=C:\\Ren\xE9"
                                    "e\r\n"};
    const std::string file = PathOf("encoded.ini");
    // Notepad's "Unicode" (UTF-16 with a little-endian mark) and its big-endian twin.
    std::string little = "\xFF\xFE";
    std::string big = "\xFE\xFF";
    for (const char16_t c : u"[Places]\r\nPlace0=" + renee + u"\r\n") {
        little += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        big += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    }
    for (const std::string& content : {contents[0], contents[1], contents[2], little, big}) {
        WriteBytes(file, content);
        EXPECT_TRUE(LoadPlacesFile(file));
        EXPECT_EQ(GetWide(kPlacesBarKey, "Place0"), renee);
    }

    const std::string rows[] = {*Utf16ToAnsi(renee), "C:\\Plain"};
    WritePlacesFile(file, {rows[0], "", "", "", rows[1]});
    EXPECT_EQ(ReadBytes(file), "[Places]\r\nPlace0=C:\\Ren\xC3\xA9"
                               "e\r\nPlace4=C:\\Plain\r\n\r\n");
    EXPECT_TRUE(LoadPlacesFile(file));
    EXPECT_EQ(Get(kPlacesBarKey, "Place0"), Sz(rows[0]));
    EXPECT_EQ(Get(kPlacesBarKey, "Place4"), Sz(rows[1]));
}

TEST_F(PlacesFileTest, ReplacingAFileNeverReadsIt) {
    const std::string file = PathOf("old.ini");
    WriteBytes(file, "[Places]\r\nPlace0=C:\\Old\r\n");
    ReadWitness witness(file);

    WritePlacesFile(file, {"C:\\New", "", "", "", ""});

    EXPECT_EQ(ReadBytes(file), "[Places]\r\nPlace0=C:\\New\r\n\r\n");
    EXPECT_FALSE(witness.WasRead());
    if (!witness.Works())
        GTEST_SKIP() << "this file system does not show reads";
}

TEST_F(PlacesFileTest, WritesExactBytes) {
    struct Case {
        const char* what;
        PlacesList rows;
        std::string bytes;
    };
    const Case cases[] = {
        {"rows 0 and 2",
         {"C:\\Work", "", "D:\\Photos", "", ""},
         "[Places]\r\nPlace0=C:\\Work\r\nPlace2=D:\\Photos\r\n\r\n"},
        {"all empty", {"", "", "", "", ""}, ""},
        {"blanks kept",
         {"", " ", "", "", " E:\\ "},
         "[Places]\r\nPlace1= \r\nPlace4= E:\\ \r\n\r\n"},
    };
    for (const Case& c : cases) {
        const std::string file = PathOf(std::string(c.what) + ".ini");
        dialogs.fileNameAnswers.push_back(file);

        SavePlacesFileInteractive(c.rows);

        EXPECT_TRUE(FileExists(file)) << c.what;
        EXPECT_EQ(ReadBytes(file), c.bytes) << c.what;
    }
    EXPECT_TRUE(dialogs.messages.empty()) << "a new file needs no question";
}

TEST_F(PlacesFileTest, BlankRowReadsBackAsEmptySlot) {
    const std::string file = PathOf("blank.ini");
    WritePlacesFile(file, {"C:\\A", " ", "", "", ""});

    PresetPlacesBar();
    EXPECT_TRUE(LoadPlacesFile(file));

    EXPECT_EQ(Get(kPlacesBarKey, "Place0"), Sz("C:\\A"));
    EXPECT_EQ(Get(kPlacesBarKey, "Place1"), std::nullopt);
}

TEST_F(PlacesFileTest, NameWithoutExtensionIsUsedAsTyped) {
    dialogs.fileNameAnswers.push_back(PathOf("myplaces"));

    SavePlacesFileInteractive({"C:\\A", "", "", "", ""});

    EXPECT_EQ(ReadBytes(PathOf("myplaces")), "[Places]\r\nPlace0=C:\\A\r\n\r\n");
    EXPECT_EQ(FilesInDir(), 1);
}

TEST_F(PlacesFileTest, CancelledFileDialogWritesNothing) {
    SavePlacesFileInteractive({"C:\\A", "", "", "", ""});

    EXPECT_EQ(FilesInDir(), 0);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PlacesFileTest, OverwriteNeedsYes) {
    const std::string file = PathOf("old.ini");
    const std::string old = "; kept?\r\n[Other]\r\nx=1\r\n[Places]\r\nPlace3=D:\\Old\r\n";
    for (int answer : {int(kIdNo), int(kIdCancel), 0}) {
        WriteBytes(file, old);
        dialogs.messages.clear();
        dialogs.fileNameAnswers.push_back(file);
        dialogs.messageAnswers.push_back(answer);

        SavePlacesFileInteractive({"C:\\New", "", "", "", ""});

        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, "Do you wish to overwrite \"" + file + "\"?");
        EXPECT_EQ(dialogs.messages[0].caption, "Confirmation");
        EXPECT_EQ(dialogs.messages[0].flags, 52u);
        EXPECT_EQ(ReadBytes(file), old) << "answer " << answer;
    }

    dialogs.fileNameAnswers.push_back(file);
    dialogs.messageAnswers.push_back(kIdYes);
    SavePlacesFileInteractive({"C:\\New", "", "", "", ""});

    EXPECT_EQ(ReadBytes(file), "[Places]\r\nPlace0=C:\\New\r\n\r\n");
    EXPECT_EQ(FilesInDir(), 1);
}

TEST_F(PlacesFileTest, FailedSaveKeepsTheOldFile) {
    const std::string file = PathOf("places.ini");
    const std::string old = "[Places]\r\nPlace0=C:\\Old\r\n\r\n";
    WriteBytes(file, old);
    dialogs.fileNameAnswers.push_back(file);
    dialogs.messageAnswers.push_back(kIdYes);

    std::string failure = "no error raised";
    {
        const WriteBlocker blocker(file);
        if (ReplaceFileContent(file, std::string(64, 'p')))
            GTEST_SKIP() << "cannot make writing fail here";
        try {
            SavePlacesFileInteractive({"C:\\New", "", "", "", ""});
        } catch (const IniFileError& error) {
            failure = error.what();
        }
    }

    EXPECT_EQ(failure, "Cannot create file " + file);
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_EQ(FilesInDir(), 1) << "no temporary file left behind";
}

TEST_F(PlacesFileTest, EmptyValueRemovesTheKeyAndStillMarksTheFileChanged) {
    EditedIniFile ini(PathOf("new.ini"));
    WritePlaceEntry(ini, "Place0", "");
    EXPECT_TRUE(ini.Modified());

    WritePlaceEntry(ini, "Place1", "  x ");
    EXPECT_EQ(ini.ReadString("Places", "Place1", "-"), "  x ");
    WritePlaceEntry(ini, "Place1", "");
    EXPECT_EQ(ini.ReadString("Places", "Place1", "-"), "-");
}

} // namespace
} // namespace velbrook::testing
