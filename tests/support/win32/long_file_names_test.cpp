// Files beyond MAX_PATH and with characters above 127 in their names.
#include <gtest/gtest.h>

#include "support/files.h"
#include "support/ini_file.h"
#include "support/win32/windows_ansi.h"
#include "testlib/long_folder_win32.h"

namespace velbrook {
namespace {

TEST(LongFileNames, ReadWriteReplaceAndDeleteBeyondMaxPath) {
    const testing::LongFolder folder(testing::TemporaryFolderPath(),
                                     {"vb-long-\xC4rger", "Caf\xE9", "\xFF"});
    ASSERT_TRUE(folder.Created()) << folder.Path();
    const std::string file = folder.Path() + "\\places \xE4.ini";
    ASSERT_GT(file.size(), static_cast<std::size_t>(MAX_PATH));

    EXPECT_FALSE(FileExists(file));
    ASSERT_TRUE(ReplaceFileContent(file, "[Places]\r\nPlace0=C:\\A\r\n"));
    EXPECT_TRUE(FileExists(file));
    std::string bytes;
    ASSERT_TRUE(testing::ReadFileLong(file, bytes));
    EXPECT_EQ(bytes, "[Places]\r\nPlace0=C:\\A\r\n");

    ASSERT_TRUE(ReplaceFileContent(file, "new"));
    ASSERT_TRUE(ReadWholeFile(file, bytes));
    EXPECT_EQ(bytes, "new");

    {
        EditedIniFile ini(file);
        ini.WriteString("Places", "Place1", "D:\\B");
        ini.Close();
    }
    ASSERT_TRUE(ReadWholeFile(file, bytes));
    EXPECT_NE(bytes.find("Place1=D:\\B"), std::string::npos) << bytes;

    EXPECT_TRUE(DeleteFileByName(file));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(ReadWholeFile(file, bytes));
}

} // namespace
} // namespace velbrook
