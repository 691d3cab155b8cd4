#pragma once
// What every weight document the loader accepts must give: a network whose output
// stays finite on every kernel path this CPU has, for impulses, noise and full-scale
// square waves at the level the model processor lets into it (|x| <= 1). Aborts
// with a message otherwise. Thread: the fuzzing thread (switches the process-wide
// kernel path and restores it).

#include "Korvane/ModelWeights.h"

#include <memory>

namespace fuzzing {

void requireFiniteOutput(const std::shared_ptr<const Korvane::ModelWeights>& weights);

} // namespace fuzzing
