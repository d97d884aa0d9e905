#pragma once
// The one way Windows headers are included: ANSI only.
#if defined(UNICODE) || defined(_UNICODE)
#error "Velbrook is an ANSI program: do not define UNICODE"
#endif
#include <windows.h>
