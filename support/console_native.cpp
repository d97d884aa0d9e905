#include "support/console.h"

#include <cerrno>
#include <unistd.h>

namespace velbrook {

namespace {

void WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

} // namespace

void WriteStandardOutput(std::string_view text) {
    WriteAll(STDOUT_FILENO, text);
}

void WriteStandardError(std::string_view text) {
    WriteAll(STDERR_FILENO, text);
}

void SuppressSystemDialogs() {}

} // namespace velbrook
