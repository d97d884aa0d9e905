#include "support/files.h"
#include "support/files_platform.h"

#include <algorithm>
#include <utility>

#include "support/locale_text.h"
#include "support/win32/handles.h"
#include "support/win32/wide_text.h"
#include "support/win32/windows_ansi.h"

namespace velbrook {

namespace {

using win32::File;

constexpr DWORD kChunk = 1u << 20;

// The ANSI file functions stop at MAX_PATH, so files are opened through the wide
// ones; a long name gets its "\\?\" form, which lifts that limit.
std::wstring FileNameW(const std::string& name) {
    std::wstring wide = win32::WideFromAnsi(name);
    if (wide.size() < MAX_PATH - 1 || wide.rfind(L"\\\\?\\", 0) == 0)
        return wide;
    std::wstring full(wide.size() + MAX_PATH, L'\0');
    DWORD length =
        GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length =
            GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size())
        return wide;
    full.resize(length);
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, kChunk));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, want, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// Everything up to the last separator, skipping the second bytes of double-byte characters.
std::string FolderOf(const std::string& path) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(path[i]))
            ++i;
        else if (path[i] == '\\' || path[i] == '/' || path[i] == ':')
            end = i + 1;
    }
    return path.substr(0, end);
}

} // namespace

namespace files_platform {

bool IsReadOnly(const std::string& fileName) {
    const DWORD attributes = GetFileAttributesW(FileNameW(fileName).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::string TemporaryStemBeside(const std::string& target) {
    return FolderOf(target) + "~vb" + std::to_string(GetCurrentProcessId()) + "-";
}

NewFile WriteNewFile(const std::string& name, const std::string& bytes, const std::string&) {
    File file(CreateFileW(FileNameW(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError() == ERROR_FILE_EXISTS ? NewFile::NameTaken : NewFile::NotCreated;
    const bool written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get()) &&
                         CloseHandle(file.release()) != FALSE;
    return written ? NewFile::Written : NewFile::NotWritten;
}

bool MoveOver(const std::string& from, const std::string& to) {
    return MoveFileExW(FileNameW(from).c_str(), FileNameW(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

} // namespace files_platform

bool FileExists(const std::string& fileName) {
    if (fileName.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(FileNameW(fileName).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool ReadWholeFile(const std::string& fileName, std::string& bytes) {
    File file(CreateFileW(FileNameW(fileName).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    // Read straight into the result, in chunks that double up to kChunk, so that a
    // small file touches little memory.
    std::string content;
    std::size_t chunk = 4096;
    for (;;) {
        const std::size_t used = content.size();
        content.resize(used + chunk);
        DWORD got = 0;
        if (!ReadFile(file.get(), content.data() + used, static_cast<DWORD>(chunk), &got, nullptr))
            return false;
        content.resize(used + got);
        if (got == 0)
            break;
        chunk = std::min<std::size_t>(chunk * 2, kChunk);
    }
    bytes = std::move(content);
    return true;
}

bool DeleteFileByName(const std::string& fileName) {
    return !fileName.empty() && DeleteFileW(FileNameW(fileName).c_str()) != FALSE;
}

} // namespace velbrook
