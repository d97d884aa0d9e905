#pragma once
// Named mutexes of the user that runs the program, one for all of the user's
// sessions: "Global\<name>.<SID>". Each is owned by the user and open to the
// user and the system only, at every integrity level, so that an elevated and
// a normal run of the user share it. SIDs are no secret: one of that name that
// anybody else made is not trusted.
#include <string>

#include "support/win32/handles.h"

namespace velbrook::win32 {

// Creates or opens the mutex; `existed` tells which. Raises Error `refusal`
// when another user's program made it, and Error `failure` (%d: the system's
// error code) when it cannot be made.
KernelObject OpenUserMutex(const std::string& name, bool initialOwner, bool& existed,
                           const char* refusal, const char* failure);

} // namespace velbrook::win32
