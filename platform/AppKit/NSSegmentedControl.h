#pragma once
// NSSegmentedControl and its cell live together in NSSegmentedCell.h.
#include "AppKit/NSSegmentedCell.h"
