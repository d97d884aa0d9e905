#include "support/files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace velbrook {

namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&&) = delete;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }

    int Get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes now and reports whether the close succeeded (it may report a late write error).
    bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

  private:
    int fd_;
};

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// Creates a new file in the target's folder under a short name nobody else uses
// (short, so that a target with a long name still gets one).
FileDescriptor CreateTemporaryBeside(const std::string& target, std::string& tempName) {
    static unsigned counter = 0;
    const std::string folder = target.substr(0, target.rfind('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName =
            folder + ".~vb" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
        FileDescriptor fd(::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd || errno != EEXIST)
            return fd;
    }
    return FileDescriptor(-1);
}

bool WriteReplacement(const std::string& fileName, const std::string& tempName, FileDescriptor fd,
                      const std::string& bytes) {
    struct stat old {};
    if (::stat(fileName.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        ::fchmod(fd.Get(), old.st_mode & 07777) != 0)
        return false;
    return WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0 && fd.Close() &&
           ::rename(tempName.c_str(), fileName.c_str()) == 0;
}

} // namespace

bool FileExists(const std::string& fileName) {
    struct stat info {};
    return !fileName.empty() && ::stat(fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool ReadWholeFile(const std::string& fileName, std::string& bytes) {
    FileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd)
        return false;
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    bytes = std::move(content);
    return true;
}

bool ReplaceFileContent(const std::string& fileName, const std::string& bytes) {
    if (fileName.empty())
        return false;
    std::string tempName;
    FileDescriptor fd = CreateTemporaryBeside(fileName, tempName);
    if (!fd)
        return false;
    if (WriteReplacement(fileName, tempName, std::move(fd), bytes))
        return true;
    ::unlink(tempName.c_str());
    return false;
}

bool DeleteFileByName(const std::string& fileName) {
    return !fileName.empty() && ::unlink(fileName.c_str()) == 0;
}

} // namespace velbrook
