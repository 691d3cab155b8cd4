#pragma once
// The library's buttons and button cells, one family per header (included here).
// Thread: main thread.

#include <memory>
#include <optional>

#include "AppKit/NSButton.h"
#include "AppKit/NSButtonCell.h"
#include "AppKit/NSCursor.h"
#include "Controls/CornerButton.h"
#include "Controls/CursorButton.h"
#include "Controls/QuarroPushButton.h"
#include "Controls/StyledButton.h"
#include "Controls/StyledCheckBox.h"
