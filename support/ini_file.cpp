#include "support/ini_file.h"

#include <algorithm>

#include "support/code_page.h"
#include "support/errors.h"
#include "support/files.h"
#include "support/locale_text.h"
#include "support/messages.h"
#include "support/strings.h"

namespace velbrook {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
// The files of this program hold five paths; a megabyte is far beyond any of them.
constexpr std::size_t kMaxFileBytes = 1u << 20;

// The text before the first "="; false for bare lines without one.
bool LineName(std::string_view line, std::string_view& name) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    name = line.substr(0, eq);
    return true;
}

// The last line named name, or lines.end().
template <class Lines> auto FindLastLine(Lines& lines, std::string_view name) {
    for (auto it = lines.end(); it != lines.begin();) {
        --it;
        std::string_view lineName;
        if (LineName(*it, lineName) && SameTextIgnoreCase(lineName, name))
            return it;
    }
    return lines.end();
}

// Lines end at CR, LF or CR LF; the text ends at the first NUL.
std::vector<std::string_view> SplitLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        const bool crLf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
    }
    return lines;
}

} // namespace

IniFile::IniFile(std::string fileName, IniStart start) : fileName_(std::move(fileName)) {
    if (start == IniStart::Empty || fileName_.empty() || !FileExists(fileName_))
        return;
    std::string bytes;
    const FileRead read = ReadFileUpTo(fileName_, bytes, kMaxFileBytes);
    if (read == FileRead::TooLarge)
        throw IniFileError(FormatText(msg::kCannotReadPlacesFile, fileName_, msg::kReasonTooLarge));
    if (read != FileRead::Done)
        throw IniFileError(FormatText(msg::kCannotOpenFile, fileName_));
    const std::string text = TextFromFile(bytes);
    loadedNothing_ = text.empty();
    SetText(text);
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
    const std::string upper = UpperCaseText(name);
    for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
        if (UpperCaseText(it->name) == upper)
            return &*it;
    }
    return nullptr;
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    return const_cast<IniFile*>(this)->FindSection(name);
}

std::string IniFile::ReadString(std::string_view section, std::string_view name,
                                std::string_view defaultValue) const {
    const Section* found = FindSection(section);
    if (found == nullptr)
        return std::string(defaultValue);
    const auto line = FindLastLine(found->lines, name);
    if (line == found->lines.end())
        return std::string(defaultValue);
    return line->substr(line->find('=') + 1);
}

void IniFile::WriteString(std::string_view section, std::string_view name, std::string_view value) {
    Section* target = FindSection(section);
    if (target == nullptr)
        target = &sections_.emplace_back(Section{std::string(section), {}});
    std::string line = std::string(name) + '=' + std::string(value);
    const auto existing = FindLastLine(target->lines, name);
    if (existing != target->lines.end())
        *existing = std::move(line);
    else
        target->lines.push_back(std::move(line));
}

void IniFile::DeleteKey(std::string_view section, std::string_view name) {
    Section* target = FindSection(section);
    if (target == nullptr)
        return;
    const auto existing = FindLastLine(target->lines, name);
    if (existing != target->lines.end())
        target->lines.erase(existing);
}

std::string IniFile::Text() const {
    std::string text;
    for (const Section& section : sections_) {
        text.append("[").append(section.name).append("]").append(kLineEnd);
        for (const std::string& line : section.lines)
            text.append(line).append(kLineEnd);
        text.append(kLineEnd);
    }
    return text;
}

void IniFile::SetText(std::string_view text) {
    std::vector<Section> sections;
    for (std::string_view raw : SplitLines(text)) {
        const std::string line = TrimControl(raw);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            sections.push_back(
                Section{TrimControl(std::string_view(line).substr(1, line.size() - 2)), {}});
            continue;
        }
        if (sections.empty())
            continue;
        std::string_view name;
        if (LineName(line, name)) {
            const std::string_view value = std::string_view(line).substr(name.size() + 1);
            sections.back().lines.push_back(TrimControl(name) + '=' + TrimControl(value));
        } else {
            sections.back().lines.push_back(line);
        }
    }
    sections_ = std::move(sections);
}

void IniFile::UpdateFile() const {
    if (!ReplaceFileContent(fileName_, TextForFile(Text())))
        throw IniFileError(FormatText(msg::kCannotCreateFile, fileName_));
}

void EditedIniFile::WriteString(std::string_view section, std::string_view name,
                                std::string_view value) {
    IniFile::WriteString(section, name, value);
    modified_ = true;
}

void EditedIniFile::DeleteKey(std::string_view section, std::string_view name) {
    IniFile::DeleteKey(section, name);
    modified_ = true;
}

void EditedIniFile::Close() {
    if (!modified_)
        return;
    UpdateFile();
    modified_ = false;
}

} // namespace velbrook
