#include "testlib/key_security_win32.h"

#include "support/win32/handles.h"
#include "support/win32/windows_ansi.h"
#include <sddl.h>

namespace velbrook::testing {

bool SetKeyDacl(const std::string& path, const char* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return false;
    const win32::LocalMemory owned(descriptor);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        return false;
    const win32::RegistryKey opened(key);
    return RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
}

} // namespace velbrook::testing
