#pragma once
// The declarative views: include this one header.
//
// In brief (C++ forms of the platform's views):
// - A view is a value deriving View<Self> with `AnyView body() const` or
//   `AnyView body(ViewContext& ctx) const`; AnyView erases any view's type.
// - Containers take their children as arguments: HStack(alignment, spacing, a, b, ...),
//   VStack(...), ZStack(alignment, ...), Group(...), ForEach(data, id, content),
//   ForEach::range(0, n, content), GeometryReader([](const GeometryProxy&) {...}).
// - Leaves: Text, Image(name, bundle) / Image(resource) with resizable(), Color,
//   shapes (Rectangle, RoundedRectangle, Circle, Capsule, Path) with fill / stroke,
//   Spacer, Divider, Button(action, label) with buttonStyle(style), TextField, Menu.
// - Modifiers are members: .frame(w, h, alignment), .frame({.maxWidth = infinity}),
//   .padding(Edge::horizontal, 4), .offset, .position, .background, .overlay, .font,
//   .foregroundColor, .opacity, .clipShape, .scaleEffect, .rotationEffect,
//   .contentShape, .allowsHitTesting, .disabled, .help, .gesture / .simultaneousGesture
//   / .highPriorityGesture, .onTapGesture, .onAppear, .onDisappear, .onChange,
//   .environment(object), .id, .focused, .onSubmit, .onKeyPress, .modifier(value).
// - State: ctx.state(initial) gives a State<T> slot of the view (by claiming order);
//   writing a different value rebuilds the view on the next run-loop turn; binding()
//   gives a Binding<T>. ctx.focusState() for .focused; ctx.environment<T>() for an
//   object placed with .environment(std::shared_ptr<T>). Observable properties
//   (Observation) read in a body rebuild it on the next turn after they change.
// - Hosting: make<NSHostingView>(rootView) is an NSView; NSHostingController owns one.
//   Tests can also drive a ViewGraph directly (setSize, pointer, keyPress, render).

#include "SwiftUI/ControlSizes.h"
#include "SwiftUI/Controls.h"
#include "SwiftUI/Effects.h"
#include "SwiftUI/Environment.h"
#include "SwiftUI/Form.h"
#include "SwiftUI/Gesture.h"
#include "SwiftUI/Layout.h"
#include "SwiftUI/Menu.h"
#include "SwiftUI/Modifiers.h"
#include "SwiftUI/Representable.h"
#include "SwiftUI/Shapes.h"
#include "SwiftUI/State.h"
#include "SwiftUI/View.h"
#include "SwiftUI/ViewGraph.h"
#include "SwiftUI/Views.h"
