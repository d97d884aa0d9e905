// Takes the place of libstdc++'s functions that raise its own errors (a string
// or vector grown past its limits, an index out of range). The library's raise
// std::logic_error and its kind, which keep their text in the old
// copy-on-write string: linking them brings that whole second string class,
// about 50 KB of the program. These raise the same texts in an error that
// holds them without it. Linked into the program itself, so that the
// library's definitions are not pulled in.
#include <cstdarg>
#include <cstddef>
#include <cstring>
#include <exception>
#include <new>

namespace {

// A library error's text, formatted in place: copying it cannot fail.
class LibraryError : public std::exception {
  public:
    explicit LibraryError(const char* text) { Append(text, std::strlen(text)); }
    LibraryError(const char* format, std::va_list args);
    const char* what() const noexcept override { return text_; }

  private:
    void Append(const char* text, std::size_t length);
    void AppendNumber(unsigned long long number);

    char text_[256] = {};
    std::size_t length_ = 0;
};

void LibraryError::Append(const char* text, std::size_t length) {
    for (std::size_t i = 0; i < length && length_ + 1 < sizeof text_; ++i)
        text_[length_++] = text[i];
}

void LibraryError::AppendNumber(unsigned long long number) {
    char digits[24];
    std::size_t count = 0;
    do {
        digits[sizeof digits - ++count] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    Append(digits + sizeof digits - count, count);
}

// The library's formats hold %s and %zu (or %lu, %u) only.
LibraryError::LibraryError(const char* format, std::va_list args) {
    for (const char* at = format; *at != '\0'; ++at) {
        if (*at != '%' || at[1] == '\0') {
            Append(at, 1);
            continue;
        }
        ++at;
        while (*at == 'z' || *at == 'l')
            ++at;
        if (*at == 's') {
            const char* text = va_arg(args, const char*);
            Append(text, std::strlen(text));
        } else if (*at == 'u' && at[-1] == 'z') {
            AppendNumber(va_arg(args, std::size_t));
        } else if (*at == 'u' && at[-1] == 'l') {
            AppendNumber(va_arg(args, unsigned long));
        } else if (*at == 'u') {
            AppendNumber(va_arg(args, unsigned));
        } else {
            Append(at, 1);
        }
    }
}

} // namespace

namespace std {

void __throw_bad_alloc() {
    throw bad_alloc();
}

void __throw_bad_array_new_length() {
    throw bad_array_new_length();
}

void __throw_logic_error(const char* text) {
    throw LibraryError(text);
}

void __throw_invalid_argument(const char* text) {
    throw LibraryError(text);
}

void __throw_length_error(const char* text) {
    throw LibraryError(text);
}

void __throw_out_of_range(const char* text) {
    throw LibraryError(text);
}

void __throw_out_of_range_fmt(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const LibraryError error(format, args);
    va_end(args);
    throw error;
}

} // namespace std
