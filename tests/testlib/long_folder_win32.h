#pragma once
// A folder whose full path is longer than MAX_PATH, made through the "\\?\" form
// of the wide functions (the ANSI ones cannot reach it), removed with its content.
#include <string>
#include <vector>

namespace velbrook::testing {

class LongFolder {
  public:
    // Under `base` (an ANSI path without trailing backslash): the given ANSI
    // parts, one nested folder each, every one padded to `padding` characters.
    LongFolder(const std::string& base, const std::vector<std::string>& parts,
               std::size_t padding = 100);
    LongFolder(const LongFolder&) = delete;
    LongFolder& operator=(const LongFolder&) = delete;
    ~LongFolder();

    bool Created() const { return created_; }
    // The ANSI path, without trailing backslash.
    const std::string& Path() const { return path_; }

  private:
    std::string base_;
    std::string path_;
    bool created_ = false;
};

// The system's temporary folder, without trailing backslash.
std::string TemporaryFolderPath();
// The "\\?\" wide form of an ANSI path.
std::wstring ExtendedPathW(const std::string& path);
bool CopyFileLong(const std::string& from, const std::string& to);
bool WriteFileLong(const std::string& path, const std::string& bytes);
// False when the file cannot be read.
bool ReadFileLong(const std::string& path, std::string& bytes);

} // namespace velbrook::testing
