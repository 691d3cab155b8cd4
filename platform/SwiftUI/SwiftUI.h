#pragma once
// The declarative views: include this one header.

#include "SwiftUI/Controls.h"
#include "SwiftUI/Environment.h"
#include "SwiftUI/Gesture.h"
#include "SwiftUI/Layout.h"
#include "SwiftUI/Menu.h"
#include "SwiftUI/Modifiers.h"
#include "SwiftUI/Shapes.h"
#include "SwiftUI/State.h"
#include "SwiftUI/View.h"
#include "SwiftUI/ViewGraph.h"
#include "SwiftUI/Views.h"
