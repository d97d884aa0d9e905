#pragma once
// A fresh folder under the system's temporary folder for each test, removed with
// its content afterwards (also when a test took away its write permission).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace velbrook::testing {

class TemporaryFolderTest : public ::testing::Test {
  protected:
    explicit TemporaryFolderTest(std::string prefix) : prefix_(std::move(prefix)) {}
    void SetUp() override;
    void TearDown() override;
    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

    std::filesystem::path folder_;

  private:
    std::string prefix_;
};

} // namespace velbrook::testing
