#include "support/run_log.h"

#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace velbrook {

RunLogEntry NewRunLogEntry() {
    RunLogEntry entry;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    entry.time = Iso8601({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min, local.tm_sec, static_cast<int>(local.tm_gmtoff / 60)});
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0)
        entry.computer = host;
    if (const char* user = std::getenv("USER"))
        entry.user = user;
    return entry;
}

} // namespace velbrook
