#pragma once
// One move of a node in a tree (an outline's drag and drop), and the helpers for a
// batch of them. A batch records each node's position before the batch
// (`previousIndex`) and where it is inserted (`newIndex`); TreeMove::offset corrects
// the previous indexes of later moves for the earlier ones, so that the moves can be
// replayed one after another. Thread: any (values only; the items are not touched).

#include <memory>
#include <string>
#include <vector>

// A node of a tree as these helpers see it: a string that identifies it.
class TreeItem {
  public:
    virtual ~TreeItem() = default;
    virtual std::string treeItemIdentifier() const = 0;
};

class TreeMove {
  public:
    TreeMove(std::shared_ptr<TreeItem> item, std::shared_ptr<TreeItem> previousParent,
             int previousIndex, std::shared_ptr<TreeItem> newParent, int newIndex)
        : item(std::move(item)), previousParent(std::move(previousParent)),
          previousIndex(previousIndex), newParent(std::move(newParent)), newIndex(newIndex) {}

    // An absent parent is the root.
    const std::shared_ptr<TreeItem> item;
    const std::shared_ptr<TreeItem> previousParent;
    const int previousIndex;
    const std::shared_ptr<TreeItem> newParent;
    const int newIndex;

    // Two parents are the same when their identifiers are equal; two roots are the same.
    static bool sameParent(const std::shared_ptr<TreeItem>& a, const std::shared_ptr<TreeItem>& b);

    // The moves with each later move's previousIndex lowered by one for every earlier
    // move that took a node out from above it in the same parent and did not put it
    // back into that parent (the earlier move leaves the parent, or the later one
    // does, or both move down within it).
    static std::vector<std::shared_ptr<TreeMove>>
    offset(const std::vector<std::shared_ptr<TreeMove>>& moves);
};

using TreeMoves = std::vector<std::shared_ptr<TreeMove>>;

// The distinct parents, first occurrence kept, in order; roots left out.
std::vector<std::shared_ptr<TreeItem>> uniqueNewParents(const TreeMoves& moves);
std::vector<std::shared_ptr<TreeItem>> uniquePreviousParents(const TreeMoves& moves);
// Over both kinds of parent, each move's previous parent before its new one.
std::vector<std::shared_ptr<TreeItem>> uniqueParents(const TreeMoves& moves);
TreeMoves reversed(const TreeMoves& moves);
// True when some move starts or ends at the root.
bool hasRootParents(const TreeMoves& moves);
