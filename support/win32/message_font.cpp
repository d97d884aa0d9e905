#include "support/win32/message_font.h"

#include <cstddef>

namespace velbrook::win32 {

namespace {

// NONCLIENTMETRICSA without iPaddedBorderWidth, which older systems refuse.
constexpr UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
static_assert(kNonClientMetricsSize == 340);

} // namespace

LOGFONTA SystemMessageFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0))
        return metrics.lfMessageFont;
    LOGFONTA fallback{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
    return fallback;
}

} // namespace velbrook::win32
