#include "Utilities/TreeMove.h"

#include <algorithm>
#include <set>

bool TreeMove::sameParent(const std::shared_ptr<TreeItem>& a, const std::shared_ptr<TreeItem>& b) {
    if (!a || !b)
        return !a && !b;
    return a->treeItemIdentifier() == b->treeItemIdentifier();
}

namespace {

bool staysWithin(const TreeMove& m) {
    return TreeMove::sameParent(m.previousParent, m.newParent);
}

// Whether the earlier move `i` shifts the later move `j` up by one row.
bool shifts(const TreeMove& i, const TreeMove& j) {
    // Both move down within one parent, and j ends in it.
    if (staysWithin(i) && TreeMove::sameParent(j.newParent, i.previousParent) &&
        j.previousIndex > i.previousIndex && i.newIndex > i.previousIndex &&
        j.newIndex > j.previousIndex)
        return true;
    if (!TreeMove::sameParent(i.previousParent, j.previousParent) ||
        j.previousIndex <= i.previousIndex)
        return false;
    // j leaves the parent it shares with i, or i leaves it (nothing put back there).
    return !staysWithin(j) || !staysWithin(i);
}

} // namespace

TreeMoves TreeMove::offset(const TreeMoves& moves) {
    TreeMoves result;
    result.reserve(moves.size());
    for (size_t j = 0; j < moves.size(); ++j) {
        int lowered = 0;
        for (size_t i = 0; i < j; ++i)
            lowered += shifts(*moves[i], *moves[j]) ? 1 : 0;
        const TreeMove& m = *moves[j];
        result.push_back(lowered == 0 ? moves[j]
                                      : std::make_shared<TreeMove>(m.item, m.previousParent,
                                                                   m.previousIndex - lowered,
                                                                   m.newParent, m.newIndex));
    }
    return result;
}

namespace {

// The distinct parents of the moves, previous before new when both are asked for.
std::vector<std::shared_ptr<TreeItem>> distinctParents(const TreeMoves& moves, bool previous,
                                                       bool next) {
    std::vector<std::shared_ptr<TreeItem>> out;
    std::set<std::string> seen;
    auto add = [&](const std::shared_ptr<TreeItem>& parent) {
        if (parent && seen.insert(parent->treeItemIdentifier()).second)
            out.push_back(parent);
    };
    for (const auto& m : moves) {
        if (previous)
            add(m->previousParent);
        if (next)
            add(m->newParent);
    }
    return out;
}

} // namespace

std::vector<std::shared_ptr<TreeItem>> uniqueNewParents(const TreeMoves& moves) {
    return distinctParents(moves, false, true);
}

std::vector<std::shared_ptr<TreeItem>> uniquePreviousParents(const TreeMoves& moves) {
    return distinctParents(moves, true, false);
}

std::vector<std::shared_ptr<TreeItem>> uniqueParents(const TreeMoves& moves) {
    return distinctParents(moves, true, true);
}

TreeMoves reversed(const TreeMoves& moves) {
    return TreeMoves(moves.rbegin(), moves.rend());
}

bool hasRootParents(const TreeMoves& moves) {
    return std::any_of(moves.begin(), moves.end(),
                       [](const auto& m) { return !m->previousParent || !m->newParent; });
}
