// The Combine stand-in is templates; this unit gives the shared library its one
// object file and checks that the header stands alone.
#include "Combine/Combine.h"

template class PassthroughSubject<int>;
