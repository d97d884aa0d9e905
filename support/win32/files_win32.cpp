#include "support/files.h"
#include "support/files_platform.h"

#include <algorithm>
#include <utility>

#include "support/errors.h"
#include "support/locale_text.h"
#include "support/messages.h"
#include "support/win32/handles.h"
#include "support/win32/wide_text.h"
#include "support/win32/windows_ansi.h"

namespace velbrook {

namespace {

using win32::File;

constexpr DWORD kChunk = 1u << 20;
// How long an append waits for another writer to let go of the file, in all.
constexpr int kAppendAttempts = 40;
constexpr DWORD kAppendRetryMs = 50;

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

// What an append reports for a name that opened something other than a file on a disk.
constexpr DWORD kNotADiskFile = ERROR_BAD_FILE_TYPE;

std::string ReasonForError(DWORD error) {
    switch (error) {
    case ERROR_PATH_NOT_FOUND:
        return msg::kReasonFolderMissing;
    case ERROR_ACCESS_DENIED:
        return msg::kReasonAccessDenied;
    case ERROR_WRITE_PROTECT:
        return msg::kReasonReadOnly;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return msg::kReasonLocked;
    case kNotADiskFile:
        return msg::kReasonIsDevice;
    default:
        return FormatText(msg::kReasonSystemError, static_cast<long long>(error));
    }
}

bool IsLockedError(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Appenders take this byte, far beyond any end of a file, while they write: a
// file system that does not keep appends of several processes apart (Wine's
// does not) would otherwise let two lines land in the same place.
constexpr DWORD kAppendLockLow = 0xFFFFFFF0;
constexpr DWORD kAppendLockHigh = 0x7FFFFFFF;

// Append-only access: each write goes to the end of the file as it is then.
// Locking needs read access too; a folder that grants appending alone still
// gets the line, unlocked.
File OpenForAppending(const std::wstring& name, bool& lockable) {
    constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
    File file(CreateFileW(name.c_str(), FILE_APPEND_DATA | FILE_READ_DATA | SYNCHRONIZE, kShare,
                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    lockable = static_cast<bool>(file);
    if (!file && GetLastError() == ERROR_ACCESS_DENIED)
        file.reset(CreateFileW(name.c_str(), FILE_APPEND_DATA | SYNCHRONIZE, kShare, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file;
}

// A line that could not be written whole is taken back to where it began, so
// that the next one starts clean; where the file cannot be cut, the fragment at
// least ends its line.
void TakeBack(const std::wstring& name, LARGE_INTEGER size, HANDLE appending) {
    const File file(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file && SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()))
        return;
    DWORD written = 0;
    WriteFile(appending, "\r\n", 2, &written, nullptr);
}

// One attempt: 0 when the bytes were written, else the error.
DWORD AppendOnce(const std::wstring& name, const std::string& bytes) {
    bool lockable = false;
    const File file = OpenForAppending(name, lockable);
    if (!file)
        return GetLastError();
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return kNotADiskFile;
    OVERLAPPED lockAt{};
    lockAt.Offset = kAppendLockLow;
    lockAt.OffsetHigh = kAppendLockHigh;
    if (lockable && !LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                                1, 0, &lockAt))
        return GetLastError();
    LARGE_INTEGER start{};
    const bool sized = GetFileSizeEx(file.get(), &start) != FALSE;
    const auto size = static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    const bool wrote = WriteFile(file.get(), bytes.data(), size, &written, nullptr) != FALSE;
    const DWORD error = wrote ? (written == size ? 0 : ERROR_WRITE_FAULT) : GetLastError();
    if (error != 0 && sized)
        TakeBack(name, start, file.get());
    if (lockable)
        UnlockFileEx(file.get(), 0, 1, 0, &lockAt);
    return error;
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
    const std::wstring source = FileNameW(from);
    const std::wstring target = FileNameW(to);
    const auto moveInPlace = [&] {
        return MoveFileExW(source.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    };
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return moveInPlace();
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    // An existing file keeps what is its own, not its content: its security,
    // attributes and streams. The old file steps aside under a name of ours, so
    // that no stray file is left whatever happens.
    const std::wstring aside = FileNameW(from + ".old");
    if (ReplaceFileW(target.c_str(), source.c_str(), aside.c_str(), 0, nullptr, nullptr)) {
        DeleteFileW(aside.c_str());
        return true;
    }
    // The old file stepped aside, the new one did not take its place: it goes back.
    if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExW(aside.c_str(), target.c_str(), 0);
    return false;
}

} // namespace files_platform

bool FileExists(const std::string& fileName) {
    if (fileName.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(FileNameW(fileName).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& folderName) {
    if (folderName.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(FileNameW(folderName).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FileRead ReadFileUpTo(const std::string& fileName, std::string& bytes, std::size_t maxBytes) {
    File file(CreateFileW(FileNameW(fileName).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    // A device or a pipe may never end a read: only a file on a disk is read.
    if (!file || GetFileType(file.get()) != FILE_TYPE_DISK)
        return FileRead::Failed;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return FileRead::Failed;
    if (static_cast<std::uint64_t>(size.QuadPart) > maxBytes)
        return FileRead::TooLarge;
    // Read straight into the result, in chunks that double up to kChunk, so that a
    // small file touches little memory.
    std::string content;
    std::size_t chunk = 4096;
    for (;;) {
        const std::size_t used = content.size();
        content.resize(used + chunk);
        DWORD got = 0;
        if (!ReadFile(file.get(), content.data() + used, static_cast<DWORD>(chunk), &got, nullptr))
            return FileRead::Failed;
        content.resize(used + got);
        if (got == 0)
            break;
        // It grew while being read.
        if (content.size() > maxBytes)
            return FileRead::TooLarge;
        chunk = std::min<std::size_t>(chunk * 2, kChunk);
    }
    bytes = std::move(content);
    return FileRead::Done;
}

std::string WriteRefusal(const std::string& fileName) {
    if (NamesDevice(fileName))
        return msg::kReasonIsDevice;
    const DWORD attributes = GetFileAttributesW(FileNameW(fileName).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return msg::kReasonIsFolder;
        return (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? msg::kReasonReadOnly : "";
    }
    const std::string folder = FolderOf(fileName);
    if (folder.empty())
        return "";
    const DWORD folderAttributes = GetFileAttributesW(FileNameW(folder).c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES ||
        (folderAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return msg::kReasonFolderMissing;
    return "";
}

bool AppendToFile(const std::string& fileName, const std::string& bytes, std::string& reason) {
    reason = WriteRefusal(fileName);
    if (!reason.empty())
        return false;
    const std::wstring name = FileNameW(fileName);
    DWORD error = AppendOnce(name, bytes);
    for (int attempt = 1; IsLockedError(error) && attempt < kAppendAttempts; ++attempt) {
        Sleep(kAppendRetryMs);
        error = AppendOnce(name, bytes);
    }
    if (error == 0)
        return true;
    reason = ReasonForError(error);
    return false;
}

bool DeleteFileByName(const std::string& fileName) {
    return !fileName.empty() && DeleteFileW(FileNameW(fileName).c_str()) != FALSE;
}

} // namespace velbrook
