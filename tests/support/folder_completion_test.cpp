// The folders offered while a path is typed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "support/folder_completion.h"
#include "testlib/temporary_folder.h"

namespace velbrook::testing {
namespace {

class FolderCompletionTest : public TemporaryFolderTest {
  protected:
    FolderCompletionTest() : TemporaryFolderTest("velbrook-completion") {}
};

TEST_F(FolderCompletionTest, OffersMatchingSubfoldersAsTyped) {
    for (const char* name : {"system32", "System", "syswow64", "other"})
        std::filesystem::create_directory(folder_ / name);
    std::ofstream(folder_ / "system.ini") << "a file";
    const std::string root = folder_.string() + "/";
#ifdef _WIN32
    _putenv_s("VELBROOK_ROOT_TEST", folder_.string().c_str());
#else
    setenv("VELBROOK_ROOT_TEST", folder_.c_str(), 1);
#endif
    const struct {
        std::string typed;
        std::vector<std::string> offered;
    } cases[] = {
        {root + "sys", {root + "System", root + "system32", root + "syswow64"}},
        {root + "SYSTEM3", {root + "system32"}},
        {root, {root + "other", root + "System", root + "system32", root + "syswow64"}},
        {"%VELBROOK_ROOT_TEST%/sysw", {"%VELBROOK_ROOT_TEST%/syswow64"}},
        {root + "system.ini/", {}},
        {root + "none/", {}},
        {"sys", {}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FolderCompletions(c.typed), c.offered) << c.typed;
}

} // namespace
} // namespace velbrook::testing
