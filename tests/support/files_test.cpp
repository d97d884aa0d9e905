#include "support/files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "testlib/temporary_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velbrook {
namespace {

namespace fs = std::filesystem;

class FilesTest : public testing::TemporaryFolderTest {
  protected:
    FilesTest() : TemporaryFolderTest("velbrook-files-") {}
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }
};

TEST(DeviceNames, NamesThatWindowsTakesForDevicesAndNamesThatItDoesNot) {
    const char* const devices[] = {"COM1",
                                   "com9",
                                   "C:\\com1.ini",
                                   "C:\\dir\\AUX",
                                   "nul",
                                   "NUL.txt",
                                   "x\\con .ini",
                                   "CONIN$",
                                   "conout$.log",
                                   "LPT1.tar.gz",
                                   "PRN",
                                   "COM1:",
                                   "C:com1",
                                   "lpt\xB9",
                                   "COM\xC2\xB2.ini",
                                   "\\\\.\\pipe\\x",
                                   "//./C:",
                                   "\\??\\C:\\x",
                                   "\\\\?\\GLOBALROOT\\x",
                                   "a/b/Aux"};
    for (const char* name : devices)
        EXPECT_TRUE(NamesDevice(name)) << name;
    const char* const files[] = {"",
                                 "COM10",
                                 "COM0",
                                 "LPT",
                                 "console.ini",
                                 "nul1",
                                 "C:\\com1\\a.ini",
                                 "a.nul",
                                 "CONIN",
                                 "places.ini",
                                 "\\\\?\\C:\\com1.ini",
                                 "\\\\server\\share\\a.ini",
                                 "\\\\?\\UNC\\server\\share\\nul"};
    for (const char* name : files)
        EXPECT_FALSE(NamesDevice(name)) << name;
}

TEST_F(FilesTest, OnlyFilesOnADiskAreRead) {
#ifdef _WIN32
    const std::string other = "NUL";
#else
    // A FIFO without a writer: opening it to read would wait for one.
    const std::string other = PathOf("fifo");
    ASSERT_EQ(::mkfifo(other.c_str(), 0600), 0);
#endif
    std::string bytes = "untouched";
    EXPECT_FALSE(ReadWholeFile(other, bytes));
    EXPECT_EQ(bytes, "untouched");
    std::string refusal = "";
    EXPECT_FALSE(AppendToFile("C:\\logs\\nul.log", "line\r\n", refusal));
    EXPECT_EQ(refusal, "the name is that of a device, not of a file");
    EXPECT_FALSE(ReplaceFileContent(PathOf("aux.ini"), "x"));
}

TEST_F(FilesTest, FileExistsOnlyForFiles) {
    const std::string file = PathOf("a.ini");
    ASSERT_TRUE(ReplaceFileContent(file, "x"));
    fs::create_directory(PathOf("sub"));

    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(PathOf("sub")));
    EXPECT_FALSE(FileExists(PathOf("missing.ini")));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(FilesTest, ReadsBackExactBytes) {
    const std::string bytes("[A]\r\nk=v\n\0tail\xFF", 15);
    const std::string file = PathOf("bytes.bin");
    ASSERT_TRUE(ReplaceFileContent(file, bytes));

    std::string read = "stale";
    ASSERT_TRUE(ReadWholeFile(file, read));
    EXPECT_EQ(read, bytes);
    EXPECT_EQ(fs::file_size(file), bytes.size());

    std::string untouched = "keep";
    EXPECT_FALSE(ReadWholeFile(PathOf("missing.bin"), untouched));
    EXPECT_EQ(untouched, "keep");
}

TEST_F(FilesTest, ReplaceOverwritesAndLeavesNoTemporary) {
    const std::string file = PathOf("places.ini");
    ASSERT_TRUE(ReplaceFileContent(file, "old content that is longer"));
    ASSERT_TRUE(ReplaceFileContent(file, "new"));
    ASSERT_TRUE(ReplaceFileContent(PathOf("empty.ini"), ""));

    std::string read;
    ASSERT_TRUE(ReadWholeFile(file, read));
    EXPECT_EQ(read, "new");
    EXPECT_EQ(fs::file_size(PathOf("empty.ini")), 0u);
    EXPECT_EQ(EntryCount(), 2u);
}

TEST_F(FilesTest, ReplaceFailsCleanlyOnAFolderOrMissingFolder) {
    const std::string target = PathOf("folder.ini");
    ASSERT_TRUE(fs::create_directory(target));
    ASSERT_TRUE(ReplaceFileContent(PathOf("folder.ini/inside.txt"), "inside"));

    EXPECT_FALSE(ReplaceFileContent(target, "data"));
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_TRUE(fs::exists(PathOf("folder.ini/inside.txt")));
    EXPECT_EQ(EntryCount(), 1u);

    EXPECT_FALSE(ReplaceFileContent(PathOf("no-such-folder/a.ini"), "data"));
    EXPECT_FALSE(ReplaceFileContent("", "data"));
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FilesTest, LongFileNamesWork) {
    const std::string file = PathOf(std::string(200, 'n') + ".ini");
    ASSERT_TRUE(ReplaceFileContent(file, "long"));
    std::string read;
    EXPECT_TRUE(ReadWholeFile(file, read));
    EXPECT_EQ(read, "long");
    EXPECT_EQ(EntryCount(), 1u);
}

// A read-only file is refused alike on every system, even to a user whom the
// permissions would not stop.
TEST_F(FilesTest, ReplaceRefusesAReadOnlyFile) {
    const std::string file = PathOf("places.ini");
    ASSERT_TRUE(ReplaceFileContent(file, "old"));
    constexpr auto writable =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(file, writable, fs::perm_options::remove);

    EXPECT_FALSE(ReplaceFileContent(file, "new"));
    std::string read;
    EXPECT_TRUE(ReadWholeFile(file, read));
    EXPECT_EQ(read, "old");
    EXPECT_EQ(EntryCount(), 1u);
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_TRUE(ReplaceFileContent(file, "new"));
}

#ifndef _WIN32
TEST_F(FilesTest, ReplaceInReadOnlyFolderKeepsOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    const std::string file = PathOf("places.ini");
    ASSERT_TRUE(ReplaceFileContent(file, "old"));
    ASSERT_EQ(chmod(folder_.c_str(), 0500), 0);

    EXPECT_FALSE(ReplaceFileContent(file, "new"));
    std::string read;
    ASSERT_TRUE(ReadWholeFile(file, read));
    EXPECT_EQ(read, "old");
    EXPECT_EQ(EntryCount(), 1u);
}
#endif

TEST_F(FilesTest, DeleteRemovesOnlyExistingFiles) {
    const std::string file = PathOf("gone.ini");
    ASSERT_TRUE(ReplaceFileContent(file, "x"));
    EXPECT_TRUE(DeleteFileByName(file));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(DeleteFileByName(file));
    EXPECT_FALSE(DeleteFileByName(""));
}

} // namespace
} // namespace velbrook
