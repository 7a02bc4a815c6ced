/* The one place miniaudio's implementation is compiled; its switches come from CMakeLists.txt. */
#define MINIAUDIO_IMPLEMENTATION
#include "miniaudio.h"
