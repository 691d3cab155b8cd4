#include "Utilities/TreeMove.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct Node : TreeItem {
    explicit Node(std::string name) : name(std::move(name)) {}
    std::string treeItemIdentifier() const override { return name; }
    std::string name;
};

std::shared_ptr<TreeItem> node(const std::string& name) {
    return std::make_shared<Node>(name);
}

std::shared_ptr<TreeMove> move(const std::string& item, std::shared_ptr<TreeItem> from, int at,
                               std::shared_ptr<TreeItem> to, int index) {
    return std::make_shared<TreeMove>(node(item), std::move(from), at, std::move(to), index);
}

std::vector<int> previousIndexes(const TreeMoves& moves) {
    std::vector<int> out;
    for (const auto& m : moves)
        out.push_back(m->previousIndex);
    return out;
}

TEST(TreeMove, LaterMovesAreCorrectedForEarlierOnesThatTookANodeFromAboveThem) {
    // Parents are the same by identifier, not by object.
    auto p = [] { return node("P"); };
    auto q = [] { return node("Q"); };
    struct Case {
        const char* what;
        TreeMoves moves;
        std::vector<int> corrected;
    } cases[] = {
        {"both move down within one parent",
         {move("a", p(), 0, p(), 3), move("b", p(), 1, p(), 4)},
         {0, 0}},
        {"the later one leaves the shared parent",
         {move("a", p(), 0, p(), 2), move("c", p(), 2, q(), 0)},
         {0, 1}},
        {"the earlier one leaves it",
         {move("a", p(), 0, q(), 0), move("c", p(), 2, p(), 3)},
         {0, 1}},
        {"corrections accumulate",
         {move("a", p(), 0, q(), 0), move("b", p(), 1, q(), 1), move("c", p(), 2, q(), 2)},
         {0, 0, 0}},
        {"an earlier move below the later one changes nothing",
         {move("c", p(), 2, q(), 0), move("a", p(), 0, q(), 1)},
         {2, 0}},
        {"other parents change nothing",
         {move("a", p(), 0, q(), 0), move("x", q(), 3, node("R"), 0)},
         {0, 3}},
        {"moving up within one parent changes nothing",
         {move("c", p(), 2, p(), 0), move("d", p(), 3, p(), 1)},
         {2, 3}},
        {"the root is one parent",
         {move("a", nullptr, 0, q(), 0), move("b", nullptr, 1, q(), 1)},
         {0, 0}},
    };
    for (const auto& c : cases) {
        TreeMoves result = TreeMove::offset(c.moves);
        EXPECT_EQ(previousIndexes(result), c.corrected) << c.what;
        for (size_t i = 0; i < result.size(); ++i) {
            EXPECT_EQ(result[i]->item, c.moves[i]->item) << c.what;
            EXPECT_EQ(result[i]->newIndex, c.moves[i]->newIndex) << c.what;
            EXPECT_EQ(result[i]->newParent, c.moves[i]->newParent) << c.what;
        }
        EXPECT_EQ(c.moves[0]->previousIndex, result[0]->previousIndex); // the input is kept
    }
}

TEST(TreeMove, CorrectedMovesReplayedInOrderReproduceTheBatch) {
    // b and d leave P = [a, b, c, d, e] for Q = [x]: Q becomes [b, d, x].
    std::map<std::string, std::vector<std::string>> tree{{"P", {"a", "b", "c", "d", "e"}},
                                                         {"Q", {"x"}}};
    TreeMoves batch{move("b", node("P"), 1, node("Q"), 0), move("d", node("P"), 3, node("Q"), 1)};
    for (const auto& m : TreeMove::offset(batch)) {
        auto& from = tree[m->previousParent->treeItemIdentifier()];
        ASSERT_EQ(from.at(size_t(m->previousIndex)), m->item->treeItemIdentifier());
        from.erase(from.begin() + m->previousIndex);
        auto& to = tree[m->newParent->treeItemIdentifier()];
        to.insert(to.begin() + m->newIndex, m->item->treeItemIdentifier());
    }
    EXPECT_EQ(tree["P"], (std::vector<std::string>{"a", "c", "e"}));
    EXPECT_EQ(tree["Q"], (std::vector<std::string>{"b", "d", "x"}));
}

TEST(TreeMove, ParentsAreListedOnceInOrderWithoutTheRoot) {
    TreeMoves moves{move("a", node("P"), 0, node("Q"), 0), move("b", nullptr, 1, node("P"), 0),
                    move("c", node("R"), 2, node("Q"), 1)};
    auto names = [](const std::vector<std::shared_ptr<TreeItem>>& items) {
        std::vector<std::string> out;
        for (const auto& i : items)
            out.push_back(i->treeItemIdentifier());
        return out;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(names(uniqueNewParents(moves)), (Names{"Q", "P"}));
    EXPECT_EQ(names(uniquePreviousParents(moves)), (Names{"P", "R"}));
    EXPECT_EQ(names(uniqueParents(moves)), (Names{"P", "Q", "R"}));
    EXPECT_TRUE(hasRootParents(moves));
    moves.erase(moves.begin() + 1);
    EXPECT_FALSE(hasRootParents(moves));
    EXPECT_EQ(reversed(moves).front(), moves.back());
}

} // namespace
