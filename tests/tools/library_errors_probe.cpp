// Raises libstdc++'s errors through the program's own raising functions
// (app/win32/library_errors.cpp, linked here as velbrook.exe links it) and
// prints the text of each error caught as std::exception, one per line.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

int main() {
    const std::string empty;
    std::vector<int> numbers(3);
    void (*const raises[])(const std::string&, std::vector<int>&) = {
        [](const std::string& s, std::vector<int>&) { (void)s.substr(5); },
        [](const std::string&, std::vector<int>& v) { (void)v.at(7); },
        [](const std::string&, std::vector<int>& v) { v.reserve(v.max_size() + 1); },
        [](const std::string&, std::vector<int>&) { (void)std::string(nullptr, 1); },
    };
    for (const auto raise : raises) {
        try {
            raise(empty, numbers);
            std::puts("nothing raised");
        } catch (const std::exception& error) {
            std::puts(error.what());
        }
    }
    return 0;
}
