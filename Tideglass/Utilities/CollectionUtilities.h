#pragma once
// Reordering and removing list elements by index: the operations behind
// drag-to-reorder in lists and outlines. Generic over the element type; plain
// functions of values. Thread: any (they touch only their arguments).
//
// Index conventions: a single move takes `to` after the removal; a block move's
// `toIndex` is a drop position in the list as it was before the move (between rows);
// indexes outside the list are skipped where a list of indexes is given.

#include <algorithm>
#include <cstddef>
#include <optional>
#include <set>
#include <stdexcept>
#include <vector>

namespace Tideglass {

// A sorted set of distinct indexes.
using IndexSet = std::set<int>;

// The elements at `indexes`, in the order given; indexes outside are skipped.
template <class T>
std::vector<T> elementsAt(const std::vector<T>& list, const std::vector<int>& indexes) {
    std::vector<T> out;
    for (int i : indexes)
        if (i >= 0 && size_t(i) < list.size())
            out.push_back(list[size_t(i)]);
    return out;
}

// Removes the elements at `indexes`, highest first; returns them in ascending index
// order. An index outside the list throws std::out_of_range before anything is removed.
template <class T> std::vector<T> removeAtIndexes(std::vector<T>& list, const IndexSet& indexes) {
    if (!indexes.empty() && (*indexes.begin() < 0 || size_t(*indexes.rbegin()) >= list.size()))
        throw std::out_of_range("removeAtIndexes: index outside the list");
    std::vector<T> removed;
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it) {
        removed.push_back(std::move(list[size_t(*it)]));
        list.erase(list.begin() + *it);
    }
    std::reverse(removed.begin(), removed.end());
    return removed;
}

// As removeAtIndexes, for any collection of indexes; invalid ones are skipped.
template <class T, class Indexes>
IndexSet validIndexes(const std::vector<T>& list, const Indexes& indexes) {
    IndexSet valid;
    for (int i : indexes)
        if (i >= 0 && size_t(i) < list.size())
            valid.insert(i);
    return valid;
}
template <class T, class Indexes>
std::vector<T> removeAt(std::vector<T>& list, const Indexes& indexes) {
    return removeAtIndexes(list, validIndexes(list, indexes));
}

// Single move: removes at `from` and inserts at `to` (taken after the removal).
// Indexes outside the list throw std::out_of_range and leave it unchanged.
template <class T> void moveInPlace(std::vector<T>& list, int from, int to) {
    if (from == to)
        return;
    if (from < 0 || to < 0 || size_t(from) >= list.size() || size_t(to) >= list.size())
        throw std::out_of_range("moveInPlace: index outside the list");
    T element = std::move(list[size_t(from)]);
    list.erase(list.begin() + from);
    list.insert(list.begin() + to, std::move(element));
}
template <class T> std::vector<T> moved(std::vector<T> list, int from, int to) {
    moveInPlace(list, from, to);
    return list;
}

// Block move: the elements at `indexes` land, in their order, where the drop
// position `toIndex` (counted before the move) was: k = the indexes below toIndex;
// remove them all, insert the block at toIndex − k. Indexes or a drop position
// outside the list throw std::out_of_range and leave it unchanged.
template <class T> void moveInPlace(std::vector<T>& list, const IndexSet& indexes, int toIndex) {
    if (toIndex < 0 || size_t(toIndex) > list.size())
        throw std::out_of_range("moveInPlace: drop position outside the list");
    int below =
        int(std::count_if(indexes.begin(), indexes.end(), [&](int i) { return i < toIndex; }));
    std::vector<T> block = removeAtIndexes(list, indexes);
    list.insert(list.begin() + (toIndex - below), std::make_move_iterator(block.begin()),
                std::make_move_iterator(block.end()));
}
template <class T>
void moveInPlace(std::vector<T>& list, const std::vector<int>& indexes, int toIndex) {
    moveInPlace(list, IndexSet(indexes.begin(), indexes.end()), toIndex);
}
template <class T> std::vector<T> moved(std::vector<T> list, const IndexSet& indexes, int toIndex) {
    moveInPlace(list, indexes, toIndex);
    return list;
}
template <class T>
std::vector<T> moved(std::vector<T> list, const std::vector<int>& indexes, int toIndex) {
    moveInPlace(list, indexes, toIndex);
    return list;
}

// Removes the elements at `indexes` (as removeAt) and inserts them, in their former
// order, at `to` — not adjusted for the removal. A `to` beyond the shortened list
// throws std::out_of_range and leaves the list unchanged.
template <class T, class Indexes>
void moveFrom(std::vector<T>& list, const Indexes& indexes, int to) {
    IndexSet valid = validIndexes(list, indexes);
    if (to < 0 || size_t(to) > list.size() - valid.size())
        throw std::out_of_range("move: destination outside the list");
    std::vector<T> block = removeAtIndexes(list, valid);
    list.insert(list.begin() + to, std::make_move_iterator(block.begin()),
                std::make_move_iterator(block.end()));
}

// Removes the first occurrence of `element`; nothing when it is absent.
template <class T> void removeInPlace(std::vector<T>& list, const T& element) {
    auto it = std::find(list.begin(), list.end(), element);
    if (it != list.end())
        list.erase(it);
}
// For each listed element in turn, its first occurrence.
template <class T> void removeInPlace(std::vector<T>& list, const std::vector<T>& elements) {
    for (const T& e : elements)
        removeInPlace(list, e);
}
template <class T> std::vector<T> removed(std::vector<T> list, const T& element) {
    removeInPlace(list, element);
    return list;
}
template <class T> std::vector<T> removed(std::vector<T> list, const std::vector<T>& elements) {
    removeInPlace(list, elements);
    return list;
}

template <class T> void prepend(std::vector<T>& list, T element) {
    list.insert(list.begin(), std::move(element));
}

// Append an element, or an optional one when present.
template <class T> std::vector<T>& operator+=(std::vector<T>& list, T element) {
    list.push_back(std::move(element));
    return list;
}
template <class T>
std::vector<T>& operator+=(std::vector<T>& list, const std::optional<T>& element) {
    if (element)
        list.push_back(*element);
    return list;
}
// Remove the first occurrence, if any (of an optional one when present).
template <class T> std::vector<T>& operator-=(std::vector<T>& list, const T& element) {
    removeInPlace(list, element);
    return list;
}
template <class T>
std::vector<T>& operator-=(std::vector<T>& list, const std::optional<T>& element) {
    if (element)
        removeInPlace(list, *element);
    return list;
}

// The changes between two lists, as a list difference gives them: each a removal
// or an insertion of an element at an offset.
template <class T> struct CollectionChange {
    enum class Kind { remove, insert };
    Kind kind;
    int offset;
    T element;
};

// Applies each change in its own order: a removal removes at its offset, an
// insertion inserts its element at its offset. A change outside the list throws
// std::out_of_range (the changes before it stay applied).
template <class T>
void applyInPlace(std::vector<T>& list, const std::vector<CollectionChange<T>>& difference) {
    for (const auto& change : difference) {
        bool removal = change.kind == CollectionChange<T>::Kind::remove;
        if (change.offset < 0 || size_t(change.offset) + (removal ? 1 : 0) > list.size())
            throw std::out_of_range("applyInPlace: change outside the list");
        if (removal)
            list.erase(list.begin() + change.offset);
        else
            list.insert(list.begin() + change.offset, change.element);
    }
}

} // namespace Tideglass
