#include "support/win32/centring.h"

#include <gtest/gtest.h>

namespace velbrook::win32 {
namespace {

TEST(CentredPosition, CentresOnTheAreaInsideTheWorkArea) {
    const RECT work{0, 0, 1000, 700};
    struct Case {
        const char* what;
        RECT area;
        SIZE size;
        POINT expected;
    };
    const Case cases[] = {
        {"on the work area", work, {200, 100}, {400, 300}},
        {"on an owner", {100, 100, 500, 400}, {200, 100}, {200, 200}},
        {"an owner at the right edge", {900, 0, 1100, 100}, {300, 50}, {700, 25}},
        {"an owner above and left of it", {-300, -200, -100, -100}, {100, 50}, {0, 0}},
        {"larger than the work area", work, {1200, 800}, {0, 0}},
    };
    for (const Case& c : cases) {
        const POINT at = CentredPosition(c.size, c.area, work);
        EXPECT_EQ(at.x, c.expected.x) << c.what;
        EXPECT_EQ(at.y, c.expected.y) << c.what;
    }
}

} // namespace
} // namespace velbrook::win32
