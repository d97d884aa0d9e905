#include "support/win32/process_user.h"

#include <vector>

#include "support/errors.h"
#include "support/messages.h"
#include "support/win32/handles.h"
#include "support/win32/windows_ansi.h"
#include <sddl.h>

namespace velbrook::win32 {

namespace {

[[noreturn]] void RaiseTokenError() {
    throw Error(FormatText(msg::kCannotReadProcessUser, static_cast<long long>(GetLastError())));
}

} // namespace

std::string ProcessUserSid() {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened))
        RaiseTokenError();
    const KernelObject token(opened);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0)
        RaiseTokenError();
    std::vector<std::uint8_t> buffer(size);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size))
        RaiseTokenError();
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    std::string sid = SidText(user->User.Sid);
    if (sid.empty())
        RaiseTokenError();
    return sid;
}

std::string SidText(void* sid) {
    char* text = nullptr;
    if (sid == nullptr || !ConvertSidToStringSidA(sid, &text))
        return {};
    const LocalMemory owned(text);
    return text;
}

} // namespace velbrook::win32
