#include "support/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "testlib/temporary_folder.h"

#include "support/errors.h"
#include "support/files.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velbrook {
namespace {

namespace fs = std::filesystem;

const char kSample[] = "; places of the office\r\n"
                       "x=1\r\n"
                       "[ Places ]\r\n"
                       "  Place0 = C:\\A  \r\n"
                       "junk\r\n";

TEST(IniText, ReadingRules) {
    IniFile ini("");
    ini.SetText(kSample);
    EXPECT_EQ(ini.Text(), "[Places]\r\nPlace0=C:\\A\r\njunk\r\n\r\n");
    EXPECT_EQ(ini.ReadString("PLACES", "place0", "none"), "C:\\A");
    EXPECT_EQ(ini.ReadString("Places", "x", "none"), "none");
    EXPECT_EQ(ini.ReadString("Places", "junk", "none"), "none");
    EXPECT_EQ(ini.ReadString("Other", "Place0", "none"), "none");
}

TEST(IniText, LineEndsAndTheFirstNul) {
    const std::string variants[] = {
        "[S]\ra=1\rb=2\r",
        "[S]\na=1\nb=2",
        "[S]\r\n\r\na=1\n\rb=2\r\n",
        std::string("[S]\na=1\nb=2\n\0[T]\nc=3\n", 22),
    };
    for (const std::string& text : variants) {
        IniFile ini("");
        ini.SetText(text);
        EXPECT_EQ(ini.Text(), "[S]\r\na=1\r\nb=2\r\n\r\n") << text;
    }
}

TEST(IniText, LastOccurrenceCounts) {
    IniFile ini("");
    ini.SetText("[S]\nPlace1=a\nother=x\nPlace1=b\n[T]\nk=t\n[s]\nk=second\n");
    EXPECT_EQ(ini.ReadString("S", "PLACE1", ""), "");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "second");

    ini.SetText("[S]\nPlace1=a\nother=x\nPlace1=b\n");
    EXPECT_EQ(ini.ReadString("S", "PLACE1", ""), "b");
    ini.WriteString("s", "place1", "c");
    EXPECT_EQ(ini.Text(), "[S]\r\nPlace1=a\r\nother=x\r\nplace1=c\r\n\r\n");
    ini.DeleteKey("S", "Place1");
    EXPECT_EQ(ini.Text(), "[S]\r\nPlace1=a\r\nother=x\r\n\r\n");
}

TEST(IniText, WritingAndDeleting) {
    IniFile ini("");
    ini.WriteString("Places", "Place0", " C:\\A ");
    ini.WriteString("Places", "Place1", "x=y");
    ini.WriteString("Extra", "k", "");
    EXPECT_EQ(ini.ReadString("places", "PLACE0", ""), " C:\\A ");
    EXPECT_EQ(ini.ReadString("Places", "Place1", ""), "x=y");
    EXPECT_EQ(ini.ReadString("Extra", "k", "default"), "");

    ini.DeleteKey("Extra", "k");
    ini.DeleteKey("Missing", "k");
    ini.DeleteKey("Places", "NoSuchKey");
    EXPECT_EQ(ini.Text(), "[Places]\r\nPlace0= C:\\A \r\nPlace1=x=y\r\n\r\n[Extra]\r\n\r\n");
}

class IniFileTest : public testing::TemporaryFolderTest {
  protected:
    IniFileTest() : TemporaryFolderTest("velbrook-ini-") {}
    static std::string Content(const std::string& file) {
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(file, bytes)) << file;
        return bytes;
    }
};

TEST_F(IniFileTest, ChangedFileIsWrittenOnClose) {
    const std::string file = PathOf("places.ini");
    ASSERT_TRUE(ReplaceFileContent(file, kSample));
    {
        EditedIniFile ini(file);
        EXPECT_EQ(ini.ReadString("places", "PLACE0", ""), "C:\\A");
        ini.WriteString("Places", "Place1", "D:\\B");
        EXPECT_TRUE(ini.Modified());
        EXPECT_EQ(Content(file), kSample);
        ini.Close();
        EXPECT_FALSE(ini.Modified());
    }
    EXPECT_EQ(Content(file), "[Places]\r\nPlace0=C:\\A\r\njunk\r\nPlace1=D:\\B\r\n\r\n");
}

TEST_F(IniFileTest, ReadOnlyUseNeverRewrites) {
    const std::string file = PathOf("places.ini");
    ASSERT_TRUE(ReplaceFileContent(file, kSample));
    EditedIniFile ini(file);
    EXPECT_EQ(ini.ReadString("Places", "Place0", ""), "C:\\A");
    EXPECT_FALSE(ini.Modified());
    ASSERT_TRUE(DeleteFileByName(file));
    ini.Close();
    EXPECT_FALSE(FileExists(file));
}

TEST_F(IniFileTest, DeleteKeyOnMissingFileWritesEmptyFile) {
    const std::string file = PathOf("new.ini");
    EditedIniFile ini(file);
    ini.DeleteKey("Places", "Place0");
    EXPECT_TRUE(ini.Modified());
    ini.Close();
    ASSERT_TRUE(FileExists(file));
    EXPECT_EQ(fs::file_size(file), 0u);
}

TEST_F(IniFileTest, FailedWriteBackRaisesAndKeepsFolder) {
    const std::string target = PathOf("folder.ini");
    ASSERT_TRUE(fs::create_directory(target));
    ASSERT_TRUE(ReplaceFileContent(PathOf("folder.ini/kept.txt"), "kept"));

    EditedIniFile ini(target);
    ini.WriteString("Places", "Place0", "C:\\A");
    try {
        ini.Close();
        FAIL() << "Close succeeded on a folder";
    } catch (const IniFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + target);
    }
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(Content(PathOf("folder.ini/kept.txt")), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

#ifndef _WIN32
TEST_F(IniFileTest, FailedWriteBackKeepsOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    const std::string file = PathOf("places.ini");
    ASSERT_TRUE(ReplaceFileContent(file, kSample));
    EditedIniFile ini(file);
    ini.WriteString("Places", "Place0", "changed");
    ASSERT_EQ(chmod(folder_.c_str(), 0500), 0);

    EXPECT_THROW(ini.Close(), IniFileError);
    EXPECT_EQ(Content(file), kSample);
}

TEST_F(IniFileTest, UnreadableFileRaisesCannotOpen) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    const std::string file = PathOf("secret.ini");
    ASSERT_TRUE(ReplaceFileContent(file, kSample));
    ASSERT_EQ(chmod(file.c_str(), 0), 0);
    try {
        EditedIniFile ini(file);
        FAIL() << "an unreadable file was opened";
    } catch (const IniFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + file);
    }
}
#endif

} // namespace
} // namespace velbrook
