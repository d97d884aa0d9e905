#pragma once
// The common controls version check of the places list.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "support/errors.h"

namespace velbrook::ui {

using FileVersion = std::array<std::uint16_t, 4>;

inline constexpr FileVersion kRequiredComCtlVersion{4, 70, 0, 0};

class ListViewError : public Error {
  public:
    using Error::Error;
};

class OldCommonControlsError : public ListViewError {
  public:
    using ListViewError::ListViewError;
};

// Compares part by part, the first part first; equal versions pass.
bool VersionAtLeast(const FileVersion& file, const FileVersion& required);

// The fixed file version of a file found by the system's search rules; none when
// the file or its version resource cannot be read.
std::optional<FileVersion> ReadFileVersion(const std::string& fileName);

bool CheckDllVersion(const std::string& fileName, std::uint16_t required1, std::uint16_t required2,
                     std::uint16_t required3, std::uint16_t required4);

// Raises OldCommonControlsError unless the version is known and at least the required one.
void RequireComCtlVersion(const std::optional<FileVersion>& comctl);

} // namespace velbrook::ui
