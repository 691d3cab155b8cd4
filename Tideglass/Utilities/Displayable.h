#pragma once
// CaseIterable and Displayable: value types (typically enums) that can list all their
// values, and whose values have a text to show a person.
//
// A type takes part by two free functions beside it, found by argument-dependent
// lookup:
//     std::vector<Model> allCases(std::type_identity<Model>);   // every value, in order
//     std::string displayText(Model value);                     // what a person reads
// Thread: any (the functions are expected to be pure).

#include <concepts>
#include <ranges>
#include <string>
#include <type_traits>

template <class T>
concept CaseIterable = requires {
    { allCases(std::type_identity<T>{}) } -> std::ranges::range;
};

template <class T>
concept Displayable = CaseIterable<T> && requires(const T& value) {
    { displayText(value) } -> std::convertible_to<std::string>;
};
