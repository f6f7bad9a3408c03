// The Windows API, as every Windows source of the platform layer includes
// it: without the min and max macros, which break the standard library's
// functions of those names, and without the rarely used parts.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
