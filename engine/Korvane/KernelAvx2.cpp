// The fast network step for AVX2 with FMA; the flags are set per file in CMake.
#include "Korvane/GruKernel.h"

KORVANE_DEFINE_STEP(Avx2, 32)
