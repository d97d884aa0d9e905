#pragma once
// INI files held in memory.
#include <string>
#include <string_view>
#include <vector>

namespace velbrook {

// Whether an INI object starts with the file's content or empty; one that only
// replaces a file never needs to read it.
enum class IniStart { LoadFile, Empty };

class IniFile {
  public:
    // Loads the file when the name is not empty and the file exists; raises
    // IniFileError "Cannot open file %s" when it exists but cannot be read.
    // The file's text is UTF-8 or the system's legacy code page (TextFromFile) and
    // is written as UTF-8.
    explicit IniFile(std::string fileName, IniStart start = IniStart::LoadFile);
    virtual ~IniFile() = default;

    const std::string& FileName() const { return fileName_; }
    // True when the loaded file held no text at all (or there was no file).
    bool LoadedNothing() const { return loadedNothing_; }
    bool HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

    std::string ReadString(std::string_view section, std::string_view name,
                           std::string_view defaultValue) const;
    virtual void WriteString(std::string_view section, std::string_view name,
                             std::string_view value);
    virtual void DeleteKey(std::string_view section, std::string_view name);

    // The content by the writing rules: every line ends with CR LF.
    std::string Text() const;
    // Replaces the content by parsed text (reading rules).
    void SetText(std::string_view text);
    // Writes the content to the file; raises "Cannot create file %s" on failure
    // and leaves any old file untouched then.
    void UpdateFile() const;

  private:
    struct Section {
        std::string name;
        std::vector<std::string> lines;
    };
    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;

    std::string fileName_;
    bool loadedNothing_ = true;
    std::vector<Section> sections_;
};

// An INI file that is written back once, at the end of its use, when it was changed.
// Call Close() before releasing it: a destructor cannot report a failed write.
class EditedIniFile : public IniFile {
  public:
    using IniFile::IniFile;

    void WriteString(std::string_view section, std::string_view name,
                     std::string_view value) override;
    void DeleteKey(std::string_view section, std::string_view name) override;

    bool Modified() const { return modified_; }
    // Writes the file when modified (raising on failure); afterwards nothing is pending.
    void Close();

  private:
    bool modified_ = false;
};

} // namespace velbrook
