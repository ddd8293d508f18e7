// The one seam between the bridge and its platform. On Windows it is the real Windows API; on Linux
// it is the small layer in linux/, which offers the same few calls under the same names, so the
// bridge reads the same on both.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "linux/windows_layer.h"
#endif
