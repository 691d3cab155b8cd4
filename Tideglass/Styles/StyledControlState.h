#pragma once
// StyledControlState: what a styled control looks like at a moment, as a bit set.
// Styles key their colour, font and image tables by it; a control reduces its cell's
// AppKit state (on/off/mixed, enabled, highlighted, selected, valid) to one value and
// asks its style for what belongs to it.
// A plain value: freely shared between threads.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

struct StyledControlState {
    std::int64_t rawValue = 0;

    constexpr StyledControlState() = default;
    constexpr explicit StyledControlState(std::int64_t raw) : rawValue(raw) {}
    // Array-literal construction: the union of the members listed.
    constexpr StyledControlState(std::initializer_list<StyledControlState> members) {
        for (auto member : members)
            rawValue |= member.rawValue;
    }

    // The named members, in bit order. `default_` is the plain state (the name
    // `default` is taken by the language).
    static const StyledControlState default_, disabled, selected, highlighted, focused, on, mixed,
        invalid;
    // The members other than `default_`, in bit order.
    static const std::array<StyledControlState, 7> allStates;

    // Set algebra.
    constexpr bool isEmpty() const { return rawValue == 0; }
    constexpr bool contains(StyledControlState other) const {
        return (rawValue & other.rawValue) == other.rawValue;
    }
    constexpr StyledControlState unionWith(StyledControlState other) const {
        return StyledControlState(rawValue | other.rawValue);
    }
    constexpr StyledControlState intersection(StyledControlState other) const {
        return StyledControlState(rawValue & other.rawValue);
    }
    constexpr StyledControlState symmetricDifference(StyledControlState other) const {
        return StyledControlState(rawValue ^ other.rawValue);
    }
    constexpr StyledControlState subtracting(StyledControlState other) const {
        return StyledControlState(rawValue & ~other.rawValue);
    }
    constexpr bool isSubset(StyledControlState other) const { return other.contains(*this); }
    constexpr bool isSuperset(StyledControlState other) const { return contains(other); }
    constexpr bool isDisjoint(StyledControlState other) const {
        return (rawValue & other.rawValue) == 0;
    }
    constexpr void insert(StyledControlState other) { rawValue |= other.rawValue; }
    constexpr void remove(StyledControlState other) { rawValue &= ~other.rawValue; }
    constexpr void formUnion(StyledControlState other) { insert(other); }
    constexpr void formIntersection(StyledControlState other) { rawValue &= other.rawValue; }
    constexpr void formSymmetricDifference(StyledControlState other) { rawValue ^= other.rawValue; }

    constexpr StyledControlState operator|(StyledControlState other) const {
        return unionWith(other);
    }
    constexpr StyledControlState operator&(StyledControlState other) const {
        return intersection(other);
    }
    constexpr StyledControlState operator^(StyledControlState other) const {
        return symmetricDifference(other);
    }
    constexpr StyledControlState& operator|=(StyledControlState other) {
        insert(other);
        return *this;
    }
    // Equality is by raw value (bits above `invalid` included).
    constexpr bool operator==(const StyledControlState&) const = default;

    // How many members of `allStates` the value wholly contains (`default_` not counted).
    int countOfSetOptions() const;
    // `default_` first (set or not), then each contained member of `allStates` in bit
    // order, one bit each.
    std::vector<StyledControlState> toArray() const;
    // The names of the set bits in bit order, joined by ", "; bits above `invalid`
    // contribute nothing, the empty set describes as "".
    std::string description() const;
};

inline constexpr StyledControlState StyledControlState::default_{1};
inline constexpr StyledControlState StyledControlState::disabled{2};
inline constexpr StyledControlState StyledControlState::selected{4};
inline constexpr StyledControlState StyledControlState::highlighted{8};
inline constexpr StyledControlState StyledControlState::focused{16};
inline constexpr StyledControlState StyledControlState::on{32};
inline constexpr StyledControlState StyledControlState::mixed{64};
inline constexpr StyledControlState StyledControlState::invalid{128};
inline constexpr std::array<StyledControlState, 7> StyledControlState::allStates{
    disabled, selected, highlighted, focused, on, mixed, invalid};

// A state hashes by its description, so values that differ only in bits above
// `invalid` hash alike (they stay unequal).
template <> struct std::hash<StyledControlState> {
    std::size_t operator()(const StyledControlState& state) const noexcept;
};
