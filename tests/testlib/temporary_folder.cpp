#include "testlib/temporary_folder.h"

#include <random>
#include <system_error>

namespace velbrook::testing {

namespace fs = std::filesystem;

void TemporaryFolderTest::SetUp() {
    std::random_device random;
    folder_ = fs::temp_directory_path() / (prefix_ + std::to_string(random()));
    ASSERT_TRUE(fs::create_directory(folder_));
}

void TemporaryFolderTest::TearDown() {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder_, ignored);
}

} // namespace velbrook::testing
