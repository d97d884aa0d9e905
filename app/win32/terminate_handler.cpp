// Takes the place of libstdc++'s default terminate handler. That one names the
// exception's type through the demangler, which brings in the demangler and
// printf with floating-point formatting: about 70 KB of the program, for a
// text on standard error that a GUI program's user never sees. Linked into the
// program itself, so that the library's definition is not pulled in.
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    // Like the library's: the message of an uncaught standard exception, then abort.
    if (const std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& error) {
            std::fputs("terminate called after throwing an exception\n  what():  ", stderr);
            std::fputs(error.what(), stderr);
            std::fputs("\n", stderr);
        } catch (...) {
            std::fputs("terminate called after throwing an exception\n", stderr);
        }
    } else {
        std::fputs("terminate called without an active exception\n", stderr);
    }
    std::abort();
}

} // namespace __gnu_cxx
