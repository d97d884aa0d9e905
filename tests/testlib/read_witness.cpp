#include "testlib/read_witness.h"

#include <cstdio>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velbrook::testing {

#ifdef _WIN32

namespace {

HANDLE OpenForTimes(const std::string& name, DWORD access) {
    return CreateFileA(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

ReadWitness::ReadWitness(const std::string& file) : name_(file + ".witness") {
    linked_ = CreateHardLinkA(name_.c_str(), file.c_str(), nullptr) != FALSE;
    const HANDLE handle = OpenForTimes(name_, FILE_WRITE_ATTRIBUTES);
    FILETIME old{};
    old.dwHighDateTime = 0x01C00000; // the early 2000s, before the last change
    linked_ = linked_ && SetFileTime(handle, nullptr, &old, nullptr);
    CloseHandle(handle);
    before_ = AccessTime();
}

long long ReadWitness::AccessTime() const {
    const HANDLE handle = OpenForTimes(name_, FILE_READ_ATTRIBUTES);
    FILETIME accessed{};
    GetFileTime(handle, nullptr, &accessed, nullptr);
    CloseHandle(handle);
    return (static_cast<long long>(accessed.dwHighDateTime) << 32) | accessed.dwLowDateTime;
}

#else

ReadWitness::ReadWitness(const std::string& file) : name_(file + ".witness") {
    linked_ = ::link(file.c_str(), name_.c_str()) == 0;
    const timespec times[2] = {{1000000000, 0}, {0, UTIME_NOW}};
    linked_ = linked_ && ::utimensat(AT_FDCWD, name_.c_str(), times, 0) == 0;
    before_ = AccessTime();
}

long long ReadWitness::AccessTime() const {
    struct stat info {};
    ::stat(name_.c_str(), &info);
    return static_cast<long long>(info.st_atim.tv_sec) * 1000000000 + info.st_atim.tv_nsec;
}

#endif

ReadWitness::~ReadWitness() {
    std::remove(name_.c_str());
}

bool ReadWitness::Works() {
    std::ifstream in(name_, std::ios::binary);
    char c = 0;
    in.get(c);
    return linked_ && WasRead();
}

} // namespace velbrook::testing
