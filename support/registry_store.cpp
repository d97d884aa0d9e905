#include "support/registry_store.h"

#include <algorithm>

namespace velbrook {

namespace {
RegistryStore* installedStore = nullptr;
}

long HandOutData(const std::uint8_t* bytes, std::size_t count, std::uint8_t* data,
                 std::uint32_t* size) {
    if (size == nullptr)
        return kRegSuccess;
    const bool fits = data == nullptr || *size >= count;
    if (data != nullptr && fits)
        std::copy(bytes, bytes + count, data);
    *size = static_cast<std::uint32_t>(count);
    return fits ? kRegSuccess : kRegMoreData;
}

RegistryStore& ActiveRegistryStore() {
    return installedStore != nullptr ? *installedStore : PlatformRegistryStore();
}

void SetActiveRegistryStore(RegistryStore* store) {
    installedStore = store;
}

} // namespace velbrook
