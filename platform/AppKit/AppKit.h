#pragma once
// Stands in for AppKit, the core the system's views and controls are built on:
// views and windows with event routing, controls and cells with target/action,
// images, colours and fonts from bundles' asset catalogues, paths, the graphics
// context stack, URL opening, cursors, menus, buttons and pop-up buttons, window
// controllers and the recent-documents list. See each header for what is left out.

#include "AppKit/NSAppearance.h"
#include "AppKit/NSApplication.h"
#include "AppKit/NSAssetCatalog.h"
#include "AppKit/NSBezierPath.h"
#include "AppKit/NSButton.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSControl.h"
#include "AppKit/NSCursor.h"
#include "AppKit/NSDocumentController.h"
#include "AppKit/NSEvent.h"
#include "AppKit/NSFont.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSImage.h"
#include "AppKit/NSImageRep.h"
#include "AppKit/NSLayoutConstraint.h"
#include "AppKit/NSMenu.h"
#include "AppKit/NSPopUpButton.h"
#include "AppKit/NSResponder.h"
#include "AppKit/NSScreen.h"
#include "AppKit/NSStringDrawing.h"
#include "AppKit/NSText.h"
#include "AppKit/NSView.h"
#include "AppKit/NSViewController.h"
#include "AppKit/NSWindow.h"
#include "AppKit/NSWindowController.h"
#include "AppKit/NSWorkspace.h"
#include "AppKit/ResourceBundle.h"
