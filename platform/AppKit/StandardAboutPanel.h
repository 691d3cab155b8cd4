#pragma once
// Internal to AppKit: the standard About panel's window, filled from the main bundle —
// its icon (CFBundleIconFile in the resources, PNG or SVG), name (CFBundleDisplayName,
// else CFBundleName), "Version <CFBundleShortVersionString> (<CFBundleVersion>)",
// credits (Credits.txt in the resources) and copyright (NSHumanReadableCopyright) —
// centred on a dark ground, 300 points wide. Thread: main thread.

#include <memory>
#include <string>

class NSWindow;
class Bundle;

std::shared_ptr<NSWindow> makeStandardAboutPanel();
std::shared_ptr<NSWindow> makeStandardAboutPanel(const Bundle& bundle);
