#pragma once
// Sets the DACL of a key below HKEY_CURRENT_USER from SDDL, as a policy engine
// leaves a key ("D:P(A;;KR;;;WD)(A;;KA;;;SY)": read for everyone) and back
// ("D:(A;;KA;;;WD)"); the owner may always do it. False when it could not.
#include <string>

namespace velbrook::testing {

bool SetKeyDacl(const std::string& path, const char* sddl);

} // namespace velbrook::testing
