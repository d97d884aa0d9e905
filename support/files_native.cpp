#include "support/files.h"
#include "support/files_platform.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "support/errors.h"
#include "support/messages.h"

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

std::string ReasonForErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return msg::kReasonFolderMissing;
    case EISDIR:
        return msg::kReasonIsFolder;
    case EACCES:
    case EPERM:
        return msg::kReasonAccessDenied;
    case EROFS:
        return msg::kReasonReadOnly;
    default:
        return FormatText(msg::kReasonSystemError, static_cast<long long>(error));
    }
}

} // namespace

namespace files_platform {

bool IsReadOnly(const std::string& fileName) {
    struct stat info {};
    return ::stat(fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           (info.st_mode & 0222) == 0;
}

std::string TemporaryStemBeside(const std::string& target) {
    return target.substr(0, target.rfind('/') + 1) + ".~vb" + std::to_string(::getpid()) + "-";
}

NewFile WriteNewFile(const std::string& name, const std::string& bytes, const std::string& like) {
    FileDescriptor fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd)
        return errno == EEXIST ? NewFile::NameTaken : NewFile::NotCreated;
    struct stat old {};
    if (::stat(like.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        ::fchmod(fd.Get(), old.st_mode & 07777) != 0)
        return NewFile::NotWritten;
    const bool written = WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0 && fd.Close();
    return written ? NewFile::Written : NewFile::NotWritten;
}

bool MoveOver(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace files_platform

bool FileExists(const std::string& fileName) {
    struct stat info {};
    return !fileName.empty() && ::stat(fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool FolderExists(const std::string& folderName) {
    struct stat info {};
    return !folderName.empty() && ::stat(folderName.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

FileRead ReadFileUpTo(const std::string& fileName, std::string& bytes, std::size_t maxBytes) {
    // Not blocking on a FIFO's open; only a regular file is read.
    FileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return FileRead::Failed;
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes)
        return FileRead::TooLarge;
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return FileRead::Failed;
        if (got == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(got));
        if (content.size() > maxBytes)
            return FileRead::TooLarge;
    }
    bytes = std::move(content);
    return FileRead::Done;
}

std::string WriteRefusal(const std::string& fileName) {
    if (NamesDevice(fileName))
        return msg::kReasonIsDevice;
    struct stat info {};
    if (::stat(fileName.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return msg::kReasonIsFolder;
        return files_platform::IsReadOnly(fileName) ? msg::kReasonReadOnly : "";
    }
    const std::size_t slash = fileName.rfind('/');
    if (slash == std::string::npos)
        return "";
    const std::string folder = fileName.substr(0, slash + 1);
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return msg::kReasonFolderMissing;
    return "";
}

bool AppendToFile(const std::string& fileName, const std::string& bytes, std::string& reason) {
    reason = WriteRefusal(fileName);
    if (!reason.empty())
        return false;
    // O_APPEND: each write lands at the end as it is then, whoever else appends.
    FileDescriptor fd(::open(fileName.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    ssize_t written = -1;
    off_t start = -1;
    if (fd) {
        start = ::lseek(fd.Get(), 0, SEEK_END);
        do
            written = ::write(fd.Get(), bytes.data(), bytes.size());
        while (written < 0 && errno == EINTR);
    }
    if (written == static_cast<ssize_t>(bytes.size()))
        return true;
    reason = ReasonForErrno(written < 0 ? errno : EIO);
    // A line written in part is taken back, so that the next one starts clean.
    if (written > 0 && start >= 0 && ::ftruncate(fd.Get(), start) != 0)
        (void)!::write(fd.Get(), "\r\n", 2);
    return false;
}

bool DeleteFileByName(const std::string& fileName) {
    return !fileName.empty() && ::unlink(fileName.c_str()) == 0;
}

} // namespace velbrook
