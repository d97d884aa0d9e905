#include "support/process_account.h"

#include "support/errors.h"
#include "support/messages.h"
#include "support/win32/process_user.h"

namespace velbrook {

std::string ServiceAccountName() {
    std::string sid;
    try {
        sid = win32::ProcessUserSid();
    } catch (const Error&) {
        return {}; // a run that cannot tell is a person's: nothing is refused for it
    }
    if (sid == "S-1-5-18")
        return msg::kLocalSystemAccount;
    if (sid == "S-1-5-19")
        return msg::kLocalServiceAccount;
    if (sid == "S-1-5-20")
        return msg::kNetworkServiceAccount;
    return {};
}

} // namespace velbrook
