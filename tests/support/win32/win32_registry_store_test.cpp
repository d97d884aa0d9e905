#include <random>
#include <string>

#include "support/win32/win32_registry_store.h"
#include "testlib/registry_conformance.h"

namespace velbrook::testing {
namespace {

std::string ScratchPath() {
    std::random_device random;
    return "Software\\VelbrookTest\\" + std::to_string(random()) + std::to_string(random());
}

INSTANTIATE_TEST_SUITE_P(Win32Registry, RegistryConformance,
                         ::testing::Values(RegistryConformanceTarget{
                             "Win32", [] { return std::make_unique<Win32RegistryStore>(); },
                             ScratchPath()}),
                         [](const auto& info) { return info.param.label; });

} // namespace
} // namespace velbrook::testing
