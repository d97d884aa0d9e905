#pragma once
// Standard output and standard error of a program that has no console of its
// own: the handle it inherited when it was started with them redirected, else
// the console of the process that started it, else nowhere.
#include <string_view>

namespace velbrook {

void WriteStandardOutput(std::string_view text);
void WriteStandardError(std::string_view text);

// For a run that nobody watches: the system shows no dialog of its own either
// (a drive without its disk, a program that crashed), so nothing waits.
void SuppressSystemDialogs();

} // namespace velbrook
