#include "Styles/Styles.h"

#include "AppKit/NSColor.h"

const std::shared_ptr<NSColor>& ClearColor::operator()() const {
    return NSColor::clear();
}
