// Raises the standard library's errors from its own functions, in a program
// linked as velbrook.exe is, and catches each by its type. Prints one line per
// error caught as it should be; exit code 0 when every one was.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

template <class Expected, class Raise> bool CaughtAs(const char* what, Raise raise) {
    try {
        raise();
    } catch (const Expected&) {
        std::printf("%s\n", what);
        return true;
    } catch (...) {
    }
    return false;
}

} // namespace

int main() {
    const std::string empty;
    std::vector<int> numbers(3);
    bool all = true;
    all &= CaughtAs<std::out_of_range>("out_of_range", [&] { (void)empty.at(1); });
    all &= CaughtAs<std::out_of_range>("out_of_range", [&] { (void)numbers.at(7); });
    all &= CaughtAs<std::length_error>("length_error",
                                       [&] { numbers.reserve(numbers.max_size() + 1); });
    all &= CaughtAs<std::invalid_argument>("invalid_argument", [] { (void)std::stoi("x"); });
    all &= CaughtAs<std::logic_error>("logic_error", [] { (void)std::string(nullptr, 1); });
    return all ? 0 : 1;
}
