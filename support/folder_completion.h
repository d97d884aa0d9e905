#pragma once
// The folders that complete a path being typed, as path boxes offer them.
#include <string>
#include <string_view>
#include <vector>

namespace velbrook {

// The subfolders of the folder that `typed` ends in (up to its last backslash
// or slash) whose names begin with the rest, without regard to case, each as
// that folder's text plus the name, sorted. %VARIABLE%s are expanded only to
// look the folder up: the completions keep them as typed. Empty when nothing
// names a folder yet.
std::vector<std::string> FolderCompletions(std::string_view typed);

// Platform parts. The names of the folder's subfolders ("." and ".." left out),
// empty when it cannot be listed.
std::vector<std::string> SubfolderNames(const std::string& folder);
// %NAME% replaced by the environment's value; names that are not set stay.
std::string ExpandVariables(const std::string& text);

} // namespace velbrook
