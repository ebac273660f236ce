#pragma once

// The Windows API as the platform layer uses it: the wide-character functions, without the
// rarely used parts of the headers and without the min and max macros.

#ifndef UNICODE
#define UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
