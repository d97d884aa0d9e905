#include "testlib/long_folder_win32.h"

#include "support/win32/windows_ansi.h"

namespace velbrook::testing {

namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

std::string TemporaryFolderPath() {
    std::string folder(MAX_PATH + 1, '\0');
    folder.resize(GetTempPathA(MAX_PATH + 1, folder.data()));
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

std::wstring ExtendedPathW(const std::string& path) {
    const int size =
        MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), size);
    return L"\\\\?\\" + wide;
}

LongFolder::LongFolder(const std::string& base, const std::vector<std::string>& parts,
                       std::size_t padding)
    : base_(base), path_(base) {
    created_ = true;
    for (const std::string& part : parts) {
        path_ += '\\' + part + std::string(padding > part.size() ? padding - part.size() : 0, 'x');
        if (!CreateDirectoryW(ExtendedPathW(path_).c_str(), nullptr))
            created_ = false;
    }
}

LongFolder::~LongFolder() {
    // The first folder below the base holds all the others.
    const std::size_t next = path_.find('\\', base_.size() + 1);
    RemoveTree(ExtendedPathW(path_.substr(0, next)));
}

bool CopyFileLong(const std::string& from, const std::string& to) {
    return CopyFileW(ExtendedPathW(from).c_str(), ExtendedPathW(to).c_str(), FALSE) != FALSE;
}

bool WriteFileLong(const std::string& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(ExtendedPathW(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool ReadFileLong(const std::string& path, std::string& bytes) {
    const HANDLE file = CreateFileW(ExtendedPathW(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes.clear();
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return true;
}

} // namespace velbrook::testing
