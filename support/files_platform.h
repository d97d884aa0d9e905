#pragma once
// The steps each platform gives the portable file helpers in files.cpp.
#include <string>

namespace velbrook::files_platform {

enum class NewFile { Written, NameTaken, NotCreated, NotWritten };

// True for an existing file that is marked read-only.
bool IsReadOnly(const std::string& fileName);
// The start of the names of temporary files beside the target: its folder and
// a short prefix unique to this process (short, so that a target with a long
// name still gets one).
std::string TemporaryStemBeside(const std::string& target);
// Creates the file, which must not exist yet, and writes the bytes through to
// disk; it takes the permissions of `like` where that is an existing file.
// After NotWritten the file exists and is the caller's to delete.
NewFile WriteNewFile(const std::string& name, const std::string& bytes, const std::string& like);
// Renames `from` to `to`, replacing `to`.
bool MoveOver(const std::string& from, const std::string& to);

} // namespace velbrook::files_platform
