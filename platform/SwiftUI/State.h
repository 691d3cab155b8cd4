#pragma once
// View state and bindings. State slots live in the node of the view that claims them
// (ViewContext::state), in the order the body claims them, so they survive every
// rebuild of that view and are dropped when the view leaves the tree. A State is a
// handle to its slot: copies (in closures) read and write the same slot; writing a
// different value marks the view for rebuild on the next run-loop turn.
// Thread: main.

#include <concepts>
#include <functional>
#include <memory>
#include <type_traits>

namespace SwiftUI {

class Node;

namespace detail {

class SlotBase {
  public:
    virtual ~SlotBase() = default;
    // Marks the owning view for rebuild; nothing once it has left the tree.
    void invalidate() const;
    std::weak_ptr<Node> owner;
};

template <class T> class StateBox final : public SlotBase {
  public:
    explicit StateBox(T v) : value(std::move(v)) {}
    T value;
};

template <class T> bool sameValue(const T& a, const T& b) {
    if constexpr (std::equality_comparable<T>)
        return a == b;
    else
        return false;
}

} // namespace detail

// A two-way reference to a value held elsewhere.
template <class T> class Binding {
  public:
    Binding(std::function<T()> get, std::function<void(const T&)> set)
        : getter(std::move(get)), setter(std::move(set)) {}
    static Binding constant(T value) {
        return Binding([value] { return value; }, [](const T&) {});
    }

    T get() const { return getter(); }
    T operator*() const { return getter(); }
    // For bindings to shared objects: binding->member().
    auto operator->() const requires requires(T t) { t.operator->(); }
    { return getter(); }
    void set(const T& value) const { setter(value); }
    const Binding& operator=(const T& value) const {
        setter(value);
        return *this;
    }
    Binding& operator=(const Binding&) = default;
    Binding(const Binding&) = default;

  private:
    std::function<T()> getter;
    std::function<void(const T&)> setter;
};

template <class T> class State {
  public:
    // A state outside any view (in a test or a preview): a slot of its own.
    explicit State(T initial) : box(std::make_shared<detail::StateBox<T>>(std::move(initial))) {}
    explicit State(std::shared_ptr<detail::StateBox<T>> slot) : box(std::move(slot)) {}

    const T& get() const { return box->value; }
    const T& operator*() const { return box->value; }
    const T* operator->() const { return &box->value; }
    operator const T&() const { return box->value; }

    void set(T value) const {
        if (detail::sameValue(box->value, value))
            return;
        box->value = std::move(value);
        box->invalidate();
    }
    const State& operator=(T value) const {
        set(std::move(value));
        return *this;
    }
    State& operator=(const State&) = default;
    State(const State&) = default;

    // The two-way binding a child view takes (`$value`).
    Binding<T> binding() const {
        auto b = box;
        return Binding<T>([b] { return b->value; }, [b](const T& v) { State<T>(b).set(v); });
    }

  private:
    std::shared_ptr<detail::StateBox<T>> box;
};

// Whether a focusable view has the keyboard focus: true while the view bound to it
// with .focused(_:) is focused; setting it moves the focus there or away.
template <class T> class FocusState {
  public:
    explicit FocusState(State<T> s) : state(std::move(s)) {}
    const T& get() const { return state.get(); }
    const T& operator*() const { return state.get(); }
    operator const T&() const { return state.get(); }
    void set(T v) const { state.set(std::move(v)); }
    const FocusState& operator=(T v) const {
        state.set(std::move(v));
        return *this;
    }
    FocusState& operator=(const FocusState&) = default;
    FocusState(const FocusState&) = default;
    Binding<T> binding() const { return state.binding(); }

  private:
    State<T> state;
};

} // namespace SwiftUI
