#pragma once
// Errors that the program raises. Each carries the exact text that the user sees.
#include <stdexcept>
#include <string>
#include <string_view>

namespace velbrook {

class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
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
