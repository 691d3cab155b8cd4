// The counting allocation functions of this test binary, for the tests that prove the
// render path allocates nothing.
#include "AllocationCounting.h"

#include "TestSupport.h"

namespace Korvane::testing {
long allocations() {
    return AllocationCounting::threadAllocations;
}
} // namespace Korvane::testing
