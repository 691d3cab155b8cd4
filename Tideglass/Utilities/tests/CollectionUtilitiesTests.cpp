#include "Utilities/CollectionUtilities.h"

#include <gtest/gtest.h>

#include <string>

using namespace Tideglass;

namespace {

using Strings = std::vector<std::string>;
const Strings abcd{"a", "b", "c", "d"};

TEST(CollectionUtilities, ABlockLandsAtItsDropPositionCountedBeforeTheMove) {
    struct Case {
        IndexSet indexes;
        int toIndex;
        Strings result;
    } cases[] = {
        {{0, 1}, 3, {"c", "a", "b", "d"}}, {{0, 1}, 4, {"c", "d", "a", "b"}},
        {{0, 1}, 0, {"a", "b", "c", "d"}}, {{1, 3}, 0, {"b", "d", "a", "c"}},
        {{0, 2}, 2, {"b", "a", "c", "d"}}, {{3}, 1, {"a", "d", "b", "c"}},
        {{}, 2, {"a", "b", "c", "d"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(moved(abcd, c.indexes, c.toIndex), c.result) << c.toIndex;
        // A list of indexes is gathered into a set first (order and repeats drop out).
        std::vector<int> list(c.indexes.rbegin(), c.indexes.rend());
        if (!list.empty())
            list.push_back(list.front());
        Strings inPlace = abcd;
        moveInPlace(inPlace, list, c.toIndex);
        EXPECT_EQ(inPlace, c.result) << c.toIndex;
    }
}

TEST(CollectionUtilities, ASingleMoveTakesItsDestinationAfterTheRemoval) {
    struct Case {
        int from, to;
        Strings result;
    } cases[] = {
        {0, 3, {"b", "c", "d", "a"}},
        {3, 0, {"d", "a", "b", "c"}},
        {1, 2, {"a", "c", "b", "d"}},
        {2, 2, {"a", "b", "c", "d"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(moved(abcd, c.from, c.to), c.result) << c.from << " to " << c.to;
    Strings list = abcd;
    EXPECT_THROW(moveInPlace(list, 4, 0), std::out_of_range);
    EXPECT_THROW(moveInPlace(list, 0, 4), std::out_of_range);
    EXPECT_EQ(list, abcd); // a refused move leaves the list as it was
    EXPECT_THROW(moveInPlace(list, IndexSet{1, 4}, 0), std::out_of_range);
    EXPECT_THROW(moveInPlace(list, IndexSet{1}, 5), std::out_of_range);
    EXPECT_THROW(removeAtIndexes(list, {-1}), std::out_of_range);
    EXPECT_EQ(list, abcd);
}

TEST(CollectionUtilities, IndexesOutsideTheListAreSkippedAndRemovalsComeBackInIndexOrder) {
    Strings abc{"a", "b", "c"};
    EXPECT_EQ(elementsAt(abc, {5, 0}), Strings{"a"});
    EXPECT_EQ(elementsAt(abc, {2, -1, 0}), (Strings{"c", "a"}));

    Strings list = abc;
    EXPECT_EQ(removeAtIndexes(list, {2, 0}), (Strings{"a", "c"}));
    EXPECT_EQ(list, Strings{"b"});

    list = abc;
    EXPECT_EQ(removeAt(list, std::vector<int>{7, 1, -2}), Strings{"b"});
    EXPECT_EQ(list, (Strings{"a", "c"}));

    // Gathered and put back in their former order at `to`, not adjusted.
    list = abcd;
    moveFrom(list, std::vector<int>{3, 0}, 1);
    EXPECT_EQ(list, (Strings{"b", "a", "d", "c"}));
    EXPECT_THROW(moveFrom(list, std::vector<int>{0, 1}, 3), std::out_of_range);
    EXPECT_EQ(list, (Strings{"b", "a", "d", "c"}));
}

TEST(CollectionUtilities, RemovingAnElementTakesOnlyItsFirstOccurrence) {
    Strings list{"a", "b", "a", "c"};
    EXPECT_EQ(removed(list, std::string("a")), (Strings{"b", "a", "c"}));
    EXPECT_EQ(removed(list, std::string("z")), list);
    EXPECT_EQ(removed(list, Strings{"a", "a", "c"}), Strings{"b"});

    list -= std::string("a");
    list -= std::optional<std::string>();
    list += std::string("e");
    list += std::optional<std::string>("f");
    list += std::optional<std::string>();
    prepend(list, std::string("z"));
    EXPECT_EQ(list, (Strings{"z", "b", "a", "c", "e", "f"}));
}

TEST(CollectionUtilities, ADifferenceIsAppliedChangeByChangeInItsOwnOrder) {
    // From [a, b, c, d] to [a, x, c, d, y]: removals from the back, then insertions.
    using Change = CollectionChange<std::string>;
    std::vector<Change> difference{{Change::Kind::remove, 1, "b"},
                                   {Change::Kind::insert, 1, "x"},
                                   {Change::Kind::insert, 4, "y"}};
    Strings list = abcd;
    applyInPlace(list, difference);
    EXPECT_EQ(list, (Strings{"a", "x", "c", "d", "y"}));
    EXPECT_THROW(applyInPlace(list, {{Change::Kind::remove, 5, "y"}}), std::out_of_range);
    EXPECT_THROW(applyInPlace(list, {{Change::Kind::insert, 6, "z"}}), std::out_of_range);
}

} // namespace
