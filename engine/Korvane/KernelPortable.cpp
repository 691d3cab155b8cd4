// The fast network step for baseline x86-64 (SSE2); the flags are set per file in CMake.
#include "Korvane/GruKernel.h"

KORVANE_DEFINE_STEP(Portable, 16)
