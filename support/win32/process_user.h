#pragma once
// The account that the process runs as.
#include <string>

namespace velbrook::win32 {

// The process token's user as a SID string ("S-1-5-21-..."); raises Error when
// the token cannot be read.
std::string ProcessUserSid();
// A SID as a string ("S-1-5-..."); empty when it cannot be written.
std::string SidText(void* sid);

} // namespace velbrook::win32
