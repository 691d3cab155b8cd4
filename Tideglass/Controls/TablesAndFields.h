#pragma once
// The library's text fields and tables, as far as the styles and palettes set them
// up. Their drawing and behaviour come with the classes themselves.
// Thread: main thread.

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "AppKit/NSButton.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSEventKeys.h"
#include "AppKit/NSTableView.h"
#include "AppKit/NSTextField.h"
#include "Combine/Combine.h"
#include "Controls/FirstResponderAwareTextField.h"
#include "Controls/SimpleTextViewPopover.h"
#include "Controls/StyledOutlineView.h"
#include "Controls/StyledTableHeader.h"
#include "Controls/StyledTableRows.h"
#include "Controls/StyledTableView.h"
#include "Controls/TableExtras.h"
#include "Controls/ValidatingTextField.h"
