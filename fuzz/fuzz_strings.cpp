// String and path helpers: no input makes them fail, and they agree with
// simple reference versions of what they promise.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "support/strings.h"

namespace {

using namespace velbrook;

void Require(bool condition) {
    if (!condition)
        std::abort();
}

// 1-based start of the last occurrence; 0 when none or either text is empty.
std::int32_t NaiveLastPos(std::string_view s, std::string_view p) {
    if (s.empty() || p.empty() || p.size() > s.size())
        return 0;
    for (std::size_t i = s.size() - p.size() + 1; i-- > 0;)
        if (s.substr(i, p.size()) == p)
            return static_cast<std::int32_t>(i + 1);
    return 0;
}

std::int32_t NaiveCount(std::string_view s, std::string_view p) {
    if (p.empty())
        return static_cast<std::int32_t>(s.size());
    std::int32_t count = 0;
    for (std::size_t i = 0; i + p.size() <= s.size(); ++i)
        count += s.substr(i, p.size()) == p ? 1 : 0;
    return count;
}

void CheckBeforeAfter(std::string_view s, std::string_view d) {
    const std::size_t at = (s.empty() || d.empty()) ? std::string_view::npos : s.find(d);
    for (bool emptyIfAbsent : {false, true}) {
        const std::string before = StrBefore(s, d, emptyIfAbsent);
        const std::string after = StrAfter(s, d, emptyIfAbsent);
        if (at == std::string_view::npos) {
            Require(before == (emptyIfAbsent ? std::string() : std::string(s)));
            Require(after == (emptyIfAbsent ? std::string() : std::string(s)));
        } else {
            Require(before == s.substr(0, at));
            Require(after == s.substr(at + d.size()));
            Require(before + std::string(d) + after == s);
        }
    }
}

void CheckLeftRight(std::string_view s, std::int32_t n) {
    const std::string left = StrLeft(s, n);
    const std::string right = StrRight(s, n);
    const std::size_t expected = n <= 0 ? 0 : std::min<std::size_t>(s.size(), std::size_t(n));
    Require(left == s.substr(0, expected));
    Require(right == s.substr(s.size() - expected));
}

void CheckPaths(std::string_view path) {
    for (int kind = 0; kind <= 255; kind += (kind < 12 ? 1 : 61))
        (void)ExtractPathPart(path, static_cast<PathPartKind>(kind));
    Require(ExtractPathPart(path, ppAsIs) == path);
    Require(ExtractPathPart(path, static_cast<PathPartKind>(200)) == path);

    const std::string added = AddTrailingBackslash(path);
    if (!path.empty() && path.front() != '"')
        Require(added.back() == '\\');
    const std::string removed = RemoveTrailingBackslash(path);
    Require(removed.size() == path.size() || removed.size() + 1 == path.size());
    Require(path.substr(0, removed.size()) == removed);
    (void)QuoteIfNeeded(path, false);
    const std::string forced = QuoteIfNeeded(path, true);
    if (!path.empty())
        Require(forced.front() == '"' && forced.back() == '"');
    (void)Dequote(path);
    (void)StrReverse(path);
    Require(StrReverse(StrReverse(path)) == path);
    const std::string trimmed = TrimControl(path);
    Require(trimmed.empty() || (static_cast<unsigned char>(trimmed.front()) > 32 &&
                                static_cast<unsigned char>(trimmed.back()) > 32));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string pattern = input.ConsumeRandomLengthString(16);
    const std::string replacement = input.ConsumeRandomLengthString(16);
    std::int32_t a = input.ConsumeIntegral<std::int32_t>();
    std::int32_t b = input.ConsumeIntegral<std::int32_t>();
    const bool ignoreCase = input.ConsumeBool();
    const std::string text = input.ConsumeRemainingBytesAsString();

    CheckBeforeAfter(text, pattern);
    CheckLeftRight(text, a);
    CheckLeftRight(text, b);
    CheckPaths(text);
    CheckPaths(pattern);

    Require(StrLastPos(text, pattern) == NaiveLastPos(text, pattern));
    Require(StrCount(text, pattern) == NaiveCount(text, pattern));

    const std::string replaced = StrReplaceAll(text, pattern, replacement, ignoreCase);
    if (!pattern.empty() && !ignoreCase && StrCount(text, pattern) == 0)
        Require(replaced == text);
    if (!pattern.empty() && replacement == pattern && !ignoreCase)
        Require(replaced == text);

    Require(IntMax(a, b) == (b < a ? a : b));
    Require(IntMin(a, b) == (b > a ? a : b));
    const std::int32_t oldA = a, oldB = b;
    SwapInts(a, b);
    Require(a == oldB && b == oldA);
    return 0;
}
