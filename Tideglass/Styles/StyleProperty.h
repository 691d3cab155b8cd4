#pragma once
// One line per stored property of a style class. Every property of a style has an
// overridable getter and setter (a subclass that overrides the getter changes what the
// style's per-state rules answer) and its storage; the line
//     TIDEGLASS_STYLE_PROPERTY(std::shared_ptr<NSColor>, textColor, setTextColor,
//                              Styles::Control::textColor());
// declares
//     virtual std::shared_ptr<NSColor> textColor() const;   // the stored value
//     virtual void setTextColor(std::shared_ptr<NSColor> v);
// and the storage textColor_, initialised with the arguments after the setter's name
// (none: a zero or empty value). Tables of images are handed out by reference, every
// other value by value. The line leaves the class in its public section.
// Thread: main thread (styles are main-thread objects).

#include <unordered_map>
#include <utility>

template <class T> struct StylePropertyGetter { using type = T; };
template <class... Args> struct StylePropertyGetter<std::unordered_map<Args...>> {
    using type = const std::unordered_map<Args...>&;
};

// clang-format off
#define TIDEGLASS_STYLE_PROPERTY(Type, name, setName, ...)                                        \
  private:                                                                                        \
    Type name##_{__VA_ARGS__};                                                                    \
  public:                                                                                         \
    virtual StylePropertyGetter<Type>::type name() const { return name##_; }                     \
    virtual void setName(Type value) { name##_ = std::move(value); }
// clang-format on
