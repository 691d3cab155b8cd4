// The fast network step for AVX-512F with FMA; the flags are set per file in CMake.
#include "Korvane/GruKernel.h"

KORVANE_DEFINE_STEP(Avx512, 64)
