// INI text: parsing and writing must agree, and lookups never fail.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/ini_file.h"

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(64);
    const std::string name = input.ConsumeRandomLengthString(64);
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    velbrook::IniFile first("");
    first.SetText(text);
    const std::string written = first.Text();

    // Written text parses back to the same content.
    velbrook::IniFile second("");
    second.SetText(written);
    Require(second.Text() == written);

    // Lookups with any names return the stored value or the default.
    (void)first.ReadString(section, name, value);
    (void)first.ReadString(name, section, "");

    // A value written under a name without '=' is what reading that name gives.
    if (name.find('=') == std::string::npos) {
        first.WriteString(section, name, value);
        Require(first.ReadString(section, name, "\x01") == value);
        first.DeleteKey(section, name);
        (void)first.Text();
    }
    return 0;
}
