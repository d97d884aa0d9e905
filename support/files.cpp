#include "support/files.h"

#include "support/files_platform.h"
#include "support/locale_text.h"

namespace velbrook {

using namespace files_platform;

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// COM and LPT take the digits 1 to 9 and the superscripts 1, 2 and 3, in the
// legacy code page or in UTF-8.
bool IsPortNumber(std::string_view rest) {
    if (rest.size() == 1)
        return (rest[0] >= '1' && rest[0] <= '9') || rest[0] == '\xB9' || rest[0] == '\xB2' ||
               rest[0] == '\xB3';
    return rest == "\xC2\xB9" || rest == "\xC2\xB2" || rest == "\xC2\xB3";
}

bool IsReservedDeviceName(std::string_view base) {
    const std::string upper = UpperCaseText(base);
    for (const char* name : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (upper == name)
            return true;
    }
    return (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           IsPortNumber(std::string_view(upper).substr(3));
}

} // namespace

bool NamesDevice(std::string_view fileName) {
    for (const char* space : {"\\\\.\\", "//./", "\\??\\"}) {
        if (fileName.starts_with(space))
            return true;
    }
    if (fileName.starts_with("\\\\?\\") || fileName.starts_with("//?/")) {
        // Drive and UNC paths there are files, whatever their names.
        const std::string_view rest = fileName.substr(4);
        const bool drive = rest.size() >= 2 && rest[1] == ':';
        return !drive && !SameTextIgnoreCase(rest.substr(0, 4), "UNC\\");
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < fileName.size(); ++i) {
        if (IsSeparator(fileName[i]) || (i == 1 && fileName[i] == ':'))
            start = i + 1;
    }
    std::string_view base = fileName.substr(start);
    // The extension, a stream or device colon, and trailing blanks do not count.
    base = base.substr(0, base.find_first_of(".:"));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    return IsReservedDeviceName(base);
}

bool ReplaceFileContent(const std::string& fileName, const std::string& bytes) {
    // Windows refuses to replace a read-only file; every build refuses alike.
    if (fileName.empty() || NamesDevice(fileName) || IsReadOnly(fileName))
        return false;
    static unsigned counter = 0;
    const std::string stem = TemporaryStemBeside(fileName);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string tempName = stem + std::to_string(++counter) + ".tmp";
        switch (WriteNewFile(tempName, bytes, fileName)) {
        case NewFile::NameTaken:
            continue;
        case NewFile::NotCreated:
            return false;
        case NewFile::Written:
            if (MoveOver(tempName, fileName))
                return true;
            break;
        case NewFile::NotWritten:
            break;
        }
        DeleteFileByName(tempName);
        return false;
    }
    return false;
}

} // namespace velbrook
