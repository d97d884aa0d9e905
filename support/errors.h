#pragma once
// Errors that the program raises. Each carries the exact text that the user sees.
#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace velbrook {

// Holds its text in the program's own string: std::runtime_error keeps it in
// the library's old copy-on-write string, whose code would come along with it.
class Error : public std::exception {
  public:
    explicit Error(std::string message) : message_(std::move(message)) {}
    explicit Error(const char* message) : message_(message) {}
    const char* what() const noexcept override { return message_.c_str(); }

  private:
    std::string message_;
};

class RegistryError : public Error {
  public:
    using Error::Error;
};

class IniFileError : public Error {
  public:
    using Error::Error;
};

class ListIndexError : public Error {
  public:
    using Error::Error;
};

// Replaces the first "%s" of a message format by the argument.
std::string FormatText(std::string_view format, std::string_view arg);
// Replaces the first two "%s" of a message format by the arguments, in order.
std::string FormatText(std::string_view format, std::string_view first, std::string_view second);
// Replaces the first "%d" of a message format by the number.
std::string FormatText(std::string_view format, long long number);

} // namespace velbrook
